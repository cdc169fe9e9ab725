#include "settings/myIniFile.h"

#include <string>
#include <vector>

#include "platform/fileSystem.h"
#include "platform/log.h"
#include "platform/myLocale.h"
#include "text/myUtils.h"

namespace magna {

namespace {

constexpr char16_t kIndexSeparator = u'\x01';

WideString DecimalText(int64_t value) {
  const std::string digits = std::to_string(value);
  return WideString(digits.begin(), digits.end());
}

/// The header line number of a section index item (name, U+0001, decimal number).
int HeaderLineOf(const WideString& item) {
  int line = 0;
  for (size_t i = item.rfind(kIndexSeparator) + 1; i < item.size(); ++i)
    line = line * 10 + (item[i] - u'0');
  return line;
}

/// Whether a line in its stored escaped ANSI form may be a header: its first
/// character above U+0020 is "[" or an escape. Bytes 01..20 stand for themselves,
/// any other byte except "$" starts a character that is not "[" unless it is "[".
bool MayBeHeader(const AnsiString& stored) {
  for (char byte : stored) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 0x01 && b <= 0x20) continue;
    return b == '[' || b == '$' || b == 0;
  }
  return false;
}

/// The section name a line declares; empty when the line is no header.
WideString SectionNameOfLine(const WideString& line) {
  const WideString trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] != u'[') return {};
  size_t start = 1;
  while (start < trimmed.size() && trimmed[start] == u' ') ++start;
  const size_t close = trimmed.find(u']', start);
  if (close == WideString::npos || close == start) return {};
  return TrimBlanks(WideView(trimmed).substr(start, close - start));
}

/// The text before an item's first "=", trimmed (empty without "=").
WideString EntryName(const WideString& item) {
  const size_t equals = item.find(u'=');
  if (equals == WideString::npos) return {};
  return TrimBlanks(WideView(item).substr(0, equals));
}

bool IsBlank(const WideString& item) {
  return TrimBlanks(item).empty();
}

/// Whether `name` equals (ignoring case) one of the names met so far.
bool AlreadyMet(const std::vector<WideString>& met, const WideString& name) {
  for (const WideString& other : met)
    if (platform::SameTextLocale(other, name)) return true;
  return false;
}

/// Removes blank and nameless items and all but the last item of each name.
void CleanEntries(TMyWStrings& list) {
  std::vector<WideString> met;
  for (int i = list.Count() - 1; i >= 0; --i) {
    const WideString item = list.Get(i);
    const WideString name = EntryName(item);
    if (IsBlank(item) || name.empty() || AlreadyMet(met, name)) {
      list.Delete(i);
      continue;
    }
    met.push_back(name);
  }
}

/// Raises EIniLineError unless `line` stays one line of the file that is no header.
void CheckWrittenLine(const WideString& line) {
  if (line.find_first_of(WideView(u"\r\n\0", 3)) != WideString::npos)
    throw EIniLineError("INI line holds a line break or U+0000");
  if (!SectionNameOfLine(line).empty()) throw EIniLineError("INI line would read as a header");
}

void CheckWrittenLines(TMyWStrings& lines) {
  for (int i = 0; i < lines.Count(); ++i) CheckWrittenLine(lines.Get(i));
}

/// Whether the file can be opened for reading.
bool FileIsReadable(const WideString& fileName) {
  return platform::GetOpenFileStatus(NativePath(fileName)).has_value();
}

}  // namespace

WideString SettingsFileNameOf(const WideString& programFile) {
  const size_t slash = programFile.rfind(u'/');
  const size_t nameStart = slash == WideString::npos ? 0 : slash + 1;
  const size_t dot = programFile.rfind(u'.');
  const bool hasExt = dot != WideString::npos && dot > nameStart;
  return (hasExt ? programFile.substr(0, dot) : programFile) + u".ini";
}

// ---- creation ----------------------------------------------------------------

TMyIniFile::TMyIniFile() : TMyIniFile(cdAuto) {}

TMyIniFile::TMyIniFile(TMyCharCode Code)
    : TMyIniFile(SettingsFileNameOf(ApplicationFileName()), Code) {}

