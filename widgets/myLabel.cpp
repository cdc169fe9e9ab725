#include "widgets/myLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>

#include "platform/log.h"
#include "platform/qt/qtFont.h"
#include "platform/qt/qtText.h"
#include "text/myCharCode.h"

namespace magna {

using platform::qt::ToQColor;
using platform::qt::ToQFont;
using platform::qt::ToQString;

uint32_t ShadowColorOf(TColor fontColor) {
  const uint32_t rgb = ColorToRGB(fontColor);
  auto less = [](int part) { return std::max(part - 32, 0); };
  return RGB(less(RedOf(rgb)), less(GreenOf(rgb)), less(BlueOf(rgb)));
}

namespace {

QColor QColorOf(uint32_t rgb) {
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

int QtFlagsOf(unsigned flags) {
  int q = Qt::AlignTop;
  q |= (flags & DT_RIGHT) ? Qt::AlignRight : (flags & DT_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
  if (flags & DT_WORDBREAK) q |= Qt::TextWordWrap;
  if (flags & DT_SINGLELINE) q |= Qt::TextSingleLine;
  if (flags & DT_EXPANDTABS) q |= Qt::TextExpandTabs;
  if (!(flags & DT_NOPREFIX)) q |= Qt::TextShowMnemonic;
  return q;
}

/// CR LF, CR and LF all break a line, as in the platform's text drawing.
QString WithLineFeeds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

/// Every line that is wider than `width` ends in an ellipsis.
QString Elided(const QString& text, const QFontMetrics& metrics, int width, int qtFlags) {
  if (qtFlags & Qt::TextSingleLine) return metrics.elidedText(text, Qt::ElideRight, width, qtFlags);
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width, qtFlags);
  return lines.join(QLatin1Char('\n'));
}

void Offset(TRect& r, int dx, int dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
}

}  // namespace

TMyLabel::TMyLabel(QWidget* owner) : QWidget(owner) {
  font_.OnChange = [this](TFont*) { Changed(); };
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  AdjustBounds();
}

TMyLabel::~TMyLabel() {
  font_.OnChange = nullptr;
}

void TMyLabel::Changed() {
  AdjustBounds();
  updateGeometry();
  update();
}

WideString TMyLabel::Caption() const {
  return Utf7ToWide(text_);
}

void TMyLabel::SetCaption(const WideString& value) {
  AnsiString stored = WideToUtf7(value);
  setAccessibleName(ToQString(value));
  if (stored == text_) return;
  text_ = std::move(stored);
  Changed();
}

template <class T>
void TMyLabel::Assign(T& member, T value) {
  if (member == value) return;
  member = value;
  Changed();  // repaints the whole label: with Shadow, the old shadow's pixels too
}

void TMyLabel::SetBorder(TBorderStyle value) {
  Assign(border_, value);
}
void TMyLabel::SetDisabledStyle(bool value) {
  Assign(disabledStyle_, value);
}
void TMyLabel::SetEndEllipsis(bool value) {
  Assign(endEllipsis_, value);
}
void TMyLabel::SetSingleLine(bool value) {
  Assign(singleLine_, value);
}
void TMyLabel::SetLeftMargin(int value) {
  Assign(margins_.Left, value);
}
void TMyLabel::SetTopMargin(int value) {
  Assign(margins_.Top, value);
}
void TMyLabel::SetRightMargin(int value) {
  Assign(margins_.Right, value);
}
void TMyLabel::SetBottomMargin(int value) {
  Assign(margins_.Bottom, value);
}
void TMyLabel::SetAlignment(TAlignment value) {
  Assign(alignment_, value);
}
void TMyLabel::SetLayout(TTextLayout value) {
  Assign(layout_, value);
}
void TMyLabel::SetAutoSize(bool value) {
  Assign(autoSize_, value);
}
void TMyLabel::SetWordWrap(bool value) {
  Assign(wordWrap_, value);
}
void TMyLabel::SetShowAccelChar(bool value) {
  Assign(showAccelChar_, value);
}
void TMyLabel::SetTransparent(bool value) {
  Assign(transparent_, value);
}
void TMyLabel::SetShadow(bool value) {
  Assign(shadow_, value);
}

void TMyLabel::SetColor(TColor value) {
  if (color_ == value && !parentColor_) return;
  color_ = value;
  parentColor_ = false;
  update();
}

void TMyLabel::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  update();
}

unsigned TMyLabel::BaseDrawFlags() const {
  unsigned flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  return flags;
}

void TMyLabel::DrawOrMeasure(TRect& rect, const WideString& text, unsigned flags, uint32_t rgb) {
  const QFontMetrics metrics(ToQFont(font_));
  const int qtFlags = QtFlagsOf(flags);
  QString shown = ToQString(text);
  if (!(flags & DT_SINGLELINE)) shown = WithLineFeeds(shown);
  if (flags & DT_CALCRECT) {
    // The width limits only wrapped text; otherwise the text is as wide as it is.
    const int limit = (flags & DT_WORDBREAK) ? std::max(rect.Right - rect.Left, 1) : 1 << 20;
    const QRect needed = metrics.boundingRect(QRect(0, 0, limit, 1 << 20), qtFlags, shown);
    rect.Right = rect.Left + needed.width();
    rect.Bottom = rect.Top + needed.height();
    return;
  }
  if (!canvas_) return;
  const int width = rect.Right - rect.Left;
  if (flags & DT_END_ELLIPSIS) shown = Elided(shown, metrics, width, qtFlags);
  canvas_->setPen(QColorOf(rgb));
  canvas_->drawText(QRect(rect.Left, rect.Top, width, rect.Bottom - rect.Top), qtFlags, shown);
}

void TMyLabel::DoDrawText(TRect& rect, unsigned flags) {
  WideString text = Utf7ToWide(text_);
  const bool measuring = (flags & DT_CALCRECT) != 0;
  if (measuring && (text.empty() || (showAccelChar_ && text_ == "&"))) text += u' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  flags = singleLine_ ? flags | DT_SINGLELINE : flags & ~DT_SINGLELINE;
  flags = endEllipsis_ ? flags | DT_END_ELLIPSIS : flags & ~DT_END_ELLIPSIS;
  if (canvas_) canvas_->setFont(ToQFont(font_));
  const int frame = border_ == bsSingle ? 1 : 0;

  if (isEnabled() || !disabledStyle_) {
    if (!measuring) {
      rect.Left += margins_.Left + frame;
      rect.Top += margins_.Top + frame;
      rect.Right -= margins_.Right + frame;
      rect.Bottom -= margins_.Bottom + frame;
      if (shadow_) {
        Offset(rect, 1, 1);
        DrawOrMeasure(rect, text, flags, ShadowColorOf(font_.Color()));
        Offset(rect, -1, -1);
      }
    }
    DrawOrMeasure(rect, text, flags, ColorToRGB(font_.Color()));
    if (measuring) {
      rect.Right += margins_.Left + margins_.Right + 2 * frame;
      rect.Bottom += margins_.Top + margins_.Bottom + 2 * frame;
    }
  } else {
    Offset(rect, 1, 1);
    DrawOrMeasure(rect, text, flags, ColorToRGB(clBtnHighlight));
    Offset(rect, -1, -1);
    DrawOrMeasure(rect, text, flags, ColorToRGB(clBtnShadow));
  }

  if (!measuring && frame && canvas_) {
    canvas_->setPen(QColorOf(ColorToRGB(clBtnShadow)));
    const QPoint corners[] = {
        {0, 0}, {width() - 1, 0}, {width() - 1, height() - 1}, {0, height() - 1}, {0, 0}};
    canvas_->drawPolyline(corners, 5);
  }
}

TRect TMyLabel::Measure() const {
  TRect r{0, 0, width(), height()};
  // Measuring draws nothing and changes no state.
  const_cast<TMyLabel*>(this)->DoDrawText(r, BaseDrawFlags() | DT_CALCRECT);
  return r;
}

void TMyLabel::AdjustBounds() {
  if (!autoSize_) return;
  const TRect r = Measure();
  int x = this->x();
  if (alignment_ == taRightJustify) x += width() - r.Right;
  setGeometry(x, y(), r.Right, r.Bottom);
}

QSize TMyLabel::sizeHint() const {
  if (!autoSize_) return size();
  const TRect r = Measure();
  return QSize(r.Right, r.Bottom);
}

void TMyLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!transparent_ && !parentColor_) painter.fillRect(rect(), ToQColor(color_));
  canvas_ = &painter;
  // A label that can't draw its text stays blank; painting never fails.
  platform::Guard(platform::kLogWidgets, "drawing a label's caption", [this] {
    TRect r{0, 0, width(), height()};
    const unsigned flags = BaseDrawFlags();
    if (layout_ != tlTop) {
      TRect calc = r;
      DoDrawText(calc, flags | DT_CALCRECT);
      const int dy = layout_ == tlBottom ? height() - calc.Bottom : (height() - calc.Bottom) / 2;
      Offset(r, 0, dy);
    }
    DoDrawText(r, flags);
  });
  canvas_ = nullptr;
}

void TMyLabel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!OnResize) return;
  platform::Guard(platform::kLogWidgets, "running a label's OnResize handler",
                  [this] { OnResize(this); });
}

void TMyLabel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) Changed();
}

}  // namespace magna
