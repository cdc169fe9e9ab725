#include "text/myStore.h"

#include <string>
#include <utility>

namespace magna {

namespace {

[[noreturn]] void RaiseIndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

void TMyStore::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
}

void TMyStore::CheckInsertIndex(int index) const {
  if (index < 0 || index > Count()) RaiseIndexError(index);
}

void TMyStore::SetCapacity(int capacity) {
  if (capacity < Count())
    throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
  if (capacity >= Capacity()) {
    items_.reserve(static_cast<size_t>(capacity));
    return;
  }
  std::vector<Item> smaller;
  smaller.reserve(static_cast<size_t>(capacity));
  for (Item& item : items_) smaller.push_back(std::move(item));
  items_.swap(smaller);
}

const AnsiString& TMyStore::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].Bytes;
}

void TMyStore::Put(int index, AnsiString bytes) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].Bytes = std::move(bytes);
}

TObject* TMyStore::GetObject(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].Object;
}

void TMyStore::PutObject(int index, TObject* object) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].Object = object;
}

void TMyStore::Insert(int index, AnsiString bytes, TObject* object) {
  CheckInsertIndex(index);
  items_.insert(items_.begin() + index, Item{std::move(bytes), object});
}

int TMyStore::Add(AnsiString bytes, TObject* object) {
  items_.push_back(Item{std::move(bytes), object});
  return Count() - 1;
}

void TMyStore::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

void TMyStore::DeleteRange(int index, int count) {
  if (count <= 0) return;
  CheckIndex(index);
  CheckIndex(index + count - 1);
  items_.erase(items_.begin() + index, items_.begin() + index + count);
}

void TMyStore::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TMyStore::Move(int curIndex, int newIndex) {
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  if (curIndex == newIndex) return;
  Item item = std::move(items_[static_cast<size_t>(curIndex)]);
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, std::move(item));
}

void TMyStore::Clear() {
  items_.clear();
}

void TMyStore::AddStrings(const TMyStore& other) {
  if (&other == this) {
    const std::vector<Item> copy = items_;
    items_.insert(items_.end(), copy.begin(), copy.end());
    return;
  }
  items_.insert(items_.end(), other.items_.begin(), other.items_.end());
}

void TMyStore::Assign(const TMyStore& other) {
  if (&other != this) items_ = other.items_;
}

}  // namespace magna
