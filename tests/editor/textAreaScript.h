#pragma once
// A random script of edits on a text area beside a plain string model of it: texts
// over all of UTF-16 but U+0000 set whole, replaced through the selection, inserted
// in pieces, typed key by key or committed by an input method, undone and redone,
// the window re-created, Home and End pressed. After every step the text read back,
// the selection and the line queries must equal the model's. The random source
// decides everything, so the property test (a generator with a fixed start) and
// the fuzz target (the fuzzer's bytes) share the script. Header only.
//
// Typical use:
//   TTextAreaScript script(*memo, [&] { return uint32_t(random()); });
//   for (int i = 0; i < 100; ++i) ASSERT_EQ(script.Step(), "");

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "editor/myEdit.h"
#include "editor/myRichEditText.h"
#include "platform/myWindows.h"
#include "platform/qt/qtText.h"

namespace magna::test {

class TTextAreaScript {
 public:
  using Source = std::function<uint32_t()>;

  /// The memo is set to "\r" breaks and emptied; word wrap is the script's to switch.
  TTextAreaScript(TMyMemo& memo, Source next) : memo_(memo), next_(std::move(next)) {
    memo_.SetNewLine(nlCR);
    memo_.SetWordWrap(false);
    SetWhole(WideString());
  }

  /// One random step; empty when the text area agrees with the model, else what differed.
  std::string Step() {
    static const char* const names[] = {
        "set whole", "set whole",        "select",  "select", "select",        "replace",
        "replace",   "insert in pieces", "type",    "type",   "undo and redo", "undo and redo",
        "re-create", "home or end",      "queries", "queries"};
    uint32_t kind = Pick(16);
    switch (kind) {
      case 0:
      case 1: SetWhole(RandomText()); break;
      case 2:
      case 3:
      case 4: Select(); break;
      case 5:
      case 6: Replace(RandomText()); break;
      case 7: InsertInPieces(RandomText()); break;
      case 8:
      case 9: Type(ShortText().substr(0, 8)); break;
      case 10:
      case 11: UndoAndRedo(); break;
      case 12: Recreate(); break;
      case 13: HomeOrEnd(); break;
      default: break;
    }
    std::string failure = kind >= 14 ? Queries() : Compare();
    return failure.empty() ? failure : std::string(names[kind]) + ": " + failure;
  }

  const WideString& Model() const { return text_; }

 private:
  // The random source

  uint32_t Pick(uint32_t n) { return n ? next_() % n : 0; }
  char16_t Unit() {
    auto unit = char16_t(next_());
    return unit ? unit : u'\u3042';  // a U+0000 would end the text
  }

  /// Short texts of every kind of code unit, now and then a long line, a long run of
  /// combining marks or many short lines (the paths a large insertion takes).
  WideString RandomText() {
    switch (Pick(80)) {
      case 0: return Run(u'x', 4000 + int(Pick(6000)));
      case 1: return Run(char16_t(0x0300 + Pick(0x70)), 4000 + int(Pick(3000)));
      case 2: return ShortLines(1400 + int(Pick(1000)));
      case 3: return Verbatim(4096 + int(Pick(2048)));
      default: return ShortText();
    }
  }

  WideString ShortText() {
    static const char16_t special[] = {u'\r',  u'\n',  0x2028, 0x2029, 0xFDD0, 0xFDD1, 0xFFFD,
                                       0xFFFE, 0xFFFF, 0xD800, 0xDC00, 0x0301, u'\t',  u' '};
    WideString out;
    for (uint32_t n = Pick(24); n > 0; --n) {
      switch (Pick(6)) {
        case 0: out += special[Pick(std::size(special))]; break;
        case 1: out += u"\r\n"; break;
        case 2: out += u"日本語"; break;
        case 3: out += char16_t(u'a' + Pick(26)); break;
        case 4: out += u"\U00020BB7"; break;  // a surrogate pair
        default: out += Unit(); break;
      }
    }
    return out;
  }

  WideString Run(char16_t unit, int length) {
    WideString out(size_t(length), unit);
    out.insert(0, 1, u'a');
    return out;
  }

  WideString ShortLines(int lines) {
    WideString out;
    for (int i = 0; i < lines; ++i) out += (i % 7 == 3 ? u"\u2029z\r\n" : u"ab\r");
    return out;
  }

  /// Code units taken as the source gives them (a UTF-16 text in a fuzz input).
  WideString Verbatim(int length) {
    WideString out;
    for (int i = 0; i < length; ++i) out += Unit();
    return out;
  }

  // The model

  /// Breaks as the control keeps them: "\r\n", "\n" and "\r" each one "\r".
  static WideString OneCrPerBreak(WideView text) {
    WideString out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
      out += text[i] == u'\n' ? u'\r' : text[i];
    }
    return out;
  }

  int Length() const { return int(text_.size()); }

  void ReplaceModel(const WideString& inserted) {
    text_.replace(size_t(start_), size_t(length_), inserted);
    start_ += int(inserted.size());
    length_ = 0;
    Remember();
  }

  void Remember() {
    history_.resize(size_t(at_) + 1);
    history_.push_back(text_);
    at_ = int(history_.size()) - 1;
  }

  // The steps

  void SetWhole(const WideString& text) {
    memo_.SetText(text);
    text_ = OneCrPerBreak(text);
    start_ = length_ = 0;
    history_ = {text_};
    at_ = 0;
  }

