// The window-object model: classes, creation, libraries, destruction order,
// focus messages, styles and positions.
#include "platform/myWindows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace magna::platform {
namespace {

using ::testing::ElementsAre;

/// Logs "name:message" for every message its windows receive.
struct Journal {
  std::vector<std::string> lines;
};

class LoggingWindow : public TWindowObject {
 public:
  LoggingWindow(Journal* journal, std::string name) : journal_(journal), name_(std::move(name)) {}
  LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    journal_->lines.push_back(name_ + ":" + std::to_string(msg));
    if (OnMessage) return OnMessage(hwnd, msg, wParam, lParam);
    return 0;
  }
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> OnMessage;

 private:
  Journal* journal_;
  std::string name_;
};

std::string Line(const char* name, UINT msg) {
  return std::string(name) + ":" + std::to_string(msg);
}

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClassW(u"TestChild",
                   [this](HWND) { return std::make_unique<LoggingWindow>(&journal, "child"); });
  }
  void TearDown() override { UnregisterClassW(u"TestChild"); }

  HWND Child(HWND parent, LONG style = WS_CHILD) {
    return CreateWindowExW(0, u"TestChild", u"", style, 5, 6, 30, 40, parent, 7, nullptr, nullptr);
  }

  Journal journal;
};

TEST_F(WindowsTest, UnknownClassCreatesNoWindowAndMessagesToNoWindowAnswerZero) {
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(SendMessageW(nullptr, WM_USER, 1, 2), 0);
  EXPECT_FALSE(RegisterClassW(u"TestChild", [](HWND) { return nullptr; })) << "the name is taken";
}

