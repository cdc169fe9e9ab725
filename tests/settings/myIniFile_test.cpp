// TMyIniFile: whole files before and after writes (golden files in
// tests/data/ini), the section cache, typed values, the safety choices.
#include "settings/myIniFile.h"

#include <gmock/gmock.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::Hex;
using test::U8;
using test::W;
using ::testing::ElementsAre;
using namespace std::string_literals;

std::filesystem::path GoldenDir() {
  const char* data = std::getenv("MAGNA_TEST_DATA");
  return std::filesystem::path(data ? data : "tests/data") / "ini";
}

std::vector<std::string> Items(TMyWStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(U8(list.Get(i)));
  return out;
}

class MyIniFileTest : public test::FakeServicesTest {
 protected:
  test::TempDir dir;
  WideString Name() const { return dir.Wide("settings.ini"); }
  std::string Bytes() const { return test::ReadBytes(dir / "settings.ini"); }
  void Put(const std::string& bytes) { test::WriteBytes(dir / "settings.ini", bytes); }
};

TEST_F(MyIniFileTest, WholeFilesBeforeAndAfterWritesMatchTheGoldenFiles) {
  struct Case {
    const char* input;
    const char* expected;
    std::function<void(TMyIniFile&)> edit;
  } cases[] = {
      {"comments.in.ini", "comments.out.ini",
       [](TMyIniFile& ini) {
         EXPECT_EQ(ini.ReadString(u"Text", u"FontSize", u""), u"72");  // the last one wins
         EXPECT_EQ(ini.ReadString(u"Text", u";a", u""), u"b");
         ini.WriteBool(u"text", u"WordWrap", false);
       }},
      {"order.in.ini", "order.out.ini",
       [](TMyIniFile& ini) {
         ini.WriteInteger(u"Bounds", u"App_TOOLMagna_Left", 11);
         ini.WriteInteger(u"Text", u"WordWrap", 0);
       }},
      {"cr.in.ini", "cr.out.ini",
       [](TMyIniFile& ini) {
         EXPECT_EQ(ini.ReadString(u"TEXT", u"FontName", u""), u"MS Gothic");
         ini.WriteString(u"Other", u"k", u"v");
       }},
      {"sjis.in.ini", "sjis_to_utf8.out.ini",
       [](TMyIniFile& ini) {
         EXPECT_EQ(ini.ReadCode(), cdSJis);
         ini.WriteString(u"Text", u"Sample", W("한국어 テキスト"));
       }},
      {"sjis_to_utf8.out.ini", "utf8_to_sjis.out.ini",
       [](TMyIniFile& ini) {
         EXPECT_EQ(ini.ReadString(u"Text", u"App_TOOLMagna_FontName", u""), W("ＭＳ ゴシック"));
         ini.WriteString(u"Text", u"Sample", W("日本語のテキスト"));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    Put(test::ReadBytes(GoldenDir() / c.input));
    {
      TMyIniFile ini(Name(), cdAuto);
      c.edit(ini);
    }
    const std::string expected = test::ReadBytes(GoldenDir() / c.expected);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Hex(Bytes()), Hex(expected));
  }
}

TEST_F(MyIniFileTest, NewFileIsWrittenWithCrLfOnlyWhenSomethingChanged) {
  {
    TMyIniFile ini(Name(), cdAuto);
    EXPECT_EQ(ini.ReadString(u"Text", u"x", u"default"), u"default");
    EXPECT_FALSE(ini.UpdateFile());
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "settings.ini"));
  {
    TMyIniFile ini(Name(), cdAuto);
    ini.WriteInteger(u"Bounds", u"Left", -5);
    ini.WriteString(u"Text", u"Name", W("ＭＳ"));
    EXPECT_TRUE(ini.UpdateFile());
    EXPECT_FALSE(ini.UpdateFile());
  }
  EXPECT_EQ(Bytes(), "[Bounds]\r\nLeft=-5\r\n\r\n[Text]\r\nName=\x82\x6C\x82\x72\r\n\r\n");
}

TEST_F(MyIniFileTest, ByteOrderMarkDoesNotHideTheFirstHeaderWithANamedCode) {
  Put("\xEF\xBB\xBF[Text]\r\na=1\r\n");
  {
    TMyIniFile ini(Name(), cdUTF_8);
    EXPECT_EQ(ini.ReadString(u"Text", u"a", u""), u"1");
    ini.WriteString(u"Text", u"b", u"2");
  }
  EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[Text]\r\na=1\r\nb=2\r\n\r\n");
}

