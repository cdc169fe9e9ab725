#pragma once
// FontDialog1: the font selection dialog of the main window. It offers what the
// font object holds: face, style (bold, italic), size in points without a limit of
// its own (1 ... 1638, typed or picked from common sizes), underline, strike-out
// and colour. The face list offers the families that can show Japanese, each with
// a Japanese sample. The face shown and returned is the name that was chosen, even
// where Qt draws it with a substitute face; the sample says which installed
// family that is (a Windows name such as "ＭＳ Ｐ明朝" has none of its own here).
// Typical use:
//   FontDialog1->Font().Assign(*memo->Font());
//   if (FontDialog1->Execute()) memo->SetFont(FontDialog1->Font());

#include <QDialog>

#include "platform/myFont.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace magna {

class TFontDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int MinSize = 1;
  static constexpr int MaxSize = TFont::MaxPoints;

  explicit TFontDialog(QWidget* parent = nullptr);

  /// The dialog's font: read into the controls by Execute, written back on OK.
  TFont& Font() { return font_; }
  /// Shows the dialog modally; true when the user confirmed.
  bool Execute();

  /// The controls show the font (tests drive them without showing the dialog).
  void ShowFont(const TFont& font);
  /// The font the controls describe now; the colour and character set of Font() kept.
  TFont ChosenFont() const;

  QComboBox* FaceBox() const { return face_; }
  QSpinBox* SizeBox() const { return size_; }
  QListWidget* StyleList() const { return style_; }
  QCheckBox* UnderlineBox() const { return underline_; }
  QCheckBox* StrikeOutBox() const { return strikeOut_; }
  /// "表示に使うフォント: <family>", with the chosen name when it is another.
  QLabel* DrawingFamilyLabel() const { return drawingFamily_; }

 private:
  void BuildControls();
  void PickColor();
  void UpdateSample();
  void SetColorButton(TColor color);

  TFont font_;
  TColor color_ = clWindowText;
  QComboBox* face_ = nullptr;
  QListWidget* style_ = nullptr;
  QSpinBox* size_ = nullptr;
  QListWidget* sizes_ = nullptr;
  QCheckBox* underline_ = nullptr;
  QCheckBox* strikeOut_ = nullptr;
  QPushButton* colorButton_ = nullptr;
  QLabel* sample_ = nullptr;
  QLabel* drawingFamily_ = nullptr;
};

}  // namespace magna
