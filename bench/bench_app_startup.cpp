// Start-up and main-window figures, each beside a reference from the same run:
//   start-up to the first painted frame of the main window, against a minimal Qt
//   window program (this same executable in its --minimal role, so both load the
//   same libraries); a 10 M code-unit clipboard replace, from the copy until the
//   change notice has put the text on screen (watching switched on explicitly,
//   with the settings in a temporary folder: a replace that did not happen fails
//   the run, it never prints a time), once with the change handed over by a
//   reader's thread to the GUI thread as the program gets it, once with the
//   notice sent at once by a fake clipboard for reference; one status line update
//   with a short and with a 10 M code-unit text.
// Run under a display (xvfb-run -a bench_app_startup) or with QT_QPA_PLATFORM=offscreen.
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "app/fonts/fontMapping.h"
#include "app/window/main.h"
#include "platform/qt/qtClipboardReader.h"
#include "platform/qt/qtServices.h"
#include "platform/qt/qtText.h"
#include "platform/qt/qtWatchedClipboard.h"
#include "tests/support/fakeServices.h"
#include "tests/support/scriptedWatcher.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

/// Quits once the window has painted its first frame.
class FirstFrame : public QObject {
 public:
  explicit FirstFrame(QWidget* window) { window->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return false;
  }

 private:
  bool seen_ = false;
};

int RunChild(int argc, char** argv, bool magnaWindow) {
  QApplication app(argc, argv);
  if (!magnaWindow) {
    QWidget window;
    window.resize(512, 250);
    window.setWindowTitle(QStringLiteral("minimal"));
    FirstFrame frame(&window);
    window.show();
    return app.exec();
  }
  app.setApplicationName(QStringLiteral("Magna"));
  magna::platform::qt::InstallQtServices();
  magna::InstallJapaneseFontSubstitutes();
  magna::TApp_TOOLMagna window;
  FirstFrame frame(&window);
  window.AfterConstruction();
  return app.exec();
}

