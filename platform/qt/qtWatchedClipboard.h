#pragma once
// The clipboard (or the PRIMARY selection) as a reader of the program's own sees
// it (platform/qt/qtClipboardReader.h): every question about the present content
// (is there text, is it secret, the text itself) is answered from the last change
// the reader handed over, so nothing here waits for another program. A change
// notifies when it arrives, except a repeat of the offer taken last (the same
// owner with the same text: a compositor claiming the selection anew on a focus
// change). Writing goes through QClipboard; the reader then reports the
// program's own copy like any other, and that report is its one notice. Until it
// comes, what was written is what is read.

#include <chrono>
#include <memory>

#include "platform/clipboardWatcher.h"
#include "platform/qt/qtClipboardBase.h"

namespace magna::platform::qt {

class QtClipboardReader;

class QtWatchedClipboard : public QtClipboardBase {
 public:
  /// Needs the QGuiApplication. Waits up to `firstWait` for the reader's account of
  /// the present content, which then needs no notice; what comes later notifies,
  /// except the selection's first account (the state at start, not a change).
  QtWatchedClipboard(std::shared_ptr<QtClipboardReader> reader, WatchedSelection which,
                     std::chrono::milliseconds firstWait = std::chrono::milliseconds(250));
  ~QtWatchedClipboard() override;

  bool IsFormatAvailable(Format format) override;
  bool IsMarkedSecret() override;
  bool IsOwnContent() override;

 protected:
  std::optional<WideString> CurrentText() override;
  void Committed(const std::optional<WideString>& text) override;

 private:
  /// Takes the waiting change, on the GUI thread.
  void Receive();

  std::shared_ptr<QtClipboardReader> reader_;
  WatchedSelection which_;
  TClipboardChange current_;           // the last change taken
  bool taken_ = false;                 // whether any change was taken yet
  std::optional<WideString> written_;  // this program's text until the reader reports it
  bool writtenEmpty_ = false;          // this program emptied it
};

}  // namespace magna::platform::qt
