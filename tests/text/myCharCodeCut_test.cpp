// Files cut inside their last character (head -c, a partial download, a log rotated at a
// byte limit): read in their own code, the cut bytes as that code's decoder reads them.
#include <gtest/gtest.h>

#include "tests/support/testSupport.h"
#include "text/myCharCode.h"

namespace magna {
namespace {

using test::Hex;
using test::U8;
using test::W;

class CutFiles : public test::FakeServicesTest {
 protected:
  test::TempDir dir;
  const WideString name = dir.Wide("t.txt");
  /// The bytes of `text` as written in `code`.
  std::string Written(const WideString& text, TMyCharCode code) {
    EXPECT_TRUE(WriteTextFile(name, text, code));
    return test::ReadBytes(dir / "t.txt");
  }
};

TEST_F(CutFiles, EveryMultiByteCodeCutAfterEachByteOfItsLastCharacter) {
  struct Case {
    const char* name;
    TMyCharCode code;
    WideString last;
    WideString runBefore;  // what comes right before the last character, in one run with it
  };
  const Case cases[] = {
      {"Shift_JIS", cdSJis, W("語"), {}},
      {"EUC-JP", cdEUC, W("語"), {}},
      {"EUC-JP half-width katakana (SS2)", cdEUC, W("ｶ"), {}},
      {"EUC-JP JIS X 0212 (SS3)", cdEUC, W("丂"), {}},
      {"UTF-8, two bytes", cdUTF_8N, W("±"), {}},
      {"UTF-8, three bytes", cdUTF_8N, W("語"), {}},
      {"UTF-8, four bytes", cdUTF_8N, W("😀"), {}},
      {"UTF-16LE", cdUTF_16LE, W("語"), {}},
      {"UTF-16LE surrogate pair", cdUTF_16LE, W("😀"), {}},
      {"UTF-16BE", cdUTF_16BE, W("語"), {}},
      {"UTF-16BE surrogate pair", cdUTF_16BE, W("😀"), {}},
      {"ISO-2022-JP, the character's own escapes", cdJIS, W("語"), W(" ")},
      {"ISO-2022-JP, inside a run", cdJIS, W("語"), W("かな")},
      {"UTF-7, the character's own shift", cdUTF_7, W("語"), W(" ")},
      {"UTF-7, inside a shifted run", cdUTF_7, W("語"), W("かな")},
  };
  // Short texts are where a cut end weighs most: a line of a manual page cut in the
  // middle, a sentence of kana, and a longer paragraph.
  const WideString texts[] = {
      W("ホスト名は読み込まれる時に数値アドレスに"),
      W("ありがとうございました。\n"),
      W("設定ファイルは「~/.config」に置かれます。詳しくは man 5 を参照。\n"),
  };
  for (const Case& c : cases) {
    for (const WideString& text : texts) {
      SCOPED_TRACE(testing::Message() << c.name << " after " << U8(text));
      const WideString before = text + c.runBefore;
      const std::string whole = Written(before + c.last, c.code);
      const std::string written = Written(before, c.code);
      // The last character starts where the two encodings part (in ISO-2022-JP and
      // UTF-7, with the escape or shift that opens it, where it has one of its own).
      size_t start = 0;
      while (start < written.size() && written[start] == whole[start]) ++start;
      for (size_t cut = start + 1; cut < whole.size(); ++cut) {
        const std::string bytes = whole.substr(0, cut);
        test::WriteBytes(dir / "t.txt", bytes);
        TMyCharCode detected = cdAuto, named = c.code;
        const WideString read = ReadTextFile(name, detected);
        EXPECT_EQ(detected, c.code) << Hex(bytes);
        EXPECT_EQ(U8(read), U8(ReadTextFile(name, named))) << Hex(bytes);
        EXPECT_EQ(U8(read.substr(0, before.size())), U8(before)) << Hex(bytes);
      }
    }
  }
}

// The same bytes are a whole file or the first bytes of a longer one. ASCII and the
// start of a three-byte sequence: a sample of UTF-8 Japanese text, or a whole text of
// ASCII and one kanji of Shift_JIS (E8 AA), which is what automatic writing makes of it.
TEST_F(CutFiles, FirstBytesOfALongerFileAreASampleNotAWholeFile) {
  const std::string start = "see also \xE8\xAA";
  test::WriteBytes(dir / "t.txt", start + "\x9E\n");
  TMyCharCode code = cdAuto;
  EXPECT_EQ(U8(ReadTextFileBytes(name, code, start.size())), "see also \xEF\xBF\xBD");
  EXPECT_EQ(code, cdUTF_8N);

  test::WriteBytes(dir / "t.txt", start);
  const WideString sjis = AnsiToWide(start);
  code = cdAuto;
  EXPECT_EQ(U8(ReadTextFileBytes(name, code, start.size())), U8(sjis));
  EXPECT_EQ(code, cdSJis);
  code = cdAuto;
  EXPECT_EQ(U8(ReadTextFileBytes(name, code, start.size() + 10)), U8(sjis));
  EXPECT_EQ(code, cdSJis);
}

}  // namespace
}  // namespace magna
