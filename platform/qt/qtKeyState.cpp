#include "platform/qt/qtKeyState.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

#include <map>

#include "platform/qt/virtualKeys.h"

namespace magna::platform::qt {

class KeyTracker::Filter : public QObject {
 public:
  explicit Filter(std::set<int>& held) : held_(held) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress: Pressed(static_cast<QKeyEvent&>(*event)); break;
      case QEvent::KeyRelease: Released(static_cast<QKeyEvent&>(*event)); break;
      case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent&>(*event).applicationState() !=
            Qt::ApplicationActive)
          Forget();
        break;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  // A key is released by the same physical key that pressed it, even when a
  // modifier in between changed the character (Shift+1 pressed, '!' released).
  static quint32 PhysicalKey(const QKeyEvent& e) {
    return e.nativeScanCode() ? e.nativeScanCode() : quint32(e.key()) | 0x80000000u;
  }

  void Pressed(const QKeyEvent& e) {
    const int vk = VirtualKeyOf(e);
    if (vk == 0) return;
    held_.insert(vk);
    byPhysicalKey_[PhysicalKey(e)] = vk;
  }

  void Released(const QKeyEvent& e) {
    if (e.isAutoRepeat()) return;
    auto it = byPhysicalKey_.find(PhysicalKey(e));
    const int vk = it != byPhysicalKey_.end() ? it->second : VirtualKeyOf(e);
    if (it != byPhysicalKey_.end()) byPhysicalKey_.erase(it);
    held_.erase(vk);
  }

  void Forget() {
    held_.clear();
    byPhysicalKey_.clear();
  }

  std::set<int>& held_;
  std::map<quint32, int> byPhysicalKey_;
};

KeyTracker::KeyTracker() : filter_(std::make_unique<Filter>(held_)) {}

KeyTracker::~KeyTracker() = default;

namespace {

bool ModifierHeld(int vk, Qt::KeyboardModifiers mods) {
  switch (vk) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: return mods.testFlag(Qt::ShiftModifier);
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL: return mods.testFlag(Qt::ControlModifier);
    default: return mods.testFlag(Qt::AltModifier);
  }
}

bool IsModifierKey(int vk) {
  return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || (vk >= VK_LSHIFT && vk <= VK_RMENU);
}

bool MouseButtonHeld(int vk, Qt::MouseButtons buttons, bool* known) {
  for (Qt::MouseButton b :
       {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::XButton1, Qt::XButton2}) {
    if (VirtualKeyFromMouseButton(b) == vk) {
      *known = true;
      return buttons.testFlag(b);
    }
  }
  *known = false;
  return false;
}

}  // namespace

uint16_t QtKeyState::GetAsyncKeyState(int virtualKey) {
  bool held = false;
  bool isButton = false;
  if (IsModifierKey(virtualKey)) {
    held = ModifierHeld(virtualKey, QGuiApplication::queryKeyboardModifiers());
  } else {
    held = MouseButtonHeld(virtualKey, QGuiApplication::mouseButtons(), &isButton);
    if (!isButton) held = tracker_.IsHeld(virtualKey);
  }
  return held ? 0x8000 : 0;
}

}  // namespace magna::platform::qt