TEST_F(MyIniFileTest, CachedSectionIsNotInTheFileUntilWrittenBack) {
  Put("[Text]\r\na=1\r\n");
  TMyIniFile ini(Name(), cdAuto);
  ini.WriteString(u"New", u"k", u"v");
  EXPECT_FALSE(ini.SectionExists(u"New"));
  TMyWStrings names;
  ini.ReadSections(names);
  EXPECT_THAT(Items(names), ElementsAre("Text"));
  EXPECT_EQ(ini.ReadString(u"new", u"K", u""), u"v");
  ini.ReadSectionValues(u"New", names);
  EXPECT_THAT(Items(names), ElementsAre("k=v"));

  EXPECT_EQ(ini.ReadString(u"Text", u"a", u""), u"1");  // switching writes New back
  EXPECT_TRUE(ini.SectionExists(u" NEW "));
  ini.ReadSections(names);
  EXPECT_THAT(Items(names), ElementsAre("Text", "New"));
}

TEST_F(MyIniFileTest, NamesOfReadsAndWritesAreNotTrimmedForTheSearch) {
  Put("[Text]\r\nkey=old\r\n");
  {
    TMyIniFile ini(Name(), cdAuto);
    ini.WriteString(u"Text", u" key", u"new1");
    ini.WriteString(u"Text", u" key", u"new2");
    EXPECT_EQ(ini.ReadString(u"Text", u"key", u""), u"old");
    EXPECT_EQ(ini.ReadString(u"Text", u" key", u"none"), u"none");
  }
  EXPECT_EQ(Bytes(), "[Text]\r\nkey=old\r\n\r\n");
}

