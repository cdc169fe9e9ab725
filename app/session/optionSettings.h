#pragma once
// The program's later options, kept in the same settings file in a section of
// their own, "Options", so that the window's own sections stay exactly as they
// were and older copies of the program read the file unchanged:
//   [Options]
//   CheckSelection=0     watching takes the X11 selection too (off when absent)
// Loaded and saved with the window's settings (Shift+Ctrl skips them alike).

#include "app/session/mySettings.h"

namespace magna {

/// The main window's settings together with its options.
class TMainWindowOptions : public TMainWindowSettings {
 public:
  TMainWindowOptions(QWidget& window, QAction& checkClipboard, QAction& wordWrap,
                     TMyCustomEdit& text, std::function<void()> applyWordWrap,
                     QAction& checkSelection);

  void ReadOptions(TMyIniFile& ini) override;
  void WriteOptions(TMyIniFile& ini) override;

 private:
  QAction& checkSelection_;
};

}  // namespace magna
