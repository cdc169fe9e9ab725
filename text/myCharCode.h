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
/// `code` is both the request and the result: cdAuto (or any value above 11) detects the
/// code and stores it (a byte order mark is then skipped); a named code is used as it is
/// and keeps a byte order mark as a leading U+FEFF. The text ends at the file's first
/// zero byte (zero unit in the UTF-16 codes). A missing or empty file gives the empty
/// text at once and leaves `code` unchanged.
WideString ReadTextFile(const WideString& fileName, TMyCharCode& code);
/// As ReadTextFile, but a zero byte (a zero unit in the UTF-16 codes) does not end the
/// text: it reads as U+0000 and what follows is read too. For files that are written
/// back whole, such as the settings file.
WideString ReadWholeTextFile(const WideString& fileName, TMyCharCode& code);
/// Reads `count` bytes of the file: four attempts 200 ms apart, letting the user interface
/// process pending messages between them, then a beep and empty text. `code` as for
/// ReadTextFile; count 0 gives the empty text at once.
WideString ReadTextFileBytes(const WideString& fileName, TMyCharCode& code, uint64_t count);
/// Writes text in `code`; false when the file could not be written whole. A failed
/// write leaves the previous content of the file in place. cdAuto writes Shift_JIS when
/// every character fits and detection takes the bytes for Shift_JIS again, else UTF-8
/// with its mark: what is written with cdAuto reads back with cdAuto unchanged.
[[nodiscard]] bool WriteTextFile(const WideString& fileName, const WideString& text,
                                 TMyCharCode code);

/// The code of a sample: byte order mark, then the detector, then GuessSJisOrUtf16.
/// `wholeFile`: the sample is the whole file (a sequence cut by its end was cut with the
/// file: weak evidence against the code).
TMyCharCode DetectCharCode(const char* bytes, size_t count, bool wholeFile = false);
/// The detector's best guess as a code page number, 1252 when it has none.
unsigned DetectCodePage(const char* bytes, size_t count, bool wholeFile = false);
/// 1200 and 1201 the UTF-16 codes, the EUC and ISO-2022 families their Japanese member,
/// 65000 UTF-7, 65001 cdUTF_8N, anything else cdSJis.
TMyCharCode CharCodeOfCodePage(unsigned codePage);
/// The program's own guess between Shift_JIS and UTF-16 for a sample (count >= 1):
/// cdSJis, cdUTF_16LE or cdUTF_16BE. Lead bytes are those of code page 932 (81..9F,
/// E0..FC). Zero bytes are counted by parity: zeros at both parities alike, or a few
/// (under a quarter of the units) in otherwise valid Shift_JIS, give cdSJis; zeros mostly
/// at odd offsets give cdUTF_16LE, at even offsets cdUTF_16BE; without zeros, valid
/// Shift_JIS is cdSJis, else cdUTF_16LE when at least 1 % of the little-endian units are
/// kana, cdUTF_16BE otherwise.
TMyCharCode GuessSJisOrUtf16(const char* bytes, size_t count);

/// Whether some character of the text (up to its first U+0000) has no exact mapping in
/// code page 932.
bool NeedsUnicode(WideView text);

// The single conversions. Each stops at the first terminator of its input (a zero
// code unit, a zero byte): what follows it is not converted. Invalid bytes become
// U+FFFD; characters a code cannot hold become its default character ("?" in code
// pages 932 and 20932, a substitute in the others).
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

/// Rows of 16 bytes: hex column, tab, character column, CR. The user interface processes
/// its pending messages once after each row (the world may change during the call).
AnsiString HexDump(const char* bytes, size_t count);

/// CR LF, CR or LF.
WideString NewLineText(TMyNewLine newLine);

}  // namespace magna
