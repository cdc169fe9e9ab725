#include "app/window/myHelpVersionInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <exception>

#include "app/desktop/captionLanguage.h"
#include "editor/myEdit.h"
#include "platform/log.h"
#include "platform/monitorHandles.h"
#include "platform/myMonitor.h"
#include "platform/qt/qtFont.h"
#include "platform/services.h"
#include "widgets/myLabel.h"

namespace magna {

QPointer<THelp_VersionInfo> Help_VersionInfo;

namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 180;
constexpr int kVerHeight = 40;
constexpr int kMemoHeight = 80;  // the extra text's share when there is one
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 21;
constexpr int kButtonBottomGap = 26;  // from the bottom of pnlCmd to the button's top

QWidget* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QString::fromLatin1(name));
  return panel;
}

TMyLabel* MakeLabel(QWidget* parent, const char* name, int left, int top) {
  auto* label = new TMyLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  return label;
}

/// A 1-pixel line of the button-shadow colour.
QWidget* MakeShape(QWidget* parent, const char* name) {
  QWidget* shape = MakePanel(parent, name);
  QPalette palette = shape->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
  shape->setPalette(palette);
  shape->setAutoFillBackground(true);
  return shape;
}

bool IsTopmost(const QWidget* window) {
  return window && (window->windowFlags() & Qt::WindowStaysOnTopHint);
}

}  // namespace

WideString VersionNameLine(const WideString& productTitle, const WideString& appTitle,
                           const WideString& programFile, const WideString& fileVersion) {
  WideString name = productTitle;
  if (name.empty()) name = appTitle;
  if (name.empty()) name = ExtractName(programFile);
  if (!name.empty()) name = IncludeSuffix(name, u":");
  return name + u"Ver " + fileVersion;
}

THelp_VersionInfo::THelp_VersionInfo(QWidget* mainWindow)
    : QDialog(nullptr), OnOpenDocument(OpenDocument) {
  setObjectName(QStringLiteral("Help_VersionInfo"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(platform::qt::ToQFont(TFont()));  // "MS UI Gothic", height -12
  BuildComponents();
  resize(kClientWidth, kClientHeight);
  LayoutPanels();
  FormCreate(mainWindow);
}

THelp_VersionInfo::~THelp_VersionInfo() {
  if (overrideCursor_) QApplication::restoreOverrideCursor();
}

void THelp_VersionInfo::BuildComponents() {
  pnlVer = MakePanel(this, "pnlVer");
  imgIcon = new QLabel(pnlVer);
  imgIcon->setObjectName(QStringLiteral("imgIcon"));
  imgIcon->setGeometry(4, 4, 32, 32);
  lblHelp_Ver = MakeLabel(pnlVer, "lblHelp_Ver", 40, 6);
  lblHelp_Ver->SetLayout(tlCenter);
  lblHelp_Ver->SetCaption(u"タイトル：バージョン");
  lblHelp_Description = MakeLabel(pnlVer, "lblHelp_Description", 40, 22);
  lblHelp_Description->SetLayout(tlCenter);
  lblHelp_Description->SetCaption(u"説明");

  pnlMemo = MakePanel(this, "pnlMemo");
  edtMemo = new TMyMemo(pnlMemo);
  edtMemo->setObjectName(QStringLiteral("edtMemo"));
  edtMemo->SetBorderStyle(bsNone);
  edtMemo->setFocusPolicy(Qt::NoFocus);
  edtMemo->SetWideLine(true);
  edtMemo->SetWordWrap(true);
  edtMemo->SetAutoFont(false);
  edtMemo->SetCharCode(cdSJis);
  edtMemo->SetReadOnly(true);
  Shape2 = MakeShape(pnlMemo, "Shape2");
  Shape3 = MakeShape(pnlMemo, "Shape3");

  pnlCmd = MakePanel(this, "pnlCmd");
  lblURL = MakeLabel(pnlCmd, "lblURL", 8, 4);
  lblURL->SetCaption(u"URL");
  lblURL->setCursor(Qt::PointingHandCursor);
  lblURL->installEventFilter(this);
  btnClose = new QPushButton(QStringLiteral("OK"), pnlCmd);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setAutoDefault(false);
  connect(btnClose, &QPushButton::clicked, this, [this] { close(); });
}

void THelp_VersionInfo::FormCreate(QWidget* mainWindow) {
  PlaceOnCursorMonitor();
  imgIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  LayoutPanels();
  setWindowTitle(Caption(u"バージョン情報"));
  const WideString programFile = ApplicationFileName();
  const TMyFileVersionInfo info = ReadVersionInfo(programFile);
  lblHelp_Ver->SetCaption(VersionNameLine(ApplicationTitle(),
                                          QCoreApplication::applicationName().toStdU16String(),
                                          programFile, info.FileVersion));
  lblHelp_Description->SetCaption(info.Comments);
  SetMemo(WideString());
  lblURL->SetCaption(WideString());
  if (IsTopmost(mainWindow)) setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void THelp_VersionInfo::PlaceOnCursorMonitor() {
  const TPoint cursor = platform::Screens().CursorPos();
  const int32_t index = MonitorIndexFromPoint(cursor);
  const TRect area =
      index >= 0 ? ScreenMonitors()[size_t(index)].WorkArea
                 : NearestMonitorWorkArea(TRect{cursor.X, cursor.Y, cursor.X + 1, cursor.Y + 1});
  const QSize size = frameGeometry().size();
  // C++ division rounds towards zero, as the placement wants.
  move(area.Left + (area.Right - area.Left - size.width()) / 2,
       area.Top + (area.Bottom - area.Top - size.height()) / 2);
}

void THelp_VersionInfo::SetClientSize(int width, int height) {
  resize(std::max(0, width), std::max(0, height));
  LayoutPanels();
}

void THelp_VersionInfo::LayoutPanels() {
  const int w = width();
  const int h = height();
  pnlVer->setGeometry(0, 0, w, kVerHeight);
  pnlCmd->setGeometry(0, h - pnlCmdHeight_, w, pnlCmdHeight_);
  const int memoHeight = std::max(0, h - kVerHeight - pnlCmdHeight_);
  pnlMemo->setGeometry(0, kVerHeight, w, memoHeight);
  edtMemo->setGeometry(0, 0, w, memoHeight);
  Shape2->setGeometry(0, 0, w, 1);
  Shape3->setGeometry(0, memoHeight - 1, w, 1);
  Shape2->raise();
  Shape3->raise();
  // Anchored to the bottom only: it keeps its distance from the bottom and stays centred.
  btnClose->setGeometry((w - kButtonWidth) / 2, pnlCmdHeight_ - kButtonBottomGap, kButtonWidth,
                        kButtonHeight);
}

void THelp_VersionInfo::SetURL(const WideString& text) {
  lblURL->SetCaption(text);
  int w = width();
  int h = height();
  const int rowHeight = lblURL->height();
  if (!text.empty()) {
    w = std::max(w, lblURL->width() + 2 * lblURL->x());
    if (lblURL->isHidden()) {
      h += rowHeight;
      pnlCmdHeight_ += rowHeight;
      lblURL->show();
    }
  } else {
    if (!lblURL->isHidden()) {
      h -= rowHeight;
      pnlCmdHeight_ -= rowHeight;
    }
    lblURL->hide();
  }
  SetClientSize(w, h);
}

void THelp_VersionInfo::SetMemo(const WideString& text) {
  edtMemo->SetText(TrimBlanks(text));
  if (!text.empty()) {
    SetClientSize(width(), kVerHeight + pnlCmdHeight_ + kMemoHeight);
    pnlMemo->show();
  } else {
    if (!edtMemo->isHidden()) SetClientSize(width(), height() - edtMemo->height());
    pnlMemo->hide();
  }
}

void THelp_VersionInfo::showEvent(QShowEvent* event) {
  if (Tag == 0) {
    Tag = 1;
    setMinimumSize(size());
  }
  QDialog::showEvent(event);
}

void THelp_VersionInfo::closeEvent(QCloseEvent* event) {
  setAttribute(Qt::WA_DeleteOnClose, true);
  QDialog::closeEvent(event);
}

void THelp_VersionInfo::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayoutPanels();
}

void THelp_VersionInfo::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    btnClose->click();  // the cancel button
    return;
  }
  QDialog::keyPressEvent(event);
}