TMyIniFile::TMyIniFile(const WideString& FileName, TMyCharCode Code)
    : fileName_(FileName), readCode_(Code), writeCode_(Code) {
  if (FileExists(fileName_)) Load();
}

TMyIniFile::~TMyIniFile() {
  (void)TMyIniFile::UpdateFile();
}

void TMyIniFile::Load() {
  // Read whole: a zero byte in the file must not cut off the lines after it, which
  // the next write would then drop.
  lines_.Clear();
  lines_.AddWholeText(ReadWholeTextFile(fileName_, readCode_));
  DropByteOrderMark();
  BuildSectionIndex();
  // Asked after the read: a file we could not read must never be replaced by what
  // little we know of it. Nor must one whose content yields no section at all: that
  // is a file read in the wrong code, or no settings file.
  const bool readable = FileIsReadable(fileName_);
  const bool foreign = readable && sectionIndex_.Count() == 0 && HasContent();
  unreadable_ = !readable || foreign;
  // A read that failed has been logged by the reader; content without a section only
  // shows here.
  if (foreign)
    platform::LogNamedWarning(platform::kLogSettings, "reading the settings file", fileName_,
                              "it holds no section; its entries are left at their defaults");
}

bool TMyIniFile::HasContent() {
  for (int i = 0; i < lines_.Count(); ++i)
    if (!IsBlank(lines_.Get(i))) return true;
  return false;
}

void TMyIniFile::DropByteOrderMark() {
  // A named Unicode code keeps the file's mark as a leading U+FEFF, which would hide
  // a header on the first line. Writing adds or drops the mark by the code alone.
  if (lines_.Count() == 0) return;
  const WideString first = lines_.Get(0);
  if (!first.empty() && first[0] == u'\xFEFF') lines_.Put(0, first.substr(1));
}

// ---- the section index ---------------------------------------------------------

void TMyIniFile::BuildSectionIndex() {
  sectionIndex_.Clear();
  const int n = lines_.Count();
  for (int i = 0; i < n; ++i) {
    if (!MayBeHeader(lines_.Store()->Get(i))) continue;
    const WideString name = SectionNameOfLine(lines_.Get(i));
    if (!name.empty()) sectionIndex_.Add(name + kIndexSeparator + DecimalText(i));
  }
}

TMyIniFile::SectionSpan TMyIniFile::FindSection(const WideString& name) {
  const WideString wanted = TrimBlanks(name);
  const int n = sectionIndex_.Count();
  for (int k = 0; k < n; ++k) {
    const WideString item = sectionIndex_.Get(k);
    // The last separator: a name may hold U+0001 itself.
    const size_t separator = item.rfind(kIndexSeparator);
    if (!platform::SameTextLocale(TrimBlanks(WideView(item).substr(0, separator)), wanted))
      continue;
    SectionSpan span;
    span.First = HeaderLineOf(item);
    if (k + 1 < n) {
      span.Last = HeaderLineOf(sectionIndex_.Get(k + 1)) - 1;
    } else {
      span.Last = lines_.Count() - 1;
    }
    return span;
  }
  return {};
}

WideString TMyIniFile::UsableSectionName(const WideString& Section) {
  const WideString name = TrimBlanks(Section);
  if (name.empty() || name.find_first_of(u"\r\n", 0, 2) != WideString::npos ||
      name.find(u'\0') != WideString::npos)
    return {};
  // A "]" inside would end the header early and name another section.
  if (SectionNameOfLine(u"[" + name + u"]") != name) return {};
  return name;
}

bool TMyIniFile::IsCached(const WideString& name) const {
  return !currentSection_.empty() && platform::SameTextLocale(currentSection_, name);
}

// ---- reading and writing sections ------------------------------------------------

void TMyIniFile::ReadSectionToList(const WideString& name, TMyWStrings& target, bool raw) {
  if (IsCached(name)) {
    target.Assign(sectionValues_);
  } else {
    target.Clear();
    const SectionSpan span = FindSection(name);
    if (span.First >= 0) {
      target.SetCapacity(target.Count() + (span.Last - span.First) + 100);
      for (int i = span.First + 1; i <= span.Last; ++i) target.Add(lines_.Get(i));
    }
  }
  if (!raw && target.Count() > 0) CleanEntries(target);
}

