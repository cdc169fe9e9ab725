#pragma once
// The offer of a repair for the text shown (text/repair/myRepair.h): every text shown is
// checked (a text from elsewhere or from the command line at once, typing after a
// short pause), and when it has a repair the bar says what was found and the popup
// entry is enabled. Taking it replaces the whole text with the repair as one undo
// step; closing the bar hides it until the text changes. The text shown is never
// changed unless the user takes the repair. The details panel asks for the chain
// and the repaired characters at the caret; the whole repair is made only then, or
// when it is taken, once per text.
// Typical use (in TMainExtras):
//   offer = new TRepairOffer(this, *window.Memo_Text, *bar, *action, refresh);
//   offer->TextShown(text);   // after a text from elsewhere replaced the shown one
//   offer->TextEdited();      // at every change of the text

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "text/character/charDetailsRows.h"
#include "text/repair/myRepair.h"

class QAction;

namespace magna {

class TMyCustomEdit;
class TRepairBar;

class TRepairOffer : public QObject {
 public:
  /// The pause after an edit before the text is checked.
  static constexpr int kTypingPauseMs = 300;

  /// `replaced` runs after the repair replaced the text (status line, enabling),
  /// `checked` after each check (the details panel follows).
  TRepairOffer(QObject* owner, TMyCustomEdit& memo, TRepairBar& bar, QAction& action,
               std::function<void()> replaced, std::function<void()> checked);

  /// `text` (as read, any breaks) now replaces the shown one: checked at once.
  void TextShown(WideView text);
  /// The text area's text changed: checked once the edits pause.
  void TextEdited();
  /// Whether a repair is offered for the text shown (the bar is closed or not).
  bool Found() const { return finding_.Found(); }
  /// "直す" and the popup entry: the text replaced by its repair, one undo step.
  void Take();
  /// "閉じる": the bar hidden for this text.
  void Close();
  /// The details panel's rows for the character at `caret` (positions as the text
  /// area counts them); none where the repair replaced nothing there.
  std::vector<TDetailRow> DetailRows(int32_t caret);

 private:
  void Check(WideView text);
  void CheckPending();
  const TRepair& Repaired();
  void ShowFinding();

  TMyCustomEdit& memo_;
  TRepairBar& bar_;
  QAction& action_;
  /// Runs a command of the user's: what fails there is logged and heard, not thrown.
  void Guarded(void (TRepairOffer::*command)(), const char* doing);

  std::function<void()> replaced_;
  std::function<void()> checked_;
  QTimer pause_;
  TRepairFinding finding_;
  std::optional<TRepair> repair_;  // of the text the finding is for, made when first asked
  bool closed_ = false;
};

}  // namespace magna
