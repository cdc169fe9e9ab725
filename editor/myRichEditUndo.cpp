#include "editor/myRichEditUndo.h"

#include <algorithm>

namespace magna {

size_t TRichEditUndo::Budget(size_t textLength) {
  return std::max(MinBudgetBytes, 2 * textLength * sizeof(char16_t));
}

void TRichEditUndo::Record(int start, WideString removed, int insertedLength, bool typing,
                           size_t textLength) {
  for (const Step& step : redo_) held_ -= Cost(step);
  redo_.clear();
  if (removed.empty() && insertedLength == 0) return;
  if (!(typing && Merge(start, removed, insertedLength))) {
    undo_.push_back({start, std::move(removed), insertedLength, typing});
    held_ += Cost(undo_.back());
  }
  Trim(textLength);
}

bool TRichEditUndo::Merge(int start, WideString& removed, int insertedLength) {
  if (undo_.empty() || !undo_.back().typing) return false;
  Step& last = undo_.back();
  const int end = last.start + last.otherLength;
  if (removed.empty() && start == end) {  // typed on after the last characters
    last.otherLength += insertedLength;
    return true;
  }
  if (insertedLength != 0 || last.otherLength != 0) return false;
  held_ -= Cost(last);
  if (start + int(removed.size()) == last.start) {  // backspaced on
    last.held.insert(0, removed);
    last.start = start;
  } else if (start == last.start) {  // deleted on forwards
    last.held += removed;
  } else {
    held_ += Cost(last);
    return false;
  }
  held_ += Cost(last);
  return true;
}

bool TRichEditUndo::Undo(const Replacer& replace, size_t textLength) {
  return Apply(undo_, redo_, replace, textLength);
}

bool TRichEditUndo::Redo(const Replacer& replace, size_t textLength) {
  return Apply(redo_, undo_, replace, textLength);
}

bool TRichEditUndo::Apply(std::deque<Step>& from, std::deque<Step>& to, const Replacer& replace,
                          size_t textLength) {
  if (from.empty()) return false;
  Step step = std::move(from.back());
  from.pop_back();
  held_ -= Cost(step);
  WideString taken = replace(step.start, step.otherLength, step.held);
  textLength = textLength - size_t(step.otherLength) + step.held.size();
  step.otherLength = int(step.held.size());
  step.held = std::move(taken);
  step.typing = false;  // what comes after an undo or redo starts a step of its own
  held_ += Cost(step);
  to.push_back(std::move(step));
  Trim(textLength);
  return true;
}

void TRichEditUndo::EndTyping() {
  if (!undo_.empty()) undo_.back().typing = false;
}

void TRichEditUndo::Trim(size_t textLength) {
  const size_t budget = Budget(textLength);
  auto drop = [this](std::deque<Step>& steps) {
    held_ -= Cost(steps.front());
    steps.pop_front();
  };
  while (undo_.size() > MaxSteps) drop(undo_);
  while (held_ > budget && !undo_.empty()) drop(undo_);
  while (held_ > budget && !redo_.empty()) drop(redo_);
}

void TRichEditUndo::Clear() {
  undo_.clear();
  redo_.clear();
  held_ = 0;
}

}  // namespace magna
