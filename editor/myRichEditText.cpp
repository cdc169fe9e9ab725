#include "editor/myRichEditText.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "platform/qt/qtText.h"

namespace magna {

namespace {

constexpr int SoftProperty = QTextFormat::UserProperty + 0x4D41;  // marks a continuation block
// On a stand-in: the code unit of the text that it shows (a U+2028 without it is a
// packed line break).
constexpr int LiteralProperty = QTextFormat::UserProperty + 0x4D42;
constexpr char16_t CR = u'\r';
constexpr char16_t LS = QChar::LineSeparator;
constexpr char16_t PS = QChar::ParagraphSeparator;
constexpr char16_t Replacement = QChar::ReplacementCharacter;

/// Whether the text's code unit is shown by a stand-in: Qt's insertion would take
/// U+2029, U+FDD0 and U+FDD1 for separators, and a U+2028 for a packed break.
bool NeedsStandIn(char16_t c) {
  return c >= LS && (c == LS || c == PS || c == 0xFDD0 || c == 0xFDD1);  // one test for most text
}

/// The document's code unit that shows a text's one: a separator as a line
/// separator, a noncharacter as the replacement character.
char16_t StandInFor(char16_t unit) {
  return unit == LS || unit == PS ? LS : Replacement;
}

bool IsCjk(QChar c) {
  char16_t u = c.unicode();
  return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7AF) ||
         (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF);
}

bool IsSentenceEnd(QChar c) {
  char16_t u = c.unicode();
  return u == u'。' || u == u'！' || u == u'？' || u == u'．' || u == u'.' || u == u'!' ||
         u == u'?';
}

/// Whether a break before text[i] would part the two halves of a surrogate pair
/// (a low surrogate without a high one before it is a character of its own).
bool SplitsPair(const QString& text, int i) {
  return text.at(i).isLowSurrogate() && text.at(i - 1).isHighSurrogate();
}

/// Whether a break before text[i] keeps whole characters: no pair parted, no
/// combining mark cut from its base.
bool KeepsCharacters(const QString& text, int i) {
  return !SplitsPair(text, i) && !text.at(i).isMark();
}

/// 2: after the end of a sentence; 1: after a space or between CJK characters; 0: no.
int BreakQuality(const QString& text, int i) {
  QChar before = text.at(i - 1), after = text.at(i);
  if (!KeepsCharacters(text, i)) return 0;
  bool space = before == u' ' || before == u'\t';
  if (IsSentenceEnd(before) && (IsCjk(before) || IsCjk(after))) return 2;
  if (IsSentenceEnd(text.at(std::max(0, i - 2))) && space) return 2;
  return space || (IsCjk(before) && IsCjk(after)) ? 1 : 0;
}

QTextBlockFormat WithSoftMark(QTextBlockFormat format, bool soft) {
  if (soft)
    format.setProperty(SoftProperty, true);
  else
    format.clearProperty(SoftProperty);
  return format;
}

/// The text as a QString without a copy: valid only while `text` lives, for Qt
/// calls that copy what they keep (a pasted text may be tens of megabytes).
QString Borrowed(WideView text) {
  return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

bool IsBreak(char16_t c) {
  return c == u'\r' || c == u'\n';
}

/// What decides how a text enters the document.
struct TextShape {
  int longestLine = 0;
  bool standIns = false;  // holds a code unit shown by a stand-in
};

TextShape ShapeOf(WideView text) {
  TextShape shape;
  int run = 0;
  for (char16_t c : text) {
    if (IsBreak(c)) {
      run = 0;
      continue;
    }
    if (NeedsStandIn(c)) shape.standIns = true;
    shape.longestLine = std::max(shape.longestLine, ++run);
  }
  return shape;
}

/// The lines of a text (no U+2028 in it) packed into blocks: a break becomes a
/// line separator while the block stays within `target` code units, else a block
/// separator. Qt pays per block, so 400 000 short lines cost seconds as blocks.
/// `run` is the length of the block so far, in and out.
QString PackLines(WideView text, int target, int& run) {
  QString out;
  out.reserve(qsizetype(text.size()));
  bool first = true;
  for (size_t i = 0;;) {
    size_t end = i;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    int length = int(end - i);
    if (!first) {
      bool sameBlock = run == 0 || run + 1 + length <= target;
      out.append(QChar(sameBlock ? LS : PS));
      run = sameBlock ? run + 1 : 0;
    }
    first = false;
    out.append(reinterpret_cast<const QChar*>(text.data() + i), qsizetype(length));
    run += length;
    if (end == text.size()) break;
    i = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
  }
  return out;
}

QTextCharFormat StandInFormat(char16_t unit) {
  QTextCharFormat format;
  format.setProperty(LiteralProperty, int(unit));
  return format;
}

}  // namespace

int ChunkEnd(const QString& text, int start, int target) {
  constexpr int Reach = 256;
  int last = int(text.size()) - 1;
  target = std::clamp(target, start + 1, last);
  // A display break shows where wrapping may not put one: a sentence end hides it best.
  int lowest = std::max(start + 1, target - Reach);
  for (int quality : {2, 1})
    for (int i = target; i > lowest; --i)
      if (BreakQuality(text, i) >= quality) return i;
  // Else the nearest place between whole characters, on either side, so that every
  // piece stays near its target size whatever the text.
  for (int d = 0; d <= Reach; ++d)
    for (int i : {target - d, target + d})
      if (i > start && i <= last && KeepsCharacters(text, i)) return i;
  // A run of marks longer than that is cut inside, which only the display sees;
  // a pair never is.
  if (!SplitsPair(text, target)) return target;
  return target < last ? target + 1 : target - 1;
}

TRichEditText::TRichEditText(QTextDocument* document) : QObject(document), document_(document) {
  document_->documentLayout();  // the document reports its changes only once it has a layout
  blockCount_ = document_->blockCount();
  soft_ = Scan(0, document_->characterCount());
  Marks marks = ScanMarks(0, document_->characterCount());
  packed_ = std::move(marks.packed);
  standIns_ = std::move(marks.standIns);
  connect(document_, &QTextDocument::contentsChange, this, &TRichEditText::ContentsChange);
}

bool TRichEditText::NeedsReplace(const QString& text) {
  // A break made by Qt's insertion would take the format of the block it splits,
  // a continuation's mark included, and so be no break of the text.
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return NeedsStandIn(c.unicode()) || c.unicode() == Replacement || IsBreak(c.unicode());
  });
}

