// The rich-edit window driven by its messages alone, as the wrappers drive it:
// the answers they rely on, and the notifications its event mask asks for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <vector>

#include "editor/myRichEdit.h"
#include "editor/myRichEditText.h"
#include "platform/myColor.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using namespace platform;

constexpr LONG Style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL;

HWND CreateRichEdit(HWND parent) {
  return CreateWindowExW(0, RichEditClassName, u"", Style, 0, 0, 300, 200, parent, 0x2000, nullptr,
                         nullptr);
}

// Runs in a program where no editor control holds the library: the class exists
// only from the load to the last release.
TEST(RichEditLibraryTest, TheClassExistsOnlyWhileTheLibraryIsLoaded) {
  ProvideRichEditLibrary();
  EXPECT_EQ(CreateRichEdit(nullptr), nullptr);
  HMODULE module = LoadLibraryA(RichEditLibraryName);
  ASSERT_GT(module, HMODULE(32));
  HWND hwnd = CreateRichEdit(nullptr);
  EXPECT_NE(hwnd, nullptr);
  DestroyWindow(hwnd);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(CreateRichEdit(nullptr), nullptr);
}

/// The parent: records the notifications it receives.
struct Parent : TWindowObject {
  std::vector<uint16_t> commands;
  std::vector<UINT> notifications;
  LRESULT WindowProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_COMMAND) commands.push_back(HIWORD(wParam));
    if (msg == WM_NOTIFY) notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    return 0;
  }
};

class RichEditWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProvideRichEditLibrary();
    module = LoadLibraryA(RichEditLibraryName);
    parentHandle = AttachWindow(&parent, nullptr);
    hwnd = CreateRichEdit(parentHandle);
    ASSERT_NE(hwnd, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parentHandle);
    FreeLibrary(module);
  }
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(hwnd, msg, wParam, lParam);
  }
  CHARRANGE Selection() {
    CHARRANGE range;
    SendMessageW(hwnd, EM_EXGETSEL, 0, &range);
    return range;
  }
  /// Where the caret is: the moving end of the selection.
  int Caret() {
    auto* view = static_cast<QPlainTextEdit*>(GetNativeView(hwnd));
    auto* window = dynamic_cast<TRichEditWindow*>(GetWindowObject(hwnd));
    return window->Text()->ToText(view->textCursor().position());
  }

  Parent parent;
  HMODULE module = 0;
  HWND parentHandle = nullptr;
  HWND hwnd = nullptr;
};

TEST_F(RichEditWindowTest, SetSelKeepsTheCaretAtTheMovingEnd) {
  SetWindowTextW(hwnd, u"abc\rdef");  // 7 code units
  struct Case {
    WPARAM start;
    LPARAM end;
    CHARRANGE expected;
    int caret;
  } cases[] = {
      {0, -1, {0, 7}, 7},          // everything
      {5, 2, {2, 5}, 2},           // backwards: caret at the start
      {3, 100, {3, 7}, 7},         // an end beyond the text is the text's end
      {4, 4, {4, 4}, 4},           // collapsed
      {WPARAM(-1), 0, {4, 4}, 4},  // -1: deselect, caret kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "EM_SETSEL " << intptr_t(c.start) << ", " << c.end);
    Send(EM_SETSEL, c.start, c.end);
    EXPECT_EQ(Selection().cpMin, c.expected.cpMin);
    EXPECT_EQ(Selection().cpMax, c.expected.cpMax);
    EXPECT_EQ(Caret(), c.caret);
  }
  Send(EM_SETSEL, 1, 6);
  DWORD start = 0, end = 0;
  EXPECT_EQ(Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
            LRESULT(MAKELONG(1, 6)));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 6u);
}

TEST_F(RichEditWindowTest, LineQueriesCountCrBreaks) {
  SetWindowTextW(hwnd, u"ab\r\rcdef");  // lines "ab", "", "cdef"
  EXPECT_EQ(Send(EM_GETLINECOUNT), 3);
  struct Case {
    int line, index, length;
  } lines[] = {{0, 0, 2}, {1, 3, 0}, {2, 4, 4}};
  for (const Case& c : lines) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Send(EM_LINEINDEX, WPARAM(c.line)), c.index);
    EXPECT_EQ(Send(EM_LINELENGTH, WPARAM(c.index)), c.length);
    EXPECT_EQ(Send(EM_LINEFROMCHAR, WPARAM(c.index)), c.line);
  }
  EXPECT_EQ(Send(EM_LINEINDEX, 3), -1) << "no such line";
  Send(EM_SETSEL, 5, 1);  // the caret moved back to line 0; the selection starts there
  EXPECT_EQ(Send(EM_LINEFROMCHAR, WPARAM(-1)), 0);
  EXPECT_EQ(Send(EM_LINEINDEX, WPARAM(-1)), 0);
  EXPECT_EQ(Send(EM_LINELENGTH, WPARAM(-1)), 1 + 3) << "unselected units of the selected lines";

  char16_t buffer[8] = {3, u'#', u'#', u'#', u'#', u'#', u'#', u'#'};  // room for 3 units
  EXPECT_EQ(Send(EM_GETLINE, 2, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_EQ(WideString(buffer, 4), u"cde#") << "no terminating zero";
}

TEST_F(RichEditWindowTest, LengthsAndTextWithEitherBreak) {
  SetWindowTextW(hwnd, u"ab\r\ncd\nef");  // every break convention becomes one CR
  struct Case {
    DWORD flags;
    LRESULT length;
  } cases[] = {
      {GTL_NUMCHARS, 8},
      {GTL_USECRLF | GTL_CLOSE | GTL_NUMCHARS, 10},
      {GTL_NUMBYTES, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    GETTEXTLENGTHEX info{c.flags, CP_UTF16};
    EXPECT_EQ(SendMessageA(hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&info), 0), c.length);
  }
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), 10);

  char16_t buffer[16] = {};
  GETTEXTEX get{sizeof buffer, GT_USECRLF, CP_UTF16, nullptr, nullptr};
  EXPECT_EQ(Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer)),
            10);
  EXPECT_EQ(WideString(buffer), u"ab\r\ncd\r\nef");
  get = {4 * sizeof(char16_t), GT_DEFAULT, CP_UTF16, nullptr, nullptr};
  EXPECT_EQ(Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer)),
            3);
  EXPECT_EQ(WideString(buffer), u"ab\r") << "cut to the buffer, zero included";
  Send(EM_SETSEL, 1, 4);
  get = {sizeof buffer, GT_SELECTION, CP_UTF16, nullptr, nullptr};
  Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(WideString(buffer), u"b\rc");
}

