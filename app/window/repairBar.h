#pragma once
// The thin bar above the status line that offers the repair of the text shown
// (mojibake or an encoded form): what was found, "直す" and "閉じる". It only shows
// and reports; TRepairOffer decides when and does the repair.
// Typical use:
//   auto* bar = new TRepairBar(parent);
//   bar->OnRepair = [&] { ... };  bar->OnClose = [&] { ... };
//   bar->Offer(QStringLiteral("…"));   // shown
//   bar->hide();

#include <QFrame>
#include <functional>

class QLabel;
class QPushButton;

namespace magna {

class TRepairBar : public QFrame {
  Q_OBJECT
 public:
  explicit TRepairBar(QWidget* parent);

  /// Shows the bar saying `found`.
  void Offer(const QString& found);
  QString Said() const;
  QPushButton* RepairButton() const { return repair_; }
  QPushButton* CloseButton() const { return close_; }

  std::function<void()> OnRepair;
  std::function<void()> OnClose;

 private:
  QLabel* said_ = nullptr;
  QPushButton* repair_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace magna