bool TRichEditText::IsSoft(const QTextBlock& block) {
  return block.position() > 0 && block.blockFormat().boolProperty(SoftProperty);
}

int TRichEditText::Length() const {
  return document_->characterCount() - 1 - int(soft_.size());
}

int TRichEditText::LineCount() const {
  return document_->blockCount() - int(soft_.size()) + int(packed_.size());
}

int TRichEditText::PackedBefore(int position) const {
  return int(std::lower_bound(packed_.begin(), packed_.end(), position) - packed_.begin());
}

int TRichEditText::BreaksBefore(const QTextBlock& block) const {
  int number = block.blockNumber();
  return number - SoftBefore(number) + PackedBefore(block.position());
}

int TRichEditText::SoftBefore(int blockNumber) const {
  return int(std::upper_bound(soft_.begin(), soft_.end(), blockNumber,
                              [](int n, const SoftBlock& s) { return n < s.number; }) -
             soft_.begin());
}

int TRichEditText::ToText(int position) const {
  auto after = std::upper_bound(soft_.begin(), soft_.end(), position,
                                [](int p, const SoftBlock& s) { return p < s.position; });
  return position - int(after - soft_.begin());
}

int TRichEditText::ToDocument(int index) const {
  // Soft break i sits at text index position - i - 1; an index on a break maps
  // to the start of the continuation block.
  int lo = 0, hi = int(soft_.size());
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (soft_[mid].position - mid - 1 <= index)
      lo = mid + 1;
    else
      hi = mid;
  }
  return index + lo;
}

int TRichEditText::LineFromChar(int index) const {
  index = std::clamp(index, 0, Length());
  int position = ToDocument(index);
  int number = document_->findBlock(position).blockNumber();
  return number - SoftBefore(number) + PackedBefore(position);
}

int TRichEditText::LineIndex(int line) const {
  if (line < 0 || line >= LineCount()) return -1;
  if (line == 0) return 0;
  // The last block with fewer than `line` breaks before it holds the line's break:
  // one of its packed line separators, or the block separator after it.
  int lo = 0, hi = document_->blockCount() - 1;
  while (lo < hi) {
    int mid = (lo + hi + 1) / 2;
    if (BreaksBefore(document_->findBlockByNumber(mid)) < line)
      lo = mid;
    else
      hi = mid - 1;
  }
  QTextBlock block = document_->findBlockByNumber(lo);
  int nth = line - BreaksBefore(block);  // 1-based, counted from the block's start
  int first = PackedBefore(block.position());
  QTextBlock next = block.next();
  int end = next.isValid() ? next.position() : document_->characterCount();
  if (nth <= PackedBefore(end) - first) return ToText(packed_[size_t(first + nth - 1)] + 1);
  return ToText(end);
}

