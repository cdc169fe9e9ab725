// The Qt services under the offscreen platform: clipboard, key tracker, screens, UI.
#include "platform/qt/qtServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "platform/myWindows.h"
#include "platform/qt/qtClipboard.h"
#include "platform/qt/qtKeyState.h"
#include "platform/qt/qtMessageBox.h"
#include "platform/qt/qtScreens.h"
#include "platform/qt/qtText.h"
#include "platform/qt/qtUi.h"
#include "tests/support/fakeServices.h"

namespace magna::platform::qt {
namespace {

class QtClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::clipboard()->clear(); }
  QtClipboard clipboard;
};

TEST_F(QtClipboardTest, ReadsTextInBothFormatsOnlyWhileOpen) {
  QGuiApplication::clipboard()->setText(ToQString(u"\u3042A\U0001F600"));
  const WideString bmpOnly = u"\u3042A";
  EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardService::Format::UnicodeText));
  EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardService::Format::AnsiText));
  EXPECT_FALSE(clipboard.GetUnicodeText().has_value());

  ASSERT_TRUE(clipboard.Open());
  EXPECT_FALSE(clipboard.Open());  // one exchange at a time
  EXPECT_EQ(clipboard.GetUnicodeText(), WideString(u"\u3042A\U0001F600"));
  clipboard.Close();
  QGuiApplication::clipboard()->setText(ToQString(bmpOnly));
  ASSERT_TRUE(clipboard.Open());
  EXPECT_EQ(clipboard.GetAnsiText(), AnsiString("\x82\xA0"
                                                "A"));
  clipboard.Close();
}

TEST_F(QtClipboardTest, NoTextOffersNeitherFormat) {
  EXPECT_FALSE(clipboard.IsFormatAvailable(ClipboardService::Format::UnicodeText));
  EXPECT_FALSE(clipboard.IsFormatAvailable(ClipboardService::Format::AnsiText));
  ASSERT_TRUE(clipboard.Open());
  EXPECT_FALSE(clipboard.GetUnicodeText().has_value());
  EXPECT_FALSE(clipboard.GetAnsiText().has_value());
  clipboard.Close();
}

TEST_F(QtClipboardTest, PutTextReachesTheClipboardAtCloseAndNotifies) {
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  ASSERT_TRUE(clipboard.Open());
  clipboard.Empty();
  clipboard.SetAnsiText("\x82\xA0");
  clipboard.SetUnicodeText(u"\u3044\xD800");  // wins over the ANSI text; lone surrogate kept
  EXPECT_EQ(notices, 0);
  clipboard.Close();
  EXPECT_EQ(ToWide(QGuiApplication::clipboard()->text()), WideString(u"\u3044\xD800"));
  EXPECT_EQ(notices, 1);
}

TEST_F(QtClipboardTest, AnsiTextAloneIsConvertedFromShiftJis) {
  ASSERT_TRUE(clipboard.Open());
  clipboard.Empty();
  clipboard.SetAnsiText("\x82\xA0\xB1Z");
  clipboard.Close();
  EXPECT_EQ(ToWide(QGuiApplication::clipboard()->text()), WideString(u"\u3042\uFF71Z"));
}

TEST_F(QtClipboardTest, OwnChangesNotifyOnceAndAnExchangeWithoutChangeNever) {
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  clipboard.SetUnicodeText(u"lost");  // not open: ignored
  QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
  notices = 0;
  ASSERT_TRUE(clipboard.Open());
  EXPECT_EQ(clipboard.GetUnicodeText(), WideString(u"kept"));
  clipboard.Close();
  EXPECT_EQ(notices, 0);
  ASSERT_TRUE(clipboard.Open());
  clipboard.Empty();
  clipboard.Close();
  EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
  EXPECT_EQ(notices, 1);
}

TEST_F(QtClipboardTest, AnotherProgramsCopyNotifiesAndANewHandlerReplacesTheOld) {
  int first = 0, second = 0;
  clipboard.SetChangeHandler([&] { ++first; });
  clipboard.SetChangeHandler([&] { ++second; });
  QGuiApplication::clipboard()->setText(QStringLiteral("x"));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  test::ScopedRecordedLog log;
  clipboard.SetChangeHandler([] { throw std::runtime_error("handler failed"); });
  QGuiApplication::clipboard()->setText(QStringLiteral("y"));  // must not escape into Qt
  EXPECT_TRUE(log->TakeWarning(kLogClipboard, "handling a clipboard change failed: handler failed"))
      << log->Warnings();
}

