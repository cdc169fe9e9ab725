#pragma once
// TMyWStrings: the list of wide strings, each with an optional object. It is a
// wide face on a byte-string store (TMyStore): every item lives there in the
// escaped ANSI form, so no code unit is lost. The store is the list's own, or one
// handed in that the list works on without owning it.
//
// Guarantees: Get/Put/GetObject/PutObject/Delete ignore indexes out of range;
// InsertObject never raises (refusals and failures end in a message box);
// Exchange and Move raise EListError for bad indexes. The sorts take comparisons
// that need not be strict weak orders; never hand those to std::sort.
//
// Typical use:
//   TMyWStrings list;
//   list.SetText(u"b\r\na\r\n");
//   list.Sort();                      // stable, locale order, case ignored
//   bool ok = list.SaveToFile(name);  // in list.CharCode, lines end in LineBreak
//
// A descendant that overrides one overload of a name (AddObject, Assign, ...)
// brings the others back with `using TMyWStrings::Name;`.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/myBase.h"
#include "text/myCharCode.h"
#include "text/myStore.h"

namespace magna {

/// Progress of AddText: the list, the index Add returned, the line's length + 1.
using TMyWStringsOnAdd = std::function<void(TObject* Sender, int32_t iCount, int64_t iLength)>;
/// A notification with its sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

/// What a sorted list does with an item equal to one it holds.
enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

class TMyWStrings;
/// Three-way comparison of the items at two indexes of a list (< 0, 0, > 0).
using TMyWStringsCompare = std::function<int(TMyWStrings& List, int Index1, int Index2)>;

class TMyWStrings : public TObject {
 public:
  /// Works on `store` without owning it; with none, on an own new store.
  explicit TMyWStrings(TMyStore* store = nullptr);
  ~TMyWStrings() override;
  TMyWStrings(const TMyWStrings&) = delete;
  TMyWStrings& operator=(const TMyWStrings&) = delete;

  virtual AnsiString EncodeItem(const WideString& S);
  virtual WideString DecodeItem(const AnsiString& S);
  /// Empty text outside 0..Count-1.
  virtual WideString Get(int Index);
  /// Replaces the text, keeps the object; ignored outside the range; no OnChange.
  virtual void Put(int Index, const WideString& S);
  virtual TObject* GetObject(int Index);
  /// Sets the object (the old one is not freed); ignored outside the range.
  virtual void PutObject(int Index, TObject* AObject);
  /// Every item followed by LineBreak's text.
  virtual WideString GetText();
  virtual void SetText(const WideString& S);
  /// Items joined by Delimiter; processes pending messages after each item.
  virtual WideString GetDelimitedText();
  /// Splits at every Delimiter (no quoting). An empty text empties the list and raises EAbort.
  virtual void SetDelimitedText(const WideString& S);
  /// Removes the later of two equal neighbours; objects are not freed, no OnChange.
  virtual void RemoveDuplicates();
  virtual int GetCapacity();
  virtual void SetCapacity(int NewCapacity);

