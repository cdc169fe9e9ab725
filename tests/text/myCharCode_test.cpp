// Reading, writing and the single conversions of the character codes.
#include "text/myCharCode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::Hex;
using test::ReadBytes;
using test::U8;
using test::W;
using test::WriteBytes;

class CharCodeFiles : public test::FakeServicesTest {
 protected:
  test::TempDir dir;
  WideString Name(const char* name = "t.txt") { return dir.Wide(name); }
  std::string Bytes(const char* name = "t.txt") { return ReadBytes(dir / name); }
};

// Kana, kanji, NEC and IBM extensions, half-width katakana: what every code must carry.
const WideString kJapanese = W("かなカナ漢字①Ⅰ№ⅰ￤ｶﾞｯﾂ～∥－￢ abc\r\n");

TEST_F(CharCodeFiles, EveryCodeReadsBackWhatItWrote) {
  struct Case {
    TMyCharCode code;
    WideString text;
  };
  const WideString emoji = W("絵文字😀");
  const WideString lone = WideString(
      u"a\xD800"
      u"b\xDC00");
  const WideString utf16 = kJapanese + emoji + lone;
  const Case cases[] = {
      {cdSJis, kJapanese},
      {cdUnicodeLE, utf16},
      {cdUTF_16LE, utf16},
      {cdUnicodeBE, utf16},
      {cdUTF_16BE, utf16},
      {cdUTF_8, kJapanese + emoji},
      {cdUTF_8N, kJapanese + emoji},
      {cdUTF_7, utf16},
      {cdEUC, W("かなカナ漢字①ｶﾞｯﾂ〜‖−¬ abc\r\n丂")},  // 丂 is JIS X 0212
      {cdJIS, W("かなカナ漢字①Ⅰ№～∥－￢ abc\r\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << int(c.code) << " " << U8(c.text));
    if (!WriteTextFile(Name(), c.text, c.code)) {
      ADD_FAILURE() << "not written";
      continue;
    }
    TMyCharCode read = c.code;
    // A named code keeps the file's byte order mark as U+FEFF; writing drops it again.
    bool marked = c.code == cdUnicodeLE || c.code == cdUnicodeBE || c.code == cdUTF_8;
    WideString back = ReadTextFile(Name(), read);
    EXPECT_EQ(back, (marked ? u"\xFEFF" : u"") + c.text) << Hex(Bytes());
    std::string bytes = Bytes();
    EXPECT_TRUE(WriteTextFile(Name(), back, c.code));
    EXPECT_EQ(Hex(Bytes()), Hex(bytes)) << "written again";
  }
}

TEST_F(CharCodeFiles, EveryCodeIsDetected) {
  struct Case {
    TMyCharCode code;
    TMyCharCode detected;
    WideString text;
  };
  const WideString text = W("かなカナ漢字①Ⅰ№ｶﾞｯﾂ～∥－￢ abc\r\n絵文字");
  const Case cases[] = {
      {cdSJis, cdSJis, text},
      {cdUnicodeLE, cdUnicodeLE, text + W("😀")},
      {cdUTF_16LE, cdUTF_16LE, text + W("😀")},
      {cdUnicodeBE, cdUnicodeBE, text + W("😀")},
      {cdUTF_16BE, cdUTF_16BE, text + W("😀")},
      {cdUTF_8, cdUTF_8, text + W("😀")},
      {cdUTF_8N, cdUTF_8N, text + W("😀")},
      {cdUTF_7, cdUTF_7, text + W("😀")},
      {cdEUC, cdEUC, W("かなカナ漢字①ｶﾞｯﾂ〜 abc\r\n")},
      {cdJIS, cdJIS, W("かなカナ漢字①Ⅰ№～∥－￢ abc\r\n")},
      {cdUTF_16LE, cdUTF_16LE, W("日本語のテキスト")},  // no zero byte at all
      {cdUTF_16BE, cdUTF_16BE, W("日本語のテキスト")},
      {cdAuto, cdSJis, text},
      {cdAuto, cdUTF_8, text + W("😀")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << int(c.code) << " " << U8(c.text));
    EXPECT_TRUE(WriteTextFile(Name(), c.text, c.code));
    TMyCharCode detected = cdAuto;
    EXPECT_EQ(ReadTextFile(Name(), detected), c.text) << Hex(Bytes());
    EXPECT_EQ(detected, c.detected);
  }
}

TEST_F(CharCodeFiles, JisWritesHalfWidthKanaFullWidth) {
  ASSERT_TRUE(WriteTextFile(Name(), W("ｶﾞｯﾂﾊﾟ"), cdJIS));
  TMyCharCode code = cdJIS;
  EXPECT_EQ(ReadTextFile(Name(), code), W("ガッツパ"));
}

TEST_F(CharCodeFiles, WrittenBytesAndByteOrderMarks) {
  struct Case {
    const char* name;
    WideString text;
    TMyCharCode code;
    std::string bytes;
  };
  const Case cases[] = {
      {"UTF-16BE with mark", u"a", cdUnicodeBE, std::string("\xFE\xFF\x00\x61", 4)},
      {"UTF-16LE", u"a", cdUTF_16LE, std::string("\x61\x00", 2)},
      {"UTF-8 with mark", u"a", cdUTF_8, "\xEF\xBB\xBF\x61"},
      {"UTF-8 without mark", u"a", cdUTF_8N, "a"},
      {"text's own mark kept once, LE",
       u"\xFEFF"
       u"a",
       cdUnicodeLE, std::string("\xFF\xFE\x61\x00", 4)},
      {"text's own mark kept once, UTF-8",
       u"\xFEFF"
       u"a",
       cdUTF_8, "\xEF\xBB\xBF\x61"},
      {"auto, ASCII", u"abc", cdAuto, "abc"},
      {"auto, e acute needs UTF-8", u"\x00E9", cdAuto, "\xEF\xBB\xBF\xC3\xA9"},
      {"auto, Japanese fits code page 932", u"\x3042", cdAuto, "\x82\xA0"},
      {"dump text as ANSI", u"\x3042", cdBINDUMP, "\x82\xA0"},
      {"ANSI best fit", u"\x00A5", cdSJis, "\x5C"},
      {"UTF-16 keeps embedded zero", WideString(u"a\0b", 3), cdUTF_16LE,
       std::string("a\0\0\0b\0", 6)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(WriteTextFile(Name(), c.text, c.code));
    EXPECT_EQ(Hex(Bytes()), Hex(c.bytes));
  }
}

TEST_F(CharCodeFiles, ReadingByteOrderMarks) {
  struct Case {
    const char* name;
    std::string bytes;
    TMyCharCode given;
    WideString text;
    TMyCharCode after;
  };
  const Case cases[] = {
      {"UTF-8 mark skipped by detection", "\xEF\xBB\xBF\xE3\x81\x82", cdAuto, u"\x3042", cdUTF_8},
      {"UTF-8 mark kept when named", "\xEF\xBB\xBF\xE3\x81\x82", cdUTF_8N, u"\xFEFF\x3042",
       cdUTF_8N},
      {"only FF FE", "\xFF\xFE", cdAuto, u"", cdUnicodeLE},
      {"FE FF then BE", std::string("\xFE\xFF\x30\x42", 4), cdAuto, u"\x3042", cdUnicodeBE},
      {"odd UTF-16LE length pads the last byte", std::string("a\0b", 3), cdUTF_16LE, u"ab",
       cdUTF_16LE},
      {"UTF-16 stops at a zero unit", std::string("a\0\0\0b\0", 6), cdUTF_16LE, u"a", cdUTF_16LE},
      {"code 12 behaves as auto",
       "\xEF\xBB\xBF"
       "a",
       static_cast<TMyCharCode>(12), u"a", cdUTF_8},
      {"ANSI cut at zero byte", std::string("a\0b\0", 4), cdSJis, u"a", cdSJis},
      {"auto detects zeros at both parities as SJIS", std::string("a\0\0b", 4), cdAuto, u"a",
       cdSJis},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(dir / "t.txt", c.bytes);
    TMyCharCode code = c.given;
    EXPECT_EQ(ReadTextFile(Name(), code), c.text);
    EXPECT_EQ(code, c.after);
  }
}

TEST_F(CharCodeFiles, HexDumpCode) {
  WriteBytes(dir / "t.txt", "0123456789ABCDEFG");
  TMyCharCode code = cdBINDUMP;
  EXPECT_EQ(U8(ReadTextFile(Name(), code)),
            "30 31 32 33 34 35 36 37 - 38 39 41 42 43 44 45 46 \t0123456789ABCDEF\r"
            "47                                                \tG               \r");
  EXPECT_EQ(code, cdBINDUMP);
}

TEST_F(CharCodeFiles, MissingFileTriesFourTimesThenBeeps) {
  TMyCharCode code = cdEUC;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ReadTextFileBytes(Name("missing"), code, 10), u"");
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(780));
  EXPECT_EQ(ui->ProcessCount, 3);
  EXPECT_EQ(ui->BeepCount, 1);
  ExpectWarning(platform::kLogText, "missing' failed: ");
  EXPECT_EQ(code, cdEUC);
}

TEST_F(CharCodeFiles, FileAppearingBetweenAttemptsIsRead) {
  ui->OnProcess = [&] { WriteBytes(dir / "late.txt", "late"); };
  TMyCharCode code = cdSJis;
  EXPECT_EQ(ReadTextFileBytes(Name("late.txt"), code, 4), u"late");
  EXPECT_EQ(ui->BeepCount, 0);
  EXPECT_EQ(ui->ProcessCount, 1);
}

TEST_F(CharCodeFiles, EmptyOrMissingFileReadsEmptyAtOnce) {
  TMyCharCode code = cdEUC;
  EXPECT_EQ(ReadTextFile(Name("missing"), code), u"");
  WriteBytes(dir / "empty.txt", "");
  EXPECT_EQ(ReadTextFile(Name("empty.txt"), code), u"");
  EXPECT_EQ(ui->BeepCount, 0);
  EXPECT_EQ(code, cdEUC);
}

TEST_F(CharCodeFiles, ReadsAFileNameWithJapanese) {
  WriteBytes(dir / "日本語.txt", "\x82\xA0");
  TMyCharCode code = cdAuto;
  EXPECT_EQ(ReadTextFile(Name("日本語.txt"), code), u"\x3042");
}

TEST(CharCodeSizes, FourGibibytesRaiseRangeError) {
  test::TempDir dir;
  std::filesystem::path big = dir / "big";
  { std::ofstream(big).put('x'); }
  std::filesystem::resize_file(big, uint64_t{1} << 32);  // sparse
  TMyCharCode code = cdAuto;
  EXPECT_THROW(ReadTextFile(dir.Wide("big"), code), ERangeError);
}

TEST(CharCodeConversions, NeedsUnicode) {
  EXPECT_FALSE(NeedsUnicode(W("あ漢ｱ～")));
  for (const char* s : {"¥", "‾", "〜", "−", "‖", "—", "¢", "£", "¬", "é", "😀", "\u200B"}) {
    SCOPED_TRACE(s);
    EXPECT_TRUE(NeedsUnicode(W(s)));
  }
}

TEST(CharCodeConversions, WideToAnsiUsesBestFitAndCompositeCheck) {
  EXPECT_EQ(Hex(WideToAnsi(u"\x00A5\x304B\x3099\x00E9")), Hex("\x5C\x82\xAA?"));
  EXPECT_EQ(AnsiToWide("\x82\xA0"), u"\x3042");
  EXPECT_EQ(Hex(WideToEuc(u"\x304B\x3099")), Hex("\xA4\xAC"));
}

TEST(CharCodeConversions, EscapedAnsiForms) {
  EXPECT_EQ(WideToEscapedAnsi(u"a$b"), "a$0024b");
  EXPECT_EQ(WideToEscapedAnsi(u"a\x0001"), "a$0001");
  EXPECT_EQ(WideToEscapedAnsi(u""), "");
  EXPECT_EQ(Hex(WideToEscapedAnsi(u"\x3042\x00E9")), Hex("\x82\xA0$00E9"));
  EXPECT_EQ(WideToEscapedAnsi(W("😀")), "$D83D$DE00");
  EXPECT_EQ(EscapedAnsiToWide("$123"), u"$123");
  EXPECT_EQ(EscapedAnsiToWide("$zz12"), u"$zz12");
  EXPECT_EQ(EscapedAnsiToWide("$0041$0042"), u"AB");
  EXPECT_EQ(EscapedAnsiToWide("$00240041"), u"$0041");
  EXPECT_EQ(EscapedAnsiToWide("$00e9"), u"\x00E9");
}

TEST(CharCodeConversions, EscapedAnsiNeverLosesACodeUnit) {
  std::mt19937 random(20240601);
  // Units drawn from the ranges that matter: ASCII and "$", kana/kanji, half-width,
  // surrogates, private use, zero and U+0001.
  const std::pair<char16_t, char16_t> ranges[] = {
      {0x00, 0x7F},     {0x24, 0x24},     {0x3000, 0x30FF}, {0x4E00, 0x9FFF}, {0xFF61, 0xFF9F},
      {0xD800, 0xDFFF}, {0xE000, 0xE757}, {0x80, 0x2FFF},   {0xF900, 0xFFFF}, {0x00, 0x01}};
  for (int round = 0; round < 3000; ++round) {
    WideString text(random() % 24, u'\0');
    for (char16_t& unit : text) {
      auto [low, high] = ranges[random() % std::size(ranges)];
      unit = static_cast<char16_t>(low + random() % (high - low + 1));
    }
    AnsiString escaped = WideToEscapedAnsi(text);
    ASSERT_EQ(escaped.find('\0'), AnsiString::npos);
    ASSERT_EQ(EscapedAnsiToWide(escaped), text) << Hex(escaped);
  }
}

TEST_F(CharCodeFiles, HexDumpRows) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string dump;
  };
  const Case cases[] = {
      {"one full row", "ABCDEFGHIJKLMNOP",
       "41 42 43 44 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 50 \tABCDEFGHIJKLMNOP\r"},
      {"eight bytes: no hyphen", "ABCDEFGH",
       "41 42 43 44 45 46 47 48                           \tABCDEFGH        \r"},
      {"controls, 7F, FD-FF as dots", std::string("\x00\x1F\x7F\xFD\xFE\xFF", 6),
       "00 1F 7F FD FE FF                                 \t......          \r"},
      {"double-byte character shown whole", "\x82\xA0",
       "82 A0                                             \t\x82\xA0              \r"},
      {"A0 after a non-lead byte", "a\xA0",
       "61 A0                                             \ta.              \r"},
      {"A0 first in the row", "\xA0",
       "A0                                                \t\xA0               \r"},
      {"lead byte in the sixteenth place", "ABCDEFGHIJKLMNO\x82",
       "41 42 43 44 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 82 \tABCDEFGHIJKLMNO.\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui->ProcessCount = 0;
    EXPECT_EQ(Hex(HexDump(c.bytes.data(), c.bytes.size())), Hex(c.dump));
    EXPECT_EQ(ui->ProcessCount, 1);
  }
  std::string rows(33, 'x');
  EXPECT_EQ(HexDump(rows.data(), rows.size()).size(), 3u * 68);
}

