#pragma once
// TMyLabel: the label with a UTF-16 caption used on every window, drawn by the
// program itself. Beyond an ordinary label (alignment, vertical layout, auto-size,
// word wrap, "&" accelerators, transparency, colour, font) it has inner margins,
// a single-line switch, an end ellipsis, a one-pixel frame, a drop shadow and a
// choice of how a disabled label looks. Margins and frame take part in auto-size
// and in vertical centring, because both measure through DoDrawText.
// The caption is kept as UTF-7 text, which carries every UTF-16 code unit.

#include <QWidget>

#include "platform/myColor.h"
#include "platform/myControlTypes.h"
#include "platform/myFont.h"

namespace magna {

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

/// Text-drawing flags of DoDrawText, numbered as the platform numbers them.
enum TDrawTextFlags : unsigned {
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_WORDBREAK = 0x10,
  DT_SINGLELINE = 0x20,
  DT_EXPANDTABS = 0x40,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
  DT_END_ELLIPSIS = 0x8000,
};

class TMyLabel : public QWidget, public TObject {
 public:
  explicit TMyLabel(QWidget* owner = nullptr);
  ~TMyLabel() override;

  // The label's own properties. A setter given the value there is does nothing; any
  // other value is taken as it is (a negative margin too), the label re-measured
  // (AutoSize) and repainted.
  TBorderStyle Border() const { return border_; }
  void SetBorder(TBorderStyle value);
  /// The caption as shown; any UTF-16 text reads back unchanged up to its first U+0000.
  WideString Caption() const;
  /// Also the accessible name; never fails.
  void SetCaption(const WideString& value);
  bool DisabledStyle() const { return disabledStyle_; }
  void SetDisabledStyle(bool value);
  bool EndEllipsis() const { return endEllipsis_; }
  void SetEndEllipsis(bool value);
  bool SingleLine() const { return singleLine_; }
  void SetSingleLine(bool value);
  bool Shadow() const { return shadow_; }
  void SetShadow(bool value);
  int LeftMargin() const { return margins_.Left; }
  void SetLeftMargin(int value);
  int TopMargin() const { return margins_.Top; }
  void SetTopMargin(int value);
  int RightMargin() const { return margins_.Right; }
  void SetRightMargin(int value);
  int BottomMargin() const { return margins_.Bottom; }
  void SetBottomMargin(int value);
  /// Called after every change of the label's size.
  std::function<void(TObject* Sender)> OnResize;

  // The ordinary label's properties, set as the label's own are.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  /// Setting a colour switches ParentColor off; with ParentColor the parent's background shows.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  /// The label's font; changes through it reach the label at once.
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  /// The stored (UTF-7) caption.
  const AnsiString& Text() const { return text_; }

  /// Draws the caption into the rectangle with the flags or, with DT_CALCRECT,
  /// only measures it: `rect` is in/out, its right and bottom moved to the needed
  /// size. Draws only while the label paints; measuring works at any time.
  virtual void DoDrawText(TRect& rect, unsigned flags);
  /// Resizes the label to its measured text when AutoSize is on; otherwise nothing.
  void AdjustBounds();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Changed();
  template <class T>
  void Assign(T& member, T value);
  void DrawOrMeasure(TRect& rect, const WideString& text, unsigned flags, uint32_t rgb);
  unsigned BaseDrawFlags() const;
  TRect Measure() const;

  AnsiString text_;
  TBorderStyle border_ = bsNone;
  bool disabledStyle_ = true;
  bool endEllipsis_ = false;
  bool singleLine_ = false;
  bool shadow_ = false;
  TRect margins_;  // left, top, right, bottom inner margins
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  bool transparent_ = false;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont font_;
  class QPainter* canvas_ = nullptr;  // while painting
};

/// The shadow's colour: 32 less of each of blue, green and red, floored at 0.
uint32_t ShadowColorOf(TColor fontColor);

}  // namespace magna
