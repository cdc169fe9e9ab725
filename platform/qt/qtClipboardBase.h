#pragma once
// What the program's two clipboard services share: an exchange opened and closed
// around each use, text put while open and written through QClipboard at Close
// (Qt exchanges text only as Unicode, so the ANSI text format is derived: it is
// offered whenever text is, read as the text converted to code page 932, and an
// ANSI text put alone is converted from 932 before it reaches the clipboard; when
// both are put, the Unicode text wins), and the change handler. How the present
// content is known is each service's own: through QClipboard on the GUI thread
// (QtClipboard) or from a reader of its own (QtWatchedClipboard).

#include <QClipboard>
#include <QPointer>

#include "platform/services.h"

namespace magna::platform::qt {

class QtClipboardBase : public ClipboardService {
 public:
  /// Needs the QGuiApplication.
  explicit QtClipboardBase(QClipboard::Mode mode);

  bool Open() override;
  void Close() override;
  std::optional<WideString> GetUnicodeText() override;
  std::optional<AnsiString> GetAnsiText() override;
  void Empty() override;
  void SetUnicodeText(const WideString& text) override;
  void SetAnsiText(const AnsiString& bytes) override;
  void SetChangeHandler(std::function<void()> handler) override;

 protected:
  /// The present text, or nullopt when none is offered; never waits for another program.
  virtual std::optional<WideString> CurrentText() = 0;
  /// After this program wrote the clipboard: the text put, nullopt when it was emptied.
  virtual void Committed(const std::optional<WideString>& text) = 0;
  /// Runs the change handler; nothing it throws gets out.
  void Notify();
  /// Whether Qt holds this clipboard for this program (asks no other program).
  bool QtOwnsIt() const;

  QClipboard::Mode mode_;
  QPointer<QClipboard> clipboard_;
  bool committing_ = false;  // set while Qt takes what this program writes

 private:
  void Commit();

  std::function<void()> handler_;
  bool open_ = false;
  bool emptied_ = false;
  std::optional<WideString> pendingUnicode_;
  std::optional<AnsiString> pendingAnsi_;
};

}  // namespace magna::platform::qt
