#pragma once
// The system clipboard through QClipboard on the GUI thread: the way left where no
// reader of the program's own can work (another Qt platform than X11 or Wayland,
// or Wayland without data-control, where Qt sees a change only while a window of
// the program has the keyboard focus). Every change notifies exactly once:
// another program's through QClipboard::dataChanged, this program's own from
// Close (X11 reports a change only when it comes from another program, the
// offscreen platform any change).
// What the clipboard offers (text, the password manager's secret hint) is asked
// once per change, with a single list of formats: on X11 each question goes to
// the owning program, and one that never answers costs Qt's 5-second timeout
// per question. A list that timed out is empty, so nothing more is asked.
// Qt on Wayland signals a change at every keyboard focus: a notice whose offer
// is the one taken last (the same formats with the same text) is no copy.
// The same holds for the X11 PRIMARY selection, for which one is made in
// QClipboard::Selection mode: that one is read and watched, never written.

#include <memory>

#include "platform/clipboardWatcher.h"
#include "platform/qt/qtClipboardBase.h"

class QMimeData;
class QObject;

namespace magna::platform::qt {

class QtClipboard : public QtClipboardBase {
 public:
  /// Needs the QGuiApplication.
  explicit QtClipboard(QClipboard::Mode mode = QClipboard::Clipboard);
  ~QtClipboard() override;

  bool IsFormatAvailable(Format format) override;
  bool IsMarkedSecret() override;
  bool IsOwnContent() override;
  /// False on Wayland: Qt is told of another program's copy only while a window of
  /// this program has the keyboard focus.
  bool SeesChangesInBackground() override;

 protected:
  std::optional<WideString> CurrentText() override;
  void Committed(const std::optional<WideString>& text) override;

 private:
  struct Offer {
    bool text = false;
    bool secret = false;
    std::string formats;  // every format's name, one per line
  };
  /// What the clipboard offers since its last change, asked at the first need.
  const Offer& Offered();
  /// The clipboard's data when it offers text, else null; never reads the text.
  const QMimeData* TextData();
  /// Whether the present offer is the one taken last; takes it.
  bool RepeatsLastOffer();

  TClipboardChange last_;  // the offer taken last
  std::optional<Offer> offer_;
  std::unique_ptr<QObject> connection_;  // context of the change notice's connection
};

}  // namespace magna::platform::qt
