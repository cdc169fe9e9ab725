#pragma once
// TMyIniFile: the settings file, an INI file that may hold any Unicode text.
// The whole file is read once at creation and kept as lines; one section at a
// time is worked on through a cached copy; the file is written back in one piece
// by UpdateFile, which the destructor calls, when something changed.
//
// File format (only this is recognised):
//  - Encoding: the write code; with cdAuto Shift_JIS when every character fits,
//    else UTF-8 with byte order mark. Reading with cdAuto detects the code. A byte
//    order mark never belongs to the first line, whatever the read code.
//  - Lines end in CR LF, CR or LF; the file is written with the style it was read
//    with (CR LF for a new file), the last line included.
//  - Header: a line that, trimmed of blanks and control characters (up to U+0020),
//    begins with "["; the text up to the first "]" (not directly after "[" and
//    its spaces), trimmed, is the section name and must not be empty.
//  - A section runs from its header to the next header. Lines before the first
//    header are kept and never read. Names compare ignoring case (locale);
//    only the first section of a name is found; later ones are kept until that
//    name is written or erased (see below).
//  - Entry: a line whose text before the first "=", trimmed, is not empty; the
//    value is everything after that "=", untrimmed. The last occurrence of a
//    name wins. Other lines of a section (blank, comments, lines without a name)
//    are dropped when that section is written back. No quoting or escaping.
//  - A write never changes the file's structure: a value or name holding CR, LF or
//    U+0000, a name holding "=", and an entry or line that would read as a section
//    header raise EIniLineError, and nothing is written. (Written raw, such a value
//    split into lines, lost its tail on the next write and could plant a section.)
//  - A zero byte in the file does not end it: it is kept in its line (as U+0000) and
//    written back, so what follows it is never lost.
//  - A section that is written moves to the end of the file, its entries cleaned
//    and followed by one empty line.
//  - Writing or erasing a section also removes the later sections of the same
//    name: they could never be read, and once the first one has moved to the end
//    (or gone) they would be found instead of it.
//
// Choices made here for safety:
//  - A file that exists but could not be read at creation is never replaced, nor is
//    one that is not blank but holds no section at all (read in the wrong code, or
//    no settings file): reads give their defaults, UpdateFile writes nothing.
//  - A section name that cannot be written as a header naming that same section
//    (empty after trimming, holding a line break, U+0000 or a "]" the header
//    would end at) is ignored: reads give their defaults or nothing, writes and
//    erases do nothing, and no other section is touched.
//  - EraseSection of a section that exists only in the cache (written to, not yet
//    written back) discards the cache: its values are gone.
//  - ReadFloat and WriteFloat use the decimal point of the C library's current
//    numeric locale (LC_NUMERIC), the same for reading and writing.
//
// Typical use:
//   TMyIniFile ini;  // the program's path with ".ini"
//   bool wrap = ini.ReadBool(u"Text", u"WordWrap", true);
//   ini.WriteInteger(u"Text", u"FontSize", 72);
//   // written when ini goes out of scope

#include <cstdint>
#include <optional>
#include <stdexcept>

#include "platform/myBase.h"
#include "platform/myFont.h"
#include "settings/myBoundsWindow.h"
#include "text/myStore.h"
#include "text/myWStrings.h"

namespace magna {

/// Raised by a write that would change the file's structure (see the format above).
class EIniLineError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

/// The settings file of a program file: its path with the extension changed to
/// ".ini" by this platform's rules (only a slash ends the search for the dot; a
/// leading dot of the name is no extension).
WideString SettingsFileNameOf(const WideString& programFile);

/// General decimal text of up to 15 significant digits ("%.15Lg"), with the
/// decimal point of the current C numeric locale.
WideString FloatToText(long double value);
/// The number a text (blanks trimmed) spells in decimal or exponent form with the
/// current C numeric locale's decimal point; nullopt for anything else, for
/// infinities, NaN, hexadecimal forms and values beyond the range.
std::optional<long double> TextToFloat(const WideString& text);

class TMyIniFile : public TObject {
 public:
  /// The program's settings file, code cdAuto.
  TMyIniFile();
  /// The program's settings file (SettingsFileNameOf(ApplicationFileName())).
  explicit TMyIniFile(TMyCharCode Code);
  /// Loads the file when it exists.
  TMyIniFile(const WideString& FileName, TMyCharCode Code);
  /// Writes the file when something changed (UpdateFile); never raises.
  ~TMyIniFile() override;
  TMyIniFile(const TMyIniFile&) = delete;
  TMyIniFile& operator=(const TMyIniFile&) = delete;

