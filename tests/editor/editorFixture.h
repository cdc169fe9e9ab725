#pragma once
// A memo on a shown parent widget with fake platform services, and a spy that
// records every message the rich-edit windows receive (header only: each test
// file is its own program).

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QWheelEvent>
#include <QWidget>
#include <memory>
#include <vector>

#include "editor/myEdit.h"
#include "editor/myRichEdit.h"
#include "tests/support/testSupport.h"

namespace magna::test {

/// Replaces the "RichEdit20W" class by one whose windows log their messages
/// before the real window object answers them.
class MessageSpy {
 public:
  struct Entry {
    int window;  // 1 for the first window the spy made, 2 for the next, ...
    platform::UINT msg;
    friend bool operator==(const Entry&, const Entry&) = default;
  };

  MessageSpy();
  ~MessageSpy();

  std::vector<Entry> Log;
  int Windows = 0;

 private:
  class Window;
};

class EditorTest : public FakeServicesTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  QPlainTextEdit* View() const;
  TMyMemoControl* Wrapper() const { return memo->MemoWrapper(); }
  /// Sends a key press and release to the text as a user would type it.
  void Type(int qtKey, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  /// Sends a wheel turn over the text.
  void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

  std::unique_ptr<QWidget> parent;
  TMyMemo* memo = nullptr;
};

using namespace platform;

class MessageSpy::Window : public TWindowObject {
 public:
  Window(HWND hwnd, MessageSpy* spy) : inner_(hwnd), spy_(spy), number_(++spy->Windows) {}
  LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    spy_->Log.push_back({number_, msg});
    return inner_.WindowProc(hwnd, msg, wParam, lParam);
  }
  TPoint ClientOrigin(HWND hwnd) override { return inner_.ClientOrigin(hwnd); }

 private:
  TRichEditWindow inner_;
  MessageSpy* spy_;
  int number_;
};

inline MessageSpy::MessageSpy() {
  UnregisterClassW(RichEditClassName);
  RegisterClassW(RichEditClassName,
                 [this](HWND hwnd) { return std::make_unique<Window>(hwnd, this); });
}

inline MessageSpy::~MessageSpy() {
  UnregisterClassW(RichEditClassName);
  RegisterClassW(RichEditClassName,
                 [](HWND hwnd) { return std::make_unique<TRichEditWindow>(hwnd); });
}

inline void EditorTest::SetUp() {
  FakeServicesTest::SetUp();
  parent = std::make_unique<QWidget>();
  parent->resize(400, 300);
  memo = new TMyMemo(parent.get());
  memo->setGeometry(10, 10, 300, 200);
  parent->show();
}

inline void EditorTest::TearDown() {
  parent.reset();
  FakeServicesTest::TearDown();
}

inline QPlainTextEdit* EditorTest::View() const {
  return static_cast<QPlainTextEdit*>(GetNativeView(Wrapper()->Handle));
}

inline void EditorTest::Type(int qtKey, const QString& text, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
  QApplication::sendEvent(View(), &press);
  if (!View()) return;  // the key may have re-created the window
  QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
  QApplication::sendEvent(View(), &release);
}

inline void EditorTest::Wheel(int delta, Qt::KeyboardModifiers modifiers) {
  QWidget* viewport = View()->viewport();
  QPointF local(20, 20);
  QWheelEvent wheel(local, viewport->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                    modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(viewport, &wheel);
}

}  // namespace magna::test