int TRichEditText::LineLength(int line) const {
  if (line < 0 || line >= LineCount()) return 0;
  int end = line + 1 < LineCount() ? LineIndex(line + 1) - 1 : Length();
  return end - LineIndex(line);
}

WideString TRichEditText::Range(int start, int count) const {
  int length = Length();
  start = std::clamp(start, 0, length);
  count = std::min(count, length - start);
  WideString out;
  if (count <= 0) return out;
  out.reserve(size_t(count));
  int position = ToDocument(start);
  QTextBlock block = document_->findBlock(position);
  int offset = position - block.position();
  while (true) {
    int take = std::min(count - int(out.size()), block.length() - 1 - offset);
    size_t piece = out.size();
    if (take <= 16) {
      for (int i = 0; i < take; ++i)
        out.push_back(document_->characterAt(block.position() + offset + i).unicode());
    } else {
      out += platform::qt::ToWide(block.text().mid(offset, take));
    }
    int from = block.position() + offset;
    for (int i = PackedBefore(from); i < int(packed_.size()) && packed_[size_t(i)] < from + take;
         ++i)
      out[piece + size_t(packed_[size_t(i)] - from)] = CR;
    RestoreStandIns(out, piece, from, take);
    if (int(out.size()) >= count) break;
    block = block.next();
    if (!block.isValid()) break;
    if (!IsSoft(block)) out.push_back(CR);
    offset = 0;
    if (int(out.size()) >= count) break;
  }
  return out;
}

WideString TRichEditText::Text(bool crlf) const {
  QString raw = document_->toRawText();
  int end = std::min(int(raw.size()), document_->characterCount() - 1);
  WideString out;
  out.reserve(size_t(end) + (crlf ? size_t(LineCount()) : 0));
  const char16_t* data = reinterpret_cast<const char16_t*>(raw.utf16());
  auto soft = soft_.begin();
  auto packed = packed_.begin();
  int from = 0;
  for (int i = 0; i < end; ++i) {
    if (data[i] == LS) {
      while (packed != packed_.end() && *packed < i) ++packed;
      if (packed == packed_.end() || *packed != i) continue;
      out.append(data + from, data + i);
      from = i + 1;
      out.push_back(CR);
      if (crlf) out.push_back(u'\n');
      continue;
    }
    if (data[i] != PS) continue;
    out.append(data + from, data + i);
    from = i + 1;
    while (soft != soft_.end() && soft->position - 1 < i) ++soft;
    if (soft != soft_.end() && soft->position - 1 == i) continue;
    out.push_back(CR);
    if (crlf) out.push_back(u'\n');
  }
  out.append(data + from, data + end);
  for (const StandIn& s : standIns_) {
    int index = ToText(s.position);
    out[size_t(index) + (crlf ? size_t(LineFromChar(index)) : 0)] = s.unit;
  }
  return out;
}

void TRichEditText::RestoreStandIns(WideString& out, size_t at, int from, int count) const {
  auto it = std::lower_bound(standIns_.begin(), standIns_.end(), from,
                             [](const StandIn& s, int p) { return s.position < p; });
  for (; it != standIns_.end() && it->position < from + count; ++it)
    out[at + size_t(it->position - from)] = it->unit;
}

int TRichEditText::RowStart(int position) const {
  QTextBlock block = document_->findBlock(position);
  if (!block.isValid()) return position;
  int offset = position - block.position();
  while (true) {
    int separator = offset > 0 ? int(block.text().lastIndexOf(QChar(LS), offset - 1)) : -1;
    if (separator >= 0) return block.position() + separator + 1;
    if (!IsSoft(block)) return block.position();
    block = block.previous();
    offset = block.length() - 1;
  }
}

int TRichEditText::RowEnd(int position) const {
  QTextBlock block = document_->findBlock(position);
  if (!block.isValid()) return position;
  int offset = position - block.position();
  while (true) {
    int separator = int(block.text().indexOf(QChar(LS), offset));
    if (separator >= 0) return block.position() + separator;
    QTextBlock next = block.next();
    if (!next.isValid() || !IsSoft(next)) return block.position() + block.length() - 1;
    block = next;
    offset = 0;
  }
}

bool TRichEditText::AtSoftBreakStart(int position) const {
  return std::binary_search(
      soft_.begin(), soft_.end(), SoftBlock{position, 0},
      [](const SoftBlock& a, const SoftBlock& b) { return a.position < b.position; });
}

