#include "app/details/charDetailsPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/desktop/captionLanguage.h"
#include "editor/myEdit.h"
#include "platform/qt/qtText.h"
#include "text/character/charDetailsRows.h"

namespace magna {

using platform::qt::ToQString;

namespace {

constexpr int kTitlePointSize = 40;
constexpr int kWidth = 480;
constexpr int kHeight = 440;
constexpr int kGap = 8;

}  // namespace

TTextAroundCaret TextAroundCaret(const TMyCustomEdit& edit) {
  TTextAroundCaret around;
  const int32_t caret = edit.SelStart();
  const int32_t start = std::max(0, caret - kDetailsUnitsBefore);
  around.Before = edit.GetTextRange(start, caret - start);
  around.BeforeIsWhole = start == 0;
  // As the status line reads it: the caret's line, its break appended.
  around.After = edit.GetTextAtCaret(kDetailsUnitsAfter);
  around.AfterIsWhole = around.After.size() < size_t(kDetailsUnitsAfter);
  return around;
}

TCharDetailsPanel::TCharDetailsPanel(QWidget* owner, TFetch fetch)
    : QDialog(owner, Qt::Tool), fetch_(std::move(fetch)) {
  setObjectName(QStringLiteral("CharDetailsPanel"));
  setWindowTitle(Caption(u"文字の詳細"));
  setModal(false);
  // Opening it must leave the keys with the text area, whose caret it follows.
  setAttribute(Qt::WA_ShowWithoutActivating);
  resize(kWidth, kHeight);

  title_ = new QLabel(this);
  title_->setAlignment(Qt::AlignCenter);
  title_->setTextFormat(Qt::PlainText);
  // A window grows to its contents' minimum width and never shrinks back: a long
  // cluster (hundreds of marks) or the note for an empty caret would leave the
  // panel wider than the monitor. The title is cut instead.
  title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  QFont large = title_->font();
  large.setPointSize(kTitlePointSize);
  title_->setMinimumHeight(QFontMetrics(large).height() + 8);

  rows_ = new QTreeWidget(this);
  rows_->setColumnCount(2);
  rows_->setHeaderLabels({Caption(u"項目"), Caption(u"内容")});
  rows_->setRootIsDecorated(false);
  rows_->setIndentation(12);
  rows_->setUniformRowHeights(true);
  rows_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  rows_->header()->setStretchLastSection(true);

  auto* column = new QVBoxLayout(this);
  column->addWidget(title_);
  column->addWidget(rows_, 1);
}

void TCharDetailsPanel::Open() {
  if (isVisible()) {
    raise();
    return;
  }
  if (!placed_) PlaceBesideOwner();
  show();
  Follow();
}

void TCharDetailsPanel::PlaceBesideOwner() {
  placed_ = true;
  QWidget* owner = parentWidget();
  if (!owner || !owner->screen()) return;
  // Beside the window, where it hides no text: right of it, else left, else at the
  // monitor's right edge; a window manager may still place it as it likes.
  const QRect area = owner->screen()->availableGeometry();
  const QRect frame = owner->frameGeometry();
  int x = frame.right() + 1 + kGap;
  if (x + width() > area.right() + 1) x = frame.left() - kGap - width();
  if (x < area.left()) x = area.right() + 1 - width();
  const int y =
      std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - height()));
  move(std::max(x, area.left()), y);
}

void TCharDetailsPanel::Follow() {
  if (!isVisible()) return;
  TCharDetails details = DescribeCharAtCaret(fetch_());
  std::vector<TDetailRow> extra = extra_ ? extra_() : std::vector<TDetailRow>();
  // A caret move inside one character, or a key that moved nothing, changes nothing here.
  if (filled_ && details == shown_ && extra == extraShown_) return;
  Fill(details, extra);
  shown_ = std::move(details);
  extraShown_ = std::move(extra);
  filled_ = true;
}

void TCharDetailsPanel::Fill(const TCharDetails& details, const std::vector<TDetailRow>& extra) {
  const WideString title = CharDetailsTitle(details);
  // Large type for a character; the note for nothing after the caret in the panel's own.
  QFont titleFont = font();
  if (!title.empty()) titleFont.setPointSize(kTitlePointSize);
  title_->setFont(titleFont);
  title_->setText(title.empty() ? Caption(u"（カーソルの後に文字がありません）")
                                : ToQString(title));
  rows_->setUpdatesEnabled(false);
  rows_->clear();
  QTreeWidgetItem* codePoint = nullptr;
  std::vector<TDetailRow> all = CharDetailRows(details);
  all.insert(all.end(), extra.begin(), extra.end());
  for (const TDetailRow& row : all) {
    // Values are codes and Unicode names; only the note of a cut cluster has a translation.
    const QStringList texts{Caption(ToQString(row.Caption)), Caption(ToQString(row.Value))};
    QTreeWidgetItem* item = row.Part && codePoint ? new QTreeWidgetItem(codePoint, texts)
                                                  : new QTreeWidgetItem(rows_, texts);
    if (!row.Part) codePoint = item;
    item->setToolTip(1, texts[1]);  // the codes of a long cluster don't fit the column
  }
  rows_->expandAll();
  rows_->setUpdatesEnabled(true);
}

}  // namespace magna