TEST(CharCodeDetection, GuessSJisOrUtf16) {
  struct Case {
    const char* name;
    std::string bytes;
    TMyCharCode guess;
  };
  const Case cases[] = {
      {"ASCII, half-width katakana, pairs", "ab\xB1\xDF\x82\xA0\x88\x9F\xE0\x40", cdSJis},
      {"zeros at odd offsets", std::string("a\0b\0", 4), cdUTF_16LE},
      {"zeros at even offsets", std::string("\0a\0b", 4), cdUTF_16BE},
      {"zeros at both parities", std::string("a\0\0b", 4), cdSJis},
      {"FF alone, kana as UTF-16LE", "\x42\x30\xFF\x30", cdUTF_16LE},
      {"FF alone, no kana", "\x41\x41\xFF\x41", cdUTF_16BE},
      {"lead byte + 01..3F", "\x82\x31", cdUTF_16BE},
      {"80 alone", "a\x80", cdUTF_16BE},
      {"A0 alone", "a\xA0", cdUTF_16BE},
      {"lead byte F0 + 01..3F", "a\xF0 ", cdUTF_16BE},
      {"IBM extension lead bytes FA..FC: 髙橋と山﨑", "\xFB\xFC\x8B\xB4\x82\xC6\x8E\x52\xFA\xB1",
       cdSJis},
      {"user-defined lead byte F0 + trail", "\xF0\x40", cdSJis},
      {"a few stray zeros after Shift_JIS",
       std::string("[Text]\r\nName=\x82\xA0\x82\xA2\r\n\0", 20), cdSJis},
      {"zeros at both parities, odd ones outnumbering", std::string("a\0b\0c\0d\0\0N", 10),
       cdUTF_16LE},
      {"80, A0, FC after a lead byte", "\x82\x80\x82\xA0\x82\xFC", cdSJis},
      {"lead-range byte as second byte", "\x82\x82\x82\xE0", cdSJis},
      {"7F after a lead byte", "\x82\x7F", cdUTF_16BE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GuessSJisOrUtf16(c.bytes.data(), c.bytes.size()), c.guess) << Hex(c.bytes);
  }
}