bool THelp_VersionInfo::eventFilter(QObject* watched, QEvent* event) {
  if (watched != lblURL) return QDialog::eventFilter(watched, event);
  platform::Guard(platform::kLogApp, "handling the help link's mouse event", [&] {
    switch (event->type()) {
      case QEvent::Enter: lblURLMouseEnter(); break;
      case QEvent::Leave: lblURLMouseLeave(); break;
      case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            lblURL->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
          lblURLClick();
        break;
      default: break;
    }
  });
  return QDialog::eventFilter(watched, event);
}

void THelp_VersionInfo::lblURLMouseEnter() {
  TFont& font = lblURL->Font();
  if (!(font.Style() & fsUnderline)) font.SetStyle(font.Style() | fsUnderline);
  if (!overrideCursor_) {
    QApplication::setOverrideCursor(Qt::PointingHandCursor);
    overrideCursor_ = true;
  }
}

void THelp_VersionInfo::lblURLMouseLeave() {
  TFont& font = lblURL->Font();
  if (font.Style() & fsUnderline) font.SetStyle(font.Style() & ~fsUnderline);
  if (overrideCursor_) {
    QApplication::restoreOverrideCursor();
    overrideCursor_ = false;
  }
}

void THelp_VersionInfo::lblURLClick() {
  if (!OnOpenDocument) return;
  const WideString address = lblURL->Caption();
  // Without a desktop launcher (xdg-open) a click would otherwise do nothing at all.
  if (!OnOpenDocument(address, WideString()))
    ShowMessageBox(Caption(u"リンク先を開くプログラムが見つかりません。\n"
                           u"ブラウザーで次のアドレスを開いてください。\n\n")
                       .toStdU16String() +
                   address);
}

// The module's procedures

void CreateVersionInfo(QWidget* mainWindow) {
  if (Help_VersionInfo) {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (qobject_cast<THelp_VersionInfo*>(widget)) return;
  }
  Help_VersionInfo = new THelp_VersionInfo(mainWindow ? mainWindow : QApplication::activeWindow());
}

void SetVersionInfoURL(const WideString& text) {
  CreateVersionInfo();
  Help_VersionInfo->SetURL(text);
}

void SetVersionInfoMemo(const WideString& text) {
  CreateVersionInfo();
  Help_VersionInfo->SetMemo(text);
}

void ShowVersionInfo() {
  if (!Help_VersionInfo) return;
  THelp_VersionInfo& dialog = *Help_VersionInfo;
  dialog.SetURL(dialog.lblURL->Caption());
  dialog.SetMemo(dialog.edtMemo->Text());
  dialog.exec();
}

void ReleaseVersionInfo() {
  CreateVersionInfo();
  Help_VersionInfo->deleteLater();
  Help_VersionInfo = nullptr;
}

bool OpenDocument(const WideString& document, const WideString& /*parameters*/) {
  if (document.empty()) return false;
  const QUrl url = QUrl::fromUserInput(QString::fromStdU16String(document));
  return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace magna
