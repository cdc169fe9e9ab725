#pragma once
// Storage for a process-wide object that the exit handlers never destroy.
// Qt ends the process with exit() when the display connection breaks: the
// application object is then still alive on the stack of main, while the exit
// handlers run the destructors of static objects. A static that owns a widget
// would destroy it there, without a working Qt. An object kept here lives until
// the process ends; what it holds that needs Qt is given up by its owner while
// Qt still runs (the entry point's scopes), and the rest stays reachable, so a
// leak checker does not count it.
// Typical use:
//   Table& TheTable() {
//     static TNoDestructor<Table> table;
//     return *table;
//   }

#include <new>
#include <utility>

namespace magna::platform {

template <class T>
class TNoDestructor {
 public:
  template <class... Args>
  explicit TNoDestructor(Args&&... args) {
    new (storage_) T(std::forward<Args>(args)...);
  }
  TNoDestructor(const TNoDestructor&) = delete;
  TNoDestructor& operator=(const TNoDestructor&) = delete;
  ~TNoDestructor() = default;  // on purpose: the object is never destroyed

  T& operator*() { return *Get(); }
  T* operator->() { return Get(); }

 private:
  T* Get() { return std::launder(reinterpret_cast<T*>(storage_)); }

  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace magna::platform