TEST_F(RichEditWindowTest, ReplaceSelUndoRedoAndTheModifiedFlag) {
  SetWindowTextW(hwnd, u"hello");
  EXPECT_EQ(Send(EM_GETMODIFY), 0) << "a new text is not a modification";
  EXPECT_EQ(Send(EM_CANUNDO), 0) << "nor an edit to undo";
  Send(EM_SETSEL, 0, 5);
  SendMessageW(hwnd, EM_REPLACESEL, 1, u"bye\r");
  EXPECT_EQ(Send(EM_GETMODIFY), 1);
  EXPECT_EQ(Caret(), 4) << "after the inserted text";
  EXPECT_EQ(Send(EM_GETLINECOUNT), 2);
  EXPECT_EQ(Send(EM_CANUNDO), 1);
  EXPECT_EQ(Send(EM_CANREDO), 0);
  Send(EM_UNDO);
  char16_t buffer[16] = {};
  GETTEXTEX get{sizeof buffer, GT_DEFAULT, CP_UTF16, nullptr, nullptr};
  Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(WideString(buffer), u"hello");
  EXPECT_EQ(Send(EM_CANREDO), 1);
  Send(EM_REDO);
  Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(WideString(buffer), u"bye\r");
  Send(EM_SETMODIFY, 0);
  EXPECT_EQ(Send(EM_GETMODIFY), 0);
}

TEST_F(RichEditWindowTest, BackgroundColourAnswersTheOldOne) {
  auto* view = static_cast<QPlainTextEdit*>(GetNativeView(hwnd));
  Send(EM_SETBKGNDCOLOR, 0, LPARAM(RGB(0x10, 0x20, 0x30)));
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(Send(EM_SETBKGNDCOLOR, 0, LPARAM(RGB(1, 2, 3))), LRESULT(RGB(0x10, 0x20, 0x30)));
  Send(EM_SETBKGNDCOLOR, 1, 0);  // nonzero wParam: the system's window colour
  EXPECT_EQ(view->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
}

TEST_F(RichEditWindowTest, NotificationsFollowTheEventMask) {
  SetWindowTextW(hwnd, u"abc");
  struct Case {
    DWORD mask;
    std::vector<uint16_t> commands;
    std::vector<UINT> notifications;
  } cases[] = {
      {0, {}, {}},
      {ENM_CHANGE, {EN_CHANGE}, {}},
      {ENM_UPDATE | ENM_CHANGE | ENM_SELCHANGE, {EN_UPDATE, EN_CHANGE}, {EN_SELCHANGE}},
  };
  int caret = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    Send(EM_SETEVENTMASK, 0, LPARAM(c.mask));
    parent.commands.clear();
    parent.notifications.clear();
    Send(EM_SETSEL, WPARAM(caret), caret);
    SendMessageW(hwnd, EM_REPLACESEL, 1, u"x");
    ++caret;
    EXPECT_EQ(parent.commands, c.commands);
    EXPECT_EQ(parent.notifications, c.notifications);
  }
}

TEST_F(RichEditWindowTest, ThumbFollowsTheScrolledCaret) {
  WideString lines;
  for (int i = 0; i < 200; ++i) lines += u"line\r";
  SetWindowTextW(hwnd, lines);
  EXPECT_EQ(Send(EM_GETTHUMB), 0);
  Send(EM_SETSEL, WPARAM(lines.size()), LPARAM(lines.size()));
  Send(EM_SCROLLCARET);
  auto* view = static_cast<QPlainTextEdit*>(GetNativeView(hwnd));
  EXPECT_GT(Send(EM_GETTHUMB), 0);
  EXPECT_EQ(Send(EM_GETTHUMB), view->verticalScrollBar()->value());
}

}  // namespace
}  // namespace magna
