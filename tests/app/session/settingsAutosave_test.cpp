// The settings written a moment after they change: once per burst of changes,
// a second after its last one, byte for byte what the close writes; never a file
// that would not change, nothing before the start, after the stop or while held.
// Then the real window: which changes count, and what the load, Shift+Ctrl at
// start and at close, and full screen leave alone. The time is the test's own.
#include "app/session/settingsAutosave.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QWindow>

#include "app/window/extraActions.h"
#include "app/window/mainExtras.h"
#include "tests/app/session/fakeSettingsTarget.h"
#include "tests/app/window/mainFixture.h"

namespace magna {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

/// A timer on a clock that only the test moves.
class FakeTimer : public TDelayTimer {
 public:
  void Start(milliseconds delay) override {
    due_ = now_ + delay;
    active_ = true;
  }
  void Stop() override { active_ = false; }
  bool Active() const override { return active_; }
  /// Moves the clock on; the timeout runs when its time has come.
  void Advance(milliseconds step) {
    now_ += step;
    if (!active_ || now_ < due_) return;
    active_ = false;
    OnTimeout();
  }
  milliseconds Now() const { return now_; }
  /// Moves the clock on by `span` in steps of `step`.
  void Pass(milliseconds span, milliseconds step = milliseconds(50)) {
    for (const milliseconds end = now_ + span; now_ < end;) Advance(step);
  }

 private:
  milliseconds now_{0};
  milliseconds due_{0};
  bool active_ = false;
};

constexpr milliseconds kStep{50};

class SettingsAutosaveTest : public test::FakeServicesTest {
 protected:
  void SetUp() override {
    FakeServicesTest::SetUp();
    Restart();
  }
  void TearDown() override {
    autosave.reset();
    FakeServicesTest::TearDown();
  }
  /// A fresh target in the layout's state, a fresh autosave, no file.
  void Restart() {
    autosave.reset();
    std::filesystem::remove(dir / "magna.ini");
    target = std::make_unique<test::FakeTarget>();
    auto owned = std::make_unique<FakeTimer>();
    timer = owned.get();
    autosave = std::make_unique<TSettingsAutosave>(*target, fileName, std::move(owned));
  }

  bool Exists() const { return std::filesystem::exists(dir / "magna.ini"); }
  std::string Bytes() const { return test::ReadBytes(dir / "magna.ini"); }
  void Put(const std::string& bytes) { test::WriteBytes(dir / "magna.ini", bytes); }
  void Advance(milliseconds span) { timer->Pass(span, kStep); }
  /// One size step, told to the autosave as the window tells it.
  void GrowFont() {
    target->Font.SetSize(target->Font.Size() + 1);
    autosave->Changed();
  }
  /// What the close writes for the target as it stands.
  std::string ClosingBytes() {
    test::TempDir other;
    SaveSettings(*target, other.Wide("magna.ini"));
    return test::ReadBytes(other / "magna.ini");
  }

