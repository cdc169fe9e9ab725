#pragma once
// Watching the X11 PRIMARY selection beside the clipboard: text that the user
// selects in another program, without copying it. A change of the selection is
// taken by the clipboard's rules: never the program's own selection (selecting
// part of the shown text must not replace it), never a password manager's
// secret, an empty text never; and the owner is asked once per change, through
// the same service that remembers its answer, so that a program that never
// answers costs one wait per change and no more.
// Typical use:
//   TSelectionWatch watch([&] { return watching && option; },
//                         [&](const WideString& text) { ShowText(text); });

#include <functional>

#include "platform/myBase.h"

namespace magna {

class TSelectionWatch {
 public:
  /// Listens to the platform's selection from now on; `active` is asked at every
  /// change, before anything else; `take` receives a text to show.
  TSelectionWatch(std::function<bool()> active, std::function<void(const WideString&)> take);
  ~TSelectionWatch();
  TSelectionWatch(const TSelectionWatch&) = delete;
  TSelectionWatch& operator=(const TSelectionWatch&) = delete;

  /// One change notice of the selection.
  void SelectionChanged();

 private:
  std::function<bool()> active_;
  std::function<void(const WideString&)> take_;
};

}  // namespace magna
