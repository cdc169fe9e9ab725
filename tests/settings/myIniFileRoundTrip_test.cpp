// Every value written through TMyIniFile reads back identical from a new object on the
// same file: random names and values from the mixed Japanese repertoires, in the codes
// the settings file is written in.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/myLocale.h"
#include "settings/myIniFile.h"
#include "tests/support/mixedText.h"
#include "tests/support/testSupport.h"
#include "text/myUtils.h"

namespace magna {
namespace {

using test::Hex;
using test::U8;

struct Entry {
  WideString section, name, value;
};

/// Whether a value or name would change the file's structure (EIniLineError).
bool BreaksALine(const WideString& text) {
  return text.find_first_of(WideView(u"\r\n\0", 3)) != WideString::npos;
}

class IniRoundTrip : public test::FakeServicesTest {
 protected:
  test::TempDir dir{test::MemoryFolder()};
  std::mt19937 random{4141};
  int Choose(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

  WideString Name() {
    // Names are trimmed and may hold no "=": draw until one is usable as it stands.
    for (;;) {
      WideString name = test::MixedText([this](int n) { return Choose(n); }, 6);
      if (!BreaksALine(name) && name.find(u'=') == WideString::npos && name[0] != u'[' &&
          TrimBlanks(name) == name && !name.empty())
        return name;
    }
  }

  /// Writes `entries` more random values into the file (replacing the expected value of
  /// an entry written again) and checks each write that breaks a line raises.
  void WriteSome(TMyCharCode code, std::vector<Entry>& expected, int entries) {
    const WideString sections[] = {u"Text", u"Bounds", u"\x65E5\x672C", u"\xFF7E\xFF78"};
    TMyIniFile ini(dir.Wide("settings.ini"), code);
    for (int i = 0; i < entries; ++i) {
      Entry e{sections[Choose(4)], Name(), test::MixedText([this](int n) { return Choose(n); })};
      if (BreaksALine(e.value)) {
        EXPECT_THROW(ini.WriteString(e.section, e.name, e.value), EIniLineError);
        continue;
      }
      ini.WriteString(e.section, e.name, e.value);
      bool replaced = false;
      for (Entry& old : expected) {
        if (platform::SameTextLocale(old.section, e.section) &&
            platform::SameTextLocale(old.name, e.name)) {
          old.value = e.value;
          replaced = true;
        }
      }
      if (!replaced) expected.push_back(e);
    }
  }

  void ExpectReadBack(TMyCharCode code, const std::vector<Entry>& expected) {
    TMyIniFile ini(dir.Wide("settings.ini"), code);
    for (const Entry& e : expected) {
      ASSERT_EQ(U8(ini.ReadString(e.section, e.name, u"\x2205")), U8(e.value))
          << U8(e.section) << " / " << U8(e.name) << "\n"
          << Hex(test::ReadBytes(dir / "settings.ini"));
    }
  }
};

TEST_F(IniRoundTrip, EveryValueWrittenReadsBackFromANewObject) {
  for (TMyCharCode code : {cdAuto, cdUTF_8, cdUTF_16LE}) {
    SCOPED_TRACE(int(code));
    for (int file = 0; file < 40; ++file) {
      std::filesystem::remove(dir / "settings.ini");
      std::vector<Entry> expected;
      for (int session = 0; session < 3; ++session) {  // later sessions rewrite the file
        WriteSome(code, expected, 12);
        ExpectReadBack(code, expected);
      }
    }
  }
}

}  // namespace
}  // namespace magna
