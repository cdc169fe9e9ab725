#pragma once
// The system clipboard through QClipboard. Qt exchanges text only as Unicode, so
// the ANSI text format is derived: it is offered whenever text is, read as the
// text converted to code page 932, and an ANSI text put alone is converted from
// 932 before it reaches the clipboard. When both are put, the Unicode text wins.
// Every change notifies exactly once: another program's through
// QClipboard::dataChanged, this program's own from Close (X11 reports a change
// only when it comes from another program, the offscreen platform any change).
// What the clipboard offers (text, the password manager's secret hint) is asked
// once per change, with a single list of formats: on X11 each question goes to
// the owning program, and one that never answers costs Qt's 5-second timeout
// per question. A list that timed out is empty, so nothing more is asked.
// The same holds for the X11 PRIMARY selection, for which one is made in
// QClipboard::Selection mode: that one is read and watched, never written.

#include <QClipboard>
#include <QPointer>

#include <memory>

#include "platform/services.h"

class QMimeData;
class QObject;

namespace magna::platform::qt {

class QtClipboard : public ClipboardService {
 public:
  /// Needs the QGuiApplication.
  explicit QtClipboard(QClipboard::Mode mode = QClipboard::Clipboard);
  ~QtClipboard() override;

  bool IsFormatAvailable(Format format) override;
  bool IsMarkedSecret() override;
  bool IsOwnContent() override;
  bool Open() override;
  void Close() override;
  std::optional<WideString> GetUnicodeText() override;
  std::optional<AnsiString> GetAnsiText() override;
  void Empty() override;
  void SetUnicodeText(const WideString& text) override;
  void SetAnsiText(const AnsiString& bytes) override;
  void SetChangeHandler(std::function<void()> handler) override;

 private:
  struct Offer {
    bool text = false;
    bool secret = false;
  };
  /// What the clipboard offers since its last change, asked at the first need.
  const Offer& Offered();
  /// The clipboard's data when it offers text, else null; never reads the text.
  const QMimeData* TextData();
  std::optional<WideString> CurrentText();
  void Commit();
  void Notify();

  QClipboard::Mode mode_;
  QPointer<QClipboard> clipboard_;
  std::optional<Offer> offer_;
  std::unique_ptr<QObject> connection_;  // context of the change notice's connection
  std::function<void()> handler_;
  bool committing_ = false;  // Qt's own notice of our change is not passed on
  bool open_ = false;
  bool emptied_ = false;
  std::optional<WideString> pendingUnicode_;
  std::optional<AnsiString> pendingAnsi_;
};

}  // namespace magna::platform::qt
