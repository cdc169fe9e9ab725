#include "app/session/mySettings.h"

#include <exception>
#include <utility>

#include "app/desktop/myKeys.h"
#include "platform/log.h"
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
void RunStep(std::string_view doing, Step&& step) noexcept {
  platform::Guard(platform::kLogSettings, doing, step);
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
  RunStep("loading the window bounds", [&] {
    if (HasStoredBounds(ini, target.Window())) ini.RestoreBounds(target.Window());
  });
  RunStep("loading the clipboard-watching switch", [&] {
    target.SetCheckClipboard(
        ini.ReadBoolOrDefault(kTextSection, kCheckClipboardKey, target.CheckClipboard()));
  });
  RunStep("loading the word-wrap switch", [&] {
    target.SetWordWrap(ini.ReadBoolOrDefault(kTextSection, kWordWrapKey, target.WordWrap()));
  });
  RunStep("loading the text font", [&] {
    TFont font(target.TextFont());
    ini.ReadFont(kTextSection, kFontPrefix, font);
    target.SetTextFont(font);
  });
  RunStep("loading the view options", [&] { target.ReadOptions(ini); });
}

void WriteEntries(TMyIniFile& ini, TMainSettingsTarget& target) {
  RunStep("saving the window bounds", [&] { ini.WriteBounds(target.Window()); });
  RunStep("saving the clipboard-watching switch",
          [&] { ini.WriteBool(kTextSection, kCheckClipboardKey, target.CheckClipboard()); });
  RunStep("saving the word-wrap switch",
          [&] { ini.WriteBool(kTextSection, kWordWrapKey, target.WordWrap()); });
  RunStep("saving the text font",
          [&] { ini.WriteFont(kTextSection, kFontPrefix, target.TextFont()); });
  RunStep("saving the view options", [&] { target.WriteOptions(ini); });
}

/// Takes down what a save writes instead of writing a file: every typed write of
/// the settings file ends in WriteString.
class TEntryRecorder : public TMyIniFile {
 public:
  TEntryRecorder() : TMyIniFile(WideString(), cdAuto) {}
  void WriteString(const WideString& Section, const WideString& Ident,
                   const WideString& Value) override {
    for (const WideString* part : {&Section, &Ident, &Value}) {
      Record += *part;
      Record += u'\0';
    }
  }
  WideString Record;
};

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

bool LoadSettings(TMainSettingsTarget& target, const WideString& fileName) {
  const bool load = !SkipRequested();
  if (load) {
    RunStep("loading the settings", [&] {
      TMyIniFile ini(fileName, cdAuto);
      ReadEntries(ini, target);
    });
  }
  RunStep("applying the word-wrap switch", [&] { target.ApplyWordWrap(); });
  return load;
}

bool SaveSettings(TMainSettingsTarget& target, const WideString& fileName) {
  return !SkipRequested() && WriteSettings(target, fileName);
}

bool WriteSettings(TMainSettingsTarget& target, const WideString& fileName) {
  bool written = false;
  RunStep("saving the settings", [&] {
    TMyIniFile ini(fileName, cdAuto);
    WriteEntries(ini, target);
    written = ini.UpdateFile();
  });
  return written;
}

WideString SettingsRecord(TMainSettingsTarget& target) {
  TEntryRecorder recorder;
  WriteEntries(recorder, target);
  return recorder.Record;
}

}  // namespace magna