TEST_F(WindowsTest, ClassOfALibraryExistsOnlyWhileTheLibraryIsLoaded) {
  ProvideLibrary(
      "Test.dll",
      [this] {
        RegisterClassW(u"FromLibrary",
                       [this](HWND) { return std::make_unique<LoggingWindow>(&journal, "lib"); });
      },
      [] { UnregisterClassW(u"FromLibrary"); });
  EXPECT_EQ(CreateWindowExW(0, u"FromLibrary", u"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(LoadLibraryA("Missing.dll"), 2u);
  HMODULE module = LoadLibraryA("Test.dll");
  EXPECT_GT(module, 32u);
  EXPECT_EQ(LoadLibraryA("Test.dll"), module) << "a second load shares the module";
  HWND window =
      CreateWindowExW(0, u"FromLibrary", u"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr);
  EXPECT_NE(window, nullptr);
  EXPECT_THAT(journal.lines, ElementsAre(Line("lib", WM_CREATE)));
  DestroyWindow(window);
  EXPECT_TRUE(FreeLibrary(module));
  HWND again = CreateWindowExW(0, u"FromLibrary", u"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr);
  EXPECT_NE(again, nullptr) << "still loaded once";
  DestroyWindow(again);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(CreateWindowExW(0, u"FromLibrary", u"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr),
            nullptr);
  EXPECT_FALSE(FreeLibrary(module));
}

TEST_F(WindowsTest, CreationRefusedByTheProcedureLeavesNoWindow) {
  RegisterClassW(u"Refusing", [this](HWND) {
    auto window = std::make_unique<LoggingWindow>(&journal, "refusing");
    window->OnMessage = [](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
      return msg == WM_CREATE ? -1 : 0;
    };
    return window;
  });
  EXPECT_EQ(CreateWindowExW(0, u"Refusing", u"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr),
            nullptr);
  EXPECT_THAT(journal.lines,
              ElementsAre(Line("refusing", WM_CREATE), Line("refusing", WM_DESTROY)));
  UnregisterClassW(u"Refusing");
}

TEST_F(WindowsTest, DestroyingAParentDestroysItsChildrenAndTheirHandlesStayDead) {
  LoggingWindow host(&journal, "host");
  HWND parent = AttachWindow(&host, nullptr);
  HWND child = Child(parent);
  HWND grandchild = Child(child);
  SetFocus(grandchild);
  journal.lines.clear();
  EXPECT_TRUE(DestroyWindow(parent));
  EXPECT_THAT(journal.lines, ElementsAre(Line("host", WM_DESTROY), Line("child", WM_DESTROY),
                                         Line("child", WM_DESTROY)));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(SendMessageW(child, WM_USER, 0, 0), 0);
  HWND next = Child(nullptr);
  EXPECT_NE(next, child) << "handles are never reused";
  DestroyWindow(next);
}

TEST_F(WindowsTest, AWindowDestroyedInsideItsOwnMessageLivesUntilTheMessageReturns) {
  HWND window = Child(nullptr);
  auto* object = static_cast<LoggingWindow*>(GetWindowObject(window));
  bool afterDestroy = false;
  object->OnMessage = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg != WM_USER) return 0;
    DestroyWindow(hwnd);
    afterDestroy = true;  // still inside the object's own procedure
    return 42;
  };
  EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 42);
  EXPECT_TRUE(afterDestroy);
  EXPECT_FALSE(IsWindow(window));
}

// The entry point empties the table while the GUI layer still runs: the table
// itself destroys nothing at exit.
TEST_F(WindowsTest, DestroyAllWindowsDestroysEveryWindowAndFreesWhatTheTableOwns) {
  struct Counted : LoggingWindow {
    Counted(Journal* journal, int* freed) : LoggingWindow(journal, "owned"), freed_(freed) {}
    ~Counted() override { ++*freed_; }
    int* freed_;
  };
  int freed = 0;
  RegisterClassW(u"Counted", [&](HWND) { return std::make_unique<Counted>(&journal, &freed); });
  LoggingWindow host(&journal, "host");
  HWND attached = AttachWindow(&host, nullptr);
  auto create = [](HWND parent) {
    return CreateWindowExW(0, u"Counted", u"", WS_CHILD, 0, 0, 1, 1, parent, 0, nullptr, nullptr);
  };
  const HWND windows[] = {attached, create(attached), create(nullptr), create(create(nullptr))};
  journal.lines.clear();
  DestroyAllWindows();
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(freed, 4);
  EXPECT_EQ(std::count(journal.lines.begin(), journal.lines.end(), Line("owned", WM_DESTROY)), 4);
  EXPECT_EQ(journal.lines.front(), Line("host", WM_DESTROY)) << "a parent before its children";
  UnregisterClassW(u"Counted");
}

TEST_F(WindowsTest, FocusMovesWithKillAndSetMessages) {
  HWND a = Child(nullptr), b = Child(nullptr);
  journal.lines.clear();
  EXPECT_EQ(SetFocus(a), nullptr);
  EXPECT_EQ(SetFocus(a), a) << "already focused: no messages";
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_THAT(journal.lines, ElementsAre(Line("child", WM_SETFOCUS), Line("child", WM_KILLFOCUS),
                                         Line("child", WM_SETFOCUS)));
  SetFocus(nullptr);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST_F(WindowsTest, StylesPositionsAndRectangles) {
  struct Host : TWindowObject {
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    TPoint ClientOrigin(HWND) override { return {100, 200}; }
  } host;
  HWND parent = AttachWindow(&host, nullptr);
  HWND child = Child(parent, WS_CHILD | ES_MULTILINE);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_EQ(GetDlgCtrlID(child), 7u);
  EXPECT_EQ(GetWindowLongW(child, GWL_STYLE), WS_CHILD | ES_MULTILINE);
  journal.lines.clear();
  EXPECT_EQ(SetWindowLongW(child, GWL_STYLE, WS_CHILD), WS_CHILD | ES_MULTILINE);
  EXPECT_EQ(GetWindowLongW(child, GWL_STYLE), WS_CHILD);
  SetWindowPos(child, nullptr, 1, 2, 10, 20, SWP_NOZORDER);
  EXPECT_THAT(journal.lines,
              ElementsAre(Line("child", WM_STYLECHANGED), Line("child", WM_WINDOWPOSCHANGED)));
  TRect rect;
  ASSERT_TRUE(GetWindowRect(child, &rect));
  EXPECT_EQ(rect, (TRect{101, 202, 111, 222}));
  SetWindowPos(child, nullptr, 0, 0, 50, 60, SWP_NOMOVE);
  EXPECT_EQ(WindowBounds(child), (TRect{1, 2, 51, 62}));
  TPoint point{0, 0};
  ClientToScreen(child, &point);
  EXPECT_EQ(point, (TPoint{101, 202}));
  ScreenToClient(child, &point);
  EXPECT_EQ(point, (TPoint{0, 0}));
  DestroyWindow(parent);
}

TEST(WindowsWordsTest, SignedWordsOfMouseAndWheelData) {
  uintptr_t data = MAKELONG(uint16_t(-3), uint16_t(-120));
  EXPECT_EQ(GET_X(data), -3);
  EXPECT_EQ(GET_Y(data), -120);
  EXPECT_EQ(LOWORD(0x12345678), 0x5678);
  EXPECT_EQ(HIWORD(0x12345678), 0x1234);
}

}  // namespace
}  // namespace magna::platform