bool TRichEditText::AtSoftBreakEnd(int position) const {
  return AtSoftBreakStart(position + 1);
}

void TRichEditText::Replace(QTextCursor& cursor, WideView text) {
  cursor.removeSelectedText();
  int from = cursor.position();
  QTextBlock at = document_->findBlock(from);
  if (at.position() == 0 && at.blockFormat().boolProperty(SoftProperty)) {
    // Emptying the whole document leaves its last block's format on the first.
    QTextCursor(at).setBlockFormat(WithSoftMark(at.blockFormat(), false));
  }
  bool inheritsMark = IsSoft(at);
  TextShape shape = ShapeOf(text);
  Insert(cursor, text, int(text.size()) >= PackMinimum);
  int to = cursor.position();
  if (inheritsMark) FixInsertedBlocks(from, to);
  // Only a line of the text, or the first or last block it joins, can be too long.
  if (shape.longestLine > ChunkLimit) {
    SplitLongBlocks(from, to);  // the cursor moves along with the inserted breaks
  } else {
    SplitLongBlocks(to, to);
    SplitLongBlocks(from, from);
  }
}

void TRichEditText::Insert(QTextCursor& cursor, WideView text, bool pack) {
  const QTextCharFormat plain;  // no marks: a line separator in it is a packed break
  int run = 0;
  for (size_t start = 0; start < text.size();) {
    size_t special = start;
    while (special < text.size() && !NeedsStandIn(text[special])) ++special;
    WideView piece = text.substr(start, special - start);
    if (!piece.empty())
      cursor.insertText(pack ? PackLines(piece, ChunkTarget, run) : Borrowed(piece), plain);
    if (special == text.size()) break;
    // A run of one such code unit goes in as one insertion of its stand-ins.
    size_t end = special;
    while (end < text.size() && text[end] == text[special]) ++end;
    cursor.insertText(QString(qsizetype(end - special), QChar(StandInFor(text[special]))),
                      StandInFormat(text[special]));
    run += int(end - special);
    start = end;
  }
}

void TRichEditText::SetAll(WideView text) {
  // A text this short has no line longer than ChunkLimit either.
  static_assert(PackMinimum <= ChunkLimit + 1);
  if (int(text.size()) < PackMinimum && !ShapeOf(text).standIns) {
    // The document's plain-text path, the fastest for small texts; it forgets the
    // undo steps too. Larger texts are measured once, by Replace.
    document_->setPlainText(Borrowed(text));
    return;
  }
  // Long lines would be laid out whole, many short ones cost a block each: packed
  // and split in one edit block, and only visible blocks are laid out.
  bool undo = document_->isUndoRedoEnabled();
  document_->setUndoRedoEnabled(false);
  QTextCursor cursor(document_);
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  Replace(cursor, text);
  cursor.endEditBlock();
  document_->setUndoRedoEnabled(undo);
}

void TRichEditText::FixInsertedBlocks(int from, int to) {
  // Blocks made by inserted breaks inherit the format of the block they split.
  QTextBlock block = document_->findBlock(from).next();
  while (block.isValid() && block.position() <= to) {
    if (block.blockFormat().boolProperty(SoftProperty)) {
      QTextCursor fix(block);
      fix.setBlockFormat(WithSoftMark(block.blockFormat(), false));
    }
    block = block.next();
  }
}

void TRichEditText::SplitLongBlocks(int from, int to) {
  QTextBlock block = document_->findBlock(to);
  if (!block.isValid()) block = document_->lastBlock();
  while (block.isValid()) {
    QTextBlock previous = block.previous();
    if (block.length() - 1 > ChunkLimit) SplitBlock(block);
    if (!previous.isValid() || block.position() <= from) break;
    block = previous;
  }
}

void TRichEditText::SplitBlock(const QTextBlock& block) {
  QString text = block.text();
  int length = int(text.size());
  std::vector<int> ends;
  for (int start = 0; length - start > ChunkLimit;) {
    start = ChunkEnd(text, start, start + ChunkTarget);
    ends.push_back(start);
  }
  QTextBlockFormat soft = WithSoftMark(block.blockFormat(), true);
  int base = block.position();
  QTextCursor cursor(document_);
  for (auto it = ends.rbegin(); it != ends.rend(); ++it) {
    cursor.setPosition(base + *it);
    cursor.insertBlock(soft);
  }
}

