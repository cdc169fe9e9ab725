#include "text/myWStrings.h"

#include <algorithm>
#include <new>
#include <string>

#include "platform/myLocale.h"
#include "platform/services.h"
#include "text/myNumeral.h"
#include "text/myUtils.h"

namespace magna {

namespace {

constexpr char16_t kDuplicateMessage[] = u"文字列リストは重複を許しません";
constexpr char16_t kOutOfMemoryMessage[] = u"データが大きすぎて操作が完了できませんでした";
constexpr char16_t kFailedMessage[] = u"操作が完了できませんでした";

/// Holds one BeginUpdate of a list or a store and ends it on every exit path.
template <class Updatable>
class UpdateScope {
 public:
  explicit UpdateScope(Updatable& target) : target_(target) { target_.BeginUpdate(); }
  ~UpdateScope() { target_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  Updatable& target_;
};

WideString SortCaptionText(int steps) {
  const std::string digits = std::to_string(steps);
  return u"リストのソート中 [" + WideString(digits.begin(), digits.end()) + u"]";
}

void ProcessMessages() {
  platform::Ui().ProcessMessages();
}

}  // namespace

TMyWStrings::TMyWStrings(TMyStore* store) {
  if (store) {
    store_ = store;
    if (const auto* sortable = dynamic_cast<const TMySortableStore*>(store))
      CaseSensitive = sortable->CaseSensitive;
    return;
  }
  ownStore_ = std::make_unique<TMyStore>();
  store_ = ownStore_.get();
  ownsStore_ = true;
}

TMyWStrings::~TMyWStrings() {
  if (ownsStore_) TMyWStrings::Clear();
}

// ---- items -----------------------------------------------------------------

AnsiString TMyWStrings::EncodeItem(const WideString& S) {
  return WideToEscapedAnsi(S);
}

WideString TMyWStrings::DecodeItem(const AnsiString& S) {
  return EscapedAnsiToWide(S);
}

int TMyWStrings::Count() const {
  return store_ ? store_->Count() : 0;
}

const WideString* TMyWStrings::SortCacheItem(int Index) const {
  const int offset = Index - sortLow_;
  if (sortItems_.empty() || offset < 0 || offset >= static_cast<int>(sortItems_.size()))
    return nullptr;
  return &sortItems_[static_cast<size_t>(offset)];
}

WideString TMyWStrings::Get(int Index) {
  if (Index < 0 || Index >= Count()) return {};
  if (const WideString* cached = SortCacheItem(Index)) return *cached;
  return DecodeItem(store_->Get(Index));
}

void TMyWStrings::Put(int Index, const WideString& S) {
  if (Index < 0 || Index >= Count()) return;
  store_->Put(Index, EncodeItem(S));
}

TObject* TMyWStrings::GetObject(int Index) {
  if (Index < 0 || Index >= Count()) return nullptr;
  return store_->GetObject(Index);
}

void TMyWStrings::PutObject(int Index, TObject* AObject) {
  if (Index < 0 || Index >= Count()) return;
  store_->PutObject(Index, AObject);
}

int TMyWStrings::GetCapacity() {
  return store_->Capacity();
}

void TMyWStrings::SetCapacity(int NewCapacity) {
  store_->SetCapacity(NewCapacity);
}

void TMyWStrings::Changed() {
  if (OnChange) OnChange(this);
}

void TMyWStrings::FreeObjectAt(int Index) {
  TObject* object = store_->GetObject(Index);
  if (!object) return;
  store_->PutObject(Index, nullptr);
  delete object;
}

// ---- adding ------------------------------------------------------------------

void TMyWStrings::ReserveFor(int64_t added) {
  const int64_t capacity = int64_t{Count()} + std::max<int64_t>(added, 0) + 100;
  if (capacity <= INT32_MAX) SetCapacity(static_cast<int>(capacity));
}

int TMyWStrings::Add(const WideString& S) {
  return AddObject(S, nullptr);
}

void TMyWStrings::AddFile(const WideString& FileName) {
  TMyCharCode code = cdAuto;
  AddText(ReadTextFile(FileName, code));
}

void TMyWStrings::AddFiles(TMyWStrings& FileNames) {
  const int n = FileNames.Count();
  for (int i = 0; i < n; ++i) AddFile(FileNames.Get(i));
}

int TMyWStrings::AddObject(const WideString& S, TObject* AObject) {
  InsertObject(Count(), S, AObject);
  return Count() - 1;
}

int TMyWStrings::AddPair(const WideString& Name, const WideString& Value) {
  return Add(Name + u"=" + Value);
}

void TMyWStrings::AddStrings(TMyStore& Strings) {
  ReserveFor(Strings.Count());
  store_->AddStrings(Strings);
}

void TMyWStrings::AddStrings(TMyWStrings& Strings) {
  UpdateScope<TMyWStrings> update(*this);
  const int n = Strings.Count();  // fixed first: the list may be adding itself
  ReserveFor(n);
  for (int i = 0; i < n; ++i) Add(Strings.Get(i));
}

void TMyWStrings::AddBlank(int Count_) {
  UpdateScope<TMyWStrings> update(*this);
  ReserveFor(Count_);
  for (int i = 0; i < Count_; ++i) Add(WideString());
}

void TMyWStrings::Append(const WideString& S) {
  InsertObject(Count(), S, nullptr);
}

void TMyWStrings::InsertObject(int Index, const WideString& S, TObject* AObject) {
  int position = 0;
  if (!Sorted || Duplicates == dupAccept) {
    position = std::clamp(Index, 0, Count());
  } else if (Find(S, position)) {
    if (Duplicates == dupError) ShowMessageBox(kDuplicateMessage);
    return;
  }
  try {
    store_->Insert(position, EncodeItem(S), AObject);
    Changed();
  } catch (const std::bad_alloc&) {
    ShowMessageBox(kOutOfMemoryMessage);
  } catch (const std::exception&) {
    ShowMessageBox(kFailedMessage);
  }
}

void TMyWStrings::Insert(int Index, const WideString& S) {
  InsertObject(Index, S, nullptr);
}

void TMyWStrings::InsertStrings(int Index, TMyStore& Strings) {
  const int position = std::clamp(Index, 0, Count());
  TMyStore copy;  // the source may be this list's own store
  copy.Assign(Strings);
  for (int k = copy.Count() - 1; k >= 0; --k) store_->Insert(position, copy.Get(k));
}

void TMyWStrings::InsertStrings(int Index, TMyWStrings& Strings) {
  const int position = std::clamp(Index, 0, Count());
  std::vector<WideString> items;  // the source may be this list itself
  for (int k = 0; k < Strings.Count(); ++k) items.push_back(Strings.Get(k));
  UpdateScope<TMyWStrings> update(*this);
  for (auto it = items.rbegin(); it != items.rend(); ++it) Insert(position, *it);
}

void TMyWStrings::Assign(TMyStore& Strings) {
  if (&Strings == store_) return;
  if (Count() > 0) Clear();
  store_->Assign(Strings);
}

void TMyWStrings::Assign(TMyWStrings& Strings) {
  if (&Strings == this || Strings.store_ == store_) return;
  if (Count() > 0) Clear();
  AddStrings(Strings);
}

// ---- removing and moving -------------------------------------------------------

void TMyWStrings::Clear() {
  if (OwnsObjects)
    for (int i = Count() - 1; i >= 0; --i) FreeObjectAt(i);
  store_->Clear();
}

void TMyWStrings::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  if (OwnsObjects) FreeObjectAt(Index);
  store_->Delete(Index);
  Changed();
}

void TMyWStrings::Exchange(int Index1, int Index2) {
  store_->Exchange(Index1, Index2);
  Changed();
}

void TMyWStrings::Move(int CurIndex, int NewIndex) {
  store_->Move(CurIndex, NewIndex);
  Changed();
}

void TMyWStrings::Reset() {
  if (store_) {
    Clear();
    return;
  }
  ownStore_ = std::make_unique<TMyStore>();
  store_ = ownStore_.get();
  ownsStore_ = true;
}

void TMyWStrings::SetStore(TMyStore* AStore) {
  if (AStore && AStore == store_) return;
  if (ownsStore_ && AStore) {
    Clear();
    ownStore_.reset();
    store_ = nullptr;
    ownsStore_ = false;
  }
  if (AStore) {
    store_ = AStore;
  } else if (ownsStore_) {
    store_->Clear();
  } else {
    ownStore_ = std::make_unique<TMyStore>();
    store_ = ownStore_.get();
    ownsStore_ = true;
  }
}

void TMyWStrings::BeginUpdate() {
  store_->BeginUpdate();
}

void TMyWStrings::EndUpdate() {
  store_->EndUpdate();
}

// ---- text forms ----------------------------------------------------------------

WideString TMyWStrings::GetText() {
  const int n = Count();
  if (n == 0) return {};
  const WideString lineBreak = NewLineText(LineBreak);
  std::vector<WideString> items;
  items.reserve(static_cast<size_t>(n));
  size_t total = 0;
  for (int i = 0; i < n; ++i) {
    items.push_back(Get(i));
    total += items.back().size() + lineBreak.size();
  }
  WideString text;
  text.reserve(total);
  for (const WideString& item : items) {
    text += item;
    text += lineBreak;
  }
  return text;
}

void TMyWStrings::SetText(const WideString& S) {
  Clear();
  AddText(S);
}

void TMyWStrings::AddText(const WideString& S) {
  AddLines(S, std::min(S.size(), S.find(u'\0')));
}

void TMyWStrings::AddWholeText(const WideString& S) {
  AddLines(S, S.size());
}

void TMyWStrings::AddLines(const WideString& S, size_t end) {
  bool sawCR = false;
  bool sawLF = false;
  {
    UpdateScope<TMyWStrings> update(*this);
    size_t p = 0;
    while (p < end) {
      const size_t start = p;
      while (p < end && S[p] != u'\r' && S[p] != u'\n') ++p;
      const size_t length = p - start;
      if (length == 0) {
        Add(WideString());
      } else {
        const int index = Add(S.substr(start, length));
        if (OnAdd) OnAdd(this, index, static_cast<int64_t>(length) + 1);
      }
      if (p < end && S[p] == u'\r') {
        sawCR = true;
        ++p;
      }
      if (p < end && S[p] == u'\n') {
        sawLF = true;
        ++p;
      }
    }
  }
  if (sawCR && !sawLF)
    LineBreak = nlCR;
  else if (sawLF && !sawCR)
    LineBreak = nlLF;
  else
    LineBreak = nlCRLF;
}

WideString TMyWStrings::GetDelimitedText() {
  const int n = Count();
  std::vector<WideString> items;
  items.reserve(static_cast<size_t>(n));
  size_t total = 0;
  for (int i = 0; i < n; ++i) {
    items.push_back(Get(i));
    total += items.back().size() + (i > 0 ? Delimiter.size() : 0);
  }
  WideString text;
  text.reserve(total);
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += Delimiter;
    text += items[i];
    ProcessMessages();
  }
  return text;
}

