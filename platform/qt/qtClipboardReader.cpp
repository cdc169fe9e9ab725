#include "platform/qt/qtClipboardReader.h"

#include <xcb/xcb.h>
#include <QGuiApplication>

#include "platform/wayland/waylandClipboardWatcher.h"
#include "platform/x11/x11ClipboardWatcher.h"

// Xlib last: its macros (None, Bool, Status) would spoil the headers above.
#include <X11/Xlib.h>

namespace magna::platform::qt {

QtClipboardReader::QtClipboardReader(const Starter& start) : context_(std::make_unique<QObject>()) {
  watcher_ = start([this](TClipboardChange change) { Deliver(std::move(change)); });
}

QtClipboardReader::~QtClipboardReader() {
  Stop();
}

void QtClipboardReader::Stop() {
  watcher_.reset();
}

void QtClipboardReader::SetReceiver(WatchedSelection which, std::function<void()> receiver) {
  receivers_[int(which)] = std::move(receiver);
}

void QtClipboardReader::Deliver(TClipboardChange change) {
  const WatchedSelection which = change.Selection;
  if (mailbox_.Put(std::move(change)))
    QMetaObject::invokeMethod(
        context_.get(), [this, which] { Wake(which); }, Qt::QueuedConnection);
}

void QtClipboardReader::Wake(WatchedSelection which) {
  // A copy: the receiver may replace itself while it runs.
  const std::function<void()> receiver = receivers_[int(which)];
  if (receiver) receiver();
}

namespace {

/// The X11 reader beside Qt's own connection: the same display, and Qt's resource
/// ids for telling the program's own selections.
TX11WatchOptions X11OptionsBesideQt() {
  TX11WatchOptions options;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return options;
  if (Display* display = x11->display()) options.Display = DisplayString(display);
  if (xcb_connection_t* connection = x11->connection()) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    options.OwnResourceBase = setup->resource_id_base;
    options.OwnResourceMask = setup->resource_id_mask;
  }
  return options;
}

std::shared_ptr<QtClipboardReader> Started(const QtClipboardReader::Starter& start) {
  auto reader = std::make_shared<QtClipboardReader>(start);
  return reader->Started() ? reader : nullptr;
}

}  // namespace

std::shared_ptr<QtClipboardReader> StartClipboardReader() {
  const QString platform = QGuiApplication::platformName();
  const bool xcb = platform == QStringLiteral("xcb");
  if (!xcb && platform != QStringLiteral("wayland")) return nullptr;
  // Data-control serves the program's windows on XWayland just as well, and sees
  // what the compositor keeps from X11 clients in the background (sway, KWin).
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    if (auto reader = Started([](ClipboardWatcher::Deliver deliver) {
          return StartWaylandClipboardWatcher(TReadLimits{}, std::move(deliver));
        }))
      return reader;
  }
  // XWayland where the compositor has no data-control (GNOME, weston): it hands
  // every selection to X11 at once.
  if (xcb || !qEnvironmentVariableIsEmpty("DISPLAY")) {
    const TX11WatchOptions options = xcb ? X11OptionsBesideQt() : TX11WatchOptions{};
    if (auto reader = Started([&](ClipboardWatcher::Deliver deliver) {
          return StartX11ClipboardWatcher(options, std::move(deliver));
        }))
      return reader;
  }
  return nullptr;
}

}  // namespace magna::platform::qt
