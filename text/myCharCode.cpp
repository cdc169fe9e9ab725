#include "text/myCharCode.h"

#include <algorithm>
#include <cstdio>

#include "platform/codepage/charsetDetector.h"
#include "platform/codepage/codePage.h"
#include "platform/services.h"
#include "text/myCharCodeFile.h"
#include "text/myUtils.h"

namespace magna {

using platform::WC_COMPOSITECHECK;
using platform::WC_NO_BEST_FIT_CHARS;

// ---- single conversions -------------------------------------------------------------

AnsiString WideToUtf8(WideView text) {
  return platform::WideToMultiByte(platform::CP_UTF8, text);
}
WideString Utf8ToWide(std::string_view bytes) {
  return platform::MultiByteToWide(platform::CP_UTF8, bytes);
}
AnsiString WideToUtf7(WideView text) {
  return platform::WideToMultiByte(platform::CP_UTF7, text);
}
WideString Utf7ToWide(std::string_view bytes) {
  return platform::MultiByteToWide(platform::CP_UTF7, bytes);
}
AnsiString WideToJis(WideView text) {
  return platform::WideToMultiByte(platform::CP_ISO2022JP, text);
}
WideString JisToWide(std::string_view bytes) {
  return platform::MultiByteToWide(platform::CP_ISO2022JP, bytes);
}
AnsiString WideToEuc(WideView text) {
  return platform::WideToMultiByte(platform::CP_EUCJP, text, WC_COMPOSITECHECK);
}
WideString EucToWide(std::string_view bytes) {
  return platform::MultiByteToWide(platform::CP_EUCJP, bytes);
}
AnsiString WideToAnsi(WideView text) {
  return platform::WideToMultiByte(platform::CP_ANSI, text, WC_COMPOSITECHECK);
}
WideString AnsiToWide(std::string_view bytes) {
  return platform::MultiByteToWide(platform::CP_ANSI, bytes);
}

bool NeedsUnicode(WideView text) {
  bool usedDefault = false;
  platform::WideToMultiByte(platform::CP_ANSI, text, WC_NO_BEST_FIT_CHARS, &usedDefault);
  return usedDefault;
}

// ---- escaped ANSI -------------------------------------------------------------------

namespace {

/// Whether a unit must be written as "$XXXX": the escape sign, units without an exact
/// mapping, U+0001 (the conversion's default byte) and U+0000 (a terminator on reading).
bool NeedsEscape(char16_t unit) {
  return unit == u'$' || unit <= 1 || platform::AnsiCodeOf(unit) == 0;
}

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

/// The unit of "$XXXX" at text[i] (i at the "$"), or -1 when no escape starts there.
int EscapeAt(WideView text, size_t i) {
  if (text.size() - i < 5) return -1;
  int value = 0;
  for (size_t k = i + 1; k < i + 5; ++k) {
    int digit = HexDigitValue(text[k]);
    if (digit < 0) return -1;
    value = value << 4 | digit;
  }
  return value;
}

}  // namespace

AnsiString WideToEscapedAnsi(WideView text) {
  bool plain = true;
  for (char16_t unit : text) plain = plain && !NeedsEscape(unit);
  if (plain) return WideToAnsi(text);
  AnsiString bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    uint16_t code = platform::AnsiCodeOf(unit);
    if (NeedsEscape(unit)) {
      char escape[6];
      std::snprintf(escape, sizeof escape, "$%04X", static_cast<unsigned>(unit));
      bytes.append(escape, 5);
    } else if (code < 0x100) {
      bytes += static_cast<char>(code);
    } else {
      bytes += static_cast<char>(code >> 8);
      bytes += static_cast<char>(code & 0xFF);
    }
  }
  return bytes;
}

WideString EscapedAnsiToWide(std::string_view bytes) {
  WideString text = AnsiToWide(bytes);
  WideString result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    int unit = text[i] == u'$' ? EscapeAt(text, i) : -1;
    if (unit < 0) {
      result += text[i];
    } else {
      result += static_cast<char16_t>(unit);
      i += 4;
    }
  }
  return result;
}

// ---- hex dump, line breaks ----------------------------------------------------------