void TMyWStrings::SetDelimitedText(const WideString& S) {
  {
    UpdateScope<TMyWStrings> update(*this);
    Clear();
    size_t pos = 0;
    while (!S.empty()) {
      const size_t hit = Delimiter.empty() ? WideString::npos : S.find(Delimiter, pos);
      if (hit == WideString::npos) {
        Add(S.substr(pos));
        break;
      }
      Add(S.substr(pos, hit - pos));
      pos = hit + Delimiter.size();
      ProcessMessages();
      if (pos >= S.size()) break;
    }
  }
  if (S.empty()) throw EAbort();
}

// ---- searching -------------------------------------------------------------------

unsigned TMyWStrings::CompareFlags() const {
  return CaseSensitive ? platform::NORM_DEFAULT : platform::NORM_IGNORECASE;
}

bool TMyWStrings::Find(const WideString& S, int& Index) {
  Index = -1;
  const int n = Count();
  for (int i = 0; i < n; ++i) {
    const int order = platform::CompareLocale(Get(i), S, CompareFlags());
    if (order == 0) {
      Index = i;
      return true;
    }
    if (order > 0) {
      Index = i;
      return false;
    }
  }
  Index = n;
  return false;
}

int TMyWStrings::IndexOfMatch(const WideString& S, int Start, bool prefixOnly) {
  if (S.empty()) return -1;
  const WideString wanted = CaseSensitive ? S : platform::UpperCase(S);
  const int n = Count();
  for (int i = std::max(Start, 0); i < n; ++i) {
    const WideString item = CaseSensitive ? Get(i) : platform::UpperCase(Get(i));
    const bool found =
        prefixOnly ? item.starts_with(wanted) : item.find(wanted) != WideString::npos;
    if (found) return i;
  }
  return -1;
}