std::vector<TRichEditText::SoftBlock> TRichEditText::Scan(int from, int to) const {
  // Runs over every block of a pasted text: one format test per block, and block
  // positions only for the few soft ones.
  std::vector<SoftBlock> found;
  QTextBlock block = document_->findBlock(from);
  if (!block.isValid()) return found;
  if (block.position() < from) block = block.next();
  QTextBlock last = document_->findBlock(to);
  if (!last.isValid()) last = document_->lastBlock();
  int number = block.blockNumber(), lastNumber = last.blockNumber();
  std::vector<int8_t> softFormat;  // by block format index: -1 not yet known
  for (; block.isValid() && number <= lastNumber; block = block.next(), ++number) {
    size_t format = size_t(std::max(0, block.blockFormatIndex()));
    if (format >= softFormat.size()) softFormat.resize(format + 1, -1);
    if (softFormat[format] < 0) softFormat[format] = block.blockFormat().boolProperty(SoftProperty);
    if (softFormat[format] && number > 0) found.push_back({block.position(), number});
  }
  return found;
}

void TRichEditText::ContentsChange(int from, int removed, int added) {
  int shift = added - removed;
  int blockShift = document_->blockCount() - blockCount_;
  blockCount_ = document_->blockCount();
  auto byPosition = [](const SoftBlock& s, int p) { return s.position < p; };
  auto first = std::lower_bound(soft_.begin(), soft_.end(), from, byPosition);
  auto last = std::lower_bound(first, soft_.end(), from + removed + 1, byPosition);
  for (auto it = last; it != soft_.end(); ++it) {
    it->position += shift;
    it->number += blockShift;
  }
  std::vector<SoftBlock> found = Scan(from, from + added);
  auto at = soft_.erase(first, last);
  soft_.insert(at, found.begin(), found.end());

  Marks marks = ScanMarks(from, from + added);
  auto firstPacked = std::lower_bound(packed_.begin(), packed_.end(), from);
  auto lastPacked = std::lower_bound(firstPacked, packed_.end(), from + removed);
  for (auto it = lastPacked; it != packed_.end(); ++it) *it += shift;
  auto packedAt = packed_.erase(firstPacked, lastPacked);
  packed_.insert(packedAt, marks.packed.begin(), marks.packed.end());

  auto byStandIn = [](const StandIn& s, int p) { return s.position < p; };
  auto firstStandIn = std::lower_bound(standIns_.begin(), standIns_.end(), from, byStandIn);
  auto lastStandIn = std::lower_bound(firstStandIn, standIns_.end(), from + removed, byStandIn);
  for (auto it = lastStandIn; it != standIns_.end(); ++it) it->position += shift;
  auto standInAt = standIns_.erase(firstStandIn, lastStandIn);
  standIns_.insert(standInAt, marks.standIns.begin(), marks.standIns.end());
}

TRichEditText::Marks TRichEditText::ScanMarks(int from, int to) const {
  Marks found;
  auto collect = [&](const QString& text, int start, char16_t shown, auto&& add) {
    for (int i = int(text.indexOf(QChar(shown))); i >= 0;
         i = int(text.indexOf(QChar(shown), i + 1)))
      if (start + i >= from && start + i < to) add(start + i);
  };
  for (QTextBlock block = document_->findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      QTextFragment fragment = it.fragment();
      int start = fragment.position();
      if (start + fragment.length() <= from || start >= to) continue;
      QString text = fragment.text();
      // Most fragments hold neither shown code unit: no format lookup for them.
      if (!text.contains(QChar(LS)) && !text.contains(QChar(Replacement))) continue;
      QVariant unit = fragment.charFormat().property(LiteralProperty);
      if (!unit.isValid()) {  // unmarked: every line separator is a packed break
        collect(text, start, LS, [&](int p) { found.packed.push_back(p); });
        continue;
      }
      // Marked: its stand-ins show the code unit of the mark (typed text next to a
      // stand-in takes its format too, and stays what it is).
      auto standsFor = char16_t(unit.toInt());
      if (standsFor == LS) continue;  // shows itself
      collect(text, start, StandInFor(standsFor), [&](int p) {
        found.standIns.push_back({p, standsFor});
      });
    }
  }
  return found;
}

bool TRichEditText::IndexConsistent() const {
  Marks marks = ScanMarks(0, document_->characterCount());
  if (marks.packed != packed_ || marks.standIns != standIns_) return false;
  std::vector<SoftBlock> fresh = Scan(0, document_->characterCount());
  if (fresh.size() != soft_.size()) return false;
  for (size_t i = 0; i < fresh.size(); ++i)
    if (fresh[i].position != soft_[i].position || fresh[i].number != soft_[i].number) return false;
  return true;
}

}  // namespace magna
