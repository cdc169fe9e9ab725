#include "editor/myRichEditCapture.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "editor/myRichEditText.h"

namespace magna {

TEditCapture::TEditCapture(const TRichEditText& text, int from, int to) : text_(text) {
  const QTextDocument* document = text.Document();
  QTextBlock first = document->findBlock(from);
  if (!first.isValid()) first = document->firstBlock();
  if (first.previous().isValid()) first = first.previous();
  QTextBlock last = document->findBlock(to);
  if (!last.isValid()) last = document->lastBlock();
  if (last.next().isValid()) last = last.next();
  // With the last block's separator: Qt marks a whole block changed, separator
  // included, when only its input method's text changes.
  documentFrom_ = first.position();
  const int documentTo = last.position() + last.length();
  documentTail_ = document->characterCount() - documentTo;
  from_ = text.ToText(documentFrom_);
  const int textTo = last.next().isValid() ? text.ToText(documentTo) : text.Length();
  before_ = text.Range(from_, textTo - from_);
  lengthBefore_ = text.Length();
}

void TEditCapture::Changed(int from, int removed, int added) {
  changed_ = true;
  const int tail = text_.Document()->characterCount() - (from + added);
  if (from < documentFrom_ || tail < documentTail_ || removed < 0) outside_ = true;
}

TEditCapture::Result TEditCapture::Finish() {
  Result result;
  if (!changed_) return result;
  const int afterLength = int(before_.size()) + text_.Length() - lengthBefore_;
  if (outside_ || afterLength < 0) {
    result.kind = Result::Unknown;
    return result;
  }
  const WideString after = text_.Range(from_, afterLength);
  // The window's text before and after differs only between a common start and end.
  const size_t shorter = std::min(before_.size(), after.size());
  size_t head = 0;
  while (head < shorter && before_[head] == after[head]) ++head;
  size_t tail = 0;
  while (tail < shorter - head &&
         before_[before_.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  if (head == before_.size() && head == after.size()) return result;
  result.kind = Result::Edit;
  result.start = from_ + int(head);
  result.removed = before_.substr(head, before_.size() - head - tail);
  result.insertedLength = int(after.size() - head - tail);
  return result;
}

}  // namespace magna