  void Select() {
    int start = int(Pick(uint32_t(Length() + 2)));
    int length = int(Pick(uint32_t(Length() + 2)));
    memo_.SetSelStart(start);
    memo_.SetSelLength(length);
    start_ = std::min(start, Length());
    length_ = std::min(length, Length() - start_);
  }

  void Replace(const WideString& text) {
    memo_.SetSelText(text);
    ReplaceModel(OneCrPerBreak(text));
  }

  void InsertInPieces(const WideString& text) {
    size_t pieces = 2 + Pick(4);
    size_t at = 0;
    for (size_t i = 0; i < pieces; ++i) {
      size_t end = i + 1 == pieces ? text.size()
                                   : std::min(text.size(), at + Pick(uint32_t(text.size() + 1)));
      // A pair's halves in two pieces stay a pair; "\r" then "\n" are two breaks.
      Replace(text.substr(at, end - at));
      at = end;
    }
  }

  /// One key per code unit as a keyboard types it; what no key carries (controls,
  /// unassigned code units) comes as the commit of an input method.
  void Type(const WideString& text) {
    QWidget* view = View();
    for (char16_t unit : text) {
      QString piece(1, QChar(unit));
      if (unit == u'\r') {
        Key(view, Qt::Key_Return, piece);
      } else if (unit == u'\t' || (unit >= 0x20 && QChar(unit).isPrint()) ||
                 TRichEditText::NeedsReplace(piece)) {
        Key(view, Qt::Key_unknown, piece);
      } else {
        QInputMethodEvent commit;
        commit.setCommitString(piece);
        QApplication::sendEvent(view, &commit);
      }
      ReplaceModel(OneCrPerBreak(WideView(&unit, 1)));
    }
  }

  static void Key(QWidget* view, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(view, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(view, &release);
  }

  /// Undone and redone as far as the history goes: every undo gives back an
  /// earlier text (typed keys may share a step), and the redos end where it began.
  void UndoAndRedo() {
    const WideString before = text_;
    int steps = 1 + int(Pick(3)), undone = 0;
    for (; undone < steps && memo_.CanUndo(); ++undone) {
      memo_.Undo();
      WideString now = memo_.Text();
      int j = at_ - 1;
      while (j >= 0 && history_[size_t(j)] != now) --j;
      if (j < 0) {
        failure_ = "an undo gave a text that never was";
        return;
      }
      at_ = j;
    }
    for (int i = 0; i < undone; ++i) memo_.Redo();
    if (memo_.Text() != before) failure_ = "redoing every undo did not give the text back";
    at_ = int(history_.size()) - 1;
    start_ = memo_.SelStart();  // where the caret lands after undo is Qt's choice
    length_ = memo_.SelLength();
  }

  void Recreate() { memo_.SetWordWrap(!memo_.WordWrap()); }

  /// Without word wrap: rows end at breaks and at the separators shown as breaks.
  void HomeOrEnd() {
    if (memo_.WordWrap() || length_ != 0) return;
    bool home = Pick(2) == 0;
    Key(View(), home ? Qt::Key_Home : Qt::Key_End, QString());
    auto endsRow = [](char16_t c) { return c == u'\r' || c == 0x2028 || c == 0x2029; };
    if (home) {
      while (start_ > 0 && !endsRow(text_[size_t(start_) - 1])) --start_;
    } else {
      while (start_ < Length() && !endsRow(text_[size_t(start_)])) ++start_;
    }
  }

  std::string Queries() {
    std::vector<size_t> starts{0};
    for (size_t i = 0; i < text_.size(); ++i)
      if (text_[i] == u'\r') starts.push_back(i + 1);
    std::ostringstream failure;
    if (memo_.LineCount() != int(starts.size())) failure << "line count " << memo_.LineCount();
    size_t line = Pick(uint32_t(starts.size()));
    size_t end = line + 1 < starts.size() ? starts[line + 1] - 1 : text_.size();
    if (memo_.GetLine(int32_t(line)) != text_.substr(starts[line], end - starts[line]))
      failure << " line " << line;
    if (memo_.GetSelText() != text_.substr(size_t(start_), size_t(length_))) failure << " selected";
    std::string compared = Compare();
    return failure.str().empty() ? compared : failure.str() + " " + compared;
  }

  std::string Compare() {
    std::ostringstream failure;
    if (!failure_.empty()) failure << failure_ << "; ";
    failure_.clear();
    WideString shown = memo_.Text();
    if (shown != text_) {
      size_t at = 0;
      while (at < shown.size() && at < text_.size() && shown[at] == text_[at]) ++at;
      failure << "text differs at " << at << " of " << text_.size() << " (read " << shown.size()
              << ")";
    }
    if (memo_.SelStart() != start_ || memo_.SelLength() != length_)
      failure << " selection " << memo_.SelStart() << "+" << memo_.SelLength() << ", model "
              << start_ << "+" << length_;
    return failure.str();
  }

  QWidget* View() const {
    return static_cast<QWidget*>(platform::GetNativeView(memo_.Wrapper()->Handle));
  }

  TMyMemo& memo_;
  Source next_;
  WideString text_;
  int start_ = 0, length_ = 0;
  std::vector<WideString> history_;
  int at_ = 0;
  std::string failure_;
};

}  // namespace magna::test
