#include "app/window/repairBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/desktop/captionLanguage.h"
#include "app/window/mainLayout.h"
#include "platform/qt/qtFont.h"

namespace magna {

namespace {

constexpr int kHeight = 26;
// A pale yellow, as notices in a window's own area are drawn on desktops.
const QColor kBackground(0xFF, 0xF4, 0xC2);

QPushButton* BarButton(QWidget* parent, const char16_t* caption, const char* name) {
  auto* button = new QPushButton(Caption(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the text
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TRepairBar::TRepairBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("RepairBar"));
  setFixedHeight(kHeight);
  setFont(platform::qt::ToQFont(LayoutFont(u"ＭＳ Ｐゴシック", -12)));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBackground);
  palette.setColor(QPalette::WindowText, Qt::black);
  setPalette(palette);

  said_ = new QLabel(this);
  said_->setObjectName(QStringLiteral("RepairBar_Said"));
  said_->setTextFormat(Qt::PlainText);
  // A long chain is cut rather than widening the window.
  said_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  repair_ = BarButton(this, u"直す", "RepairBar_Repair");
  close_ = BarButton(this, u"閉じる", "RepairBar_Close");
  connect(repair_, &QPushButton::clicked, this, [this] {
    if (OnRepair) OnRepair();
  });
  connect(close_, &QPushButton::clicked, this, [this] {
    if (OnClose) OnClose();
  });

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 1, 2, 1);
  row->setSpacing(4);
  row->addWidget(said_, 1);
  row->addWidget(repair_);
  row->addWidget(close_);
  hide();
}

void TRepairBar::Offer(const QString& found) {
  said_->setText(found);
  said_->setToolTip(found);
  show();
}

QString TRepairBar::Said() const {
  return said_->text();
}

}  // namespace magna
