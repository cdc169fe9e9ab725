#include "platform/codepage/codePageTables.h"

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include <unicode/uset.h>

#include "platform/codepage/codePageIconv.h"
#include "platform/codepage/icuConverter.h"

namespace magna::platform::detail {

namespace {

// ICU's "cp932"; the fixes below turn it into Windows' code page 932.
constexpr const char* kIcuCp932 = "ibm-943_P15A-2003";

bool IsSjisLead(unsigned b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

/// Decodes one whole character; 0 unless the bytes decode to exactly one BMP unit.
uint16_t IcuDecodeOne(UConverter* cnv, const char* bytes, int length) {
  UErrorCode status = U_ZERO_ERROR;
  UChar out[4];
  ucnv_resetToUnicode(cnv);
  int32_t n = ucnv_toUChars(cnv, out, 4, bytes, length, &status);
  return U_SUCCESS(status) && n == 1 ? out[0] : 0;
}

/// Encodes one code point; 0 when the converter has no mapping for it.
uint16_t IcuEncodeOne(UConverter* cnv, UChar32 c) {
  UErrorCode status = U_ZERO_ERROR;
  UChar in[1] = {static_cast<UChar>(c)};
  char out[4];
  ucnv_resetFromUnicode(cnv);
  int32_t n = ucnv_fromUChars(cnv, out, 4, in, 1, &status);
  if (U_FAILURE(status) || n < 1 || n > 2) return 0;
  auto b0 = static_cast<unsigned char>(out[0]);
  return n == 1 ? b0 : static_cast<uint16_t>(b0 << 8 | static_cast<unsigned char>(out[1]));
}

UConverter* StoppingIcuConverter(const char* name) {
  UConverter* cnv = CachedIcuConverter(name);
  if (cnv == nullptr) throw std::runtime_error(std::string("ICU converter missing: ") + name);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(cnv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  return cnv;
}

/// Calls f(c) for every BMP code point of the converter's set of that kind.
template <class F>
void ForEachBmpOf(UConverter* cnv, UConverterUnicodeSet which, F f) {
  UErrorCode status = U_ZERO_ERROR;
  USet* set = uset_openEmpty();
  ucnv_getUnicodeSet(cnv, set, which, &status);
  for (int32_t i = 0, n = uset_getItemCount(set); i < n; ++i) {
    UChar32 start, end;
    status = U_ZERO_ERROR;
    if (uset_getItem(set, i, &start, &end, nullptr, 0, &status) != 0) continue;  // strings
    for (UChar32 c = start; c <= end && c <= 0xFFFF; ++c) f(c);
  }
  uset_close(set);
}

void BuildSjisDecoding(SjisTable& t, UConverter* cnv) {
  std::memset(t.leadIndex, 0xFF, sizeof t.leadIndex);
  int row = 0;
  for (unsigned b = 0; b < 256; ++b) {
    if (IsSjisLead(b)) {
      t.single[b] = kLeadByte;
      t.leadIndex[b] = static_cast<uint8_t>(row++);
      continue;
    }
    char byte = static_cast<char>(b);
    t.single[b] = b == 0 ? 0 : IcuDecodeOne(cnv, &byte, 1);
  }
  // ICU swaps these three the IBM way and rejects the five Windows maps to itself.
  t.single[0x1A] = 0x1A;
  t.single[0x1C] = 0x1C;
  t.single[0x7F] = 0x7F;
  t.single[0x80] = 0x80;
  t.single[0xA0] = 0xF8F0;
  t.single[0xFD] = 0xF8F1;
  t.single[0xFE] = 0xF8F2;
  t.single[0xFF] = 0xF8F3;
  for (unsigned lead = 0; lead < 256; ++lead) {
    if (!IsSjisLead(lead)) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      t.pairs[t.leadIndex[lead]][trail] = IcuDecodeOne(cnv, pair, 2);
    }
  }
}

void BuildSjisEncoding(SjisTable& t, UConverter* cnv) {
  ucnv_setFallback(cnv, false);
  ForEachBmpOf(cnv, UCNV_ROUNDTRIP_SET, [&](UChar32 c) { t.exact[c] = IcuEncodeOne(cnv, c); });
  for (unsigned b : {0x1Au, 0x1Cu, 0x7Fu, 0x80u, 0xA0u, 0xFDu, 0xFEu, 0xFFu})
    t.exact[t.single[b]] = static_cast<uint16_t>(b);
  ucnv_setFallback(cnv, true);
  ForEachBmpOf(cnv, UCNV_ROUNDTRIP_AND_FALLBACK_SET, [&](UChar32 c) {
    if (c >= 0x80 && t.exact[c] == 0) t.bestFit[c] = IcuEncodeOne(cnv, c);
  });
  ucnv_setFallback(cnv, false);
  // Windows' best fit has these JIS symbols too; ICU's fallbacks lack them.
  t.bestFit[0x00A2] = 0x8191;
  t.bestFit[0x00A3] = 0x8192;
  t.bestFit[0x00AC] = 0x81CA;
}

void BuildIbmToNecSelected(SjisTable& t) {
  std::unordered_map<uint16_t, uint16_t> necOfUnit;
  for (unsigned lead : {0xEDu, 0xEEu})
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (uint16_t u = t.pairs[t.leadIndex[lead]][trail]) necOfUnit.emplace(u, lead << 8 | trail);
  for (unsigned lead : {0xFAu, 0xFBu, 0xFCu})
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      uint16_t u = t.pairs[t.leadIndex[lead]][trail];
      auto it = necOfUnit.find(u);
      if (u != 0 && it != necOfUnit.end())
        t.ibmToNecSelected.emplace(static_cast<uint16_t>(lead << 8 | trail), it->second);
    }
}

std::unique_ptr<SjisTable> BuildSjis() {
  auto t = std::make_unique<SjisTable>();
  UConverter* cnv = StoppingIcuConverter(kIcuCp932);
  BuildSjisDecoding(*t, cnv);
  BuildSjisEncoding(*t, cnv);
  BuildIbmToNecSelected(*t);
  return t;
}

uint16_t IconvDecodeOne(IconvHandle& cd, std::string_view bytes) {
  std::string out;
  if (!cd.Convert(bytes, out) || out.size() != 2) return 0;
  return static_cast<uint16_t>(static_cast<unsigned char>(out[0]) |
                               static_cast<unsigned char>(out[1]) << 8);
}

void BuildEucDecoding(EucTable& t) {
  IconvHandle cd("UTF-16LE", "EUC-JP");
  if (!cd.valid()) throw std::runtime_error("iconv lacks EUC-JP");
  for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1)
    for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
      const char two[2] = {static_cast<char>(j1 | 0x80), static_cast<char>(j2 | 0x80)};
      const char three[3] = {'\x8F', two[0], two[1]};
      t.jis0208[JisIndex(j1, j2)] = IconvDecodeOne(cd, {two, 2});
      t.jis0212[JisIndex(j1, j2)] = IconvDecodeOne(cd, {three, 3});
    }
  // glibc lacks the NEC special characters of row 13; code page 932 has them at 0x87xx.
  const SjisTable& sjis = Sjis();
  for (unsigned trail = 0x40; trail <= 0x9C; ++trail) {
    uint16_t jis = SjisToJis(static_cast<uint16_t>(0x8700 | trail));
    if (jis == 0) continue;
    uint16_t& slot = t.jis0208[JisIndex(jis >> 8, jis & 0xFF)];
    if (slot == 0) slot = sjis.pairs[sjis.leadIndex[0x87]][trail];
  }
}