TEST_F(MyIniFileTest, TypedValues) {
  Put("[V]\r\nbig=2147483648\r\nsmall=-2147483649\r\nmax=2147483647\r\nwide="
      "\xEF\xBC\x91\xEF\xBC\x92\r\n"
      "two=2\r\nzero=0\r\nempty=\r\nword=abc\r\nfloat= 2.5 \r\ninf=inf\r\nhex=0x10\r\n");
  TMyIniFile ini(Name(), cdUTF_8N);
  EXPECT_THROW(ini.ReadInteger(u"V", u"big", 0), ERangeError);
  EXPECT_THROW(ini.ReadInteger(u"V", u"small", 0), ERangeError);
  EXPECT_EQ(ini.ReadInteger(u"V", u"max", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger(u"V", u"wide", 0), 12);  // full-width digits
  EXPECT_EQ(ini.ReadInteger(u"V", u"empty", 7), 7);
  EXPECT_EQ(ini.ReadInteger(u"V", u"missing", -3), -3);
  EXPECT_TRUE(ini.ReadBool(u"V", u"two", false));
  EXPECT_FALSE(ini.ReadBool(u"V", u"zero", true));
  bool flag = true;
  ini.ReadBool(u"V", u"missing", &flag);
  EXPECT_TRUE(flag);
  EXPECT_EQ(ini.ReadString(u"V", u"empty", u"d"), u"d");

  EXPECT_EQ(ini.ReadFloat(u"V", u"float", 9), 2.5L);
  EXPECT_EQ(ini.ReadFloat(u"V", u"missing", 1.25L), 1.25L);
  for (const char16_t* name : {u"word", u"inf", u"hex"}) {
    SCOPED_TRACE(U8(name));
    EXPECT_EQ(ini.ReadFloat(u"V", name, 9), 0.0L);  // no number: 0, not the default
  }
}

TEST_F(MyIniFileTest, FloatTextIsTheShortestOfUpTo15Digits) {
  struct Case {
    long double value;
    const char* text;
  } cases[] = {
      {0.1L, "0.1"}, {1.0L / 3, "0.333333333333333"}, {-2.0L, "-2"}, {1e20L, "1e+20"}, {0.0L, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(U8(FloatToText(c.value)), c.text);
    EXPECT_TRUE(TextToFloat(FloatToText(c.value)).has_value());
  }
  EXPECT_FALSE(TextToFloat(u"1e99999").has_value());
  EXPECT_FALSE(TextToFloat(u"nan").has_value());
  EXPECT_FALSE(TextToFloat(u"1.5x").has_value());
}

TEST_F(MyIniFileTest, SectionsAsListsRawAndCleaned) {
  Put("[A]\r\n; c\r\nx=1\r\nx=2\r\n\r\n[B]\r\ny=3\r\n");
  TMyIniFile ini(Name(), cdAuto);
  TMyWStrings list;
  ini.ReadSectionLines(u"A", list);
  EXPECT_THAT(Items(list), ElementsAre("; c", "x=1", "x=2", ""));
  ini.ReadSectionValues(u"A", list);
  EXPECT_THAT(Items(list), ElementsAre("x=2"));
  ini.ReadSection(u"B", list);
  EXPECT_THAT(Items(list), ElementsAre("y"));

  TMyStore bytes;
  ini.ReadSectionValues(u"A", bytes);
  ASSERT_EQ(bytes.Count(), 1);
  EXPECT_EQ(bytes.Get(0), "x=2");
  bytes.Add("z=\x93\xFA");  // escaped ANSI form: 日
  ini.WriteSectionValues(u"C", bytes);
  EXPECT_EQ(ini.ReadString(u"C", u"z", u""), W("日"));

  list.SetText(u"raw line\r\n\r\n");
  ini.WriteSectionLines(u"B", list);
  ini.ReadSectionLines(u"B", list);
  EXPECT_THAT(Items(list), ElementsAre("raw line", ""));
}

TEST_F(MyIniFileTest, WritingASectionThatWasReadWhileMissingRefreshesTheCache) {
  TMyIniFile ini(Name(), cdAuto);
  EXPECT_EQ(ini.ReadString(u"New", u"a", u"d"), u"d");  // caches the empty section
  TMyWStrings values;
  values.Add(u"a=1");
  ini.WriteSectionValues(u"New", values);
  EXPECT_EQ(ini.ReadString(u"New", u"a", u"d"), u"1");
}

TEST_F(MyIniFileTest, HiddenDuplicateSectionDoesNotComeToLightAfterAWrite) {
  Put("[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=hidden\r\n[\x01z\x01]\r\nk=v\r\n");
  {
    TMyIniFile ini(Name(), cdUTF_8N);
    EXPECT_EQ(ini.ReadString(u"\x01z\x01", u"k", u""), u"v");  // U+0001 is the index's separator
    ini.WriteString(u"A", u"y", u"2");
  }
  EXPECT_EQ(Bytes(), "[B]\r\n[\x01z\x01]\r\nk=v\r\n[A]\r\nx=1\r\ny=2\r\n\r\n");
  TMyIniFile again(Name(), cdUTF_8N);
  EXPECT_EQ(again.ReadString(u"A", u"x", u""), u"1");
}

TEST_F(MyIniFileTest, EraseSectionRemovesLinesAndDiscardsItsCache) {
  Put("top\r\n[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
  {
    TMyIniFile ini(Name(), cdAuto);
    ini.WriteString(u"A", u"x", u"changed");
    ini.EraseSection(u"a");
    EXPECT_EQ(ini.ReadString(u"A", u"x", u"gone"), u"gone");
    ini.WriteString(u"Cached", u"k", u"v");
    ini.EraseSection(u"Cached");  // only in the cache: its values are discarded
    EXPECT_EQ(ini.ReadString(u"Cached", u"k", u"gone"), u"gone");
  }
  EXPECT_EQ(Bytes(), "top\r\n[B]\r\ny=2\r\n");
}

TEST_F(MyIniFileTest, SectionNamesThatCannotBeHeadersChangeNothing) {
  const std::string original = "[Text]\r\na=1\r\n[Bounds]\r\nb=2\r\n";
  Put(original);
  {
    TMyIniFile ini(Name(), cdAuto);
    EXPECT_EQ(ini.ReadString(u"Bounds", u"b", u""), u"2");  // cached, unchanged
    for (const WideString& bad : {WideString(u""), WideString(u"  "), WideString(u"]x"),
                                  WideString(u"a\r\nb"), WideString(u"x]y")}) {
      SCOPED_TRACE(U8(bad));
      ini.WriteString(bad, u"a", u"9");
      EXPECT_EQ(ini.ReadString(bad, u"a", u"d"), u"d");
      TMyWStrings list;
      list.Add(u"a=9");
      ini.WriteSectionValues(bad, list);
      ini.WriteSectionLines(bad, list);
      ini.EraseSection(bad);
      EXPECT_FALSE(ini.SectionExists(bad));
    }
    EXPECT_FALSE(ini.UpdateFile());
  }
  EXPECT_EQ(Bytes(), original);
}

TEST_F(MyIniFileTest, FileThatCouldNotBeReadIsNeverReplaced) {
  const std::string original = "[Text]\r\nkeep=me\r\n";
  Put(original);
  std::filesystem::permissions(dir / "settings.ini", std::filesystem::perms::none);
  const bool root = ::geteuid() == 0;
  if (root) ::setfsuid(65534);  // without the rights that let root read anything
  auto ini = std::make_unique<TMyIniFile>(Name(), cdAuto);
  if (root) ::setfsuid(0);
  ExpectWarning(platform::kLogText, "settings.ini' failed: ");
  EXPECT_EQ(ini->ReadString(u"Text", u"keep", u"unknown"), u"unknown");
  ini->WriteString(u"Text", u"new", u"value");
  EXPECT_FALSE(ini->UpdateFile());
  ExpectWarning(platform::kLogSettings, "could not be read at start and is kept as it was");
  ini.reset();
  std::filesystem::permissions(dir / "settings.ini", std::filesystem::perms::owner_all);
  EXPECT_EQ(Bytes(), original);
}

TEST_F(MyIniFileTest, UpdateFileReportsAFailedWrite) {
  TMyIniFile ini(dir.Wide("missing-folder/settings.ini"), cdAuto);
  ini.WriteString(u"A", u"b", u"c");
  EXPECT_FALSE(ini.UpdateFile());
  ExpectWarning(platform::kLogText, "missing-folder/settings.ini' failed: ");
}

TEST_F(MyIniFileTest, StrayZeroBytesDoNotTurnAGoodFileIntoMojibake) {
  // A crash or power loss can leave zero bytes at the end of a file. One of them once
  // made a Shift_JIS file read as UTF-16LE: every value its default, and the old
  // content written back as mojibake.
  const std::string good =
      "[Text]\r\nFontName=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\n";
  for (size_t zeros : {1, 2, 7}) {
    SCOPED_TRACE(zeros);
    Put(good + std::string(zeros, '\0'));
    {
      TMyIniFile ini(Name(), cdAuto);
      EXPECT_EQ(ini.ReadCode(), cdSJis);
      EXPECT_EQ(ini.ReadString(u"Text", u"FontName", u""), W("ＭＳ ゴシック"));
      ini.WriteInteger(u"Text", u"FontSize", 72);
    }
    EXPECT_EQ(Bytes().substr(0, good.size()), good);
    TMyIniFile again(Name(), cdAuto);
    EXPECT_EQ(again.ReadString(u"Text", u"FontName", u""), W("ＭＳ ゴシック"));
    EXPECT_EQ(again.ReadInteger(u"Text", u"FontSize", 0), 72);
  }
}

TEST_F(MyIniFileTest, ZeroByteInTheFileDoesNotCutOffWhatFollows) {
  Put("[A]\r\nx=1\0tail\r\ny=2\r\n[B]\r\nz=3\r\n"s);
  {
    TMyIniFile ini(Name(), cdAuto);
    EXPECT_EQ(ini.ReadString(u"A", u"x", u""), WideString(u"1\0tail", 6));
    EXPECT_EQ(ini.ReadString(u"B", u"z", u""), u"3");
    ini.WriteString(u"B", u"w", u"4");
  }
  EXPECT_EQ(Hex(Bytes()), Hex("[A]\r\nx=1\0tail\r\ny=2\r\n[B]\r\nz=3\r\nw=4\r\n\r\n"s));
}

TEST_F(MyIniFileTest, NonBlankFileWithoutASectionIsNeverReplaced) {
  for (const std::string original : {"just some text\r\n", "\x82\xA0=\x82\xA2\n; note\n"}) {
    SCOPED_TRACE(original);
    Put(original);
    {
      TMyIniFile ini(Name(), cdAuto);
      ExpectWarning(platform::kLogSettings, "holds no section");
      ini.WriteString(u"Text", u"a", u"1");
      EXPECT_FALSE(ini.UpdateFile());
      ExpectWarning(platform::kLogSettings, "kept as it was");
    }
    EXPECT_EQ(Bytes(), original);
  }
  Put(" \r\n\r\n");  // blank: as good as empty
  { TMyIniFile(Name(), cdAuto).WriteString(u"Text", u"a", u"1"); }
  EXPECT_EQ(Bytes(), " \r\n\r\n[Text]\r\na=1\r\n\r\n");
}

TEST_F(MyIniFileTest, WritesThatWouldChangeTheFilesStructureRaise) {
  const std::string original = "[Text]\r\na=1\r\n";
  Put(original);
  {
    TMyIniFile ini(Name(), cdAuto);
    const WideString nul(u"x\0[Bounds]", 10);
    for (const WideString& value :
         {WideString(u"x\r\n[Bounds]"), WideString(u"x\ny"), WideString(u"x\ry"), nul}) {
      SCOPED_TRACE(U8(value));
      EXPECT_THROW(ini.WriteString(u"Text", u"b", value), EIniLineError);
      EXPECT_THROW(ini.WriteString(u"Text", value, u"v"), EIniLineError);
    }
    EXPECT_THROW(ini.WriteString(u"Text", u"k=x", u"v"), EIniLineError);
    EXPECT_THROW(ini.WriteString(u"Text", u" [Bounds] x", u"v"), EIniLineError);
    TMyWStrings list;
    list.Add(u"b=2");
    list.Add(u"[Bounds]=1");
    EXPECT_THROW(ini.WriteSectionValues(u"Text", list), EIniLineError);
    list.Delete(1);
    list.Add(u"c=x\ny");
    EXPECT_THROW(ini.WriteSectionValues(u"Text", list), EIniLineError);
    list.Clear();
    list.Add(u"[Other]");
    EXPECT_THROW(ini.WriteSectionLines(u"Text", list), EIniLineError);
    EXPECT_EQ(ini.ReadString(u"Text", u"b", u"none"), u"none");
    EXPECT_FALSE(ini.UpdateFile()) << "nothing was changed";
    EXPECT_THROW(ini.WriteString(u"Text", u"[b", u"[x]"), EIniLineError);  // header "b=[x"
    ini.WriteString(u"Text", u"[b", u"x");  // no header: nothing closes the bracket
  }
  EXPECT_EQ(Bytes(), "[Text]\r\na=1\r\n[b=x\r\n\r\n");
}

// A fuzz input: read, written back, read again and written again, this file once read
// differently the third time (Shift_JIS half-width katakana taken for EUC-JP kanji).
TEST_F(MyIniFileTest, FuzzInputHalfWidthKanaWithZerosReadsAlikeAfterEveryWrite) {
  Put("\x7F\xBB\xBE\n[E]\0\0"s);
  std::vector<std::string> contents;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    TMyIniFile ini(Name(), cdAuto);
    TMyWStrings lines;
    ini.ReadSections(lines);
    EXPECT_THAT(Items(lines), ElementsAre("E"));
    TMyWStrings values;
    ini.ReadSectionValues(u"E", values);
    ini.WriteSectionValues(u"E", values);
    EXPECT_TRUE(ini.UpdateFile());
    contents.push_back(Bytes());
  }
  EXPECT_EQ(Hex(contents[1]), Hex(contents[0]));
  EXPECT_EQ(Hex(contents[2]), Hex(contents[0]));
}

// Fuzz inputs: zero bytes read into a section's lines. Writing such a line back through
// the writes is refused; the file keeps it whenever it is written; a name is trimmed of
// the zeros around it (as of any control) before it is written.
TEST_F(MyIniFileTest, FuzzInputZeroBytesReadIntoAnEntryAreKeptAndNeverWrittenAnew) {
  const std::string original =
      "[Text]\rFontName=MS Gothic\r[te\0\0\0"
      "6FontName=never read\r"s;
  Put(original);
  {
    TMyIniFile ini(Name(), cdAuto);
    TMyWStrings values;
    ini.ReadSectionValues(u"Text", values);
    ASSERT_EQ(values.Count(), 2);
    EXPECT_THROW(ini.WriteSectionValues(u"Text", values), EIniLineError);
    EXPECT_EQ(ini.ReadString(u"Text", u"FontName", u""), u"MS Gothic");
    ini.WriteString(u"Text", WideString(u"\0Size\0", 6), u"72");  // trimmed: "Size"
    EXPECT_EQ(ini.ReadString(u"Text", u"Size", u""), u"72");
  }
  EXPECT_EQ(Hex(Bytes()), Hex("[Text]\rFontName=MS Gothic\r[te\0\0\0"
                              "6FontName=never read\rSize=72\r\r"s));
}

TEST(SettingsFileName, ExtensionChangesWithinTheLastPathComponentOnly) {
  struct Case {
    const char* program;
    const char* settings;
  } cases[] = {
      {"/opt/magna-1.0/magna", "/opt/magna-1.0/magna.ini"},
      {"/home/u/.local/bin/magna", "/home/u/.local/bin/magna.ini"},
      {"/usr/bin/magna.bin", "/usr/bin/magna.ini"},
      {"/a.b/c.d.e", "/a.b/c.d.ini"},
      {"/x/.magna", "/x/.magna.ini"},
      {"magna", "magna.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    EXPECT_EQ(U8(SettingsFileNameOf(W(c.program))), c.settings);
  }
}

}  // namespace
}  // namespace magna
