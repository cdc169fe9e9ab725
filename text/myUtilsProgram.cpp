// The program itself: its file, its version record, its title, its message boxes.

#include "platform/fileSystem.h"
#include "platform/nativeNames.h"
#include "platform/services.h"
#include "platform/versionRecord.h"
#include "text/myUtils.h"

namespace magna {

namespace {

// The record's fields in the order of TMyFileVersionInfo, with their keys.
struct VersionField {
  const char16_t* key;
  WideString TMyFileVersionInfo::*field;
};

constexpr VersionField kVersionFields[] = {
    {u"Comments", &TMyFileVersionInfo::Comments},
    {u"CompanyName", &TMyFileVersionInfo::CompanyName},
    {u"FileDescription", &TMyFileVersionInfo::FileDescription},
    {u"FileVersion", &TMyFileVersionInfo::FileVersion},
    {u"InternalName", &TMyFileVersionInfo::InternalName},
    {u"LegalCopyright", &TMyFileVersionInfo::LegalCopyright},
    {u"LegalTrademarks", &TMyFileVersionInfo::LegalTrademarks},
    {u"OriginalFilename", &TMyFileVersionInfo::OriginalFilename},
    {u"PrivateBuild", &TMyFileVersionInfo::PrivateBuild},
    {u"ProductName", &TMyFileVersionInfo::ProductName},
    {u"ProductVersion", &TMyFileVersionInfo::ProductVersion},
    {u"SpecialBuild", &TMyFileVersionInfo::SpecialBuild},
};

// "\StringFileInfo\%.4x%.4x\" with upper-case digits: 041103A4 for Japanese Shift_JIS.
WideString StringBlockName(char16_t language, char16_t codePage) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  WideString name = u"\\StringFileInfo\\";
  for (const char16_t word : {language, codePage})
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(word >> shift) & 0xF];
  return name + u'\\';
}

}  // namespace

WideString ApplicationFileName() {
  std::string path = platform::ProcessImagePath();
  if (path.empty()) path = platform::ProcessFirstArgument();
  return platform::NativeNameToWide(path);
}

TMyFileVersionInfo ReadVersionInfo(const WideString& fileName) {
  TMyFileVersionInfo info;
  const auto record = platform::ReadVersionRecord(NativePath(fileName));
  if (!record) return info;
  const auto translation = record->Query(u"\\VarFileInfo\\Translation");
  if (!translation || translation->size() < 2) return info;
  const WideString block = StringBlockName((*translation)[0], (*translation)[1]);
  for (const VersionField& f : kVersionFields) {
    const auto value = record->Query(block + f.key);
    // Text values end at their terminator, as VerQueryValue hands them out.
    if (value) info.*f.field = value->substr(0, value->find(u'\0'));
  }
  return info;
}

WideString ApplicationTitle() {
  const WideString fileName = ApplicationFileName();
  WideString title = ReadVersionInfo(fileName).ProductName;
  return title.empty() ? ExtractBaseName(fileName) : title;
}

void ShowMessageBox(const WideString& text) {
  platform::MessageBoxes().Show(text, ApplicationTitle());
}

}  // namespace magna
