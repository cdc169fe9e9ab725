#include "text/myFileStrings.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/myLocale.h"
#include "platform/random.h"
#include "platform/services.h"
#include "text/myCharCode.h"
#include "text/myNumeral.h"
#include "text/myUtils.h"

namespace magna {

namespace {

constexpr int kVirtualKeyEscape = 0x1B;
constexpr char16_t kEveryName[] = u"*.*";

/// Sets a value for the lifetime of the scope and puts the old one back on every exit.
template <class T>
class Override {
 public:
  Override(T& target, T value) : target_(target), saved_(std::move(target)) {
    target_ = std::move(value);
  }
  ~Override() { target_ = std::move(saved_); }
  Override(const Override&) = delete;
  Override& operator=(const Override&) = delete;

 private:
  T& target_;
  T saved_;
};

bool IsDotEntry(WideView name) {
  return name == u"." || name == u"..";
}

/// The first pattern of a search path: a folder named with its separator, or a
/// drive-like name ending in a colon, is searched whole.
WideString StartPattern(const WideString& path) {
  if (path.ends_with(u'\\') || path.ends_with(u'/')) return path + kEveryName;
  if (path.ends_with(u':')) return path + u'/' + kEveryName;
  return path;
}

/// The folder part of a pattern as the file system reads it: up to and including
/// its last "/"; empty for a pattern in the current folder.
WideString FolderOf(const WideString& pattern) {
  const size_t slash = pattern.rfind(u'/');
  return slash == WideString::npos ? WideString() : pattern.substr(0, slash + 1);
}

WideString NamePatternOf(const WideString& pattern) {
  const size_t slash = pattern.rfind(u'/');
  return slash == WideString::npos ? pattern : pattern.substr(slash + 1);
}

/// Removes every item that equals an earlier one exactly (objects not freed).
void RemoveExactDuplicates(TMyWStrings& list) {
  std::unordered_set<WideString> seen;
  for (int i = 0; i < list.Count();) {
    if (seen.insert(list.Get(i)).second)
      ++i;
    else
      list.Delete(i);
  }
}

/// The path sort of the list, then exact duplicates out: names that differ only in
/// case are different files here.
void SortPathsExact(TMyWStrings& list) {
  list.SortPathsRange(0, list.Count() - 1);
  RemoveExactDuplicates(list);
}

/// The waiting folders [0, waiting) are in path order; the folders after them were
/// just added. Sorts those and merges them in, as a merge sort would place them
/// (an equal waiting folder stays first); an exact duplicate is dropped. Sorting
/// the whole queue again for every folder would cost a merge sort of every
/// folder waiting, per folder.
void MergeNewFolders(TMyWStrings& queue, int waiting) {
  const int count = queue.Count();
  if (count <= waiting) return;
  queue.SortPathsRange(waiting, count - 1);
  int placedUpTo = 0;  // the next new folder goes after the last one placed
  for (int next = waiting; next < queue.Count();) {
    const WideString folder = queue.Get(next);
    int low = placedUpTo, high = next;  // first waiting folder that sorts after it
    while (low < high) {
      const int mid = low + (high - low) / 2;
      if (CompareDigitPath(queue.Get(mid), folder) > 0)
        high = mid;
      else
        low = mid + 1;
    }
    bool duplicate = false;
    for (int k = low - 1; k >= 0 && CompareDigitPath(queue.Get(k), folder) == 0; --k)
      duplicate = duplicate || queue.Get(k) == folder;
    if (duplicate) {
      queue.Delete(next);
      continue;
    }
    if (low != next) queue.Move(next, low);
    placedUpTo = low + 1;
    ++next;
  }
}

/// CompareNumeralPath; a numeral beyond 64 bits compares the whole texts instead.
int CompareNumeralKeys(const WideString& a, const WideString& b) {
  try {
    return CompareNumeralPath(a, b);
  } catch (const EIntOverflow&) {
    return platform::CompareLocale(a, b, platform::NORM_IGNORECASE);
  }
}

template <class Key>
std::function<int(const WideString&, const WideString&)> ByNumeralKey(Key key) {
  return [key](const WideString& a, const WideString& b) {
    return CompareNumeralKeys(key(a), key(b));
  };
}

/// Compares what the file system says of the two files, asked anew each time.
std::function<int(const WideString&, const WideString&)> ByFileValue(
    uint64_t (*value)(const WideString&)) {
  return [value](const WideString& a, const WideString& b) {
    const uint64_t va = value(a), vb = value(b);
    return va < vb ? -1 : va > vb ? 1 : 0;
  };
}

/// Whether the list holds the extension, case ignored (the user's locale).
bool ListsExtension(TMyWStrings& exts, const WideString& ext) {
  for (int i = 0; i < exts.Count(); ++i)
    if (platform::SameTextLocale(exts.Get(i), ext)) return true;
  return false;
}

}  // namespace

/// What one Search carries from folder to folder.
struct TMyFileStrings::SearchRun {
  int countAtStart = 0;  // for OnFound's count
  int unsortedFrom = 0;  // the first file not yet sorted with its folder
  // The folders enumerated for the current search path, with the pattern read.
  std::set<std::pair<platform::FileId, WideString>> visited;
};

TMyFileStrings::TMyFileStrings(TMyStore* store) : TMyWStrings(store) {
  CaseSensitive = false;
  platform::Randomize();
}

TMyFileStrings::~TMyFileStrings() = default;

// ---- the filter -------------------------------------------------------------------

bool TMyFileStrings::Accepts(const WideString& FileName) {
  if (IncludeExts.Count() == 0 && ExcludeExts.Count() == 0) return true;
  const WideString ext = ExtractExt(FileName);
  if (IncludeExts.Count() > 0 && !ListsExtension(IncludeExts, ext)) return false;
  return !ListsExtension(ExcludeExts, ext);
}

int TMyFileStrings::AddObject(const WideString& S, TObject* AObject) {
  if (!Accepts(S)) {
    delete AObject;
    return -1;
  }
  return TMyWStrings::AddObject(S, AObject);
}

void TMyFileStrings::InsertObject(int Index, const WideString& S, TObject* AObject) {
  if (!Accepts(S)) {
    delete AObject;
    return;
  }
  TMyWStrings::InsertObject(Index, S, AObject);
}

void TMyFileStrings::Assign(TMyWStrings& Strings) {
  TMyWStrings::Assign(Strings);
  if (auto* files = dynamic_cast<TMyFileStrings*>(&Strings)) AssignFilters(*files);
}

void TMyFileStrings::AssignFilters(TMyFileStrings& Other) {
  IncludeExts.Assign(Other.IncludeExts);
  ExcludeExts.Assign(Other.ExcludeExts);
}

namespace {
void AssignAnsiExts(TMyWStrings& field, const TMyStore& exts) {
  field.Clear();
  for (int i = 0; i < exts.Count(); ++i) field.Add(AnsiToWide(exts.Get(i)));
}
}  // namespace

void TMyFileStrings::SetIncludeExts(const TMyStore& Exts) {
  AssignAnsiExts(IncludeExts, Exts);
}

void TMyFileStrings::SetExcludeExts(const TMyStore& Exts) {
  AssignAnsiExts(ExcludeExts, Exts);
}

bool TMyFileStrings::EscapePressed() {
  return (platform::KeyState().GetAsyncKeyState(kVirtualKeyEscape) & 0x8000) != 0;
}

// ---- the search ---------------------------------------------------------------------

TObject* TMyFileStrings::CreateItemObject(const WideString& /*FileName*/,
                                          const platform::FindData& /*Found*/) {
  return nullptr;
}

bool TMyFileStrings::ContinueSearch() {
  platform::Ui().ProcessMessagesInLoop();
  // The handlers that just ran may have set or cleared the abort check.
  if (OnAbortCheck) return !OnAbortCheck();
  return !platform::Ui().Terminated();
}

bool TMyFileStrings::Search() {
  if (!KeepItems) Clear();
  SearchRun run;
  run.countAtStart = run.unsortedFrom = Count();
  SortPathsExact(SearchPaths);
  bool goOn = false;
  // By index: event handlers run during the search and may change the paths.
  for (int k = 0; k < SearchPaths.Count(); ++k) {
    const WideString path = SearchPaths.Get(k);
    if (path.empty()) continue;
    run.visited.clear();
    goOn = SearchPath(StartPattern(path), run);
    // Stopped means stopped: the paths after it are not searched, and the
    // result stays false even if a later check would say go on.
    if (!goOn) break;
  }
  return goOn;
}

bool TMyFileStrings::SearchPath(const WideString& start, SearchRun& run) {
  TMyFileStrings queue;
  queue.Add(start);
  bool goOn = true;
  do {
    const WideString pattern = queue.Get(0);
    queue.Delete(0);
    const int waiting = queue.Count();
    goOn = SearchFolder(pattern, queue, run);
    MergeNewFolders(queue, waiting);
    if (goOn) goOn = ContinueSearch();
  } while (goOn && queue.Count() > 0);
  return goOn;
}

bool TMyFileStrings::SearchFolder(const WideString& pattern, TMyFileStrings& queue,
                                  SearchRun& run) {
  platform::FileFinder finder;
  platform::FindData found;
  if (!finder.FindFirst(NativePath(pattern), found)) return true;
  if (!run.visited.emplace(finder.DirectoryId(), NamePatternOf(pattern)).second) return true;
  const WideString folder = FolderOf(pattern);
  bool goOn = true;
  bool added = false;
  do {
    if (found.IsDirectory) {
      if (!IsDotEntry(found.Name)) queue.Add(folder + IncludeSuffix(found.Name, u"/") + kEveryName);
    } else {
      const WideString full = folder + found.Name;
      const int index = AddObject(full, CreateItemObject(full, found));
      if (index >= 0) {
        added = true;
        if (OnFound) OnFound(index + 1 - run.countAtStart, full);
      }
    }
    goOn = ContinueSearch();
  } while (goOn && finder.FindNext(found));
  finder.Close();
  if (added) {
    SortFolderFiles(run.unsortedFrom, folder);
    run.unsortedFrom = Count();
  }
  return goOn;
}

void TMyFileStrings::SortFolderFiles(int Low, const WideString& folder) {
  // SortPathsRange(Low, Count() - 1), with the comparison spared the folder part:
  // for two names of the folder without a separator in them, CompareDigitPath
  // splits both at the folder's end, finds the folders equal and compares the
  // names by CompareDigitText. Any other pair (a name with "\" or ":", an item an
  // event handler added meanwhile) is compared as a whole path.
  const int high = Count() - 1;
  std::vector<WideString> names;
  std::vector<bool> plain;
  for (int i = Low; i <= high; ++i) {
    WideString item = Get(i);
    const bool inFolder =
        item.starts_with(folder) && item.find_first_of(u"\\/:", folder.size()) == WideString::npos;
    names.push_back(inFolder ? item.substr(folder.size()) : std::move(item));
    plain.push_back(inFolder);
  }
  MergeSort(Low, high, [&](TMyWStrings& list, int index1, int index2) {
    const size_t a = size_t(index1 - Low), b = size_t(index2 - Low);
    if (plain[a] && plain[b]) return CompareDigitText(names[a], names[b]);
    return PathCompare(list, index1, index2);
  });
}

bool TMyFileStrings::SearchCancellable() {
  Override<TMyFileFoundEvent> keepFound(OnFound, OnFound);
  TMyAbortCheckEvent check = OnAbortCheck;
  if (!check && EscapeCancels) check = [this] { return EscapePressed(); };
  Override<TMyAbortCheckEvent> useCheck(OnAbortCheck, std::move(check));
  return Search();
}

bool TMyFileStrings::Search(TMyWStrings& Paths) {
  SearchPaths.Assign(Paths);
  return Search();
}

bool TMyFileStrings::Search(const WideString& Path) {
  SearchPaths.Clear();
  SearchPaths.Add(Path);
  return Search();
}

bool TMyFileStrings::AddSearch(TMyWStrings& Paths) {
  Override<bool> keep(KeepItems, true);
  return Search(Paths);
}

bool TMyFileStrings::AddSearch(const WideString& Path) {
  Override<bool> keep(KeepItems, true);
  return Search(Path);
}

// ---- sorting and shuffling -----------------------------------------------------------

void TMyFileStrings::SortByKey(
    bool Ascending, int Low, int High,
    const std::function<int(const WideString&, const WideString&)>& compare) {
  if (High < 0) High = Count() - 1;
  MergeSort(Low, High, [&](TMyWStrings&, int index1, int index2) {
    WideString holder1, holder2;
    const WideString& a = ItemForCompare(index1, holder1);
    const WideString& b = ItemForCompare(index2, holder2);
    return Ascending ? compare(a, b) : compare(b, a);
  });
}

void TMyFileStrings::SortByPath(bool Ascending, int Low, int High) {
  SortByKey(Ascending, Low, High, CompareNumeralKeys);
}

void TMyFileStrings::SortByName(bool Ascending, int Low, int High) {
  SortByKey(Ascending, Low, High, ByNumeralKey(ExtractName));
}

void TMyFileStrings::SortByFolder(bool Ascending, int Low, int High) {
  SortByKey(Ascending, Low, High, ByNumeralKey(ExtractDir));
}

void TMyFileStrings::SortByExt(bool Ascending, int Low, int High) {
  SortByKey(Ascending, Low, High, ByNumeralKey(ExtractExt));
}

void TMyFileStrings::SortBySize(bool Ascending, int Low, int High) {
  SortByKey(Ascending, Low, High, ByFileValue(FileSizeOf));
}

void TMyFileStrings::SortByWriteTime(bool Ascending, int Low, int High) {
  SortByKey(Ascending, Low, High, ByFileValue(FileWriteTime));
}

void TMyFileStrings::SortByCreationTime(bool Ascending, int Low, int High) {
  SortByKey(Ascending, Low, High, ByFileValue(FileCreationTime));
}

void TMyFileStrings::Shuffle(int Low, int High) {
  if (High < 0) High = Count() - 1;
  // Indexes outside the list would trade real items for empty ones that are
  // never written back: the range is kept inside the list.
  Low = std::max(Low, 0);
  High = std::min(High, Count() - 1);
  const int n = High - Low + 1;
  if (n <= 0) return;
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), Low);
  for (int i = 0; i < n; ++i) {
    const int r = platform::Random(n);
    if (r != i) std::swap(order[size_t(i)], order[size_t(r)]);
  }
  std::vector<std::pair<WideString, TObject*>> items;
  items.reserve(order.size());
  for (int index : order) items.emplace_back(Get(index), GetObject(index));
  for (int k = 0; k < n; ++k) {
    Put(Low + k, items[size_t(k)].first);
    PutObject(Low + k, items[size_t(k)].second);
  }
}

}  // namespace magna
