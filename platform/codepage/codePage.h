#pragma once
// The code page conversions of the platform, for the code pages the program uses:
// 932 (ANSI, Shift_JIS as Windows maps it), 20932 (EUC-JP), 50220 (ISO-2022-JP),
// 65000 (UTF-7), 65001 (UTF-8). The mappings come from ICU (932) and glibc iconv
// (20932), read once per process into tables with the differences to Windows mended
// (platform/codepage/codePageTables.h); the conversions then run on those tables.
// Input stops at the first terminator (a zero byte, a zero code unit).

#include "platform/myBase.h"

namespace magna::platform {

constexpr unsigned CP_ANSI = 932;
constexpr unsigned CP_EUCJP = 20932;
constexpr unsigned CP_ISO2022JP = 50220;
constexpr unsigned CP_UTF7 = 65000;
constexpr unsigned CP_UTF8 = 65001;

/// Flags of WideToMultiByte, as Windows numbers them.
enum ConvertFlags : unsigned {
  WC_NONE = 0,
  WC_COMPOSITECHECK = 0x200,     // base + combining mark joined into the precomposed form first
  WC_NO_BEST_FIT_CHARS = 0x400,  // only exact mappings; everything else is the default char
};

/// Bytes of a code page to UTF-16; invalid sequences become replacement characters.
/// An unknown code page gives the empty text.
WideString MultiByteToWide(unsigned codePage, std::string_view bytes);

/// UTF-16 to a code page. For 932 and 20932 an unmappable character becomes
/// the default character ("?"), and *usedDefault (when given) reports whether
/// that happened; other code pages ignore both.
AnsiString WideToMultiByte(unsigned codePage, WideView text, unsigned flags = WC_NONE,
                           bool* usedDefault = nullptr, char defaultChar = '?');

/// Bytes as little-endian (or big-endian) UTF-16 code units, up to the first zero unit;
/// an odd last byte is the low byte of a last unit (the high byte of one, big-endian).
WideString Utf16BytesToWide(std::string_view bytes, bool bigEndian);

/// The exact code page 932 code of one code unit: a byte (below 0x100) or a lead and trail
/// byte pair; 0 when the unit has no exact mapping (surrogates, U+0000 included).
uint16_t AnsiCodeOf(char16_t unit);

/// The default character of the ANSI code page.
constexpr char AnsiDefaultChar() {
  return '?';
}

}  // namespace magna::platform
