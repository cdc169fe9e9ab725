#pragma once
// The character details panel: a small window beside the main one, not modal,
// that follows the caret and lists what charDetailsRows gives for the character
// there, under the character in large type. It never takes the keyboard from
// the text area when it opens; Esc closes it while it has the focus. The text
// comes from a fetch function that hands out a bounded stretch around the caret.
// Typical use:
//   auto* panel = new TCharDetailsPanel(window, [&] { return TextAroundCaret(memo); });
//   panel->Open();      // F2
//   panel->Follow();    // at every caret move; nothing while closed

#include <QDialog>
#include <functional>

#include "text/character/charDetails.h"
#include "text/character/charDetailsRows.h"

class QLabel;
class QTreeWidget;

namespace magna {

class TMyCustomEdit;

/// The stretch around the text area's caret that the details need (a few dozen
/// code units either side, whatever the text's length).
TTextAroundCaret TextAroundCaret(const TMyCustomEdit& edit);

class TCharDetailsPanel : public QDialog {
  Q_OBJECT
 public:
  using TFetch = std::function<TTextAroundCaret()>;
  using TExtraRows = std::function<std::vector<TDetailRow>()>;
  TCharDetailsPanel(QWidget* owner, TFetch fetch);
  /// Rows of others about the character at the caret (a repair's), after the codes;
  /// asked for only while the panel is open.
  void SetExtraRows(TExtraRows extra) { extra_ = std::move(extra); }

  /// Shows the panel filled for the caret, or raises it when it is open.
  void Open();
  /// Refills the panel for the caret; does nothing while it is closed.
  void Follow();
  /// What the panel shows now.
  const TCharDetails& Shown() const { return shown_; }
  QTreeWidget* Rows() const { return rows_; }
  QLabel* Title() const { return title_; }

 private:
  void Fill(const TCharDetails& details, const std::vector<TDetailRow>& extra);
  void PlaceBesideOwner();

  TFetch fetch_;
  TExtraRows extra_;
  TCharDetails shown_;
  std::vector<TDetailRow> extraShown_;
  bool filled_ = false;
  bool placed_ = false;
  QLabel* title_ = nullptr;
  QTreeWidget* rows_ = nullptr;
};

}  // namespace magna
