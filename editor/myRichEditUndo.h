#pragma once
// The undo store of the rich-edit stand-in, in text indexes and "\r" breaks.
//
// Guarantees: at most MaxSteps undo steps, as the platform's control keeps by
// default, and at most Budget(text length) bytes of held text, undo and redo
// together: the larger of 64 MB and twice the current text as UTF-16. The
// oldest undo steps go first, then the redo steps farthest from the text. A step
// holds only what is not in the text: the removed text while it can be undone,
// the inserted text once undone. So a watched clipboard of tens of megabytes a
// copy keeps the memory in bounds however long the program runs.
//
// Typical use:
//   store.Record(start, removedText, insertedLength, /*typing=*/false);
//   store.Undo([&](int start, int length, WideView text) { return Replace(...); }, textLength);

#include <cstddef>
#include <deque>
#include <functional>

#include "platform/myBase.h"

namespace magna {

class TRichEditUndo {
 public:
  static constexpr size_t MaxSteps = 100;
  static constexpr size_t MinBudgetBytes = size_t(64) << 20;
  /// What one step costs beyond its text (bookkeeping), so that empty steps count too.
  static constexpr size_t StepOverheadBytes = 64;

  /// Replaces `length` code units at `start` by `text` and returns what it replaced.
  using Replacer = std::function<WideString(int start, int length, WideView text)>;

  /// The memory the store may hold with a text of that many code units.
  static size_t Budget(size_t textLength);
  /// Whether a step holding `units` code units can be kept at all with a text of
  /// `textLength`; one that can't need not be copied.
  static bool Fits(size_t units, size_t textLength) {
    return units * sizeof(char16_t) + StepOverheadBytes <= Budget(textLength);
  }

  /// An edit made: at `start`, `removed` gave way to `insertedLength` code units.
  /// Typing steps (characters typed or deleted one after another) merge into one.
  /// Forgets what could be redone; keeps the limits for a text of `textLength`.
  void Record(int start, WideString removed, int insertedLength, bool typing, size_t textLength);
  /// Undoes or redoes one step through `replace`; false when there is none.
  bool Undo(const Replacer& replace, size_t textLength);
  bool Redo(const Replacer& replace, size_t textLength);
  /// What comes next starts a step of its own: typing no longer merges into the last step.
  void EndTyping();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  void Clear();

  size_t UndoSteps() const { return undo_.size(); }
  size_t RedoSteps() const { return redo_.size(); }
  size_t HeldBytes() const { return held_; }

 private:
  struct Step {
    int start = 0;
    WideString held;      // the text that this step puts back
    int otherLength = 0;  // the code units that it takes away for that
    bool typing = false;
  };
  static size_t Cost(const Step& step) {
    return step.held.size() * sizeof(char16_t) + StepOverheadBytes;
  }
  bool Merge(int start, WideString& removed, int insertedLength);
  /// Applies the top step of `from` and moves it, turned round, onto `to`.
  bool Apply(std::deque<Step>& from, std::deque<Step>& to, const Replacer& replace,
             size_t textLength);
  void Trim(size_t textLength);

  std::deque<Step> undo_;  // the newest last
  std::deque<Step> redo_;  // the next to redo last
  size_t held_ = 0;
};

}  // namespace magna