void TMyIniFile::SelectSection(const WideString& name) {
  if (!currentSection_.empty()) {
    if (IsCached(name)) return;
    FlushCache();
  }
  ReadSectionToList(name, sectionValues_, false);
  currentSection_ = name;
}

void TMyIniFile::FlushCache() {
  if (!sectionModified_) return;
  WriteSectionToLines(currentSection_, sectionValues_, false);
  sectionModified_ = false;
}

bool TMyIniFile::DeleteSection(const WideString& name) {
  bool deleted = false;
  for (SectionSpan span = FindSection(name); span.First >= 0; span = FindSection(name)) {
    // The lines own no objects and have no OnChange: the store deletes them at once.
    lines_.Store()->DeleteRange(span.First, span.Last - span.First + 1);
    BuildSectionIndex();
    deleted = true;
  }
  return deleted;
}

void TMyIniFile::WriteSectionToLines(WideString name, TMyWStrings& source, bool raw) {
  modified_ = true;
  DeleteSection(name);
  // Also when the section was not in the lines yet: the cache would be stale.
  if (IsCached(name)) currentSection_.clear();
  lines_.Add(u"[" + name + u"]");
  if (raw) {
    for (int i = 0; i < source.Count(); ++i) lines_.Add(source.Get(i));
  } else {
    std::vector<WideString> met;
    for (int i = 0; i < source.Count(); ++i) {
      const WideString item = source.Get(i);
      const WideString entryName = EntryName(item);
      if (IsBlank(item) || entryName.empty() || AlreadyMet(met, entryName)) continue;
      met.push_back(entryName);
      lines_.Add(item);
    }
    lines_.Add(WideString());
  }
  sectionModified_ = false;
  BuildSectionIndex();
}

// ---- the section operations --------------------------------------------------------

bool TMyIniFile::SectionExists(const WideString& Section) {
  const WideString name = UsableSectionName(Section);
  return !name.empty() && FindSection(name).First >= 0;
}

void TMyIniFile::ReadSections(TMyWStrings& Strings) {
  Strings.Clear();
  const int n = sectionIndex_.Count();
  for (int k = 0; k < n; ++k) {
    const WideString item = sectionIndex_.Get(k);
    Strings.Add(item.substr(0, item.rfind(kIndexSeparator)));
  }
}

void TMyIniFile::ReadSection(const WideString& Section, TMyWStrings& Strings) {
  ReadSectionValues(Section, Strings);
  for (int i = 0; i < Strings.Count(); ++i) Strings.Put(i, EntryName(Strings.Get(i)));
}

void TMyIniFile::EraseSection(const WideString& Section) {
  const WideString name = UsableSectionName(Section);
  if (name.empty()) return;
  if (IsCached(name)) {
    currentSection_.clear();
    sectionModified_ = false;
  }
  if (DeleteSection(name)) modified_ = true;
}

void TMyIniFile::ReadSectionChecked(const WideString& Section, TMyWStrings& Strings, bool raw) {
  const WideString name = UsableSectionName(Section);
  if (name.empty()) {
    Strings.Clear();
    return;
  }
  ReadSectionToList(name, Strings, raw);
}

void TMyIniFile::WriteSectionChecked(const WideString& Section, TMyWStrings& Strings, bool raw) {
  const WideString name = UsableSectionName(Section);
  if (name.empty()) return;
  CheckWrittenLines(Strings);
  modified_ = true;
  FlushCache();
  WriteSectionToLines(name, Strings, raw);
}

void TMyIniFile::ReadSectionValues(const WideString& Section, TMyWStrings& Strings) {
  ReadSectionChecked(Section, Strings, false);
}

void TMyIniFile::WriteSectionValues(const WideString& Section, TMyWStrings& Strings) {
  WriteSectionChecked(Section, Strings, false);
}

void TMyIniFile::ReadSectionValues(const WideString& Section, TMyStore& Strings) {
  TMyWStrings list(&Strings);
  ReadSectionValues(Section, list);
}

