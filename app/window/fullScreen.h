#pragma once
// Full-screen presentation of a window: the whole monitor the window is on, the
// given bars (toolbar, status line, a tool window over it) hidden, so that the
// text is all there is. Leaving gives the window back as it was: its state
// (normal or maximized), its place and size, the bars that were shown. What the window shows is not
// touched, so text, caret and font size stay.
// Typical use:
//   TFullScreen fullScreen(window, {toolBar, statusPanel});
//   fullScreen.Toggle();

#include <QByteArray>
#include <QPointer>
#include <QRect>
#include <vector>

class QWidget;

namespace magna {

class TFullScreen {
 public:
  TFullScreen(QWidget& window, std::vector<QWidget*> bars);

  bool Active() const { return active_; }
  void Enter();
  void Leave();
  void Toggle() { active_ ? Leave() : Enter(); }

 private:
  QWidget& window_;
  std::vector<QPointer<QWidget>> bars_;
  std::vector<QPointer<QWidget>> hidden_;  // the bars this presentation hid
  bool active_ = false;
  Qt::WindowStates before_;
  QRect normalGeometry_;
};

}  // namespace magna