/// The JIS X 0208 position code page 932 gives a unit (exactly or as best fit), else 0.
uint16_t Cp932JisPosition(const SjisTable& sjis, const EucTable& t, unsigned u) {
  uint16_t code = sjis.exact[u] ? sjis.exact[u] : sjis.bestFit[u];
  if (code < 0x80) return code;
  uint16_t jis = code >= 0x100 ? SjisToJis(code) : 0;
  return jis != 0 && t.jis0208[JisIndex(jis >> 8, jis & 0xFF)] != 0 ? jis : 0;
}

void BuildEucEncoding(EucTable& t) {
  for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1)
    for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
      uint16_t u = t.jis0208[JisIndex(j1, j2)];
      if (u >= 0x80 && t.exact[u] == 0) t.exact[u] = static_cast<uint16_t>(j1 << 8 | j2);
    }
  // What code page 932 holds as a Windows symbol (U+FF5E, U+2225, U+FF0D, U+00A5 ...) is
  // written at the JIS X 0208 position that code page gives it, which every reader knows,
  // rather than at a JIS X 0212 position (glibc has U+FF5E there) that few readers know.
  const SjisTable& sjis = Sjis();
  for (unsigned u = 0x80; u < 0x10000; ++u) {
    if (t.exact[u] != 0 || (u >= 0xFF61 && u <= 0xFF9F)) continue;
    t.bestFit[u] = Cp932JisPosition(sjis, t, u);
  }
  for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1)
    for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
      uint16_t u = t.jis0212[JisIndex(j1, j2)];
      bool windowsSymbol = sjis.exact[u] >= 0x100 && t.bestFit[u] >= 0x100;
      if (u >= 0x80 && t.exact[u] == 0 && !windowsSymbol)
        t.exact[u] = static_cast<uint16_t>(j1 << 8 | j2 | kJis0212);
    }
}