int TMyWStrings::IndexOfPrefix(const WideString& S) {
  return IndexOfPrefix(S, 0);
}

int TMyWStrings::IndexOfPrefix(const WideString& S, int Start) {
  return IndexOfMatch(S, Start, true);
}

int TMyWStrings::IndexOfPart(const WideString& S) {
  return IndexOfPart(S, 0);
}

int TMyWStrings::IndexOfPart(const WideString& S, int Start) {
  return IndexOfMatch(S, Start, false);
}

int TMyWStrings::IndexOfName(const WideString& Name) const {
  return IndexOfName(Name, 0);
}

int TMyWStrings::IndexOfName(const WideString& Name, int Start) const {
  // Get is not const (it is virtual and may be overridden); the search changes nothing.
  auto& self = const_cast<TMyWStrings&>(*this);
  const int n = Count();
  for (int i = std::max(Start, 0); i < n; ++i)
    if (platform::SameTextLocale(NameOfNameValue(self.Get(i)), Name)) return i;
  return -1;
}

// ---- comparisons -------------------------------------------------------------------

const WideString& TMyWStrings::ItemForCompare(int Index, WideString& holder) {
  if (const WideString* cached = SortCacheItem(Index)) return *cached;
  holder = Get(Index);
  return holder;
}

int TMyWStrings::DefaultCompare(TMyWStrings& List, int Index1, int Index2) {
  WideString holder1, holder2;
  return platform::CompareLocale(List.ItemForCompare(Index1, holder1),
                                 List.ItemForCompare(Index2, holder2), List.CompareFlags());
}

