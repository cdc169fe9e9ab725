#include "app/window/mainLayout.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/qtFont.h"

namespace magna {

namespace {

constexpr int kToolBarHeight = 25;
constexpr int kStatusHeight = 20;
constexpr int kSpacerWidth = 2;
constexpr int kSeparatorWidth = 8;

void AddButton(QToolBar* bar, QAction* action, const char* name) {
  bar->addAction(action);
  if (QWidget* button = bar->widgetForAction(action))
    button->setObjectName(QString::fromLatin1(name));
}

void AddSeparator(QToolBar* bar) {
  QAction* separator = bar->addSeparator();
  if (QWidget* widget = bar->widgetForAction(separator)) widget->setFixedWidth(kSeparatorWidth);
}

/// Single-line, vertically centred, "&" literal, 4-pixel side margins, button face.
/// The width is the layout's; the label sizes itself to its caption from then on.
TMyLabel* StatusLabel(QWidget* parent, const char* name, int width) {
  auto* label = new TMyLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->SetSingleLine(true);
  label->SetLayout(tlCenter);
  label->SetShowAccelChar(false);
  label->SetLeftMargin(4);
  label->SetRightMargin(4);
  label->SetDisabledStyle(false);
  label->SetColor(clBtnFace);
  label->SetParentColor(false);
  label->resize(width, kStatusHeight - 1);
  return label;
}

QWidget* Spacer(QWidget* parent, const char* name) {
  auto* spacer = new QWidget(parent);
  spacer->setObjectName(QString::fromLatin1(name));
  spacer->setFixedWidth(kSpacerWidth);
  return spacer;
}

QAction* MenuEntry(QMenu* menu, QAction* action, const char* name) {
  // The entry is the action itself: caption, image, shortcut, enabled state follow it.
  menu->addAction(action);
  action->setProperty("MenuItemName", QString::fromLatin1(name));
  return action;
}

QAction* MenuSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(QString::fromLatin1(name));
  return separator;
}

}  // namespace

TFont LayoutFont(const char16_t* name, int height, uint8_t charset) {
  TFont font;
  font.SetName(name);
  font.SetHeight(height);
  font.SetCharset(charset);
  return font;
}

QToolBar* BuildToolBar(QWidget* parent, const TMainActions& a) {
  auto* bar = new QToolBar(parent);
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setIconSize(QSize(16, 16));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setFixedHeight(kToolBarHeight);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  AddButton(bar, a.Action_TextReplace, "ToolButton_TextReplace");
  AddButton(bar, a.Action_TextClear, "ToolButton_TextClear");
  AddButton(bar, a.Action_TextCheckClipboard, "ToolButton_TextCheckClipboard");
  AddSeparator(bar);
  AddButton(bar, a.Action_EditUndo, "ToolButton_EditUndo");
  AddButton(bar, a.Action_EditRedo, "ToolButton_EditRedo");
  AddButton(bar, a.Action_EditCut, "ToolButton_EditCut");
  AddButton(bar, a.Action_EditCopy, "ToolButton_EditCopy");
  AddButton(bar, a.Action_EditPaste, "ToolButton_EditPaste");
  AddButton(bar, a.Action_EditDelete, "ToolButton_EditDelete");
  AddButton(bar, a.Action_EditSelectAll, "ToolButton_EditSelectAll");
  AddSeparator(bar);
  AddButton(bar, a.Action_TextWrap, "ToolButton_TextWrap");
  AddButton(bar, a.Action_FontSel, "ToolButton_FontSel");
  AddButton(bar, a.Action_FontSizeUp, "ToolButton_FontSizeUp");
  AddButton(bar, a.Action_FontSizeDown, "ToolButton_FontSizeDown");
  AddSeparator(bar);
  AddButton(bar, a.Action_HelpVersionInfo, "ToolButton_HelpVersionInfo");
  return bar;
}