  test::TempDir dir;
  WideString fileName = dir.Wide("magna.ini");
  std::unique_ptr<test::FakeTarget> target;
  FakeTimer* timer = nullptr;
  std::unique_ptr<TSettingsAutosave> autosave;
};

TEST_F(SettingsAutosaveTest, EachBurstOfChangesIsWrittenOnceASecondAfterItsLastChange) {
  struct Case {
    const char* name;
    std::vector<int> changes;  // ms
    std::vector<int> writes;   // ms
  };
  const Case cases[] = {
      {"one change", {0}, {1000}},
      {"a burst, each change within a second of the last", {0, 300, 600, 900, 1850}, {2850}},
      {"two bursts", {0, 200, 1500, 1700, 1750}, {1200, 2750}},
      {"a change just after a write", {0, 1050}, {1000, 2050}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    autosave->Start();
    std::vector<int> writes;
    size_t next = 0;
    std::string last;
    for (int now = 0; now <= 5000; now += int(kStep.count())) {
      if (next < c.changes.size() && c.changes[next] == now) {
        GrowFont();
        ++next;
      }
      if (Exists()) {  // seen and taken away, so that the next write shows too
        writes.push_back(now);
        last = Bytes();
        std::filesystem::remove(dir / "magna.ini");
      }
      timer->Advance(kStep);
    }
    EXPECT_THAT(writes, ElementsAreArray(c.writes));
    EXPECT_EQ(last, ClosingBytes()) << "the close's entries, order and format";
  }
}

TEST_F(SettingsAutosaveTest, AFileThatWouldNotChangeIsNotWritten) {
  autosave->Start();
  autosave->Changed();  // nothing changed at all
  Advance(milliseconds(2000));
  EXPECT_FALSE(Exists());

  GrowFont();
  target->Font.SetSize(72);  // and back within the second
  autosave->Changed();
  Advance(milliseconds(2000));
  EXPECT_FALSE(Exists());

  GrowFont();
  Advance(milliseconds(1000));
  ASSERT_TRUE(Exists());
  Put("kept");  // a rewrite would show
  target->Win.Bounds = {0, 0, 10, 10};
  target->Win.Bounds = test::FakeWindow().Bounds;
  autosave->Changed();
  Advance(milliseconds(2000));
  EXPECT_EQ(Bytes(), "kept");
}

TEST_F(SettingsAutosaveTest, NothingIsWrittenBeforeTheStartAfterTheStopOrWhileHeld) {
  GrowFont();  // the load's own changes
  Advance(milliseconds(2000));
  EXPECT_FALSE(Exists()) << "before the start";

  autosave->Start();
  Advance(milliseconds(2000));
  EXPECT_FALSE(Exists()) << "what the load left counts as on disk";

  autosave->SetHeld(true);
  GrowFont();
  Advance(milliseconds(3000));
  EXPECT_FALSE(Exists()) << "while held";
  autosave->SetHeld(false);
  Advance(milliseconds(950));
  EXPECT_FALSE(Exists());
  Advance(milliseconds(50));
  EXPECT_THAT(Bytes(), HasSubstr("Font_FontSize=74\r\n")) << "a second after letting go";

  GrowFont();
  autosave->Stop();
  Advance(milliseconds(2000));
  EXPECT_THAT(Bytes(), HasSubstr("Font_FontSize=74\r\n")) << "the stop dropped the write";
}

TEST_F(SettingsAutosaveTest, ShiftAndCtrlHeldDoNotSkipItOnlyTheCloseIsSkipped) {
  autosave->Start();
  keys->Held = {16, 17};  // Ctrl+Shift+Up is a size step of 5
  GrowFont();
  Advance(milliseconds(1000));
  EXPECT_THAT(Bytes(), HasSubstr("Font_FontSize=73\r\n"));
}

TEST_F(SettingsAutosaveTest, AFailedWriteIsTriedAgainAtTheNextChange) {
  fileName = dir.Wide("later/magna.ini");  // a folder that is not there yet
  autosave->Start();
  GrowFont();
  Advance(milliseconds(1000));
  ExpectWarning(platform::kLogText, "magna.ini' failed: ");
  std::filesystem::create_directory(dir / "later");
  autosave->Changed();  // no new change: the one that failed is still to write
  Advance(milliseconds(1000));
  EXPECT_THAT(test::ReadBytes(dir / "later/magna.ini"), HasSubstr("Font_FontSize=73\r\n"));
}

// The real window, its timer on the test's clock.
class AutosaveWindowTest : public test::MainWindowTest {
 protected:
  class Window : public TApp_TOOLMagna {
   public:
    explicit Window(FakeTimer** timer) : timer_(timer) {}

   protected:
    std::unique_ptr<TDelayTimer> MakeSettingsTimer() override {
      auto timer = std::make_unique<FakeTimer>();
      *timer_ = timer.get();
      return timer;
    }

   private:
    FakeTimer** timer_;
  };
  std::unique_ptr<TApp_TOOLMagna> MakeWindow() override { return std::make_unique<Window>(&timer); }

  std::filesystem::path Ini() const { return settingsDir / "magna.ini"; }
  bool Written() const { return std::filesystem::exists(Ini()); }
  void Advance(milliseconds span) { timer->Pass(span, kStep); }

  FakeTimer* timer = nullptr;
};

TEST_F(AutosaveWindowTest, EveryChangeTheSettingsKeepIsWrittenASecondLater) {
  struct Case {
    const char* name;
    std::function<void(TApp_TOOLMagna&)> change;
    const char* line;  // in the file afterwards
  };
  const Case cases[] = {
      {"size button", [](TApp_TOOLMagna& w) { w.Action_FontSizeUp->trigger(); },
       "Font_FontSize=73\r\n"},
      {"Ctrl+wheel",
       [](TApp_TOOLMagna& w) {
         bool handled = false;
         w.Memo_TextMouseWheel(nullptr, ssCtrl, -120, {}, handled);
       },
       "Font_FontSize=72\r\n"},
      {"word wrap", [](TApp_TOOLMagna& w) { w.Action_TextWrap->trigger(); }, "WordWarp=0\r\n"},
      {"watching", [](TApp_TOOLMagna& w) { w.Action_TextCheckClipboard->trigger(); },
       "CheckClipboard=1\r\n"},
      {"watching the selection",
       [](TApp_TOOLMagna& w) { w.Extras().Actions.Action_TextCheckSelection->trigger(); },
       "CheckSelection=1\r\n"},
      {"moved", [](TApp_TOOLMagna& w) { w.move(40, 50); }, "App_TOOLMagna_Top=50\r\n"},
      {"resized", [](TApp_TOOLMagna& w) { w.resize(600, 300); }, "_Bottom=350\r\n"},
  };
  Advance(milliseconds(2000));
  ASSERT_FALSE(Written()) << "the load and the first show are no change";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.change(*window);
    QApplication::processEvents();
    Advance(milliseconds(950));
    EXPECT_FALSE(Written());
    Advance(milliseconds(50));
    ASSERT_TRUE(Written());
    EXPECT_THAT(test::ReadBytes(Ini()), HasSubstr(c.line));
    std::filesystem::remove(Ini());
  }
}

TEST_F(AutosaveWindowTest, AChangeWithShiftAndCtrlHeldAtTheCloseIsNotWritten) {
  window->Action_FontSizeUp->trigger();
  Advance(milliseconds(1000));
  ASSERT_THAT(test::ReadBytes(Ini()), HasSubstr("Font_FontSize=73\r\n"));
  window->Action_FontSizeUp->trigger();
  keys->Held = {16, 17};
  window.reset();
  EXPECT_THAT(test::ReadBytes(Ini()), HasSubstr("Font_FontSize=73\r\n"))
      << "neither the close nor the write that was due";
}

TEST_F(AutosaveWindowTest, FullScreenBoundsAreNeverWritten) {
  const QRect normal = window->geometry();
  const int bottom = window->pos().y() + window->height();  // as the bounds are kept
  window->Extras().Actions.Action_ViewFullScreen->trigger();
  window->Action_FontSizeUp->trigger();
  Advance(milliseconds(3000));
  EXPECT_FALSE(Written());
  window->Extras().Actions.Action_ViewFullScreen->trigger();
  QApplication::processEvents();
  ASSERT_EQ(window->geometry(), normal);
  Advance(milliseconds(1000));
  const std::string bytes = test::ReadBytes(Ini());
  EXPECT_THAT(bytes, HasSubstr("Font_FontSize=73\r\n"));
  EXPECT_THAT(bytes, HasSubstr("App_TOOLMagna_Bottom=" + std::to_string(bottom) + "\r\n"));
}

class SkippedLoadWindowTest : public AutosaveWindowTest {
  std::unique_ptr<TApp_TOOLMagna> MakeWindow() override {
    keys->Held = {16, 17};  // held while the window starts
    return AutosaveWindowTest::MakeWindow();
  }
};

TEST_F(SkippedLoadWindowTest, AfterShiftAndCtrlAtTheStartOnlyTheCloseWrites) {
  keys->Held.clear();
  test::WriteBytes(Ini(), "[Text]\r\nWordWarp=1\r\n");
  window->Action_FontSizeUp->trigger();
  Advance(milliseconds(3000));
  EXPECT_EQ(test::ReadBytes(Ini()), "[Text]\r\nWordWarp=1\r\n");
  window.reset();
  EXPECT_THAT(test::ReadBytes(Ini()), HasSubstr("Font_FontSize=73\r\n"));
}

}  // namespace
}  // namespace magna
