#pragma once
// Small stateless helpers on text, numbers, paths, files, the clipboard and the
// program itself. Path rules: backslash, slash and colon separate (each function
// says which it honours). File queries understand "*" and "?" as Windows does.

#include <cstdint>
#include "platform/myBase.h"
#include "platform/myLocale.h"

namespace magna {

namespace platform {
class ClipboardService;
}

// Numbers
/// Tolerant parse: trims, maps full-width to half-width, reads decimal, $hex, 0xhex,
/// skips thousands separators; 0 for anything unreadable. Never raises.
int64_t ParseInteger(const WideString& text);
/// min when min = max or value < min, else max when value > max, else value.
int32_t EnsureRange(int32_t value, int32_t min, int32_t max);
int64_t EnsureRange(int64_t value, int64_t min, int64_t max);
/// Out: the high 16 bits (arithmetic shift) and the low 16 bits of value.
void SplitLongToWords(int32_t value, int16_t& high, int16_t& low);
/// Right - Left; EIntOverflow when it does not fit 32 bits.
int32_t RectWidth(const TRect& r);
int32_t RectHeight(const TRect& r);
/// Full-width Latin letters, digits and signs to ASCII, full-width katakana to half-width.
WideString ToHalfWidth(const WideString& text);

// Strings
/// The text without the prefix (suffix) when it starts (ends) with it, exactly; else the text.
WideString RemovePrefix(const WideString& text, const WideString& prefix);
WideString RemoveSuffix(const WideString& text, const WideString& suffix);
/// The text with the suffix appended unless it already ends with it.
WideString IncludeSuffix(const WideString& text, const WideString& suffix);
/// Longest leading part of the first n characters (all when n < 0) made of `set`;
/// ERangeError when n exceeds the text and every character belongs to the set.
WideString LeadingRun(const WideString& text, const WideString& set, int n);
/// Text before the first "=" (at position 2 or later), trimmed; else empty.
WideString NameOfNameValue(const WideString& text);
/// Whether some item of a list (anything with Count() and Get(i)), in index order,
/// equals text ignoring case (locale comparison).
template <class List>
bool ContainsText(const List& list, const WideString& text) {
  for (int i = 0; i < list.Count(); ++i)
    if (platform::SameTextLocale(list.Get(i), text)) return true;
  return false;
}
/// Blanks and control characters (code units up to U+0020) removed at both ends.
WideString TrimBlanks(WideView text);
/// Every non-overlapping occurrence of find replaced, searching left to right;
/// case-insensitive comparison upper-cases code unit by code unit.
WideString WideReplaceAll(const WideString& text, const WideString& find,
                          const WideString& replacement, bool caseSensitive);

// Paths and files. None fails: an empty path gives empty parts.
/// Up to and including the last backslash or slash ("C:\a\" of "C:\a\b.txt"); a
/// drive prefix gets a backslash ("C:\" of "C:b.txt"); empty without a separator.
WideString ExtractDir(const WideString& path);
/// The text after the last backslash, slash or colon; the whole text without one.
WideString ExtractName(const WideString& path);
/// ExtractName without its last extension (".profile" gives the empty text).
WideString ExtractBaseName(const WideString& path);
/// The last extension with its full stop; empty when a separator follows the last stop.
WideString ExtractExt(const WideString& path);
/// Out: the folder without its last backslash or slash (a drive prefix keeps its
/// colon) and the name after it; an empty folder and the whole text without one.
void SplitPath(const WideString& path, WideString& dir, WideString& name);
/// Changes the last extension; only backslash and colon end the search (not slash).
WideString ChangeExt(const WideString& path, const WideString& ext);
/// Whether a file (not a folder) has the name; with wildcards, whether the folder
/// part names a folder holding a matching file. False for the empty name.
bool FileExists(const WideString& name);
/// The file's size, with wildcards the first matching file's; 0 when not available.
uint64_t FileSizeOf(const WideString& name);
/// 100-ns intervals since 1601-01-01 UTC; 0 when not available.
uint64_t FileWriteTime(const WideString& name);
uint64_t FileCreationTime(const WideString& name);
/// The file system's name for a program path: UTF-8, with the escapes of bytes that
/// are not UTF-8 turned back into those bytes (platform/nativeNames.h).
std::string NativePath(const WideString& name);

// Clipboard and program
/// The clipboard's text, Unicode preferred over ANSI (code page 932); empty when it
/// has none or can't be opened. The clipboard is closed again on every path.
WideString GetClipboardText();
/// The same read from another clipboard of the platform (the X11 selection).
WideString GetClipboardText(platform::ClipboardService& clipboard);
/// Puts a non-empty text on the clipboard; false when the text is empty or the
/// clipboard could not be opened (nothing was put there then).
bool SetClipboardText(const WideString& text);
/// The running program file's full path; the first process argument when the
/// system does not say.
WideString ApplicationFileName();

struct TMyFileVersionInfo {
  WideString Comments;
  WideString CompanyName;
  WideString FileDescription;
  WideString FileVersion;
  WideString InternalName;
  WideString LegalCopyright;
  WideString LegalTrademarks;
  WideString OriginalFilename;
  WideString PrivateBuild;
  WideString ProductName;
  WideString ProductVersion;
  WideString SpecialBuild;
};

/// The file's version texts; every field empty that the file's record lacks (all
/// when it has none or can't be read).
TMyFileVersionInfo ReadVersionInfo(const WideString& fileName);
/// The program's ProductName, else the program file's base name.
WideString ApplicationTitle();
/// A modal box with the text, captioned ApplicationTitle(); returns when it is closed.
void ShowMessageBox(const WideString& text);

}  // namespace magna
