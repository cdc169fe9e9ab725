#pragma once
// What Qt's own editing (typed keys, input methods, drops) did to the text, for
// the undo store. Qt reports a change only once it is made, when the removed
// text is gone, so the text around the selection is kept before the edit and
// compared with what stands there after it. Qt's edits reach no further than the
// selection and the display blocks next to it (a block holds at most a few
// thousand code units); a change outside that window is reported as unknown.
//
// Typical use:
//   TEditCapture capture(text, cursor.selectionStart(), cursor.selectionEnd());
//   ... QTextDocument::contentsChange -> capture.Changed(from, removed, added) ...
//   TEditCapture::Result result = capture.Finish();

#include "platform/myBase.h"

namespace magna {

class TRichEditText;

class TEditCapture {
 public:
  /// Keeps the text around the document positions [from, to]: from the display
  /// block before `from` to the one after `to`.
  TEditCapture(const TRichEditText& text, int from, int to);

  /// One change of the document as QTextDocument::contentsChange reports it.
  void Changed(int from, int removed, int added);

  struct Result {
    enum Kind { Unchanged, Edit, Unknown } kind = Unchanged;
    int start = 0;  // the edit, in text indexes: `removed` gave way to `insertedLength` units
    WideString removed;
    int insertedLength = 0;
  };
  /// What changed since construction.
  Result Finish();

 private:
  const TRichEditText& text_;
  int from_ = 0;  // the window in text indexes
  WideString before_;
  int lengthBefore_ = 0;
  int documentFrom_ = 0;  // the window's start and the unchanged document after it
  int documentTail_ = 0;
  bool changed_ = false;
  bool outside_ = false;
};

}  // namespace magna