std::unique_ptr<EucTable> BuildEuc() {
  auto t = std::make_unique<EucTable>();
  BuildEucDecoding(*t);
  BuildEucEncoding(*t);
  return t;
}

std::unique_ptr<JisTable> BuildJis() {
  auto t = std::make_unique<JisTable>();
  const SjisTable& sjis = Sjis();
  for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1)
    for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
      uint16_t code = JisToSjis(static_cast<uint16_t>(j1 << 8 | j2));
      t->jis0208[JisIndex(j1, j2)] = sjis.pairs[sjis.leadIndex[code >> 8]][code & 0xFF];
    }
  return t;
}

}  // namespace

uint16_t SjisToJis(uint16_t sjis) {
  unsigned lead = sjis >> 8, trail = sjis & 0xFF;
  if (lead < 0x81 || lead > 0xEF || (lead > 0x9F && lead < 0xE0)) return 0;
  if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return 0;
  unsigned pairRow = lead >= 0xE0 ? lead - 0xC1 : lead - 0x81;
  unsigned row = pairRow * 2 + (trail >= 0x9F ? 1 : 0);
  unsigned cell = trail >= 0x9F ? trail - 0x9F : trail - 0x40 - (trail > 0x7F ? 1 : 0);
  return static_cast<uint16_t>((row + 0x21) << 8 | (cell + 0x21));
}

uint16_t JisToSjis(uint16_t jis) {
  unsigned row = (jis >> 8) - 0x21, cell = (jis & 0xFF) - 0x21;
  unsigned pairRow = row / 2;
  unsigned lead = pairRow < 31 ? pairRow + 0x81 : pairRow + 0xC1;
  unsigned trail = row % 2 ? cell + 0x9F : cell + 0x40 + (cell + 0x40 >= 0x7F ? 1 : 0);
  return static_cast<uint16_t>(lead << 8 | trail);
}

const SjisTable& Sjis() {
  static const std::unique_ptr<SjisTable> table = BuildSjis();
  return *table;
}

const EucTable& Euc() {
  static const std::unique_ptr<EucTable> table = BuildEuc();
  return *table;
}

const JisTable& Jis() {
  static const std::unique_ptr<JisTable> table = BuildJis();
  return *table;
}

}  // namespace magna::platform::detail
