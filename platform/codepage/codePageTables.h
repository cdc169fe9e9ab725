#pragma once
// The mapping tables of the Japanese code pages, built once per process from ICU's
// and glibc's data with the differences to Windows mended. Immutable once built,
// so every thread shares them.
//
// Encoding tables map a BMP code unit to a code: 0 means "no mapping", a value
// below 0x100 is a single byte, anything else a two-byte code (Shift_JIS lead and
// trail, or JIS row and cell with kJis0212 set for JIS X 0212).

#include <cstdint>
#include <unordered_map>

namespace magna::platform::detail {

constexpr uint16_t kLeadByte = 0xFFFF;  // in SjisTable::single
constexpr uint16_t kJis0212 = 0x8000;   // in EucTable encoding values
constexpr int kJisCells = 94;

/// Code page 932 as Windows maps it.
struct SjisTable {
  uint16_t single[256];     // byte -> unit, kLeadByte for lead bytes
  uint8_t leadIndex[256];   // lead byte -> row of `pairs`, 0xFF for other bytes
  uint16_t pairs[60][256];  // [lead row][trail] -> unit, 0 when unmapped
  uint16_t exact[65536];    // unit -> code, exact (round trip) mappings only
  uint16_t bestFit[65536];  // unit -> code, substitutes used when best fit is allowed
  std::unordered_map<uint16_t, uint16_t> ibmToNecSelected;  // FAxx..FCxx -> EDxx/EExx
};

/// Code page 20932 (EUC-JP): JIS X 0208 with the JIS symbols, NEC row 13, JIS X 0212.
struct EucTable {
  uint16_t jis0208[kJisCells * kJisCells];  // JIS position -> unit, 0 when unmapped
  uint16_t jis0212[kJisCells * kJisCells];
  uint16_t exact[65536];    // unit -> JIS code (| kJis0212), 0 when none
  uint16_t bestFit[65536];  // the Windows symbols of code page 932 -> their JIS positions
};

/// JIS X 0208 positions decoded as code page 50220 does: through code page 932.
struct JisTable {
  uint16_t jis0208[kJisCells * kJisCells];
};

const SjisTable& Sjis();
const EucTable& Euc();
const JisTable& Jis();

/// Shift_JIS two-byte code -> JIS row/cell code (0x2121..), 0 when outside JIS rows 1..94.
uint16_t SjisToJis(uint16_t sjis);
/// JIS row/cell code -> Shift_JIS two-byte code.
uint16_t JisToSjis(uint16_t jis);

inline int JisIndex(unsigned j1, unsigned j2) {
  return (j1 - 0x21) * kJisCells + (j2 - 0x21);
}

}  // namespace magna::platform::detail
