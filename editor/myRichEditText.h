#pragma once
// The text of the rich-edit stand-in as the message protocol sees it (one "\r" per
// line break, indexes in UTF-16 code units) over a QTextDocument that shows it.
//
// Why the two differ: Qt lays out and shapes a paragraph as a whole, so one line
// of megabytes costs seconds to show and again for every typed key, and a run
// without break opportunities is quadratic to wrap. The document therefore holds
// every line in blocks of bounded length: a line longer than ChunkLimit is split
// by "soft" block breaks (blocks marked as continuations) that exist only in the
// display. The other way round, Qt pays per block, so a pasted text of many short
// lines is "packed": its breaks become line separators (U+2028, one code unit like
// the "\r" it stands for) inside blocks of about ChunkTarget code units.
//
// Qt's insertion takes U+2029, U+FDD0 and U+FDD1 for block and frame separators,
// so those characters of the text are shown by a stand-in of one code unit (U+2028
// for U+2029, U+FFFD for the two noncharacters) whose character format carries the
// code unit it stands for; a U+2028 of the text is marked the same way and stays a
// character, never a packed break. Every text reads back as it went in.
//
// This class maps between text indexes and document positions, answers the line
// queries in O(log^2 n), and keeps the soft breaks bounded and marked on every
// insertion it makes. Undo and redo restore the marks with the blocks.

#include <QObject>
#include <QTextCursor>
#include <vector>

#include "platform/myBase.h"

class QTextBlock;
class QTextDocument;

namespace magna {

class TRichEditText : public QObject {
  Q_OBJECT
 public:
  /// Lines up to ChunkLimit code units stay one block; longer ones are split near
  /// every ChunkTarget code units, preferably after a space or between CJK characters.
  static constexpr int ChunkLimit = 4096;
  static constexpr int ChunkTarget = 2048;
  /// Inserted texts from this size on pack short lines into blocks of about
  /// ChunkTarget code units, separated inside a block by U+2028.
  static constexpr int PackMinimum = 4096;

  explicit TRichEditText(QTextDocument* document);

  QTextDocument* Document() const { return document_; }
  /// Text length in code units (a line break counts 1).
  int Length() const;
  /// Lines of the text (breaks + 1): 1 for the empty text.
  int LineCount() const;
  /// 0-based line of a text index (clamped to the text).
  int LineFromChar(int index) const;
  /// First index of a line; -1 when the line does not exist.
  int LineIndex(int line) const;
  /// Length of a line without its break; 0 when the line does not exist.
  int LineLength(int line) const;
  /// Code units [start, start + count) of the text, clamped.
  WideString Range(int start, int count) const;
  /// The whole text with "\r" breaks, or "\r\n" when crlf.
  WideString Text(bool crlf) const;

  /// A text index as the document position that shows it, and back (soft breaks and
  /// packed separators accounted for); the caller keeps both within the text.
  int ToDocument(int index) const;
  int ToText(int position) const;

  /// Whether typed text must be inserted through Replace: it holds a break, or a
  /// character that Qt's own insertion would turn into a break or mistake for a
  /// stand-in.
  static bool NeedsReplace(const QString& text);

  /// Replaces the cursor's selection with text ("\r", "\n" and "\r\n" are breaks),
  /// splitting long lines; the caller frames it as one edit block. The cursor ends
  /// after the inserted text.
  void Replace(QTextCursor& cursor, WideView text);
  /// Replaces the whole text, with no undo step.
  void SetAll(WideView text);

  /// The display row of a document position as it would be without the display
  /// split: it ends at a line separator or a hard block break, never at a soft one.
  /// Start: its first position; End: the position of the separator that ends it.
  int RowStart(int position) const;
  int RowEnd(int position) const;

  /// Whether a block continues the line of the block before it.
  static bool IsSoft(const QTextBlock& block);
  /// Whether the document position lies right before / after a soft break.
  bool AtSoftBreakEnd(int position) const;
  bool AtSoftBreakStart(int position) const;
  /// The soft blocks found from scratch equal the index kept incrementally.
  bool IndexConsistent() const;
  int SoftBreakCount() const { return int(soft_.size()); }

 private:
  struct SoftBlock {
    int position;  // where the continuation block starts
    int number;    // its block number
  };
  /// A stand-in that shows another code unit than it is (U+2029, U+FDD0, U+FDD1).
  struct StandIn {
    int position;
    char16_t unit;
    friend bool operator==(const StandIn&, const StandIn&) = default;
  };
  /// The marks of the document positions in [from, to).
  struct Marks {
    std::vector<int> packed;
    std::vector<StandIn> standIns;
  };
  void ContentsChange(int from, int removed, int added);
  std::vector<SoftBlock> Scan(int from, int to) const;
  void FixInsertedBlocks(int from, int to);
  void SplitLongBlocks(int from, int to);
  void SplitBlock(const QTextBlock& block);
  int SoftBefore(int blockNumber) const;
  /// Packed line separators at document positions before `position`.
  int PackedBefore(int position) const;
  /// Line breaks (packed or block separators) before the block's first position.
  int BreaksBefore(const QTextBlock& block) const;
  /// The packed line breaks and the stand-ins at document positions in [from, to).
  Marks ScanMarks(int from, int to) const;
  /// Puts back the code units that stand-ins in [from, from + count) show otherwise;
  /// `out` holds those positions from `at` on.
  void RestoreStandIns(WideString& out, size_t at, int from, int count) const;
  /// Inserts at the cursor; the characters Qt would take for separators go in as
  /// marked stand-ins, and with `pack` the text's breaks are packed.
  void Insert(QTextCursor& cursor, WideView text, bool pack);

  QTextDocument* document_;
  std::vector<SoftBlock> soft_;
  std::vector<int> packed_;        // document positions of line separators that are line breaks
  std::vector<StandIn> standIns_;  // by position
  int blockCount_ = 1;
};

/// Where to end the next piece of a long line: near `target`, after the end of a
/// sentence, else after a space or between CJK characters when one is close, else
/// at the nearest place that cuts no mark from its base; never inside a surrogate
/// pair. Returns an offset in (start, text.size()) within 256 of `target` (or at
/// the start's side of it when the text ends sooner).
int ChunkEnd(const QString& text, int start, int target);

}  // namespace magna
