// The INI reader and writer on arbitrary bytes: read, write every section back,
// read again. No crash, no sanitizer report, and the values read back equal the
// values read first; a value that holds U+0000 (a zero byte of the file) is refused
// by the writes, as the file format says. The first input byte picks the file's code; for the codes
// that carry every code unit (UTF-8 and UTF-16) the first read must survive the
// round trip, for the others (cdAuto re-detects, Shift_JIS replaces what it can't
// hold) the second read must survive the next one.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/myLocale.h"
#include "settings/myIniFile.h"
#include "text/myUtils.h"

namespace {

using namespace magna;

struct Section {
  WideString Name;
  std::vector<std::pair<WideString, WideString>> Entries;  // trimmed name, value
  bool operator==(const Section&) const = default;
};
using Snapshot = std::vector<Section>;

/// Each section name once (the first spelling), in file order.
std::vector<WideString> DistinctSections(TMyIniFile& ini) {
  TMyWStrings all;
  ini.ReadSections(all);
  std::vector<WideString> names;
  for (int i = 0; i < all.Count(); ++i) {
    const WideString name = all.Get(i);
    bool seen = false;
    for (const WideString& other : names) seen = seen || platform::SameTextLocale(other, name);
    if (!seen) names.push_back(name);
  }
  return names;
}

Snapshot Read(const WideString& file, TMyCharCode code) {
  TMyIniFile ini(file, code);
  Snapshot snapshot;
  for (const WideString& name : DistinctSections(ini)) {
    Section section{name, {}};
    TMyWStrings values;
    ini.ReadSectionValues(name, values);
    for (int i = 0; i < values.Count(); ++i) {
      const WideString item = values.Get(i);
      const size_t equals = item.find(u'=');
      section.Entries.emplace_back(TrimBlanks(WideView(item).substr(0, equals)),
                                   item.substr(equals + 1));
    }
    snapshot.push_back(std::move(section));
  }
  // A written section moves to the end of the file while one whose write was refused
  // stays where it was: the order of sections is no part of what must read back.
  std::sort(snapshot.begin(), snapshot.end(),
            [](const Section& a, const Section& b) { return a.Name < b.Name; });
  return snapshot;
}

bool HoldsZero(const WideString& text) {
  return text.find(u'\0') != WideString::npos;
}

/// Writes every section back: once as a whole, once value by value through the cache.
/// A zero byte of the file stays in its line as U+0000, and no write may put one into
/// the file: a section or value holding one must raise EIniLineError and change nothing.
void WriteBack(const WideString& file, TMyCharCode code) {
  TMyIniFile ini(file, code);
  for (const WideString& name : DistinctSections(ini)) {
    TMyWStrings values;
    ini.ReadSectionValues(name, values);
    bool zero = false;
    for (int i = 0; i < values.Count(); ++i) zero = zero || HoldsZero(values.Get(i));
    try {
      ini.WriteSectionValues(name, values);
      if (zero) std::abort();
    } catch (const EIniLineError&) {
      if (!zero) std::abort();
    }
    for (int i = 0; i < values.Count(); ++i) {
      const WideString item = values.Get(i);
      const size_t equals = item.find(u'=');
      // The name is trimmed of blanks and controls, U+0000 among them, before it is written.
      const WideString entry = TrimBlanks(WideView(item).substr(0, equals));
      const WideString value = item.substr(equals + 1);
      const bool refused = HoldsZero(entry) || HoldsZero(value);
      try {
        ini.WriteString(name, entry, value);
        if (refused) std::abort();
      } catch (const EIniLineError&) {
        if (!refused) std::abort();
      }
    }
  }
}

std::string TemporaryFolder() {
  return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const TMyCharCode codes[] = {cdAuto, cdUTF_8, cdUTF_16LE, cdSJis};
  const TMyCharCode code = codes[data[0] % 4];
  const bool lossless = code == cdUTF_8 || code == cdUTF_16LE;
  // Every write is made durable (fsync): on a disk that costs milliseconds, so a run
  // has its file on a memory file system where there is one.
  static const std::string path =
      TemporaryFolder() + "/fuzz_settings_ini_" + std::to_string(::getpid()) + ".ini";
  const WideString file(path.begin(), path.end());
  WriteFile(path, data + 1, size - 1);

  const Snapshot first = Read(file, code);
  WriteBack(file, code);
  const Snapshot second = Read(file, code);
  if (lossless && second != first) std::abort();
  WriteBack(file, code);
  if (Read(file, code) != second) std::abort();
  return 0;
}
