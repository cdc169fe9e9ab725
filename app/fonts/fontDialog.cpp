#include "app/fonts/fontDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/desktop/captionLanguage.h"
#include "platform/qt/qtFont.h"
#include "platform/qt/qtText.h"

namespace magna {

namespace {

constexpr int kCommonSizes[] = {8,  9,  10, 11, 12, 14,  16,  18,  20,  22,  24,  26, 28,
                                36, 48, 60, 72, 96, 120, 144, 200, 288, 400, 600, 800};
constexpr int kSampleMaxPixels = 48;  // the sample stays legible at any chosen size

/// Style rows in the order regular, italic, bold, bold italic; the row is the style bits.
const char16_t* const kStyleNames[] = {u"標準", u"斜体", u"太字", u"太字 斜体"};

QString Q(const char16_t* text) {
  return QString::fromUtf16(text);
}

/// Which installed family draws the chosen face, and the face when that is another.
QString DrawingFamilyCaption(const QString& chosenFace, const QString& drawnWith) {
  QString caption = Caption(u"表示に使うフォント: ") + drawnWith;
  if (!chosenFace.isEmpty() && drawnWith.compare(chosenFace, Qt::CaseInsensitive) != 0)
    caption += Caption(u"（「%1」の代わり）").arg(chosenFace);
  return caption;
}

int StyleRow(TFontStyles style) {
  return ((style & fsBold) ? 2 : 0) + ((style & fsItalic) ? 1 : 0);
}

}  // namespace

TFontDialog::TFontDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FontDialog1"));
  setWindowTitle(Caption(u"フォント"));
  BuildControls();
}

void TFontDialog::BuildControls() {
  auto* faces = new QFontComboBox(this);
  // Without it a CJK family is offered with whatever script Qt ranks first (Korean).
  faces->setWritingSystem(QFontDatabase::Japanese);
  face_ = faces;
  face_->setEditable(true);
  style_ = new QListWidget(this);
  for (const char16_t* name : kStyleNames) style_->addItem(Caption(name));
  size_ = new QSpinBox(this);
  size_->setRange(MinSize, MaxSize);
  sizes_ = new QListWidget(this);
  for (int points : kCommonSizes) sizes_->addItem(QString::number(points));
  underline_ = new QCheckBox(Caption(u"下線(&U)"), this);
  strikeOut_ = new QCheckBox(Caption(u"取り消し線(&K)"), this);
  colorButton_ = new QPushButton(this);
  sample_ = new QLabel(Q(u"Aaあぁアァ亜宇"), this);
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setMinimumHeight(kSampleMaxPixels + 16);
  sample_->setFrameShape(QFrame::StyledPanel);
  drawingFamily_ = new QLabel(this);

  // A label shows its "&" as a mnemonic only when it has a buddy to give the focus to.
  auto label = [this](const char16_t* text, QWidget* buddy) {
    auto* caption = new QLabel(Caption(text), this);
    caption->setBuddy(buddy);
    return caption;
  };
  auto* grid = new QGridLayout;
  grid->addWidget(label(u"フォント名(&F):", face_), 0, 0);
  grid->addWidget(label(u"スタイル(&Y):", style_), 0, 1);
  grid->addWidget(label(u"サイズ(&S):", size_), 0, 2);
  grid->addWidget(face_, 1, 0);
  grid->addWidget(style_, 1, 1, 2, 1);
  grid->addWidget(size_, 1, 2);
  grid->addWidget(sizes_, 2, 2);
  auto* effects = new QGroupBox(Caption(u"文字飾り"), this);
  auto* effectsLayout = new QVBoxLayout(effects);
  effectsLayout->addWidget(underline_);
  effectsLayout->addWidget(strikeOut_);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(label(u"色(&C):", colorButton_));
  colorRow->addWidget(colorButton_);
  effectsLayout->addLayout(colorRow);
  grid->addWidget(effects, 2, 0);
  auto* sampleBox = new QGroupBox(Caption(u"サンプル"), this);
  auto* sampleLayout = new QVBoxLayout(sampleBox);
  sampleLayout->addWidget(sample_);
  sampleLayout->addWidget(drawingFamily_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addWidget(sampleBox);
  column->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(colorButton_, &QPushButton::clicked, this, [this] { PickColor(); });
  connect(sizes_, &QListWidget::currentTextChanged, this, [this](const QString& text) {
    bool ok = false;
    int points = text.toInt(&ok);
    if (ok) size_->setValue(points);
  });
  connect(face_, &QComboBox::editTextChanged, this, [this] { UpdateSample(); });
  connect(style_, &QListWidget::currentRowChanged, this, [this] { UpdateSample(); });
  connect(size_, &QSpinBox::valueChanged, this, [this] { UpdateSample(); });
  connect(underline_, &QCheckBox::toggled, this, [this] { UpdateSample(); });
  connect(strikeOut_, &QCheckBox::toggled, this, [this] { UpdateSample(); });
}

void TFontDialog::ShowFont(const TFont& font) {
  face_->setEditText(platform::qt::ToQString(font.Name()));
  style_->setCurrentRow(StyleRow(font.Style()));
  size_->setValue(font.Size());
  underline_->setChecked(font.Style() & fsUnderline);
  strikeOut_->setChecked(font.Style() & fsStrikeOut);
  SetColorButton(font.Color());
  UpdateSample();
}

TFont TFontDialog::ChosenFont() const {
  TFont font(font_);
  font.SetName(platform::qt::ToWide(face_->currentText().trimmed()));
  int row = std::max(0, style_->currentRow());
  TFontStyles style = (row & 2 ? fsBold : 0) | (row & 1 ? fsItalic : 0);
  if (underline_->isChecked()) style |= fsUnderline;
  if (strikeOut_->isChecked()) style |= fsStrikeOut;
  font.SetStyle(style);
  font.SetSize(size_->value());
  font.SetColor(color_);
  return font;
}

bool TFontDialog::Execute() {
  ShowFont(font_);
  if (exec() != QDialog::Accepted) return false;
  font_.Assign(ChosenFont());
  return true;
}

void TFontDialog::PickColor() {
  QColor chosen =
      QColorDialog::getColor(platform::qt::ToQColor(color_), this, Caption(u"色の設定"));
  if (chosen.isValid()) SetColorButton(platform::qt::FromQColor(chosen));
  UpdateSample();
}

void TFontDialog::SetColorButton(TColor color) {
  color_ = color;
  QPixmap swatch(32, 12);
  swatch.fill(platform::qt::ToQColor(color));
  colorButton_->setIcon(QIcon(swatch));
  colorButton_->setIconSize(swatch.size());
}

void TFontDialog::UpdateSample() {
  TFont chosen = ChosenFont();
  QFont font = platform::qt::ToQFont(chosen);
  if (font.pixelSize() > kSampleMaxPixels) font.setPixelSize(kSampleMaxPixels);
  sample_->setFont(font);
  drawingFamily_->setText(
      DrawingFamilyCaption(platform::qt::ToQString(chosen.Name()), QFontInfo(font).family()));
  QPalette palette = sample_->palette();
  palette.setColor(QPalette::WindowText, platform::qt::ToQColor(chosen.Color()));
  sample_->setPalette(palette);
}

}  // namespace magna