/// Wall time of one child process from fork to exit, in milliseconds.
double TimeChild(const char* self, const char* role) {
  auto start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    execl(self, self, role, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return MillisecondsSince(start);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void StartupFigures(const char* self) {
  const int runs = 9;
  std::vector<double> minimal, magnaWindow;
  TimeChild(self, "--minimal");  // warm the file cache for both
  TimeChild(self, "--magna");
  for (int i = 0; i < runs; ++i) {  // interleaved, so drifts hit both
    minimal.push_back(TimeChild(self, "--minimal"));
    magnaWindow.push_back(TimeChild(self, "--magna"));
  }
  double a = Median(minimal), b = Median(magnaWindow);
  std::printf(
      "start-up to first frame (median of %d): minimal Qt window %.1f ms, Magna %.1f ms, "
      "ratio %.2f (goal <= 1.5)\n",
      runs, a, b, b / a);
}

magna::WideString BigText(size_t units) {
  const magna::WideString line = u"日本語のテキスト、ABC 123 かなカナ漢字。\r\n";
  magna::WideString text;
  text.reserve(units + line.size());
  while (text.size() < units) text += line;
  text.resize(units);
  return text;
}

/// Whether the text area shows `text` (compared at both ends and in length: the
/// text area keeps one "\r" per "\r\n").
bool Shows(magna::TApp_TOOLMagna& window, const magna::WideString& text) {
  const int shown = int(text.size()) - int(std::count(text.begin(), text.end(), u'\n'));
  const magna::WideString head = text.substr(0, 16);
  return window.Memo_Text->GetTextRange(0, 16) == head &&
         window.Memo_Text->GetTextRange(shown - 1, 2).size() == 1;
}

/// Copies the text and waits up to 10 s for the change notice to have replaced
/// the shown text; milliseconds from the copy, or -1 when it was not replaced.
double WatchedReplace(QApplication& app, const std::function<void(const magna::WideString&)>& copy,
                      magna::TApp_TOOLMagna& window, const magna::WideString& text) {
  const auto start = Clock::now();
  copy(text);
  while (!Shows(window, text)) {
    if (MillisecondsSince(start) > 10'000) return -1;
    app.processEvents(QEventLoop::AllEvents, 10);
  }
  return MillisecondsSince(start);
}

/// Joins the viewer chain anew, so that the notices come from the clipboard now installed.
void Rejoin(magna::TApp_TOOLMagna& window) {
  window.Action_TextCheckClipboard->trigger();
  window.Action_TextCheckClipboard->trigger();
}

bool WindowFigures(int argc, char** argv) {
  QApplication app(argc, argv);
  magna::platform::InstallClipboard(std::make_unique<magna::test::MemoryClipboard>());
  QTemporaryDir settings;  // watching is switched on here, not by a stored setting
  magna::TApp_TOOLMagna window;
  window.SettingsFileName =
      magna::platform::qt::ToWide(settings.filePath(QStringLiteral("magna.ini")));
  window.AfterConstruction();
  if (!window.Action_TextCheckClipboard->isChecked()) window.Action_TextCheckClipboard->trigger();

  magna::test::ScriptedWatcher* watcher = nullptr;
  auto reader = std::make_shared<magna::platform::qt::QtClipboardReader>(
      magna::test::ScriptedWatcher::Starter(&watcher));
  // The two ways a copy reaches the window, each with a clipboard installed anew.
  const auto handOver = [&](const magna::WideString& text) {
    magna::platform::InstallClipboard(std::make_unique<magna::platform::qt::QtWatchedClipboard>(
        reader, magna::platform::WatchedSelection::Clipboard, std::chrono::milliseconds(0)));
    Rejoin(window);
    return WatchedReplace(
        app,
        [&](const magna::WideString& t) {
          std::thread([&] { watcher->Hand(magna::test::TextOffer(t)); }).join();
        },
        window, text);
  };
  const auto noticeAtOnce = [&](const magna::WideString& text) {
    auto clipboard = std::make_unique<magna::test::MemoryClipboard>();
    auto* fake = clipboard.get();
    magna::platform::InstallClipboard(std::move(clipboard));
    Rejoin(window);
    return WatchedReplace(
        app, [&](const magna::WideString& t) { fake->SimulateCopy(t, std::nullopt); }, window,
        text);
  };

  const size_t units = 10'000'000;
  const std::vector<size_t> sizes = {units / 2, units};
  const int rounds = 5;  // interleaved, so drifts hit both ways
  std::vector<double> handedOver, direct;
  for (size_t size : sizes) {
    const magna::WideString text = BigText(size);
    std::vector<double> times[2];
    for (int round = 0; round < rounds; ++round) {
      for (int way = 0; way < 2; ++way) {
        window.Memo_Text->Clear();
        const double ms = way == 0 ? handOver(text) : noticeAtOnce(text);
        if (ms < 0) {
          std::fprintf(stderr,
                       "FAIL: a clipboard copy of %zu code units was not shown within 10 s; "
                       "no time printed\n",
                       size);
          return false;
        }
        times[way].push_back(ms);
      }
    }
    handedOver.push_back(Median(times[0]));
    direct.push_back(Median(times[1]));
  }
  magna::platform::InstallClipboard(std::make_unique<magna::test::MemoryClipboard>());
  Rejoin(window);
  auto* fake = static_cast<magna::test::MemoryClipboard*>(&magna::platform::Clipboard());

  for (size_t i = 0; i < sizes.size(); ++i) {
    const magna::WideString text = BigText(sizes[i]);
    window.Memo_Text->Clear();
    auto start = Clock::now();
    window.Memo_Text->SetText(text);
    double setText = MillisecondsSince(start);
    std::printf(
        "clipboard replace of %zu code units (%.0f MB as UTF-16), from the copy to the text "
        "shown (median of 5): %.0f ms handed over by a reader's thread, %.0f ms by a notice at "
        "once (ratio %.2f; goal < 1000 ms); the text area taking the same text by SetText: "
        "%.0f ms\n",
        sizes[i], sizes[i] * 2 / 1e6, handedOver[i], direct[i], handedOver[i] / direct[i], setText);
  }
  fake->SimulateCopy(BigText(units), std::nullopt);

  auto perUpdate = [&](int caret) {
    window.Memo_Text->SetSelStart(caret);
    const int calls = 2000;
    auto t = Clock::now();
    for (int i = 0; i < calls; ++i) window.Memo_TextSelectionChange(nullptr);
    return MillisecondsSince(t) / calls;
  };
  double inBig = perUpdate(int(units / 2));
  window.Memo_Text->SetText(u"あ");
  double inSmall = perUpdate(0);
  auto t = Clock::now();
  for (int i = 0; i < 2000; ++i) window.Label_StatusAnsi->SetCaption(u"SJIS 0x82A0");
  double oneCaption = MillisecondsSince(t) / 2000;
  std::printf(
      "status line update: %.4f ms with one character, %.4f ms inside %zu code units "
      "(goal < 0.1 ms); one label caption for reference: %.4f ms\n",
      inSmall, inBig, units, oneCaption);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--minimal") == 0) return RunChild(argc, argv, false);
  if (argc > 1 && std::strcmp(argv[1], "--magna") == 0) return RunChild(argc, argv, true);
  StartupFigures(argv[0]);
  return WindowFigures(argc, argv) ? 0 : 1;
}