  virtual int Add(const WideString& S);
  /// Appends the lines of a file read with cdAuto.
  virtual void AddFile(const WideString& FileName);
  virtual void AddFiles(TMyWStrings& FileNames);
  /// InsertObject at Count; returns Count - 1 as it is afterwards.
  virtual int AddObject(const WideString& S, TObject* AObject);
  virtual int AddPair(const WideString& Name, const WideString& Value);
  /// Appends byte strings and objects as they are (already escaped); no Sorted, no OnChange.
  virtual void AddStrings(TMyStore& Strings);
  /// Adds each item's text (not its object).
  virtual void AddStrings(TMyWStrings& Strings);
  virtual void AddBlank(int Count);
  /// Adds the lines of S (CR LF, CR or LF end a line; U+0000 ends the text) and
  /// sets LineBreak from the breaks seen.
  virtual void AddText(const WideString& S);
  /// As AddText, but U+0000 does not end the text: it stays a character of its line.
  /// For texts read with ReadWholeTextFile, so that a write puts back what was read.
  void AddWholeText(const WideString& S);
  virtual void Append(const WideString& S);
  virtual void Assign(TMyStore& Strings);
  virtual void Assign(TMyWStrings& Strings);
  /// Own store freed when another is given; with none, an own empty store.
  virtual void SetStore(TMyStore* AStore);
  virtual void BeginUpdate();
  /// Frees the items' objects first when OwnsObjects; no OnChange.
  virtual void Clear();
  virtual void CustomSort(const TMyWStringsCompare& Compare);
  virtual void Delete(int Index);
  virtual void Reset();
  virtual void EndUpdate();
  virtual void Exchange(int Index1, int Index2);
  /// Stable sort by CompareDigitPath, then RemoveDuplicates.
  virtual void SortPaths();
  virtual void SortPaths(bool RemoveDups);
  virtual void SortPathsRange(int Low, int High);
  /// Linear search of a sorted list: true and the index of an equal item, or
  /// false and the index where S belongs.
  virtual bool Find(const WideString& S, int& Index);
  virtual int IndexOfPrefix(const WideString& S);
  virtual int IndexOfPrefix(const WideString& S, int Start);
  virtual void Insert(int Index, const WideString& S);
  virtual void InsertionSort(bool RemoveDups);
  virtual void InsertionSort(const TMyWStringsCompare& Compare, bool RemoveDups);
  /// The one way in for wide items: Sorted and Duplicates apply; never raises.
  virtual void InsertObject(int Index, const WideString& S, TObject* AObject);
  virtual void InsertStrings(int Index, TMyStore& Strings);
  virtual void InsertStrings(int Index, TMyWStrings& Strings);
  virtual int IndexOfPart(const WideString& S);
  virtual int IndexOfPart(const WideString& S, int Start);
  /// Reads in CharCode, which receives the detected code.
  virtual void LoadFromFile(const WideString& FileName);
  virtual void LoadFromFile(const WideString& FileName, TMyCharCode& Code);
  virtual void LoadFromFile(const WideString& FileName, TMyCharCode& Code, uint64_t Count);
  /// Stable merge sort of the items Low..High; no BeginUpdate, no OnChange.
  virtual void MergeSort(int Low, int High, const TMyWStringsCompare& Compare);
  virtual void SortRange(int Low, int High);
  virtual void Sort(const TMyWStringsCompare& Compare, bool RemoveDups);
  virtual void Sort(const TMyWStringsCompare& Compare);
  virtual void Sort();
  virtual void Move(int CurIndex, int NewIndex);
  /// Partition sort, not stable; every exchange calls OnChange.
  virtual void QuickSort(const TMyWStringsCompare& Compare);
  virtual void QuickSort(const TMyWStringsCompare& Compare, bool RemoveDups);
  virtual void Reverse();
  [[nodiscard]] virtual bool SaveToFile(const WideString& FileName, TMyCharCode Code,
                                        TMyNewLine NewLine);
  /// WriteTextFile of GetText; false when the file could not be written.
  [[nodiscard]] virtual bool SaveToFile(const WideString& FileName, TMyCharCode Code);
  [[nodiscard]] virtual bool SaveToFile(const WideString& FileName);
  virtual void SortAll();

  /// The store's count; 0 when there is no store.
  int Count() const;
  int IndexOfName(const WideString& Name) const;
  /// First item at or after Start whose trimmed name equals Name ignoring case.
  int IndexOfName(const WideString& Name, int Start) const;

  /// Locale order of the user's locale; case per the list's CaseSensitive.
  static int DefaultCompare(TMyWStrings& List, int Index1, int Index2);
  /// CompareDigitPath of the two items.
  static int PathCompare(TMyWStrings& List, int Index1, int Index2);

  TMyStore* Store() const { return store_; }
  bool OwnsStore() const { return ownsStore_; }

  bool CaseSensitive = false;
  bool Sorted = false;
  TDuplicates Duplicates = dupIgnore;
  WideString Delimiter = u",";
  TMyCharCode CharCode = cdAuto;
  TMyNewLine LineBreak = nlCRLF;
  bool OwnsObjects = false;
  TMyWStringsOnAdd OnAdd;
  TNotifyEvent OnChange;
  /// Progress of the last merge sort: "リストのソート中 [n]".
  WideString SortCaption;

 protected:
  /// Locale comparison flags for CaseSensitive.
  unsigned CompareFlags() const;
  /// The item for a comparison: the decoded copy while a merge sort runs, else
  /// Get(Index) kept in `holder`.
  const WideString& ItemForCompare(int Index, WideString& holder);

 private:
  /// Capacity for `added` more items and 100 to spare (bulk appends).
  void ReserveFor(int64_t added);
  /// AddText of S's first `end` code units.
  void AddLines(const WideString& S, size_t end);
  void Changed();
  void FreeObjectAt(int Index);
  void MergeSortIndexes(std::vector<int>& indexes, size_t first, size_t count,
                        std::vector<int>& scratch, const TMyWStringsCompare& Compare);
  void QuickSortRange(int Low, int High, const TMyWStringsCompare& Compare);
  int IndexOfMatch(const WideString& S, int Start, bool prefixOnly);
  const WideString* SortCacheItem(int Index) const;

  TMyStore* store_ = nullptr;
  std::unique_ptr<TMyStore> ownStore_;
  bool ownsStore_ = false;
  int sortSteps_ = 0;
  // Decoded items from sortLow_ on while a merge sort compares them (they do not change then).
  std::vector<WideString> sortItems_;
  int sortLow_ = 0;
};

}  // namespace magna