namespace {

constexpr size_t kDumpRow = 16;

bool IsAnsiLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

/// The character column's byte for position k (0-based) of a row.
char DumpChar(const unsigned char* row, size_t k) {
  unsigned char b = row[k];
  if (b < 0x20 || b == 0x7F || b >= 0xFD) return '.';
  if (IsAnsiLeadByte(b) && k == kDumpRow - 1) return '.';
  if (b == 0xA0 && k > 0 && !IsAnsiLeadByte(row[k - 1])) return '.';
  return static_cast<char>(b);
}

void AppendDumpRow(AnsiString& out, const unsigned char* row, size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  for (size_t k = 0; k < kDumpRow; ++k) {
    if (k == 8) out += n > 8 ? "- " : "  ";
    if (k < n) {
      out += digits[row[k] >> 4];
      out += digits[row[k] & 15];
      out += ' ';
    } else {
      out += "   ";
    }
  }
  out += '\t';
  for (size_t k = 0; k < kDumpRow; ++k) out += k < n ? DumpChar(row, k) : ' ';
  out += '\r';
}

}  // namespace

AnsiString HexDump(const char* bytes, size_t count) {
  AnsiString out;
  out.reserve((count + kDumpRow - 1) / kDumpRow * 68);
  auto p = reinterpret_cast<const unsigned char*>(bytes);
  for (size_t at = 0; at < count; at += kDumpRow) {
    AppendDumpRow(out, p + at, std::min(kDumpRow, count - at));
    platform::Ui().ProcessMessages();
  }
  return out;
}

WideString NewLineText(TMyNewLine newLine) {
  switch (newLine) {
    case nlCR: return u"\r";
    case nlLF: return u"\n";
    default: return u"\r\n";
  }
}

// ---- detection ------------------------------------------------------------------------

unsigned DetectCodePage(const char* bytes, size_t count) {
  return platform::DetectInputCodepage(std::string_view(bytes, count)).value_or(1252);
}

TMyCharCode CharCodeOfCodePage(unsigned codePage) {
  switch (codePage) {
    case 1200: return cdUTF_16LE;
    case 1201: return cdUTF_16BE;
    case 20932:
    case 51932:
    case 51936:
    case 51949: return cdEUC;
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227: return cdJIS;
    case 65000: return cdUTF_7;
    case 65001: return cdUTF_8N;
    default: return cdSJis;
  }
}

namespace {

/// The byte order mark the sample starts with: the code and the mark's length.
bool ByteOrderMark(const char* bytes, size_t count, TMyCharCode& code, size_t& length) {
  std::string_view s(bytes, count);
  if (count > 2 && s.substr(0, 3) == "\xEF\xBB\xBF") {
    code = cdUTF_8;
    length = 3;
  } else if (count > 1 && s.substr(0, 2) == "\xFF\xFE") {
    code = cdUnicodeLE;
    length = 2;
  } else if (count > 1 && s.substr(0, 2) == "\xFE\xFF") {
    code = cdUnicodeBE;
    length = 2;
  } else {
    return false;
  }
  return true;
}

}  // namespace

TMyCharCode DetectCharCode(const char* bytes, size_t count) {
  TMyCharCode code;
  size_t markLength;
  if (ByteOrderMark(bytes, count, code, markLength)) return code;
  code = CharCodeOfCodePage(DetectCodePage(bytes, count));
  if (code != cdSJis || count == 0) return code;
  return GuessSJisOrUtf16(bytes, count);
}

namespace {

bool IsGuessLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
}

/// Whether a byte that is neither zero nor a lead byte is valid Shift_JIS where it stands.
bool ValidSJisByte(unsigned char b, bool afterLead) {
  if (b == 0x7F || b >= 0xFD) return false;
  if (b <= 0x3F) return !afterLead;
  if (b == 0x80 || b == 0xA0 || b >= 0xF0) return afterLead;
  return true;
}

/// Whether at least 1 % of the sample's little-endian code units are kana.
bool MostlyKanaLittleEndian(const unsigned char* p, size_t count) {
  size_t units = 0, kana = 0;
  for (size_t i = 0; i < count; i += 2, ++units) {
    unsigned unit = p[i] | (i + 1 < count ? p[i + 1] << 8 : 0);
    if (unit == 0) break;
    if ((unit >= 0x3041 && unit <= 0x3093) || (unit >= 0x30A1 && unit <= 0x30F6)) ++kana;
  }
  return units > 0 && static_cast<double>(kana) / static_cast<double>(units) * 100 >= 1.0;
}

}  // namespace