TStatusPanel BuildStatusPanel(QWidget* parent) {
  TStatusPanel s;
  s.Panel_Status = new QWidget(parent);
  s.Panel_Status->setObjectName(QStringLiteral("Panel_Status"));
  s.Panel_Status->setFixedHeight(kStatusHeight);
  s.Panel_Status->setFont(platform::qt::ToQFont(LayoutFont(u"ＭＳ ゴシック", -12)));
  s.Panel_Status->setAutoFillBackground(true);
  QPalette palette = s.Panel_Status->palette();
  palette.setColor(QPalette::Window, platform::qt::ToQColor(clBtnFace));
  s.Panel_Status->setPalette(palette);

  auto* column = new QVBoxLayout(s.Panel_Status);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  s.Shape_Bottom = new QFrame(s.Panel_Status);
  s.Shape_Bottom->setObjectName(QStringLiteral("Shape_Bottom"));
  s.Shape_Bottom->setFixedHeight(1);
  s.Shape_Bottom->setAutoFillBackground(true);
  QPalette line = s.Shape_Bottom->palette();
  line.setColor(QPalette::Window, platform::qt::ToQColor(clBtnShadow));
  s.Shape_Bottom->setPalette(line);
  column->addWidget(s.Shape_Bottom);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  column->addLayout(row, 1);
  s.Label_StatusChar = StatusLabel(s.Panel_Status, "Label_StatusChar", 26);
  s.Label_StatusChar->Font().Assign(LayoutFont(u"MS UI Gothic", -12));
  s.Bevel_Spc1 = Spacer(s.Panel_Status, "Bevel_Spc1");
  s.Label_StatusAnsi = StatusLabel(s.Panel_Status, "Label_StatusAnsi", 62);
  s.Bevel_Spc2 = Spacer(s.Panel_Status, "Bevel_Spc2");
  s.Label_StatusUnicode = StatusLabel(s.Panel_Status, "Label_StatusUnicode", 86);
  s.Bevel_Spc3 = Spacer(s.Panel_Status, "Bevel_Spc3");
  s.Label_StatusUtf8 = StatusLabel(s.Panel_Status, "Label_StatusUtf8", 80);
  for (TMyLabel* label : {s.Label_StatusAnsi, s.Label_StatusUnicode, s.Label_StatusUtf8})
    label->Font().Assign(LayoutFont(u"ＭＳ ゴシック", -12));
  for (QWidget* w : {static_cast<QWidget*>(s.Label_StatusChar), s.Bevel_Spc1,
                     static_cast<QWidget*>(s.Label_StatusAnsi), s.Bevel_Spc2,
                     static_cast<QWidget*>(s.Label_StatusUnicode), s.Bevel_Spc3,
                     static_cast<QWidget*>(s.Label_StatusUtf8)})
    row->addWidget(w);
  row->addStretch(1);
  return s;
}

TPopupMenu BuildPopupMenu(QWidget* parent, const TMainActions& a) {
  TPopupMenu m;
  m.PopupMenu_Main = new QMenu(parent);
  m.PopupMenu_Main->setObjectName(QStringLiteral("PopupMenu_Main"));
  QMenu* menu = m.PopupMenu_Main;
  m.mniPEdit_Undo = MenuEntry(menu, a.Action_EditUndo, "mniPEdit_Undo");
  m.mniPEdit_Redo = MenuEntry(menu, a.Action_EditRedo, "mniPEdit_Redo");
  m.mniPLine_1 = MenuSeparator(menu, "mniPLine_1");
  m.mniPEdit_Cut = MenuEntry(menu, a.Action_EditCut, "mniPEdit_Cut");
  m.mniPEdit_Copy = MenuEntry(menu, a.Action_EditCopy, "mniPEdit_Copy");
  m.mniPEdit_Paste = MenuEntry(menu, a.Action_EditPaste, "mniPEdit_Paste");
  m.mniPEdit_Delete = MenuEntry(menu, a.Action_EditDelete, "mniPEdit_Delete");
  m.mniPLine_2 = MenuSeparator(menu, "mniPLine_2");
  m.mniPEdit_SelectAll = MenuEntry(menu, a.Action_EditSelectAll, "mniPEdit_SelectAll");
  m.mniPLine_5 = MenuSeparator(menu, "mniPLine_5");
  m.mniPLine_5->setVisible(false);
  m.mniPEdit_Tab = menu->addAction(QStringLiteral("Tab"));
  m.mniPEdit_Tab->setObjectName(QStringLiteral("__mniPEdit_Tab"));
  m.mniPEdit_Tab->setShortcut(QKeySequence(Qt::Key_Tab));
  m.mniPEdit_Tab->setVisible(false);
  return m;
}

}  // namespace magna
