#include "text/repair/myRepairUnread.h"

#include <map>
#include <memory>

#include "platform/codepage/codePageTables.h"
#include "platform/codepage/codePageWestern.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {

namespace {

namespace cp = platform::detail;

constexpr char16_t kReplacement = 0xFFFD;

/// A code of one to three bytes packed with its length: (length << 24) | bytes, the first
/// byte highest; 0 for none.
using Packed = uint32_t;

Packed Pack(unsigned length, uint32_t bytes) {
  return length << 24 | bytes;
}

void AppendPacked(AnsiString& out, Packed code) {
  const unsigned length = code >> 24;
  for (unsigned i = length; i-- > 0;) out += static_cast<char>((code >> (8 * i)) & 0xFF);
}

/// Readings that other Shift_JIS and EUC-JP readers give the same bytes (the JIS forms
/// where code page 932 has Windows' own characters), read back to the codes of 932.
struct Variant {
  char16_t unit;
  uint16_t sjis;
};
constexpr Variant kSjisVariants[] = {
    {0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C}, {0x00A2, 0x8191},
    {0x00A3, 0x8192}, {0x00AC, 0x81CA}, {0x00A5, 0x005C}, {0x203E, 0x007E},
};

/// What each reader's characters were as bytes.
struct Inverse {
  Packed sjis[0x10000] = {};
  Packed euc[0x10000] = {};
  bool sjisAmbiguous[0x10000] = {};
  std::map<uint16_t, std::vector<uint16_t>> sjisAlike;  // any code of a repeated unit -> all
};

bool IsIbmExtension(uint16_t code) {
  return code >= 0xFA40;
}

/// The code to write for a unit several Shift_JIS codes read as: Windows' own choice,
/// except that an IBM extension (FA..FC, bytes neither UTF-8 nor EUC-JP ever have) gives
/// way to its NEC-selected twin (ED, EE).
uint16_t PreferredSjis(const cp::SjisTable& t, char16_t unit, const std::vector<uint16_t>& codes) {
  uint16_t chosen = t.exact[unit] != 0 ? t.exact[unit] : codes.front();
  if (IsIbmExtension(chosen))
    for (uint16_t code : codes)
      if (code >> 8 == 0xED || code >> 8 == 0xEE) chosen = code;
  return chosen;
}

void BuildSjis(Inverse& inv) {
  const cp::SjisTable& t = cp::Sjis();
  std::map<char16_t, std::vector<uint16_t>> codesOf;
  for (unsigned b = 0; b < 256; ++b)
    if (t.single[b] != cp::kLeadByte && (t.single[b] != 0 || b == 0))
      inv.sjis[t.single[b]] = Pack(1, b);
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (t.leadIndex[lead] == 0xFF) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const uint16_t unit = t.pairs[t.leadIndex[lead]][trail];
      if (unit != 0 && trail != 0x7F)
        codesOf[unit].push_back(static_cast<uint16_t>(lead << 8 | trail));
    }
  }
  for (const auto& [unit, codes] : codesOf) {
    inv.sjis[unit] = Pack(2, PreferredSjis(t, unit, codes));
    if (codes.size() < 2) continue;
    inv.sjisAmbiguous[unit] = true;
    for (uint16_t code : codes) inv.sjisAlike[code] = codes;
  }
  for (const Variant& v : kSjisVariants)
    if (inv.sjis[v.unit] == 0) inv.sjis[v.unit] = Pack(v.sjis < 0x100 ? 1 : 2, v.sjis);
}

Packed EucPair(unsigned index, bool jis0212) {
  const uint32_t pair = (0xA1 + index / cp::kJisCells) << 8 | (0xA1 + index % cp::kJisCells);
  return jis0212 ? Pack(3, 0x8F0000 | pair) : Pack(2, pair);
}

void BuildEuc(Inverse& inv) {
  const cp::EucTable& t = cp::Euc();
  for (unsigned b = 0; b < 0x80; ++b) inv.euc[b] = Pack(1, b);
  for (unsigned u = 0xFF61; u <= 0xFF9F; ++u) inv.euc[u] = Pack(2, 0x8E00 | (u - 0xFF61 + 0xA1));
  // The first of repeated characters: JIS X 0208 before JIS X 0212, as the encoder writes.
  for (unsigned i = cp::kJisCells * cp::kJisCells; i-- > 0;) {
    if (uint16_t u = t.jis0212[i]) inv.euc[u] = EucPair(i, true);
  }
  for (unsigned i = cp::kJisCells * cp::kJisCells; i-- > 0;) {
    if (uint16_t u = t.jis0208[i]) inv.euc[u] = EucPair(i, false);
  }
  for (unsigned u = 0x80; u < 0x10000; ++u) {
    const uint16_t jis = t.bestFit[u];
    if (inv.euc[u] == 0 && jis >= 0x2121) inv.euc[u] = Pack(2, static_cast<uint32_t>(jis | 0x8080));
  }
}

const Inverse& Tables() {
  static const std::unique_ptr<Inverse> inverse = [] {
    auto inv = std::make_unique<Inverse>();
    BuildSjis(*inv);
    BuildEuc(*inv);
    return inv;
  }();
  return *inverse;
}

void AddLost(Unread& out, LostKind kind, uint8_t count) {
  // Replacement characters side by side are one gap of unknown length.
  if (!out.lost.empty() && out.lost.back().at == out.bytes.size()) {
    out.lost.back() = {out.bytes.size(), LostKind::Unsized, 0};
    return;
  }
  out.lost.push_back({out.bytes.size(), kind, count});
}