TMyCharCode GuessSJisOrUtf16(const char* bytes, size_t count) {
  auto p = reinterpret_cast<const unsigned char*>(bytes);
  bool zeroAtOdd = false, zeroAtEven = false, inDoubleByte = false;
  bool validSJis = true, couldBeUtf16 = true;
  for (size_t i = 0; i < count && couldBeUtf16; ++i) {
    unsigned char b = p[i];
    if (b == 0) {
      inDoubleByte = false;
      validSJis = false;
      bool odd = i % 2 == 1;
      if (odd ? zeroAtEven : zeroAtOdd)
        couldBeUtf16 = false;
      else
        (odd ? zeroAtOdd : zeroAtEven) = true;
    } else if (IsGuessLeadByte(b)) {
      inDoubleByte = !inDoubleByte;
    } else {
      if (!ValidSJisByte(b, inDoubleByte)) validSJis = false;
      inDoubleByte = false;
    }
  }
  if (!couldBeUtf16 || validSJis) return cdSJis;
  if (zeroAtOdd) return cdUTF_16LE;
  if (zeroAtEven) return cdUTF_16BE;
  return MostlyKanaLittleEndian(p, count) ? cdUTF_16LE : cdUTF_16BE;
}

// ---- files ----------------------------------------------------------------------------

namespace {

WideString DecodeBuffer(const std::string& buffer, size_t read, TMyCharCode& code, size_t skip) {
  std::string_view content(buffer.data() + skip, read - skip);
  switch (code) {
    case cdBINDUMP: return AnsiToWide(HexDump(buffer.data(), read));
    case cdUTF_8:
    case cdUTF_8N: return Utf8ToWide(content);
    case cdUnicodeLE:
    case cdUTF_16LE: return platform::Utf16BytesToWide(content, false);
    case cdUnicodeBE:
    case cdUTF_16BE: return platform::Utf16BytesToWide(content, true);
    case cdUTF_7: return Utf7ToWide(content);
    case cdJIS: return JisToWide(content);
    case cdEUC: return EucToWide(content);
    default: code = cdSJis; return AnsiToWide(content);
  }
}

}  // namespace

WideString ReadTextFileBytes(const WideString& fileName, TMyCharCode& code, uint64_t count) {
  if (count == 0) return {};
  std::string buffer;
  size_t read = 0;
  if (!ReadFileWithRetries(NativePath(fileName), count, buffer, read)) platform::Ui().Beep();
  if (read == 0) return {};
  if (code > cdBINDUMP) code = cdAuto;
  size_t skip = 0;
  if (code == cdAuto && !ByteOrderMark(buffer.data(), read, code, skip))
    code = DetectCharCode(buffer.data(), std::min<size_t>(read, 1024));
  return DecodeBuffer(buffer, read, code, skip);
}

WideString ReadTextFile(const WideString& fileName, TMyCharCode& code) {
  uint64_t size = NonDirectorySize(NativePath(fileName));
  if (size >= (uint64_t{1} << 32)) throw ERangeError("File is 4 GiB or larger");
  return ReadTextFileBytes(fileName, code, size);
}

namespace {

AnsiString Utf16Bytes(WideView text, bool bigEndian, bool withMark) {
  if (!text.empty() && text[0] == 0xFEFF) text.remove_prefix(1);
  AnsiString bytes;
  bytes.reserve(text.size() * 2 + 2);
  if (withMark) bytes += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

AnsiString Utf8Bytes(WideView text, bool withMark) {
  AnsiString bytes = WideToUtf8(text);
  bool hasMark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
  if (hasMark != withMark) {
    if (hasMark)
      bytes.erase(0, 3);
    else
      bytes.insert(0, "\xEF\xBB\xBF");
  }
  return bytes;
}

/// The whole content of a file written in `code`.
AnsiString EncodeForFile(WideView text, TMyCharCode code) {
  switch (code) {
    case cdUTF_8: return Utf8Bytes(text, true);
    case cdUTF_8N: return Utf8Bytes(text, false);
    case cdUTF_7: return WideToUtf7(text);
    case cdUnicodeLE: return Utf16Bytes(text, false, true);
    case cdUTF_16LE: return Utf16Bytes(text, false, false);
    case cdUnicodeBE: return Utf16Bytes(text, true, true);
    case cdUTF_16BE: return Utf16Bytes(text, true, false);
    case cdJIS: return WideToJis(text);
    case cdEUC: return WideToEuc(text);
    case cdAuto:
      if (NeedsUnicode(text)) return Utf8Bytes(text, true);
      [[fallthrough]];
    default: return WideToAnsi(text);
  }
}

}  // namespace

bool WriteTextFile(const WideString& fileName, const WideString& text, TMyCharCode code) {
  try {
    return ReplaceFileContent(NativePath(fileName), EncodeForFile(text, code));
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace magna
