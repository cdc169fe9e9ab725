#pragma once
// A main window over fake platform services, created and run through FormCreate
// for each test, and key presses delivered as the window system would: the
// shortcut map first, then the focused widget.

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <memory>

#include "app/window/main.h"
#include "tests/support/testSupport.h"

Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace magna::test {

constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;

class MainWindowTest : public FakeServicesTest {
 protected:
  void SetUp() override {
    FakeServicesTest::SetUp();
    window = MakeWindow();
    window->SettingsFileName = settingsDir.Wide("magna.ini");  // never the one beside the test
    window->AfterConstruction();
    window->activateWindow();
    QApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    FakeServicesTest::TearDown();
  }
  virtual std::unique_ptr<TApp_TOOLMagna> MakeWindow() {
    return std::make_unique<TApp_TOOLMagna>();
  }

  TMyMemo& Memo() { return *window->Memo_Text; }
  /// The widget that takes the keys: the rich-edit window's view.
  QPlainTextEdit* View() {
    auto* view = static_cast<QPlainTextEdit*>(platform::GetNativeView(Memo().Wrapper()->Handle));
    view->setFocus();
    return view;
  }
  /// One press and release; the held keys stand for the modifiers the platform
  /// reports, unless `holdModifiers` is false (released before the event is handled).
  void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {},
             bool holdModifiers = true) {
    if (holdModifiers) HoldModifiers(mods);
    QWidget* target = View();
    if (!qt_sendShortcutOverrideEvent(target, 0, key, mods, text, false, 1)) {
      QKeyEvent press(QEvent::KeyPress, key, mods, text);
      QApplication::sendEvent(target, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(View(), &release);
    keys->Held.clear();
  }
  void HoldModifiers(Qt::KeyboardModifiers mods) {
    if (mods & Qt::ShiftModifier) keys->Held.insert(VK_SHIFT);
    if (mods & Qt::ControlModifier) keys->Held.insert(VK_CONTROL);
  }
  /// Puts text on the clipboard as another program would (one change notice).
  void CopyElsewhere(const WideString& text) { clipboard->SimulateCopy(text, std::nullopt); }
  void SetMonitoring(bool on) {
    if (window->Action_TextCheckClipboard->isChecked() != on)
      window->Action_TextCheckClipboard->trigger();
  }

  TempDir settingsDir;
  std::unique_ptr<TApp_TOOLMagna> window;
};

}  // namespace magna::test