  /// Writes the file if modified; true when it was written. Never raises.
  virtual bool UpdateFile();
  /// Whether the file's lines hold the section (not a section only in the cache).
  virtual bool SectionExists(const WideString& Section);
  /// Every section name of the file, in file order (repeated names repeated).
  virtual void ReadSections(TMyWStrings& Strings);
  /// The names of the section's entries.
  virtual void ReadSection(const WideString& Section, TMyWStrings& Strings);
  /// Deletes the section's lines; a cached copy of it is discarded.
  virtual void EraseSection(const WideString& Section);
  /// The section's entries (name=value), cleaned.
  virtual void ReadSectionValues(const WideString& Section, TMyWStrings& Strings);
  /// Replaces the section with the given entries, cleaned; the section moves to the end.
  /// EIniLineError (nothing changed) for an item with a line break or U+0000 or that
  /// would read as a header.
  virtual void WriteSectionValues(const WideString& Section, TMyWStrings& Strings);
  /// As above, for a byte-string list that receives / holds escaped ANSI items.
  virtual void ReadSectionValues(const WideString& Section, TMyStore& Strings);
  virtual void WriteSectionValues(const WideString& Section, TMyStore& Strings);
  /// The section's lines without the header, as they are.
  virtual void ReadSectionLines(const WideString& Section, TMyWStrings& Strings);
  /// Replaces the section with the given lines as they are; EIniLineError as above.
  virtual void WriteSectionLines(const WideString& Section, TMyWStrings& Strings);
  virtual void ReadSectionLines(const WideString& Section, TMyStore& Strings);
  virtual void WriteSectionLines(const WideString& Section, TMyStore& Strings);
  /// The value after the entry's first "="; Default when missing or empty.
  virtual WideString ReadString(const WideString& Section, const WideString& Ident,
                                const WideString& Default);
  /// Sets the entry Ident (trimmed) to Value in the cached section. EIniLineError
  /// (nothing changed) when Ident or Value holds CR, LF or U+0000, Ident holds "=", or
  /// the entry would read as a header. A section name that cannot be a header is ignored.
  virtual void WriteString(const WideString& Section, const WideString& Ident,
                           const WideString& Value);
  /// ParseInteger of the value; ERangeError when it does not fit 32 bits.
  virtual int32_t ReadInteger(const WideString& Section, const WideString& Ident, int32_t Default);
  virtual void WriteInteger(const WideString& Section, const WideString& Ident, int32_t Value);
  /// True when the stored integer is not 0.
  virtual bool ReadBool(const WideString& Section, const WideString& Ident, bool Default);
  /// *Value is both the default and the result.
  virtual void ReadBool(const WideString& Section, const WideString& Ident, bool* Value);
  virtual void WriteBool(const WideString& Section, const WideString& Ident, bool Value);
  /// The value as a decimal number; 0 (not Default) when it is no number. Never raises.
  virtual long double ReadFloat(const WideString& Section, const WideString& Ident,
                                long double Default);
  /// Shortest general text of up to 15 significant digits.
  virtual void WriteFloat(const WideString& Section, const WideString& Ident, long double Value);

  // Window bounds and font entries (settings/myIniFileEntries.cpp), not virtual:
  // A stored number that does not fit leaves that one entry at its default.

  /// Reads p+"_Left", "_Top", "_Right", "_Bottom"; each edge defaults to Default's.
  void ReadRect(const WideString& Section, const WideString& Prefix, TRect& Rect,
                const TRect& Default);
  void WriteRect(const WideString& Section, const WideString& Prefix, const TRect& Rect);
  /// ReadRect under the window's name, its current bounds as default.
  void ReadBounds(const WideString& Section, const TBoundsWindow& Window, TRect& Rect);
  /// WriteRect of the window's current bounds to "Bounds" under its name.
  void WriteBounds(const TBoundsWindow& Window);
  /// ReadBounds, moved (never resized) into the nearest monitor's work area; a stored
  /// rectangle without width or height, or beyond 32767 pixels either way, gives way
  /// to the window's current bounds.
  void ReadVisibleBounds(const WideString& Section, const TBoundsWindow& Window, TRect& Rect);
  /// ReadVisibleBounds applied to the window.
  void RestoreBounds(const WideString& Section, TBoundsWindow& Window);
  void RestoreBounds(TBoundsWindow& Window);
  /// Reads the font group into Font; every missing entry keeps Font's attribute,
  /// and so does a size outside 1..TFont::MaxPoints.
  void ReadFont(const WideString& Section, const WideString& Prefix, TFont& Font);
  void WriteFont(const WideString& Section, const WideString& Prefix, const TFont& Font);
  /// ReadInteger, or Default when the stored number does not fit 32 bits.
  int32_t ReadIntegerOrDefault(const WideString& Section, const WideString& Ident, int32_t Default);
  /// ReadBool, or Default when the stored number does not fit 32 bits.
  bool ReadBoolOrDefault(const WideString& Section, const WideString& Ident, bool Default);

  const WideString& FileName() const { return fileName_; }
  /// The code the file was read in (the detected one after cdAuto).
  TMyCharCode ReadCode() const { return readCode_; }
  TMyCharCode WriteCode() const { return writeCode_; }

 private:
  struct SectionSpan {
    int First = -1;  // header line
    int Last = -1;
  };

  void Load();
  /// Whether some line is not blank.
  bool HasContent();
  void DropByteOrderMark();
  void BuildSectionIndex();
  SectionSpan FindSection(const WideString& name);
  bool IsCached(const WideString& name) const;
  /// Deletes every section of the name (a later one would otherwise come to light).
  bool DeleteSection(const WideString& name);
  void ReadSectionToList(const WideString& name, TMyWStrings& target, bool raw);
  void ReadSectionChecked(const WideString& Section, TMyWStrings& Strings, bool raw);
  void WriteSectionChecked(const WideString& Section, TMyWStrings& Strings, bool raw);
  void SelectSection(const WideString& name);
  void FlushCache();
  // `name` is a copy: it may be the current section, which this clears.
  void WriteSectionToLines(WideString name, TMyWStrings& source, bool raw);
  /// Trimmed name, or empty when the name can't name a section of the file.
  static WideString UsableSectionName(const WideString& Section);

  WideString fileName_;
  TMyWStrings lines_;
  TMyWStrings sectionIndex_;
  WideString currentSection_;
  TMyWStrings sectionValues_;
  bool sectionModified_ = false;
  bool modified_ = false;
  TMyCharCode readCode_ = cdAuto;
  TMyCharCode writeCode_ = cdAuto;
  bool unreadable_ = false;  // the file exists but could not be read: never replace it
};

}  // namespace magna
