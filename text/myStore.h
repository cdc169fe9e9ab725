#pragma once
// TMyStore: a list of byte strings, each with an object reference; the store under
// TMyWStrings. It never frees the objects it carries. Every index outside the
// valid range raises EListError; nothing is changed then.
// TMySortableStore is the kind of store whose case-sensitivity a TMyWStrings
// adopts when it is handed one.

#include <vector>

#include "platform/myBase.h"

namespace magna {

class TMyStore : public TObject {
 public:
  TMyStore() = default;
  TMyStore(const TMyStore&) = delete;
  TMyStore& operator=(const TMyStore&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  /// Capacity below Count raises EListError; a smaller capacity releases memory.
  void SetCapacity(int capacity);

  const AnsiString& Get(int index) const;
  void Put(int index, AnsiString bytes);
  TObject* GetObject(int index) const;
  void PutObject(int index, TObject* object);

  /// Inserts at 0..Count; the item takes the index, later items move up.
  void Insert(int index, AnsiString bytes, TObject* object = nullptr);
  /// Appends and returns the new item's index.
  int Add(AnsiString bytes, TObject* object = nullptr);
  void Delete(int index);
  /// Deletes `count` items from `index` on in one move; the whole range must exist.
  void DeleteRange(int index, int count);
  void Exchange(int index1, int index2);
  /// Takes the item out of curIndex and puts it at newIndex (both 0..Count-1).
  void Move(int curIndex, int newIndex);
  void Clear();

  /// Appends copies of the other store's strings and objects.
  void AddStrings(const TMyStore& other);
  /// Becomes a copy of the other store's strings and objects.
  void Assign(const TMyStore& other);

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() { --updateCount_; }
  /// Nesting depth of BeginUpdate calls not yet ended.
  int UpdateCount() const { return updateCount_; }

 private:
  struct Item {
    AnsiString Bytes;
    TObject* Object = nullptr;
  };
  void CheckIndex(int index) const;
  void CheckInsertIndex(int index) const;

  std::vector<Item> items_;
  int updateCount_ = 0;
};

/// The platform's sortable kind of store: carries the case-sensitivity that a
/// TMyWStrings built on it adopts.
class TMySortableStore : public TMyStore {
 public:
  bool CaseSensitive = false;
};

}  // namespace magna