void TMyIniFile::WriteSectionValues(const WideString& Section, TMyStore& Strings) {
  TMyWStrings list(&Strings);
  WriteSectionValues(Section, list);
}

void TMyIniFile::ReadSectionLines(const WideString& Section, TMyWStrings& Strings) {
  ReadSectionChecked(Section, Strings, true);
}

void TMyIniFile::WriteSectionLines(const WideString& Section, TMyWStrings& Strings) {
  WriteSectionChecked(Section, Strings, true);
}

void TMyIniFile::ReadSectionLines(const WideString& Section, TMyStore& Strings) {
  TMyWStrings list(&Strings);
  ReadSectionLines(Section, list);
}

void TMyIniFile::WriteSectionLines(const WideString& Section, TMyStore& Strings) {
  TMyWStrings list(&Strings);
  WriteSectionLines(Section, list);
}

// ---- single values ------------------------------------------------------------------

WideString TMyIniFile::ReadString(const WideString& Section, const WideString& Ident,
                                  const WideString& Default) {
  const WideString name = UsableSectionName(Section);
  if (name.empty()) return Default;
  SelectSection(name);
  const int i = sectionValues_.IndexOfName(Ident);
  if (i < 0) return Default;
  const WideString item = sectionValues_.Get(i);
  const size_t equals = item.find(u'=');
  WideString value = equals == WideString::npos ? item : item.substr(equals + 1);
  return value.empty() ? Default : value;
}

void TMyIniFile::WriteString(const WideString& Section, const WideString& Ident,
                             const WideString& Value) {
  const WideString name = UsableSectionName(Section);
  if (name.empty()) return;
  const WideString item = TrimBlanks(Ident) + u"=" + Value;
  CheckWrittenLine(item);
  if (Ident.find(u'=') != WideString::npos) throw EIniLineError("INI name holds \"=\"");
  modified_ = true;
  SelectSection(name);
  sectionModified_ = true;
  const int i = sectionValues_.IndexOfName(Ident);
  if (i >= 0)
    sectionValues_.Put(i, item);
  else
    sectionValues_.Add(item);
}

int32_t TMyIniFile::ReadInteger(const WideString& Section, const WideString& Ident,
                                int32_t Default) {
  const int64_t value = ParseInteger(ReadString(Section, Ident, DecimalText(Default)));
  if (value < INT32_MIN || value > INT32_MAX)
    throw ERangeError("Range check error: " + std::to_string(value));
  return static_cast<int32_t>(value);
}

void TMyIniFile::WriteInteger(const WideString& Section, const WideString& Ident, int32_t Value) {
  WriteString(Section, Ident, DecimalText(Value));
}

bool TMyIniFile::ReadBool(const WideString& Section, const WideString& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TMyIniFile::ReadBool(const WideString& Section, const WideString& Ident, bool* Value) {
  *Value = ReadBool(Section, Ident, *Value);
}

void TMyIniFile::WriteBool(const WideString& Section, const WideString& Ident, bool Value) {
  WriteInteger(Section, Ident, Value ? 1 : 0);
}

long double TMyIniFile::ReadFloat(const WideString& Section, const WideString& Ident,
                                  long double Default) {
  return TextToFloat(ReadString(Section, Ident, FloatToText(Default))).value_or(0.0L);
}

void TMyIniFile::WriteFloat(const WideString& Section, const WideString& Ident, long double Value) {
  WriteString(Section, Ident, FloatToText(Value));
}

// ---- the file -----------------------------------------------------------------------

bool TMyIniFile::UpdateFile() {
  if (!modified_) return false;
  bool written = false;
  try {
    FlushCache();
    if (unreadable_)
      platform::LogNamedWarning(platform::kLogSettings, "writing the settings file", fileName_,
                                "it could not be read at start and is kept as it was");
    else
      written = lines_.SaveToFile(fileName_, writeCode_);  // a failure is logged by the writer
  } catch (const std::exception& e) {
    platform::LogNamedWarning(platform::kLogSettings, "writing the settings file", fileName_,
                              e.what());
  }
  modified_ = false;
  return written;
}

}  // namespace magna
