#include "text/myCharCode.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/codepage/charsetDetector.h"
#include "platform/codepage/codePage.h"
#include "platform/log.h"
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

unsigned DetectCodePage(const char* bytes, size_t count, bool wholeFile) {
  return platform::DetectInputCodepage(std::string_view(bytes, count), wholeFile).value_or(1252);
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

TMyCharCode DetectCharCode(const char* bytes, size_t count, bool wholeFile) {
  TMyCharCode code;
  size_t markLength;
  if (ByteOrderMark(bytes, count, code, markLength)) return code;
  code = CharCodeOfCodePage(DetectCodePage(bytes, count, wholeFile));
  if (code != cdSJis || count == 0) return code;
  return GuessSJisOrUtf16(bytes, count);
}

namespace {

/// Lead bytes of code page 932: 81..9F and E0..FC. F0..F9 (user-defined characters) and
/// FA..FC (the IBM extensions: ⅰ, ￤, 髙, 﨑, common in names) are lead bytes as much as
/// E0..EF are; a guess that knew only 81..9F and E0..EF took such text for UTF-16.
bool IsGuessLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

/// Whether a byte that is neither zero nor a lead byte is valid Shift_JIS where it stands.
bool ValidSJisByte(unsigned char b, bool afterLead) {
  if (b == 0x7F || b >= 0xFD) return false;
  if (b <= 0x3F) return !afterLead;
  if (b == 0x80 || b == 0xA0) return afterLead;
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
  // Zero bytes are counted by parity rather than flagged: UTF-16 of ASCII-rich text has
  // one in nearly every unit at one parity, while a few zeros appended to a Shift_JIS
  // file (what a crash leaves behind) must not turn it into UTF-16.
  size_t zeroAtOdd = 0, zeroAtEven = 0;
  bool inDoubleByte = false, validSJis = true;
  for (size_t i = 0; i < count; ++i) {
    unsigned char b = p[i];
    if (b == 0) {
      inDoubleByte = false;
      ++(i % 2 == 1 ? zeroAtOdd : zeroAtEven);
    } else if (IsGuessLeadByte(b)) {
      inDoubleByte = !inDoubleByte;
    } else {
      if (!ValidSJisByte(b, inDoubleByte)) validSJis = false;
      inDoubleByte = false;
    }
  }
  const size_t more = std::max(zeroAtOdd, zeroAtEven), fewer = std::min(zeroAtOdd, zeroAtEven);
  if (more == 0)
    return validSJis ? cdSJis : MostlyKanaLittleEndian(p, count) ? cdUTF_16LE : cdUTF_16BE;
  if (more < 2 * fewer) return cdSJis;  // zeros at both parities alike: no byte order
  if (validSJis && more * 8 < count) return cdSJis;
  return zeroAtOdd > zeroAtEven ? cdUTF_16LE : cdUTF_16BE;
}

// ---- files ----------------------------------------------------------------------------

namespace {

/// The offset of the first zero unit (`unit` bytes, aligned) at or after `from`, or the size.
size_t NextZero(std::string_view bytes, size_t from, size_t unit) {
  for (size_t i = from; i + unit <= bytes.size(); i += unit)
    if (bytes[i] == 0 && (unit == 1 || bytes[i + 1] == 0)) return i;
  return bytes.size();
}

/// The decoders stop at the first zero; for a text that goes on after its zeros, each
/// piece between them is decoded on its own and every zero becomes U+0000.
template <class Decode>
WideString DecodePieces(std::string_view bytes, size_t unit, Decode decode) {
  WideString text;
  for (size_t start = 0;;) {
    const size_t zero = NextZero(bytes, start, unit);
    text += decode(bytes.substr(start, zero - start));
    if (zero == bytes.size()) return text;
    text += u'\0';
    start = zero + unit;
  }
}

WideString Utf16LittleEndian(std::string_view bytes) {
  return platform::Utf16BytesToWide(bytes, false);
}
WideString Utf16BigEndian(std::string_view bytes) {
  return platform::Utf16BytesToWide(bytes, true);
}

/// The decoder of a code, and the size of its terminator.
WideString (*DecoderOf(TMyCharCode code, size_t& unit))(std::string_view) {
  unit = 1;
  switch (code) {
    case cdUTF_8:
    case cdUTF_8N: return Utf8ToWide;
    case cdUnicodeLE:
    case cdUTF_16LE: unit = 2; return Utf16LittleEndian;
    case cdUnicodeBE:
    case cdUTF_16BE: unit = 2; return Utf16BigEndian;
    case cdUTF_7: return Utf7ToWide;
    case cdJIS: return JisToWide;
    case cdEUC: return EucToWide;
    default: return AnsiToWide;
  }
}

/// The text of a file's bytes in `code` (cdBINDUMP dumps them); `skip` bytes of mark
/// are left out. keepZeros: zeros do not end the text.
WideString DecodeBuffer(const std::string& buffer, size_t read, TMyCharCode& code, size_t skip,
                        bool keepZeros) {
  if (code == cdBINDUMP) return AnsiToWide(HexDump(buffer.data(), read));
  if (code < cdSJis || code > cdEUC) code = cdSJis;
  size_t unit;
  const auto decode = DecoderOf(code, unit);
  const std::string_view content(buffer.data() + skip, read - skip);
  return keepZeros ? DecodePieces(content, unit, decode) : decode(content);
}

/// Detection looks at the first bytes only: a whole file's worth only for small files.
constexpr size_t kDetectionSample = 1024;

/// The code automatic detection finds for a file's bytes (`skip`: the mark's length).
/// `toTheEnd`: the bytes are all the file holds, not the first bytes of a longer one.
TMyCharCode DetectFileCode(const char* bytes, size_t read, size_t& skip, bool toTheEnd) {
  TMyCharCode code;
  skip = 0;
  if (ByteOrderMark(bytes, read, code, skip)) return code;
  return DetectCharCode(bytes, std::min(read, kDetectionSample),
                        toTheEnd && read <= kDetectionSample);
}

/// Whether `read` bytes of the file, `count` asked for, are all of it: a read of the
/// first bytes of a longer file is a sample, cut wherever the count fell.
bool ReadToTheEnd(const WideString& fileName, uint64_t count, size_t read) {
  return read < count || read >= NonDirectorySize(NativePath(fileName));
}

WideString ReadFileText(const WideString& fileName, TMyCharCode& code, uint64_t count,
                        bool keepZeros) {
  if (count == 0) return {};
  std::string buffer;
  size_t read = 0;
  errno = 0;
  if (!ReadFileWithRetries(NativePath(fileName), count, buffer, read)) {
    // The caller gets what could be read (or nothing) and the user a beep; the reason
    // is known only here.
    platform::LogNamedWarning(platform::kLogText, "reading", fileName,
                              platform::ErrorNumberReason(errno));
    platform::Ui().Beep();
  }
  if (read == 0) return {};
  if (code > cdBINDUMP) code = cdAuto;
  size_t skip = 0;
  if (code == cdAuto)
    code = DetectFileCode(buffer.data(), read, skip, ReadToTheEnd(fileName, count, read));
  return DecodeBuffer(buffer, read, code, skip, keepZeros);
}

uint64_t SizeToRead(const WideString& fileName) {
  uint64_t size = NonDirectorySize(NativePath(fileName));
  if (size >= (uint64_t{1} << 32)) throw ERangeError("File is 4 GiB or larger");
  return size;
}

}  // namespace

WideString ReadTextFileBytes(const WideString& fileName, TMyCharCode& code, uint64_t count) {
  return ReadFileText(fileName, code, count, false);
}

WideString ReadTextFile(const WideString& fileName, TMyCharCode& code) {
  return ReadFileText(fileName, code, SizeToRead(fileName), false);
}

WideString ReadWholeTextFile(const WideString& fileName, TMyCharCode& code) {
  return ReadFileText(fileName, code, SizeToRead(fileName), true);
}

namespace {

/// Calls f(piece) for each piece of the text between its U+0000 units, in order.
template <class F>
void ForEachPiece(WideView text, F f) {
  for (size_t start = 0;;) {
    const size_t zero = text.find(u'\0', start);
    f(text.substr(start, zero == WideView::npos ? WideView::npos : zero - start));
    if (zero == WideView::npos) return;
    start = zero + 1;
  }
}

/// A byte conversion of a text that may hold U+0000. The conversions stop at the first
/// zero unit, which would drop what follows it from the file: each piece is converted on
/// its own and every U+0000 is written as a zero byte.
template <class Convert>
AnsiString ConvertPieces(WideView text, Convert convert) {
  AnsiString bytes;
  ForEachPiece(text, [&](WideView piece) {
    if (piece.data() != text.data()) bytes += '\0';
    bytes += convert(piece);
  });
  return bytes;
}

bool AnyPieceNeedsUnicode(WideView text) {
  bool needs = false;
  ForEachPiece(text, [&needs](WideView piece) { needs = needs || NeedsUnicode(piece); });
  return needs;
}

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
  AnsiString bytes = ConvertPieces(text, WideToUtf8);
  bool hasMark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
  if (hasMark != withMark) {
    if (hasMark)
      bytes.erase(0, 3);
    else
      bytes.insert(0, "\xEF\xBB\xBF");
  }
  return bytes;
}

/// Shift_JIS when every character fits and detection will take the bytes for Shift_JIS
/// again; UTF-8 with its mark otherwise. Some Shift_JIS texts are also valid in another
/// code and read likelier so (a few kanji that are well-formed UTF-8, half-width katakana
/// that are EUC-JP kanji); writing them as Shift_JIS would change them on the next read.
AnsiString AutoBytes(WideView text) {
  if (AnyPieceNeedsUnicode(text)) return Utf8Bytes(text, true);
  AnsiString bytes = ConvertPieces(text, WideToAnsi);
  size_t skip;
  if (DetectFileCode(bytes.data(), bytes.size(), skip, true) != cdSJis)
    return Utf8Bytes(text, true);
  return bytes;
}

/// The whole content of a file written in `code`.
AnsiString EncodeForFile(WideView text, TMyCharCode code) {
  switch (code) {
    case cdUTF_8: return Utf8Bytes(text, true);
    case cdUTF_8N: return Utf8Bytes(text, false);
    case cdUTF_7: return ConvertPieces(text, WideToUtf7);
    case cdUnicodeLE: return Utf16Bytes(text, false, true);
    case cdUTF_16LE: return Utf16Bytes(text, false, false);
    case cdUnicodeBE: return Utf16Bytes(text, true, true);
    case cdUTF_16BE: return Utf16Bytes(text, true, false);
    case cdJIS: return ConvertPieces(text, WideToJis);
    case cdEUC: return ConvertPieces(text, WideToEuc);
    case cdAuto: return AutoBytes(text);
    default: return ConvertPieces(text, WideToAnsi);
  }
}

}  // namespace

bool WriteTextFile(const WideString& fileName, const WideString& text, TMyCharCode code) {
  // The callers learn only that the write failed; the reason is logged here.
  try {
    errno = 0;
    if (ReplaceFileContent(NativePath(fileName), EncodeForFile(text, code))) return true;
    platform::LogNamedWarning(platform::kLogText, "writing", fileName,
                              platform::ErrorNumberReason(errno));
  } catch (const std::exception& e) {
    platform::LogNamedWarning(platform::kLogText, "writing", fileName, e.what());
  }
  return false;
}

}  // namespace magna