int TMyWStrings::PathCompare(TMyWStrings& List, int Index1, int Index2) {
  WideString holder1, holder2;
  return CompareDigitPath(List.ItemForCompare(Index1, holder1),
                          List.ItemForCompare(Index2, holder2));
}

// ---- sorting -------------------------------------------------------------------------

void TMyWStrings::RemoveDuplicates() {
  for (int i = Count() - 1; i >= 1; --i)
    if (platform::CompareLocale(Get(i - 1), Get(i), CompareFlags()) == 0) store_->Delete(i);
}

void TMyWStrings::MergeSortIndexes(std::vector<int>& indexes, size_t first, size_t count,
                                   std::vector<int>& scratch, const TMyWStringsCompare& Compare) {
  ++sortSteps_;
  SortCaption = SortCaptionText(sortSteps_);
  if (count <= 1) return;
  const size_t leftCount = count / 2;
  const size_t rightCount = count - leftCount;
  MergeSortIndexes(indexes, first, leftCount, scratch, Compare);
  MergeSortIndexes(indexes, first + leftCount, rightCount, scratch, Compare);
  size_t left = first, right = first + leftCount;
  const size_t leftEnd = right, rightEnd = first + count;
  scratch.clear();
  while (left < leftEnd && right < rightEnd) {
    if (Compare(*this, indexes[left], indexes[right]) > 0)
      scratch.push_back(indexes[right++]);
    else
      scratch.push_back(indexes[left++]);
  }
  scratch.insert(scratch.end(), indexes.begin() + static_cast<ptrdiff_t>(left),
                 indexes.begin() + static_cast<ptrdiff_t>(leftEnd));
  scratch.insert(scratch.end(), indexes.begin() + static_cast<ptrdiff_t>(right),
                 indexes.begin() + static_cast<ptrdiff_t>(rightEnd));
  std::copy(scratch.begin(), scratch.end(), indexes.begin() + static_cast<ptrdiff_t>(first));
}

void TMyWStrings::MergeSort(int Low, int High, const TMyWStringsCompare& Compare) {
  sortSteps_ = 0;
  SortCaption.clear();
  Low = std::max(Low, 0);
  High = std::min(High, Count() - 1);
  std::vector<int> indexes;
  for (int i = Low; i <= High; ++i) indexes.push_back(i);

  // The items do not change while they are compared: decode each once.
  std::vector<WideString> decoded;
  decoded.reserve(indexes.size());
  for (int i : indexes) decoded.push_back(Get(i));
  sortItems_.swap(decoded);
  sortLow_ = Low;
  try {
    std::vector<int> scratch;
    scratch.reserve(indexes.size());
    MergeSortIndexes(indexes, 0, indexes.size(), scratch, Compare);
  } catch (...) {
    sortItems_.clear();
    throw;
  }
  decoded.swap(sortItems_);
  sortItems_.clear();

  TMyWStrings sorted;
  sorted.SetCapacity(static_cast<int>(indexes.size()));
  for (int i : indexes) sorted.AddObject(decoded[static_cast<size_t>(i - Low)], GetObject(i));
  for (int k = 0; k < sorted.Count(); ++k) {
    Put(Low + k, sorted.Get(k));
    PutObject(Low + k, sorted.GetObject(k));
  }
}