TEST(CharCodeDetection, StrayZerosDoNotMakeUtf16) {
  // One zero byte appended to a good settings file (what a crash leaves behind) once
  // made it UTF-16LE: the program then rewrote the old content as mojibake.
  std::string bytes = WideToAnsi(W("[Text]\r\nFontName=ＭＳ ゴシック\r\nFontSize=72\r\n"));
  for (size_t zeros : {1, 2, 3, 512}) {
    SCOPED_TRACE(zeros);
    const std::string sample = bytes + std::string(zeros, '\0');
    EXPECT_EQ(DetectCharCode(sample.data(), std::min<size_t>(sample.size(), 1024)), cdSJis);
  }
  const std::string utf8 = WideToUtf8(W("名前=値\n")) + std::string(1, '\0');
  EXPECT_EQ(DetectCharCode(utf8.data(), utf8.size()), cdUTF_8N);
}

TEST(CharCodeDetection, CodePagesMapToCodes) {
  const std::pair<unsigned, TMyCharCode> cases[] = {
      {1200, cdUTF_16LE}, {1201, cdUTF_16BE}, {20932, cdEUC},    {51932, cdEUC}, {51936, cdEUC},
      {51949, cdEUC},     {50220, cdJIS},     {50221, cdJIS},    {50222, cdJIS}, {50225, cdJIS},
      {50227, cdJIS},     {65000, cdUTF_7},   {65001, cdUTF_8N}, {932, cdSJis},  {10001, cdSJis},
      {20127, cdSJis},    {1252, cdSJis},     {50223, cdSJis},
  };
  for (auto [codePage, code] : cases) EXPECT_EQ(CharCodeOfCodePage(codePage), code) << codePage;
  EXPECT_EQ(DetectCodePage("", 0), 1252u);
}

TEST(CharCodeConversions, NewLineText) {
  EXPECT_EQ(NewLineText(nlCRLF), u"\r\n");
  EXPECT_EQ(NewLineText(nlCR), u"\r");
  EXPECT_EQ(NewLineText(nlLF), u"\n");
  EXPECT_EQ(NewLineText(static_cast<TMyNewLine>(7)), u"\r\n");
}

}  // namespace
}  // namespace magna