/// Code page 932's reader writes U+FFFD for a lead byte it cannot pair (the next byte is
/// then read on its own) or for an unmapped pair: where the byte after the gap could only
/// have been a trail byte of the pair, the gap is that pair, two bytes.
void CountSjisGaps(Unread& out, size_t firstLost) {
  for (size_t k = firstLost; k < out.lost.size(); ++k) {
    LostPlace& gap = out.lost[k];
    if (gap.kind != LostKind::Unknown || gap.at >= out.bytes.size()) continue;
    const auto next = static_cast<unsigned char>(out.bytes[gap.at]);
    if (next >= 0x80 && next <= 0xFC) gap.count = 2;
  }
}

bool UnreadTable(const Packed* table, const bool* ambiguous, WideView text, Unread& out) {
  for (char16_t u : text) {
    out.offsets.push_back(static_cast<uint32_t>(out.bytes.size()));
    if (u == kReplacement || u == kEarlierLoss) {
      AddLost(out, u == kReplacement ? LostKind::Unknown : LostKind::Unsized, 0);
      continue;
    }
    const Packed code = table[u];
    if (code == 0) return false;
    if (ambiguous != nullptr && ambiguous[u]) out.ambiguous.push_back(out.bytes.size());
    AppendPacked(out.bytes, code);
  }
  return true;
}

bool UnreadUtf8(WideView text, Unread& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    out.offsets.push_back(static_cast<uint32_t>(out.bytes.size()));
    if (c == kReplacement || c == kEarlierLoss) {
      AddLost(out, c == kReplacement ? LostKind::Unknown : LostKind::Unsized, 0);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c >= 0xDC00 || i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
        return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out.bytes += static_cast<char>(c);
    } else if (c < 0x800) {
      out.bytes += static_cast<char>(0xC0 | c >> 6);
      out.bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out.bytes += static_cast<char>(0xE0 | c >> 12);
      out.bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out.bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out.bytes += static_cast<char>(0xF0 | c >> 18);
      out.bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out.bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out.bytes += static_cast<char>(0x80 | (c & 0x3F));
      out.offsets.push_back(static_cast<uint32_t>(out.bytes.size()));  // the pair's second unit
    }
  }
  return true;
}

bool UnreadWestern(WideView text, Unread& out) {
  for (char16_t u : text) {
    out.offsets.push_back(static_cast<uint32_t>(out.bytes.size()));
    if (u == kReplacement || u == kEarlierLoss) {
      AddLost(out, u == kReplacement ? LostKind::Windows1252Undefined : LostKind::Unsized,
              u == kReplacement ? 1 : 0);
      continue;
    }
    const int b = platform::WesternByteOf(u);
    if (b < 0) return false;
    if (u >= 0x100) out.sawWindows1252 = true;
    if (u >= 0x80 && u < 0xA0) out.sawC1 = true;
    out.bytes += static_cast<char>(b);
  }
  return true;
}

}  // namespace

bool UnreadAppend(TRepairCode reader, WideView text, Unread& out) {
  const size_t bytes = out.bytes.size(), offsets = out.offsets.size(), lost = out.lost.size(),
               ambiguous = out.ambiguous.size();
  bool read = false;
  switch (reader) {
    case TRepairCode::ShiftJIS:
      read = UnreadTable(Tables().sjis, Tables().sjisAmbiguous, text, out);
      if (read) CountSjisGaps(out, lost);
      break;
    case TRepairCode::EUCJP: read = UnreadTable(Tables().euc, nullptr, text, out); break;
    case TRepairCode::UTF8: read = UnreadUtf8(text, out); break;
    case TRepairCode::Latin1:
    case TRepairCode::Windows1252: read = UnreadWestern(text, out); break;
    default: break;
  }
  if (!read) {
    out.bytes.resize(bytes);
    out.offsets.resize(offsets);
    out.lost.resize(lost);
    out.ambiguous.resize(ambiguous);
  }
  return read;
}

bool UnreadAs(TRepairCode reader, WideView text, Unread& out) {
  out.bytes.clear();
  out.offsets.clear();
  out.lost.clear();
  out.ambiguous.clear();
  out.sawWindows1252 = out.sawC1 = false;
  const bool read = UnreadAppend(reader, text, out);
  out.offsets.push_back(static_cast<uint32_t>(out.bytes.size()));
  return read;
}

void AbsorbedUnits(const uint32_t* offsets, size_t units, size_t end,
                   const std::vector<ByteRange>& absorbed, std::vector<size_t>& found) {
  found.clear();
  size_t r = 0;
  for (size_t k = 0; k < units && r < absorbed.size(); ++k) {
    const size_t from = offsets[k], to = k + 1 < units ? offsets[k + 1] : end;
    while (r < absorbed.size() && absorbed[r].second < to) ++r;
    if (r < absorbed.size() && absorbed[r].first <= from && to <= absorbed[r].second)
      found.push_back(k);
  }
}

const std::vector<uint16_t>& SjisCodesAlike(uint16_t code) {
  static const std::vector<uint16_t> none;
  const auto& alike = Tables().sjisAlike;
  auto it = alike.find(code);
  return it == alike.end() ? none : it->second;
}

}  // namespace magna::repair
