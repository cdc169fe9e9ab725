#include "app/mySettings.h"

#include <exception>
#include <utility>

#include "app/myKeys.h"
#include "settings/myIniFile.h"

namespace magna {

namespace {

const WideString kTextSection = u"Text";
const WideString kCheckClipboardKey = u"CheckClipboard";
const WideString kWordWrapKey = u"WordWarp";  // so spelt in every settings file
const WideString kFontPrefix = u"Font";
const WideString kBoundsSection = u"Bounds";

constexpr int kKeyShift = 16;
constexpr int kKeyCtrl = 17;

bool SkipRequested() {
  return AreKeysDown({kKeyShift, kKeyCtrl});
}

/// Runs one step; a failure costs that step only, so the window stays usable.
template <class Step>
void RunStep(Step&& step) noexcept {
  try {
    step();
  } catch (const std::exception&) {
  }
}

/// Whether the file holds any edge of the window's bounds.
bool HasStoredBounds(TMyIniFile& ini, const TBoundsWindow& window) {
  for (const char16_t* edge : {u"_Left", u"_Top", u"_Right", u"_Bottom"})
    if (!ini.ReadString(kBoundsSection, window.ComponentName() + edge, WideString()).empty())
      return true;
  return false;
}

void ReadEntries(TMyIniFile& ini, TMainSettingsTarget& target) {
  // Without stored bounds the window system chooses where the window opens: bounds
  // read before the window is shown are no place of its own, and moving it there
  // would pin every first start to the work area's corner.
  RunStep([&] {
    if (HasStoredBounds(ini, target.Window())) ini.RestoreBounds(target.Window());
  });
  RunStep([&] {
    target.SetCheckClipboard(
        ini.ReadBoolOrDefault(kTextSection, kCheckClipboardKey, target.CheckClipboard()));
  });
  RunStep([&] {
    target.SetWordWrap(ini.ReadBoolOrDefault(kTextSection, kWordWrapKey, target.WordWrap()));
  });
  RunStep([&] {
    TFont font(target.TextFont());
    ini.ReadFont(kTextSection, kFontPrefix, font);
    target.SetTextFont(font);
  });
  RunStep([&] { target.ReadOptions(ini); });
}

void WriteEntries(TMyIniFile& ini, TMainSettingsTarget& target) {
  RunStep([&] { ini.WriteBounds(target.Window()); });
  RunStep([&] { ini.WriteBool(kTextSection, kCheckClipboardKey, target.CheckClipboard()); });
  RunStep([&] { ini.WriteBool(kTextSection, kWordWrapKey, target.WordWrap()); });
  RunStep([&] { ini.WriteFont(kTextSection, kFontPrefix, target.TextFont()); });
  RunStep([&] { target.WriteOptions(ini); });
}

}  // namespace

TMainWindowSettings::TMainWindowSettings(QWidget& window, QAction& checkClipboard,
                                         QAction& wordWrap, TMyCustomEdit& text,
                                         std::function<void()> applyWordWrap)
    : window_(window),
      checkClipboard_(checkClipboard),
      wordWrap_(wordWrap),
      text_(text),
      applyWordWrap_(std::move(applyWordWrap)) {}

void TMainWindowSettings::ApplyWordWrap() {
  if (applyWordWrap_) applyWordWrap_();
}

void LoadSettings(TMainSettingsTarget& target, const WideString& fileName) {
  if (!SkipRequested()) {
    RunStep([&] {
      TMyIniFile ini(fileName, cdAuto);
      ReadEntries(ini, target);
    });
  }
  RunStep([&] { target.ApplyWordWrap(); });
}

void SaveSettings(TMainSettingsTarget& target, const WideString& fileName) {
  if (SkipRequested()) return;
  RunStep([&] {
    TMyIniFile ini(fileName, cdAuto);
    WriteEntries(ini, target);
  });
}

}  // namespace magna