// Regression: Qt on Wayland signals a change at every keyboard focus, and the
// notice replaced what the user had typed with the same clipboard text again.
TEST_F(QtClipboardTest, TheOfferTakenLastIsNoCopyWhenSignalledAgain) {
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  QGuiApplication::clipboard()->setText(QStringLiteral("clip-A"));
  EXPECT_EQ(notices, 1);
  Q_EMIT QGuiApplication::clipboard()->dataChanged();  // the focus came back
  EXPECT_EQ(notices, 1);
  QGuiApplication::clipboard()->setText(QStringLiteral("clip-B"));
  EXPECT_EQ(notices, 2);
  ASSERT_TRUE(clipboard.Open());
  clipboard.SetUnicodeText(u"own");
  clipboard.Close();
  EXPECT_EQ(notices, 3);
  Q_EMIT QGuiApplication::clipboard()->dataChanged();
  EXPECT_EQ(notices, 3) << "nor is the program's own copy signalled again";
}

// Regression: Qt 6.4 on Wayland offers text as "text/plain;charset=utf-8" only,
// and that text was taken for none.
TEST_F(QtClipboardTest, TextOfferedOnlyAsUtf8PlainTextIsText) {
  auto* data = new QMimeData;
  data->setData(QStringLiteral("text/plain;charset=utf-8"), QByteArray("日本語 utf-8"));
  QGuiApplication::clipboard()->setMimeData(data);
  EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardService::Format::UnicodeText));
  ASSERT_TRUE(clipboard.Open());
  EXPECT_EQ(clipboard.GetUnicodeText(), WideString(u"日本語 utf-8"));
  clipboard.Close();
}

/// Data of another program that counts how often it is asked for its formats.
class CountedData : public QMimeData {
 public:
  explicit CountedData(int& asked) : asked_(asked) {}
  QStringList formats() const override {
    ++asked_;
    return QMimeData::formats();
  }

 private:
  int& asked_;
};

// Each question may go to a program that never answers: one list of formats
// per change answers them all.
TEST_F(QtClipboardTest, WhatIsOfferedIsAskedOncePerChange) {
  int asked = 0;
  auto* data = new CountedData(asked);
  data->setText(QStringLiteral("offered"));
  QGuiApplication::clipboard()->setMimeData(data);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardService::Format::UnicodeText));
    EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardService::Format::AnsiText));
    EXPECT_FALSE(clipboard.IsMarkedSecret());
  }
  EXPECT_EQ(asked, 1);
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(clipboard.IsFormatAvailable(ClipboardService::Format::UnicodeText));
  ASSERT_TRUE(clipboard.Open());
  clipboard.SetUnicodeText(u"own");
  clipboard.Close();
  EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardService::Format::UnicodeText))
      << "our own change is asked anew too";
}

TEST_F(QtClipboardTest, ThePasswordManagersHintMarksTheTextSecret) {
  struct Case {
    const char* name;
    std::optional<QByteArray> hint;
    bool secret;
  } cases[] = {{"no hint", std::nullopt, false},
               {"secret", QByteArrayLiteral("secret"), true},
               {"unreadable hint", QByteArray(), true},
               {"another value", QByteArrayLiteral("public"), false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* data = new QMimeData;
    data->setText(QStringLiteral("pass"));
    if (c.hint) data->setData(QStringLiteral("x-kde-passwordManagerHint"), *c.hint);
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_EQ(clipboard.IsMarkedSecret(), c.secret);
    EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardService::Format::UnicodeText));
  }
}

TEST(QtKeyState, TracksKeysByTheirVirtualCode) {
  QtKeyState keys;
  QWidget target;
  auto send = [&](QEvent::Type type, int key, quint32 scan, bool repeat = false) {
    QKeyEvent e(type, key, Qt::NoModifier, scan, 0, 0, QString(), repeat);
    QApplication::sendEvent(&target, &e);
  };
  EXPECT_EQ(keys.GetAsyncKeyState('A'), 0);
  send(QEvent::KeyPress, Qt::Key_A, 38);
  EXPECT_EQ(keys.GetAsyncKeyState('A'), 0x8000);
  send(QEvent::KeyRelease, Qt::Key_A, 38, /*repeat=*/true);
  EXPECT_EQ(keys.GetAsyncKeyState('A'), 0x8000) << "an auto-repeat release is no release";
  send(QEvent::KeyRelease, Qt::Key_A, 38);
  EXPECT_EQ(keys.GetAsyncKeyState('A'), 0);

  // Pressed as '1', released as '!' after Shift went down: the same physical key.
  send(QEvent::KeyPress, Qt::Key_1, 10);
  send(QEvent::KeyRelease, Qt::Key_Exclam, 10);
  EXPECT_EQ(keys.GetAsyncKeyState('1'), 0);

  send(QEvent::KeyPress, Qt::Key_Up, 111);
  EXPECT_EQ(keys.GetAsyncKeyState(38), 0x8000);
  EXPECT_FALSE(keys.MouseButtonsSwapped());

  // Releases that happen in another application are never seen: losing the focus forgets.
  QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
  QApplication::sendEvent(QCoreApplication::instance(), &inactive);
  EXPECT_EQ(keys.GetAsyncKeyState(38), 0);
}

