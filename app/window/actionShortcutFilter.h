#pragma once
// Lets the window's action shortcuts win over the text area's own editing keys.
// Qt asks the focused widget first (a ShortcutOverride event) and the text view
// claims Ctrl+Z, Ctrl+C, Tab and the like; the action list answers those keys
// before its controls see them, so for a key that an enabled action answers to,
// the claim of a widget inside the watched area is refused.

#include <QObject>
#include <functional>
#include <vector>

class QAction;
class QWidget;

namespace magna {

class TActionShortcutFilter : public QObject {
 public:
  /// Watches the application's events for widgets inside `area`; `actions` are asked anew each
  /// time.
  TActionShortcutFilter(QWidget* area, std::function<std::vector<QAction*>()> actions);
  ~TActionShortcutFilter() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* area_;
  std::function<std::vector<QAction*>()> actions_;
};

}  // namespace magna
