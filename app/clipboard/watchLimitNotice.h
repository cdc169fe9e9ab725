#pragma once
// Where the platform tells the program of another program's copy only while one
// of its windows has the keyboard focus (Qt on Wayland, on a compositor without
// data-control), watching can't do what its button says. The user is told so
// once per run, the first time watching is on, and how to start the program so
// that it can; the watching itself goes on as far as it can see.

#include <QString>

class QWidget;

namespace magna {

/// The text of the notice, in the captions' language.
QString WatchLimitText();

class TWatchLimitNotice {
 public:
  /// Watching is on: tells the user, from the event loop and only once, when the
  /// installed clipboard can't see copies made while the window is in the background.
  void WatchingOn(QWidget& window);

 private:
  bool told_ = false;
};

}  // namespace magna
