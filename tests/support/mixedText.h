#pragma once
// Random texts drawn from the repertoires Japanese users type and paste, for the
// round-trip properties of the character codes and the settings file. Header-only so
// that the property tests (a deterministic generator) and the fuzz targets (the
// fuzzer's bytes) draw from the same repertoires.
//
// `choose(n)` gives a number in 0..n-1; everything drawn comes from it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/codepage/codePage.h"

namespace magna::test {

/// The repertoires, each a list of pieces (one character, a surrogate pair, or CR LF).
class Repertoires {
 public:
  enum Kind { kAscii, kHalfWidthKana, kKana, kKanji, kNecRow13, kIbm, kSymbols, kEmoji, kBreaks };
  static constexpr int kKinds = 9;

  static const Repertoires& Get() {
    static const Repertoires repertoires;
    return repertoires;
  }
  const std::vector<WideString>& Of(int kind) const { return pieces_[kind]; }

 private:
  Repertoires() {
    for (char c : std::string_view("abcxyzABCXYZ0189 +-@$.,=_/:;"))
      pieces_[kAscii].push_back(WideString(1, static_cast<char16_t>(c)));
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) pieces_[kHalfWidthKana].push_back(WideString(1, c));
    for (char16_t c = 0x3041; c <= 0x3093; ++c) pieces_[kKana].push_back(WideString(1, c));
    for (char16_t c = 0x30A1; c <= 0x30F6; ++c) pieces_[kKana].push_back(WideString(1, c));
    pieces_[kKana].push_back(u"\x30FC");
    // Code page 932's own rows: the first and second level kanji, NEC row 13 and the
    // IBM extensions, as Windows maps them.
    AddSjisRange(kKanji, 0x889F, 0x9FFC);
    AddSjisRange(kKanji, 0xE040, 0xEAA4);
    AddSjisRange(kNecRow13, 0x8740, 0x879C);
    AddSjisRange(kIbm, 0xFA40, 0xFC4B);
    for (const char16_t* s : {u"\xFF02", u"\x301C", u"\xFF5E", u"\xFF07", u"\x3000"})
      pieces_[kSymbols].push_back(s);
    for (char32_t c = 0x1F300; c <= 0x1F64F; c += 7) {
      const char32_t v = c - 0x10000;
      pieces_[kEmoji].push_back(WideString{static_cast<char16_t>(0xD800 + (v >> 10)),
                                           static_cast<char16_t>(0xDC00 + (v & 0x3FF))});
    }
    pieces_[kBreaks] = {u"\r", u"\n", u"\r\n"};
  }

  void AddSjisRange(int kind, unsigned first, unsigned last) {
    for (unsigned code = first; code <= last; ++code) {
      const char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      const WideString unit =
          platform::MultiByteToWide(platform::CP_ANSI, std::string_view(pair, 2));
      if (unit.size() == 1 && unit[0] != 0xFFFD && unit[0] >= 0x100) pieces_[kind].push_back(unit);
    }
  }

  std::vector<WideString> pieces_[kKinds];
};

/// A text of up to `maxPieces` pieces from a random non-empty set of repertoires.
template <class Choose>
WideString MixedText(Choose&& choose, int maxPieces = 40) {
  const Repertoires& all = Repertoires::Get();
  const unsigned mask = 1 + static_cast<unsigned>(choose((1 << Repertoires::kKinds) - 1));
  std::vector<int> kinds;
  for (int k = 0; k < Repertoires::kKinds; ++k)
    if (mask & (1u << k)) kinds.push_back(k);
  WideString text;
  for (int n = 1 + static_cast<int>(choose(maxPieces)); n > 0; --n) {
    const std::vector<WideString>& pieces = all.Of(kinds[choose(static_cast<int>(kinds.size()))]);
    text += pieces[choose(static_cast<int>(pieces.size()))];
  }
  return text;
}

}  // namespace magna::test