TEST(QtScreens, RectanglesKeepTheirRightAndBottomEdgesOutside) {
  EXPECT_EQ(ToTRect(QRect(0, 0, 1920, 1080)), (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(ToTRect(QRect(-1280, 200, 1280, 1024)), (TRect{-1280, 200, 0, 1224}));
  EXPECT_EQ(ToQRect(TRect{1920, 40, 3840, 1080}), QRect(1920, 40, 1920, 1040));
  EXPECT_EQ(ToQRect(ToTRect(QRect(5, 6, 0, 0))), QRect(5, 6, 0, 0));
}

TEST(QtScreens, EveryScreenIsAMonitorPrimaryFirst) {
  QtScreens screens;
  const std::vector<MonitorInfo> list = screens.Monitors();
  ASSERT_EQ(list.size(), size_t(QGuiApplication::screens().size()));
  const QScreen* primary = QGuiApplication::primaryScreen();
  EXPECT_NE(list[0].Handle, 0);
  EXPECT_EQ(list[0].Bounds, ToTRect(primary->geometry()));
  EXPECT_EQ(list[0].WorkArea, ToTRect(primary->availableGeometry()));
}

TEST(QtMessageBox, ModalBoxWithTheCaptionAndOneOkButton) {
  QString caption, text;
  int buttons = 0;
  bool modal = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    caption = box->windowTitle();
    text = box->text();
    buttons = int(box->buttons().size());
    modal = box->isModal();
    box->button(QMessageBox::Ok)->click();
  });
  QtMessageBox().Show(u"\u30C6\u30AD\u30B9\u30C8", u"Magna");
  EXPECT_EQ(ToWide(caption), u"Magna");
  EXPECT_EQ(ToWide(text), u"\u30C6\u30AD\u30B9\u30C8");
  EXPECT_EQ(buttons, 1);
  EXPECT_TRUE(modal);
}

TEST(QtUi, LoopPassesProcessPendingEventsAtTheFirstCallAndOncePerSlice) {
  QtUi ui;
  int delivered = 0;
  auto post = [&] {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { ++delivered; }, Qt::QueuedConnection);
  };
  post();
  ui.ProcessMessagesInLoop();
  EXPECT_EQ(delivered, 1);
  // A pass skipped within the slice is made up by the first call after it.
  post();
  for (int i = 0; i < 3 && delivered < 2; ++i) {
    QThread::msleep(2 * QtUi::kLoopSliceNanoseconds / 1'000'000);
    ui.ProcessMessagesInLoop();
  }
  EXPECT_EQ(delivered, 2);
}

TEST(QtUi, TerminatedOnceTheApplicationQuits) {
  QtUi ui;
  EXPECT_FALSE(ui.Terminated());
  ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
  EXPECT_TRUE(ui.Terminated());
}

/// A window object that owns a widget, as the text area's does.
class WidgetWindow : public TWindowObject {
 public:
  WidgetWindow() : widget_(new QWidget) {}
  ~WidgetWindow() override { delete widget_.data(); }
  LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { return 0; }
  QPointer<QWidget> widget_;
};

// Nothing of ours that holds a Qt object may be left for the exit handlers.
TEST(QtServicesScope, InstallsTheServicesAndItsEndLeavesNoWindowAndNoQtService) {
  QPointer<QWidget> widget;
  HWND window = nullptr;
  RegisterClassW(u"WidgetWindow", [&](HWND) {
    auto object = std::make_unique<WidgetWindow>();
    widget = object->widget_;
    return object;
  });
  {
    TQtServicesScope services;
    EXPECT_NE(dynamic_cast<QtUi*>(&Ui()), nullptr);
    EXPECT_NE(dynamic_cast<QtKeyState*>(&KeyState()), nullptr);
    window = CreateWindowExW(0, u"WidgetWindow", u"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr);
    ASSERT_TRUE(widget);
  }
  EXPECT_FALSE(widget) << "destroyed while Qt runs";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(dynamic_cast<QtUi*>(&Ui()), nullptr);
  EXPECT_EQ(dynamic_cast<QtKeyState*>(&KeyState()), nullptr);
  UnregisterClassW(u"WidgetWindow");
}

}  // namespace
}  // namespace magna::platform::qt
