// What another program's offer means: the text format chosen among the offered
// names, the password manager's hint, and the text from the bytes.
#include "platform/clipboardOffer.h"

#include <gtest/gtest.h>

namespace magna::platform {
namespace {

TEST(ClipboardOffer, TheBestTextFormatIsChosenAmongTheOfferedNames) {
  struct Case {
    const char* name;
    std::vector<std::string> offered;
    std::optional<TTextFormat> chosen;
  } cases[] = {
      // Regression: Qt 6.4 on Wayland lists only these, and plain "text/plain" was looked for.
      {"Qt on Wayland",
       {"text/plain;charset=utf-8", "UTF8_STRING", "TARGETS"},
       TTextFormat{"text/plain;charset=utf-8", TextEncoding::Utf8}},
      {"other spelling", {"text/plain; charset=UTF-8"}, {{"text/plain; charset=UTF-8"}}},
      {"X11 owner", {"TARGETS", "STRING", "UTF8_STRING"}, {{"UTF8_STRING"}}},
      {"plain text only", {"text/plain"}, {{"text/plain", TextEncoding::Utf8OrLatin1}}},
      {"legacy owner", {"TIMESTAMP", "STRING"}, {{"STRING", TextEncoding::Latin1}}},
      {"TEXT before STRING", {"STRING", "TEXT"}, {{"TEXT", TextEncoding::Utf8OrLatin1}}},
      {"files and images", {"text/uri-list", "image/png", "x-special/gnome-copied-files"}, {}},
      {"nothing", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChooseTextFormat(c.offered), c.chosen);
  }
}

TEST(ClipboardOffer, TheHintMarksSecretWhenItSaysSoOrCantBeRead) {
  EXPECT_TRUE(OffersPasswordHint({"UTF8_STRING", "x-kde-passwordManagerHint"}));
  EXPECT_FALSE(OffersPasswordHint({"UTF8_STRING", "x-kde-passwordmanagerhint-other"}));
  struct Case {
    std::optional<std::string> value;
    bool secret;
  } cases[] = {{"secret", true},  {" secret\n", true}, {"", true},       {std::nullopt, true},
               {"public", false}, {"secrets", false},  {"Secret", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value.value_or("(unreadable)"));
    EXPECT_EQ(IsSecretHint(c.value), c.secret);
  }
}

TEST(ClipboardOffer, TextIsDecodedByItsEncoding) {
  struct Case {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    WideString text;
  } cases[] = {
      {"UTF-8", "\xE6\x97\xA5\xE6\x9C\xAC A", TextEncoding::Utf8, u"日本 A"},
      {"supplementary", "\xF0\xA0\xAE\xB7", TextEncoding::Utf8, u"\U00020BB7"},  // 𠮷
      {"invalid UTF-8",
       "a\xFF"
       "b",
       TextEncoding::Utf8, u"a\uFFFDb"},
      {"Latin-1", "caf\xE9", TextEncoding::Latin1, u"café"},
      {"legacy owner's Latin-1", "caf\xE9", TextEncoding::Utf8OrLatin1, u"café"},
      {"legacy owner's UTF-8", "caf\xC3\xA9", TextEncoding::Utf8OrLatin1, u"café"},
      {"zero byte ends it", std::string("ab\0cd", 5), TextEncoding::Utf8, u"ab"},
      {"empty", "", TextEncoding::Utf8, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeText(c.bytes, c.encoding), c.text);
  }
}

TEST(ClipboardOffer, Utf8IsValidOnlyInItsShortestFormsBelowTheSurrogatesAndU10FFFF) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    EXPECT_EQ(IsValidUtf8(std::string(1, char(b))), b < 0x80);
  }
  struct Case {
    const char* name;
    std::string bytes;
    bool valid;
  } cases[] = {
      {"two bytes", "\xC3\xA9", true},          {"overlong two", "\xC1\xBF", false},
      {"three bytes", "\xE3\x81\x82", true},    {"overlong three", "\xE0\x9F\xBF", false},
      {"surrogate", "\xED\xA0\x80", false},     {"last before surrogates", "\xED\x9F\xBF", true},
      {"four bytes", "\xF0\x9F\x98\x80", true}, {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"cut short", "\xE3\x81", false},         {"bad continuation", "\xE3\x41\x82", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
  }
}

}  // namespace
}  // namespace magna::platform
