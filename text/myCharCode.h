#pragma once
// Character codes: the only place where text meets bytes. Reads files into UTF-16
// text (detecting the code when asked), writes text in a chosen code, and offers
// the single conversions other modules need. Conversions never fail: unmappable
// characters become the code page's default character, invalid bytes U+FFFD.
// The ANSI code page is always 932 (Shift_JIS).

#include <cstdint>

#include "platform/myBase.h"

namespace magna {

/// The character codes a text file is read or written in (values 0..11 are stored).
enum TMyCharCode : uint8_t {
  cdAuto,
  cdSJis,
  cdUnicodeLE,
  cdUTF_16LE,
  cdUnicodeBE,
  cdUTF_16BE,
  cdUTF_8,
  cdUTF_8N,
  cdUTF_7,
  cdJIS,
  cdEUC,
  cdBINDUMP,
};

/// Line-break styles: CR LF, CR, LF.
enum TMyNewLine : uint8_t { nlCRLF, nlCR, nlLF };

/// Reads the whole named file (size from the file system). Raises ERangeError for 4 GiB or more.
WideString ReadTextFile(const WideString& fileName, TMyCharCode& code);
/// Reads `count` bytes of the file: four attempts 200 ms apart, then a beep and empty text.
WideString ReadTextFileBytes(const WideString& fileName, TMyCharCode& code, uint64_t count);
/// Writes text in `code`; false when the file could not be written whole. A failed
/// write leaves the previous content of the file in place.
[[nodiscard]] bool WriteTextFile(const WideString& fileName, const WideString& text,
                                 TMyCharCode code);

TMyCharCode DetectCharCode(const char* bytes, size_t count);
/// The detector's best guess as a code page number, 1252 when it has none.
unsigned DetectCodePage(const char* bytes, size_t count);
TMyCharCode CharCodeOfCodePage(unsigned codePage);
/// cdSJis, cdUTF_16LE or cdUTF_16BE; count >= 1.
TMyCharCode GuessSJisOrUtf16(const char* bytes, size_t count);

/// Whether some character of the text has no exact mapping in code page 932.
bool NeedsUnicode(WideView text);

AnsiString WideToUtf8(WideView text);
WideString Utf8ToWide(std::string_view bytes);
AnsiString WideToUtf7(WideView text);
WideString Utf7ToWide(std::string_view bytes);
AnsiString WideToJis(WideView text);
WideString JisToWide(std::string_view bytes);
AnsiString WideToEuc(WideView text);
WideString EucToWide(std::string_view bytes);
/// Code page 932 with best fit and composite check; "?" for characters without either.
AnsiString WideToAnsi(WideView text);
WideString AnsiToWide(std::string_view bytes);

/// Code page 932 bytes that lose no code unit: "$XXXX" escapes where needed.
AnsiString WideToEscapedAnsi(WideView text);
WideString EscapedAnsiToWide(std::string_view bytes);

/// Rows of 16 bytes: hex column, tab, character column, CR.
AnsiString HexDump(const char* bytes, size_t count);

/// CR LF, CR or LF.
WideString NewLineText(TMyNewLine newLine);

}  // namespace magna