void TMyWStrings::SortRange(int Low, int High) {
  MergeSort(Low, High, DefaultCompare);
}

void TMyWStrings::Sort(const TMyWStringsCompare& Compare, bool RemoveDups) {
  UpdateScope<TMyWStrings> update(*this);
  Sort(Compare);
  if (RemoveDups) RemoveDuplicates();
}

void TMyWStrings::Sort(const TMyWStringsCompare& Compare) {
  MergeSort(0, Count() - 1, Compare);
}

void TMyWStrings::Sort() {
  MergeSort(0, Count() - 1, DefaultCompare);
}

void TMyWStrings::CustomSort(const TMyWStringsCompare& Compare) {
  Sort(Compare);
}

void TMyWStrings::SortAll() {
  CustomSort(DefaultCompare);
}

void TMyWStrings::SortPaths() {
  Sort(PathCompare, true);
}

void TMyWStrings::SortPaths(bool /*RemoveDups: duplicates always go*/) {
  SortPaths();
}

void TMyWStrings::SortPathsRange(int Low, int High) {
  MergeSort(Low, High, PathCompare);
}

void TMyWStrings::QuickSortRange(int Low, int High, const TMyWStringsCompare& Compare) {
  // The scans are bounded by Low..High so that a comparison that is not an
  // order (an item unequal to itself) cannot lead them out of the range.
  int i = 0;
  do {
    i = Low;
    int j = High;
    int pivot = static_cast<int>((static_cast<unsigned>(Low) + static_cast<unsigned>(High)) >> 1);
    do {
      while (i < High && Compare(*this, i, pivot) < 0) ++i;
      while (j > Low && Compare(*this, j, pivot) > 0) --j;
      if (i <= j) {
        Exchange(i, j);
        if (pivot == i)
          pivot = j;
        else if (pivot == j)
          pivot = i;
        ++i;
        --j;
      }
      ProcessMessages();
    } while (i <= j);
    if (Low < j) QuickSortRange(Low, j, Compare);
    Low = i;
  } while (i < High);
}

void TMyWStrings::QuickSort(const TMyWStringsCompare& Compare) {
  QuickSort(Compare, false);
}

void TMyWStrings::QuickSort(const TMyWStringsCompare& Compare, bool RemoveDups) {
  if (Count() > 1) {
    UpdateScope<TMyStore> update(*store_);
    QuickSortRange(0, Count() - 1, Compare);
  }
  if (RemoveDups) RemoveDuplicates();
}

void TMyWStrings::InsertionSort(bool RemoveDups) {
  InsertionSort(DefaultCompare, RemoveDups);
}

void TMyWStrings::InsertionSort(const TMyWStringsCompare& Compare, bool RemoveDups) {
  if (Count() < 2) return;
  UpdateScope<TMyStore> update(*store_);
  for (int i = 1; i <= Count() - 1; ++i) {
    for (int j = i; j >= 1; --j) {
      const int order = Compare(*this, j - 1, j);
      if (order < 0) break;
      if (order > 0) {
        Exchange(j - 1, j);
      } else if (RemoveDups) {
        Delete(j);
        --i;
        break;
      }
      ProcessMessages();
    }
  }
}

void TMyWStrings::Reverse() {
  const int n = Count();
  if (n == 0) return;
  for (int i = 0; i <= (n - 1) / 2; ++i) Exchange(i, n - 1 - i);
}

// ---- files ---------------------------------------------------------------------------

void TMyWStrings::LoadFromFile(const WideString& FileName) {
  LoadFromFile(FileName, CharCode);
}

void TMyWStrings::LoadFromFile(const WideString& FileName, TMyCharCode& Code) {
  SetText(ReadTextFile(FileName, Code));
}

void TMyWStrings::LoadFromFile(const WideString& FileName, TMyCharCode& Code, uint64_t Count_) {
  SetText(ReadTextFileBytes(FileName, Code, Count_));
}

bool TMyWStrings::SaveToFile(const WideString& FileName, TMyCharCode Code, TMyNewLine NewLine) {
  LineBreak = NewLine;
  return SaveToFile(FileName, Code);
}

bool TMyWStrings::SaveToFile(const WideString& FileName, TMyCharCode Code) {
  return WriteTextFile(FileName, GetText(), Code);
}

bool TMyWStrings::SaveToFile(const WideString& FileName) {
  return SaveToFile(FileName, CharCode);
}

}  // namespace magna
