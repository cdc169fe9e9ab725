#include "app/window/actionImages.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <functional>

namespace magna {

namespace {

using TDrawing = std::function<void(QPainter&)>;

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBoard(0xC8, 0x8A, 0x3C);
const QColor kBlue(0x2A, 0x6E, 0xD0);
const QColor kGreen(0x2E, 0x9A, 0x48);
const QColor kRed(0xD0, 0x30, 0x30);

/// Draws a vector picture laid out on a 16 x 16 grid into any rectangle.
class TVectorIconEngine : public QIconEngine {
 public:
  explicit TVectorIconEngine(TDrawing drawing, int grid = 16)
      : drawing_(std::move(drawing)), grid_(grid) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / double(grid_), rect.height() / double(grid_));
    if (mode == QIcon::Disabled) painter->setOpacity(0.35);
    drawing_(*painter);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  /// `size` is in device pixels; the drawing is laid out in logical ones.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    pixmap.setDevicePixelRatio(scale);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), (QSizeF(size) / scale).toSize()), mode, state);
    return pixmap;
  }

  QIconEngine* clone() const override { return new TVectorIconEngine(drawing_, grid_); }

 private:
  TDrawing drawing_;
  int grid_;
};

QPen Pen(const QColor& color, double width = 1.0) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Page(QPainter& p, QRectF r) {
  p.setPen(Pen(kInk));
  p.setBrush(kPaper);
  p.drawRect(r);
}

void Lines(QPainter& p, QRectF r, int count) {
  p.setPen(Pen(kBlue.lighter(130)));
  for (int i = 0; i < count; ++i) {
    double y = r.top() + 2.5 + i * 2.5;
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
  }
}

void Board(QPainter& p) {
  p.setPen(Pen(kInk));
  p.setBrush(kBoard);
  p.drawRoundedRect(QRectF(2.5, 2.5, 11, 12.5), 1.5, 1.5);
  p.setBrush(QColor(0xA0, 0xA0, 0xA0));
  p.drawRect(QRectF(5.5, 1.5, 5, 2.5));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
  p.setPen(Pen(color, 1.6));
  p.drawLine(from, to);
  QLineF line(to, from);
  for (double turn : {30.0, -30.0}) {
    QLineF head = line;
    head.setLength(3.5);
    head.setAngle(line.angle() + turn);
    p.drawLine(head);
  }
}

void Text(QPainter& p, QRectF r, const QString& text, double pixels, bool bold, const QColor& c) {
  QFont font;
  font.setPixelSize(1);  // scaled below: fonts take whole pixels
  font.setBold(bold);
  p.save();
  p.translate(r.topLeft());
  p.scale(pixels, pixels);
  p.setFont(font);
  p.setPen(c);
  p.drawText(QRectF(0, 0, r.width() / pixels, r.height() / pixels), Qt::AlignCenter, text);
  p.restore();
}

void CurvedArrow(QPainter& p, bool left) {
  QPainterPath path;
  double s = left ? 1 : -1, c = 8;
  path.moveTo(c - s * 4.5, 6.5);
  path.cubicTo(c - s * 1, 3.5, c + s * 6, 5, c + s * 4.5, 11.5);
  p.setPen(Pen(kBlue, 1.8));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  QPolygonF head;
  head << QPointF(c - s * 6.5, 3.5) << QPointF(c - s * 6.5, 8.5) << QPointF(c - s * 2, 8);
  p.setPen(Pen(kBlue));
  p.setBrush(kBlue);
  p.drawPolygon(head);
}

