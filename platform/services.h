#pragma once
// The GUI services the core layers need, each behind one narrow interface.
// The program installs Qt implementations (platform/qt) at start-up; tests install
// fakes of their own. Until one is installed, a service answers as an empty
// desktop would:
//   clipboard  - none: it can't be opened and offers no format;
//   selection  - none, as the clipboard;
//   key state  - no key held, buttons not swapped;
//   screens    - one 1920x1080 monitor with a 40-pixel task bar at the bottom;
//   messages   - not shown;
//   ui         - nothing pending, a silent beep, never terminated.
// Typical use:  platform::Clipboard().Open();

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/myBase.h"

namespace magna::platform {

/// The system clipboard with the two text formats the program exchanges.
class ClipboardService {
 public:
  enum class Format { UnicodeText, AnsiText };
  virtual ~ClipboardService() = default;
  /// Whether the clipboard offers the format (ANSI text is offered with any Unicode text).
  /// Worked out at the first question after a change and remembered until the next
  /// one: another program that holds the clipboard may never answer, and each
  /// question to it can wait seconds.
  virtual bool IsFormatAvailable(Format format) = 0;
  /// Whether a password manager marked the content secret (the format
  /// x-kde-passwordManagerHint holding "secret", or a hint that can't be read).
  /// Remembered per change like the formats.
  virtual bool IsMarkedSecret() = 0;
  /// Whether this program put the present content there itself (its own copy, its
  /// own selection of text). Known in the process: no other program is asked.
  virtual bool IsOwnContent() = 0;
  /// Opens the clipboard for one exchange; false when it can't be opened (busy, or
  /// already open). Every true is matched by one Close.
  virtual bool Open() = 0;
  /// Ends the exchange; what was put while open is published now. Harmless when not open.
  virtual void Close() = 0;
  /// The data of a format while open; nullopt when not open or the format has no data.
  virtual std::optional<WideString> GetUnicodeText() = 0;
  virtual std::optional<AnsiString> GetAnsiText() = 0;
  /// Empties the clipboard while open, taking effect at Close; ignored when not open.
  virtual void Empty() = 0;
  /// Puts data while open, taking effect at Close; ignored when not open.
  virtual void SetUnicodeText(const WideString& text) = 0;
  virtual void SetAnsiText(const AnsiString& bytes) = 0;
  /// Called after every change of the clipboard's content (any process, this one too);
  /// replaces the previous handler, an empty one stops the calls.
  virtual void SetChangeHandler(std::function<void()> handler) = 0;
  /// Whether another program's copy is seen while this program's windows are in the
  /// background; false where the platform tells only the window that has the focus.
  virtual bool SeesChangesInBackground() { return true; }
};

/// The asynchronous key state: virtual-key codes (VK_SHIFT 16, VK_CONTROL 17, ...).
class KeyStateService {
 public:
  virtual ~KeyStateService() = default;
  /// The 16-bit state of the key at this moment; high bit set while held.
  virtual uint16_t GetAsyncKeyState(int virtualKey) = 0;
  /// Whether the user swapped the left and right mouse buttons.
  virtual bool MouseButtonsSwapped() = 0;
};

/// One monitor as the platform enumerates it.
struct MonitorInfo {
  intptr_t Handle = 0;  // never 0 for a real monitor
  TRect Bounds;
  TRect WorkArea;
};

/// The monitors and the mouse cursor.
class ScreenService {
 public:
  virtual ~ScreenService() = default;
  /// The monitors in the platform's order; the first is the primary one. May be empty.
  virtual std::vector<MonitorInfo> Monitors() = 0;
  /// The mouse cursor in virtual-desktop coordinates.
  virtual TPoint CursorPos() = 0;
};

/// Modal message boxes captioned by the caller.
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  /// Shows text in a modal box with an OK button; returns when the user closes it.
  virtual void Show(const WideString& text, const WideString& caption) = 0;
};

/// The event loop as the core sees it.
class UiService {
 public:
  virtual ~UiService() = default;
  /// Lets the user interface process its pending messages (re-enters the event loop).
  virtual void ProcessMessages() = 0;
  /// The same, asked after every step of a long loop (each entry of a folder search):
  /// an implementation whose pass costs more than a step may skip passes that come
  /// within a few milliseconds of the last one. Here every call is a pass.
  virtual void ProcessMessagesInLoop() { ProcessMessages(); }
  /// The platform's default beep.
  virtual void Beep() = 0;
  /// Whether the application is shutting down.
  virtual bool Terminated() = 0;
};

/// The installed service, or the default above; the reference stays valid until the
/// next Install of that service. GUI thread only.
ClipboardService& Clipboard();
/// The X11 PRIMARY selection (the text last selected in any program) as a clipboard
/// that the program only reads. Where the platform has no such selection, the
/// default above: nothing to read, no change to watch.
ClipboardService& Selection();
KeyStateService& KeyState();
ScreenService& Screens();
MessageBoxService& MessageBoxes();
UiService& Ui();

/// Installs a service, freeing the one before; nullptr restores the default.
void InstallClipboard(std::unique_ptr<ClipboardService> service);
void InstallSelection(std::unique_ptr<ClipboardService> service);
void InstallKeyState(std::unique_ptr<KeyStateService> service);
void InstallScreens(std::unique_ptr<ScreenService> service);
void InstallMessageBoxes(std::unique_ptr<MessageBoxService> service);
void InstallUi(std::unique_ptr<UiService> service);
/// Frees every installed service (the log too) and puts the defaults back. The
/// services live to the end of the process otherwise: nothing destroys them at exit.
void RestoreDefaultServices();

}  // namespace magna::platform
