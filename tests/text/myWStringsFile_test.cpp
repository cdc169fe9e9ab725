// TMyWStrings: the escaped store form and files in several codes.
#include <gmock/gmock.h>

#include "tests/support/testSupport.h"
#include "text/myWStrings.h"

namespace magna {
namespace {

using test::Hex;
using test::U8;
using test::W;

class MyWStringsFileTest : public test::FakeServicesTest {
 protected:
  test::TempDir dir;
};

/// Items the ANSI code page cannot hold, or that look like escapes.
std::vector<WideString> TrickyItems() {
  return {
      W("日本語"),
      W("$0041 and $$ and $"),          // dollar signs
      W("한국어 ẞ ✓"),                  // outside code page 932
      W("😀 surrogate pair"),            // U+1F600
      WideString(u"lone \xD800 high"),  // a lone surrogate
      W("ｶﾀｶﾅ ～ ∥ －"),                // half-width kana, code points 932 maps oddly
      u"",
  };
}

TEST_F(MyWStringsFileTest, EveryItemReadsBackFromTheStoreUnchanged) {
  TMyWStrings list;
  for (const WideString& item : TrickyItems()) list.Add(item);
  const auto items = TrickyItems();
  for (int i = 0; i < list.Count(); ++i) {
    SCOPED_TRACE(Hex(list.Store()->Get(i)));
    EXPECT_EQ(list.Get(i), items[static_cast<size_t>(i)]);
  }
  WideString joined;
  for (const WideString& item : items) joined += item + u"\r\n";
  EXPECT_EQ(list.GetText(), joined);
}

TEST_F(MyWStringsFileTest, SaveAndLoadKeepEveryItemInTheUnicodeCodes) {
  struct Case {
    TMyCharCode code;
    bool mark;  // a named code reads the byte order mark as a leading U+FEFF
  } cases[] = {{cdAuto, false},     {cdUTF_8, true},     {cdUTF_8N, false},
               {cdUTF_16LE, false}, {cdUTF_16BE, false}, {cdUnicodeLE, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    const bool utf16 = c.code == cdUTF_16LE || c.code == cdUTF_16BE || c.code == cdUnicodeLE;
    TMyWStrings saved;
    for (const WideString& item : TrickyItems())
      if (utf16 || item.find(u'\xD800') == WideString::npos) saved.Add(item);
    saved.LineBreak = nlLF;
    EXPECT_TRUE(saved.SaveToFile(dir.Wide("list.txt"), c.code));
    const std::string bytes = test::ReadBytes(dir / "list.txt");

    TMyWStrings loaded;
    TMyCharCode readCode = c.code;
    loaded.LoadFromFile(dir.Wide("list.txt"), readCode);
    EXPECT_EQ(loaded.GetText(), (c.mark ? u"\xFEFF" : u"") + saved.GetText())
        << U8(loaded.GetText());
    EXPECT_EQ(loaded.LineBreak, nlLF);
    EXPECT_TRUE(loaded.SaveToFile(dir.Wide("again.txt"), c.code));
    EXPECT_EQ(Hex(test::ReadBytes(dir / "again.txt")), Hex(bytes));
  }
}

TEST_F(MyWStringsFileTest, ShiftJisFileOfAnsiItemsRoundTrips) {
  TMyWStrings saved;
  saved.SetText(W("表示\r\n$41 ＄\r\nカナ\r\n"));
  ASSERT_TRUE(saved.SaveToFile(dir.Wide("sjis.txt"), cdSJis, nlCR));
  EXPECT_EQ(Hex(test::ReadBytes(dir / "sjis.txt")).substr(0, 11), "95 5C 8E A6");

  TMyWStrings loaded;
  loaded.CharCode = cdSJis;
  loaded.LoadFromFile(dir.Wide("sjis.txt"));
  EXPECT_EQ(loaded.CharCode, cdSJis);
  EXPECT_EQ(loaded.LineBreak, nlCR);
  EXPECT_EQ(U8(loaded.GetText()), U8(saved.GetText()));
}

TEST_F(MyWStringsFileTest, MissingFilesLeaveTheListEmptyAndAddFileAppends) {
  TMyWStrings list;
  list.Add(u"old");
  TMyCharCode code = cdUTF_8;
  list.LoadFromFile(dir.Wide("missing.txt"), code);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.SaveToFile(dir.Wide("no/such/folder/x.txt")));
  ExpectWarning(platform::kLogText, "x.txt' failed: ");

  test::WriteBytes(dir / "a.txt", "1\n2\n");
  test::WriteBytes(dir / "b.txt", "3\r\n");
  TMyWStrings names;
  names.Add(dir.Wide("a.txt"));
  names.Add(dir.Wide("b.txt"));
  list.AddFiles(names);
  EXPECT_EQ(list.GetText(), u"1\r\n2\r\n3\r\n");
}

}  // namespace
}  // namespace magna
