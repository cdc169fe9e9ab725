#pragma once
// The main window's fixed layout: the toolbar's buttons in their order, the
// status panel with its line and four labels, and the text area's popup menu.
// Sizes are the layout's pixels at 96 dots per inch.

#include <QFrame>
#include <QMenu>
#include <QToolBar>

#include "app/window/mainActions.h"
#include "widgets/myLabel.h"

namespace magna {

struct TStatusPanel {
  QWidget* Panel_Status = nullptr;
  QFrame* Shape_Bottom = nullptr;
  TMyLabel* Label_StatusChar = nullptr;
  QWidget* Bevel_Spc1 = nullptr;
  TMyLabel* Label_StatusAnsi = nullptr;
  QWidget* Bevel_Spc2 = nullptr;
  TMyLabel* Label_StatusUnicode = nullptr;
  QWidget* Bevel_Spc3 = nullptr;
  TMyLabel* Label_StatusUtf8 = nullptr;
};

struct TPopupMenu {
  QMenu* PopupMenu_Main = nullptr;
  QAction* mniPEdit_Undo = nullptr;
  QAction* mniPEdit_Redo = nullptr;
  QAction* mniPLine_1 = nullptr;
  QAction* mniPEdit_Cut = nullptr;
  QAction* mniPEdit_Copy = nullptr;
  QAction* mniPEdit_Paste = nullptr;
  QAction* mniPEdit_Delete = nullptr;
  QAction* mniPLine_2 = nullptr;
  QAction* mniPEdit_SelectAll = nullptr;
  QAction* mniPLine_5 = nullptr;    // hidden
  QAction* mniPEdit_Tab = nullptr;  // __mniPEdit_Tab: hidden, shortcut Tab
};

/// ToolBar1: flat, 25 pixels high, no wrapping, hints shown, images only.
QToolBar* BuildToolBar(QWidget* parent, const TMainActions& actions);
/// Panel_Status: 20 pixels, a one-pixel line on top, then the four labels.
TStatusPanel BuildStatusPanel(QWidget* parent);
/// PopupMenu_Main with its entries; the entries follow their actions.
TPopupMenu BuildPopupMenu(QWidget* parent, const TMainActions& actions);

/// The layout's font as a font object.
TFont LayoutFont(const char16_t* name, int height, uint8_t charset = SHIFTJIS_CHARSET);

}  // namespace magna
