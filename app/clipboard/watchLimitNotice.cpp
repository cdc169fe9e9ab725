#include "app/clipboard/watchLimitNotice.h"

#include <QTimer>
#include <QWidget>

#include "app/desktop/captionLanguage.h"
#include "platform/qt/qtText.h"
#include "platform/services.h"

namespace magna {

QString WatchLimitText() {
  return Caption(
      u"このウィンドウがアクティブなあいだしかコピーを監視できません。"
      u"QT_QPA_PLATFORM=wayland を付けずに起動してください。");
}

void TWatchLimitNotice::WatchingOn(QWidget& window) {
  if (told_ || platform::Clipboard().SeesChangesInBackground()) return;
  told_ = true;
  // From the event loop: at start-up the window is not shown yet.
  QTimer::singleShot(0, &window, [] {
    platform::MessageBoxes().Show(platform::qt::ToWide(WatchLimitText()), u"Magna");
  });
}

}  // namespace magna
