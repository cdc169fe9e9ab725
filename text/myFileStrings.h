#pragma once
// TMyFileStrings: a TMyWStrings of file names. Every insertion passes an
// extension filter; Search fills the list from folders and patterns, descending
// into subfolders; the list sorts by path, name, folder, extension, size and file
// times, and shuffles. With empty filters it is a plain wide string list.
//
// The search goes folder by folder: the files of one folder are appended together
// and then sorted among themselves by CompareDigitPath, and the folders waiting
// are kept in that order without duplicates, so the next folder taken is always
// the smallest path waiting. Subfolders are searched with "*.*" whatever pattern
// the search path had. Between entries the user interface processes its pending
// messages (event handlers run meanwhile), and OnAbortCheck, the Esc key (in
// SearchCancellable) or the application's end stops the search; the files found
// until then stay.
//
// On this platform:
// - Entries are read with the file system's own directory search and Windows'
//   wildcard rules: "*" and "?", case ignored, "*.*" matching every name with or
//   without a full stop. A search path ending in "/" or "\" takes "*.*", one
//   ending in ":" takes "/*.*". "/" is the separator the file system knows: a
//   found file is the search path's text up to its last "/" plus the entry's name,
//   and a subfolder is searched as that text + name + "/*.*". A backslash or a
//   colon is an ordinary character of a name here.
// - Names starting with a full stop are ordinary files and folders.
// - A folder that cannot be opened is skipped without a word.
// - A folder is enumerated at most once per search path, however many links
//   reach it, so a link loop (a folder linking to its parent) ends. Files found
//   through a link carry the path that reached them, the first (smallest) one.
// - Names that differ in any way are different files here (case counts): the
//   search paths and the waiting folders drop only exact duplicates.
// - A name the file system gives in bytes that are not UTF-8 reaches the list
//   with those bytes as escapes (platform/nativeNames.h), a name that opens the
//   same file through every file function of the program.
// - The sorts by size and times ask the file system at every comparison; a file
//   that can't be reached counts as 0.
// - A numeral in a name too large for 64 bits makes the numeral comparison
//   overflow; the name sorts then by the comparison of the whole texts (case
//   ignored) instead of ending the sort.
// - A search stopped by the continue check stays stopped: no later folder or
//   search path is searched after it, and Search returns false.
//
// Typical use:
//   TMyFileStrings files;
//   files.IncludeExts.Add(u".txt");
//   if (files.Search(u"/home/me/notes/")) files.SortByName(true, 0, -1);

#include <cstdint>
#include <functional>

#include "platform/fileSystem.h"
#include "text/myStore.h"
#include "text/myWStrings.h"

namespace magna {

/// A file a search added: how many the list has gained since the search began,
/// and the file's full name.
using TMyFileFoundEvent = std::function<void(int32_t Count, const WideString& FileName)>;
/// Asked during a search; true stops it.
using TMyAbortCheckEvent = std::function<bool()>;

class TMyFileStrings : public TMyWStrings {
 public:
  /// The list on `store` (or its own), case-insensitive; restarts the platform's
  /// pseudo-random generator from the clock.
  explicit TMyFileStrings(TMyStore* store = nullptr);
  ~TMyFileStrings() override;

  using TMyWStrings::Assign;
  /// -1 and the object freed when the filter refuses S; else the inherited AddObject.
  int AddObject(const WideString& S, TObject* AObject) override;
  /// The inherited Assign (the items pass this list's filter); then the source's
  /// filters, when it is a file list.
  void Assign(TMyWStrings& Strings) override;
  /// Nothing inserted and the object freed when the filter refuses S.
  void InsertObject(int Index, const WideString& S, TObject* AObject) override;

  /// The object stored with a found file; none in this class.
  virtual TObject* CreateItemObject(const WideString& FileName, const platform::FindData& Found);
  /// Searches SearchPaths: true when it ran to the end; false when stopped or when
  /// no path was searched.
  virtual bool Search();
  /// Search, with EscapePressed as the abort check when there is no OnAbortCheck
  /// and EscapeCancels is set; the events are as before afterwards.
  virtual bool SearchCancellable();
  /// SearchPaths takes the paths (or the one path), then Search.
  virtual bool Search(TMyWStrings& Paths);
  virtual bool Search(const WideString& Path);
  /// Search with KeepItems set for the call.
  virtual bool AddSearch(TMyWStrings& Paths);
  virtual bool AddSearch(const WideString& Path);
  /// Stable sorts of the items Low..High (High < 0: the last item).
  virtual void SortByPath(bool Ascending, int Low, int High);
  virtual void SortByName(bool Ascending, int Low, int High);
  virtual void SortByFolder(bool Ascending, int Low, int High);
  virtual void SortByExt(bool Ascending, int Low, int High);
  virtual void SortBySize(bool Ascending, int Low, int High);
  virtual void SortByWriteTime(bool Ascending, int Low, int High);
  virtual void SortByCreationTime(bool Ascending, int Low, int High);
  /// Random order of the items Low..High (High < 0: the last item), objects kept.
  virtual void Shuffle(int Low, int High);

  /// Whether the extension filter takes the name (case ignored; empty IncludeExts
  /// takes every extension, none without).
  bool Accepts(const WideString& FileName);
  /// Copies the other list's two extension lists.
  void AssignFilters(TMyFileStrings& Other);
  /// Copies a list of extensions in the ANSI code page into the field.
  void SetIncludeExts(const TMyStore& Exts);
  void SetExcludeExts(const TMyStore& Exts);
  /// Whether the Esc key is held down at this moment.
  bool EscapePressed();

  /// Extensions with their full stop (".txt"). The lists hold wide text; the
  /// setters convert ANSI extensions, which then compare as they would as bytes.
  TMyWStrings IncludeExts;
  TMyWStrings ExcludeExts;
  /// Folders, patterns or file names Search starts from; kept after the search.
  TMyWStrings SearchPaths;
  bool KeepItems = true;
  TMyFileFoundEvent OnFound;
  bool EscapeCancels = false;
  TMyAbortCheckEvent OnAbortCheck;

 private:
  struct SearchRun;
  bool SearchPath(const WideString& start, SearchRun& run);
  bool SearchFolder(const WideString& pattern, TMyFileStrings& queue, SearchRun& run);
  bool ContinueSearch();
  void SortFolderFiles(int Low, const WideString& folder);
  void SortByKey(bool Ascending, int Low, int High,
                 const std::function<int(const WideString&, const WideString&)>& compare);
};

}  // namespace magna