const std::array<TDrawing, ImageListCount>& Drawings() {
  static const std::array<TDrawing, ImageListCount> drawings = {
      // 0 replace with the clipboard's text
      [](QPainter& p) {
        Board(p);
        Page(p, QRectF(5.5, 6.5, 8, 8));
        Arrow(p, QPointF(1, 10.5), QPointF(8.5, 10.5), kGreen);
      },
      // 1 clear
      [](QPainter& p) {
        Page(p, QRectF(2.5, 1.5, 10, 13));
        p.setPen(Pen(kRed, 1.8));
        p.drawLine(QPointF(8, 8), QPointF(14, 14));
        p.drawLine(QPointF(14, 8), QPointF(8, 14));
      },
      // 2 watch the clipboard
      [](QPainter& p) {
        Board(p);
        p.setPen(Pen(kInk));
        p.setBrush(kPaper);
        p.drawEllipse(QRectF(3.5, 6.5, 9, 6));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(6.3, 7.8, 3.4, 3.4));
      },
      // 3 open
      [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(QColor(0xF0, 0xC8, 0x50));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.setBrush(QColor(0xF8, 0xDC, 0x78));
        QPolygonF lid;
        lid << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
        p.drawPolygon(lid);
      },
      // 4 choose a font
      [](QPainter& p) { Text(p, QRectF(0, 0, 16, 16), QStringLiteral("A"), 14, true, kInk); },
      // 5 larger
      [](QPainter& p) {
        Text(p, QRectF(0, 2, 11, 14), QStringLiteral("A"), 13, true, kInk);
        Arrow(p, QPointF(13, 9), QPointF(13, 2), kGreen);
      },
      // 6 smaller
      [](QPainter& p) {
        Text(p, QRectF(0, 5, 10, 11), QStringLiteral("A"), 9, true, kInk);
        Arrow(p, QPointF(13, 2), QPointF(13, 9), kRed);
      },
      // 7 wrap at the right edge
      [](QPainter& p) {
        p.setPen(Pen(kInk, 1.4));
        p.drawLine(QPointF(2, 3), QPointF(14, 3));
        p.drawLine(QPointF(2, 13), QPointF(7, 13));
        QPainterPath path;
        path.moveTo(2, 8);
        path.lineTo(12, 8);
        path.arcTo(QRectF(10, 8, 5, 5), 90, -180);
        path.lineTo(10, 13);
        p.setPen(Pen(kBlue, 1.4));
        p.drawPath(path);
        Arrow(p, QPointF(11, 13), QPointF(9.5, 13), kBlue);
      },
      // 8 save
      [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
      },
      // 9 exit
      [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(QColor(0xB0, 0x7A, 0x48));
        p.drawRect(QRectF(2.5, 1.5, 7, 13));
        Arrow(p, QPointF(7, 8), QPointF(15, 8), kRed);
      },
      // 10 version information
      [](QPainter& p) {
        p.setPen(Pen(kBlue));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        Text(p, QRectF(1.5, 1.5, 13, 13), QStringLiteral("i"), 11, true, kPaper);
      },
      // 11 help
      [](QPainter& p) {
        p.setPen(Pen(kGreen));
        p.setBrush(kGreen);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        Text(p, QRectF(1.5, 1.5, 13, 13), QStringLiteral("?"), 11, true, kPaper);
      },
      // 12 undo
      [](QPainter& p) { CurvedArrow(p, true); },
      // 13 redo
      [](QPainter& p) { CurvedArrow(p, false); },
      // 14 cut
      [](QPainter& p) {
        p.setPen(Pen(kInk, 1.3));
        p.drawLine(QPointF(5, 1.5), QPointF(10.5, 10));
        p.drawLine(QPointF(11, 1.5), QPointF(5.5, 10));
        p.setBrush(Qt::NoBrush);
        p.setPen(Pen(kRed, 1.3));
        p.drawEllipse(QRectF(2, 10, 4, 4));
        p.drawEllipse(QRectF(10, 10, 4, 4));
      },
      // 15 copy
      [](QPainter& p) {
        Page(p, QRectF(1.5, 1.5, 8, 10));
        Page(p, QRectF(6.5, 4.5, 8, 10));
        Lines(p, QRectF(6.5, 4.5, 8, 10), 3);
      },
      // 16 paste
      [](QPainter& p) {
        Board(p);
        Page(p, QRectF(6.5, 6.5, 8, 8));
        Lines(p, QRectF(6.5, 6.5, 8, 8), 2);
      },
      // 17 delete the selection
      [](QPainter& p) {
        p.setPen(Pen(kRed, 2.2));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      },
      // 18 select all
      [](QPainter& p) {
        QPen dash = Pen(kInk);
        dash.setDashPattern({1.5, 1.5});
        p.setPen(dash);
        p.setBrush(QColor(0xC8, 0xDC, 0xF8));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        Text(p, QRectF(1.5, 2.5, 13, 11), QStringLiteral("A"), 9, true, kInk);
      },
      // 19 find
      [](QPainter& p) {
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(QColor(0xE0, 0xF0, 0xFF));
        p.drawEllipse(QRectF(2, 2, 8, 8));
        p.setPen(Pen(kInk, 2.5));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
      },
  };
  return drawings;
}

}  // namespace

QIcon ActionImage(int index) {
  if (index < 0 || index >= ImageListCount) return {};
  return QIcon(new TVectorIconEngine(Drawings()[size_t(index)]));
}

QIcon ApplicationIcon() {
  return QIcon(new TVectorIconEngine(
      [](QPainter& p) {
        p.setPen(Pen(kInk, 0.6));
        p.setBrush(kPaper);
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);
        p.setPen(Pen(kBlue, 0));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1, 25, 30, 6));
        Text(p, QRectF(1, 0, 30, 26), QString(QChar(0x3042)), 22, true, kInk);
      },
      32));
}

}  // namespace magna
