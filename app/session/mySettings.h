#pragma once
// The main window's settings: its bounds, the clipboard-watching and word-wrap
// switches and the text area's font, loaded at start and saved at exit. Holding
// Shift and Ctrl at that moment skips the load or the save. A bad stored value
// only costs its own entry: the others still load. A window without stored bounds
// is left where the window system puts it; the save writes where it then is.
// Typical use (in the main window):
//   TMainWindowSettings target(*this, *Action_TextCheckClipboard, *Action_TextWrap,
//                              *Memo_Text, [this] { Action_TextWrapExecute(nullptr); });
//   LoadSettings(target, ProgramSettingsFile());

#include <QAction>
#include <QWidget>
#include <functional>

#include "app/desktop/settingsLocation.h"
#include "app/session/qtBoundsWindow.h"
#include "editor/myEdit.h"
#include "platform/myFont.h"
#include "settings/myBoundsWindow.h"

namespace magna {

class TMyIniFile;

/// What the settings read from and write to.
class TMainSettingsTarget {
 public:
  virtual ~TMainSettingsTarget() = default;
  // Each may raise; LoadSettings and SaveSettings then skip that entry alone.
  virtual TBoundsWindow& Window() = 0;
  virtual bool CheckClipboard() const = 0;
  virtual void SetCheckClipboard(bool value) = 0;
  virtual bool WordWrap() const = 0;
  virtual void SetWordWrap(bool value) = 0;
  virtual const TFont& TextFont() const = 0;
  virtual void SetTextFont(const TFont& font) = 0;
  /// Makes the text area follow the word-wrap switch.
  virtual void ApplyWordWrap() = 0;
  /// Entries beyond the window's own, all in a section "Options" that no other
  /// entry uses: read after the others, written after them (none here).
  virtual void ReadOptions(TMyIniFile&) {}
  virtual void WriteOptions(TMyIniFile&) {}
};

/// The main window's parts as a settings target: the switches are the checked
/// states of the two actions, the font is the text area's.
class TMainWindowSettings : public TMainSettingsTarget {
 public:
  TMainWindowSettings(QWidget& window, QAction& checkClipboard, QAction& wordWrap,
                      TMyCustomEdit& text, std::function<void()> applyWordWrap);

  TBoundsWindow& Window() override { return window_; }
  bool CheckClipboard() const override { return checkClipboard_.isChecked(); }
  void SetCheckClipboard(bool value) override { checkClipboard_.setChecked(value); }
  bool WordWrap() const override { return wordWrap_.isChecked(); }
  void SetWordWrap(bool value) override { wordWrap_.setChecked(value); }
  const TFont& TextFont() const override { return *text_.Font(); }
  void SetTextFont(const TFont& font) override { text_.SetFont(font); }
  void ApplyWordWrap() override;

 private:
  TQtBoundsWindow window_;
  QAction& checkClipboard_;
  QAction& wordWrap_;
  TMyCustomEdit& text_;
  std::function<void()> applyWordWrap_;
};

/// Reads the entries from the file into the target, then applies the wrap switch.
/// Never raises: a missing file, or one that can't be read, leaves the target as it
/// was; an entry that fails costs only itself. False when Shift and Ctrl were held:
/// nothing was read.
bool LoadSettings(TMainSettingsTarget& target, const WideString& fileName);
/// Writes the entries from the target unless Shift and Ctrl are held; never raises.
/// A file that can't be written keeps its previous content. True when written.
bool SaveSettings(TMainSettingsTarget& target, const WideString& fileName);
/// SaveSettings without the Shift+Ctrl test, for writes that are no close.
bool WriteSettings(TMainSettingsTarget& target, const WideString& fileName);
/// What a save would write, entry by entry in the save's order, as one text:
/// equal records write equal files. Nothing is written.
WideString SettingsRecord(TMainSettingsTarget& target);

}  // namespace magna
