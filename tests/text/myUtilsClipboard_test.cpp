#include <gtest/gtest.h>

#include "tests/support/testSupport.h"
#include "text/myUtils.h"

namespace magna {
namespace {

using test::Hex;
using test::W;

// A clipboard whose data reading fails, to see it closed when an exception passes.
class ThrowingClipboard : public test::MemoryClipboard {
 public:
  std::optional<WideString> GetUnicodeText() override { throw std::runtime_error("lost"); }
};

class ClipboardText : public test::FakeServicesTest {};

TEST_F(ClipboardText, PrefersUnicodeText) {
  clipboard->Unicode = W("ユニコード");
  clipboard->Ansi = "\x83\x41";  // ア in Shift_JIS
  EXPECT_EQ(GetClipboardText(), W("ユニコード"));
  EXPECT_FALSE(clipboard->IsOpen);
  EXPECT_EQ(clipboard->OpenCount, 1);
}

TEST_F(ClipboardText, ConvertsAnsiTextFromShiftJis) {
  clipboard->Ansi = "\x93\xfa\x96\x7b abc";  // 日本 abc
  EXPECT_EQ(GetClipboardText(), W("日本 abc"));
  EXPECT_FALSE(clipboard->IsOpen);
}

TEST_F(ClipboardText, EndsAtTheTerminator) {
  clipboard->Unicode = WideString(u"ab\0cd", 5);
  EXPECT_EQ(GetClipboardText(), u"ab");
  clipboard->Unicode.reset();
  clipboard->Ansi = std::string("x\0y", 3);
  EXPECT_EQ(GetClipboardText(), u"x");
}

TEST_F(ClipboardText, GivesNothingWhenEmptyOrRefused) {
  EXPECT_EQ(GetClipboardText(), u"");
  EXPECT_EQ(clipboard->OpenCount, 0);  // nothing offered: not even opened
  clipboard->Unicode = u"text";
  clipboard->RefuseOpen = true;
  EXPECT_EQ(GetClipboardText(), u"");
  ExpectWarning(platform::kLogClipboard, "reading the clipboard failed");
  EXPECT_FALSE(clipboard->IsOpen);
}

TEST(ClipboardTextClosing, ClosesWhenAnExceptionPasses) {
  auto owned = std::make_unique<ThrowingClipboard>();
  ThrowingClipboard* clipboard = owned.get();
  platform::InstallClipboard(std::move(owned));
  clipboard->Unicode = u"text";
  EXPECT_THROW(GetClipboardText(), std::runtime_error);
  EXPECT_FALSE(clipboard->IsOpen);
  EXPECT_EQ(clipboard->OpenCount, 1);
  platform::InstallClipboard(nullptr);
}

TEST_F(ClipboardText, SetPutsBothFormats) {
  clipboard->Ansi = "old";
  int changes = 0;
  clipboard->SetChangeHandler([&] { ++changes; });
  SetClipboardText(W("日本 abc"));
  EXPECT_EQ(clipboard->Unicode, W("日本 abc"));
  ASSERT_TRUE(clipboard->Ansi.has_value());
  EXPECT_EQ(Hex(*clipboard->Ansi), "93 FA 96 7B 20 61 62 63");
  EXPECT_FALSE(clipboard->IsOpen);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetClipboardText(), W("日本 abc"));  // round trip
}

TEST_F(ClipboardText, SetOfEmptyTextLeavesTheClipboard) {
  clipboard->Unicode = u"old";
  SetClipboardText(u"");
  EXPECT_EQ(clipboard->Unicode, u"old");
  EXPECT_EQ(clipboard->OpenCount, 0);
}

TEST_F(ClipboardText, SetDoesNothingWhenRefused) {
  clipboard->Unicode = u"old";
  clipboard->RefuseOpen = true;
  SetClipboardText(u"new");
  ExpectWarning(platform::kLogClipboard, "writing the clipboard failed");
  EXPECT_EQ(clipboard->Unicode, u"old");
  EXPECT_FALSE(clipboard->IsOpen);
}

}  // namespace
}  // namespace magna
