#include "app/session/optionSettings.h"

#include "settings/myIniFile.h"

namespace magna {

namespace {

const WideString kOptionsSection = u"Options";
const WideString kCheckSelectionKey = u"CheckSelection";

}  // namespace

TMainWindowOptions::TMainWindowOptions(QWidget& window, QAction& checkClipboard, QAction& wordWrap,
                                       TMyCustomEdit& text, std::function<void()> applyWordWrap,
                                       QAction& checkSelection)
    : TMainWindowSettings(window, checkClipboard, wordWrap, text, std::move(applyWordWrap)),
      checkSelection_(checkSelection) {}

void TMainWindowOptions::ReadOptions(TMyIniFile& ini) {
  checkSelection_.setChecked(
      ini.ReadBoolOrDefault(kOptionsSection, kCheckSelectionKey, checkSelection_.isChecked()));
}

void TMainWindowOptions::WriteOptions(TMyIniFile& ini) {
  ini.WriteBool(kOptionsSection, kCheckSelectionKey, checkSelection_.isChecked());
}

}  // namespace magna
