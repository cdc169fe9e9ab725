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
  TCharDetailsPanel(QWidget* owner, TFetch fetch);

  /// Shows the panel filled for the caret, or raises it when it is open.
  void Open();
  /// Refills the panel for the caret; does nothing while it is closed.
  void Follow();
  /// What the panel shows now.
  const TCharDetails& Shown() const { return shown_; }
  QTreeWidget* Rows() const { return rows_; }
  QLabel* Title() const { return title_; }

 private:
  void Fill(const TCharDetails& details);
  void PlaceBesideOwner();

  TFetch fetch_;
  TCharDetails shown_;
  bool filled_ = false;
  bool placed_ = false;
  QLabel* title_ = nullptr;
  QTreeWidget* rows_ = nullptr;
};

}  // namespace magna
