#pragma once
// Keeps the main window's settings on disk while the program runs, not only at
// its close: when the display goes away, Qt ends the process and no code of ours
// runs first. A change schedules a write a second later, and each further change
// within that second starts the wait anew, so that a burst (a window dragged
// across the screen, a run of size steps) costs one write. The write is the
// close's (same entries, same order, same file format) without the close's
// Shift+Ctrl test, which is about closing: Ctrl+Shift+Up is a size step. A write
// whose entries equal those last loaded or written is skipped, so an unchanged
// file is never rewritten.
// Off until Start (the load's own changes are no user's) and again after Stop.
// Typical use (in the main window):
//   TSettingsAutosave autosave(target, SettingsFileName, MakeQtDelayTimer());
//   if (LoadSettings(target, SettingsFileName)) autosave.Start();
//   autosave.Changed();                  // at every change of bounds, font, switch
//   autosave.Stop(); SaveSettings(target, SettingsFileName);  // the close

#include <chrono>
#include <memory>

#include "app/session/delayTimer.h"
#include "app/session/mySettings.h"

namespace magna {

class TSettingsAutosave {
 public:
  /// How long after the last change the write comes.
  static constexpr std::chrono::milliseconds kDelay{1000};

  /// `target` and `fileName` (read at each write) outlive this object.
  TSettingsAutosave(TMainSettingsTarget& target, const WideString& fileName,
                    std::unique_ptr<TDelayTimer> timer);

  /// From now on changes are written; the entries as they stand count as on disk.
  void Start();
  /// No write from now on; one that was due is dropped.
  void Stop();
  /// Something the settings hold may have changed: a write is due kDelay from now.
  void Changed();
  /// The entries as they stand were written by someone else (a save of the caller's).
  void Written();
  /// While held (a full-screen window's bounds are its monitor's, not the ones the
  /// close writes), a due write waits; letting go counts as a change.
  void SetHeld(bool held);

 private:
  void WriteIfChanged();

  TMainSettingsTarget& target_;
  const WideString& fileName_;
  std::unique_ptr<TDelayTimer> timer_;
  WideString written_;  // SettingsRecord of what was last loaded or written
  bool started_ = false;
  bool held_ = false;
};

}  // namespace magna
