// Resident memory of clipboard watching left on: the main window watches the real
// clipboard while another program copies 50 different texts of 50 MB each (as
// UTF-16) one after the other. The resident size after the last one is printed
// beside the start-up size of the same run, against the goal: below the start-up
// size plus four times one text. Each copy is owned by this executable in its
// --owner role, which serves its text until another program takes the clipboard.
// Run under a display: xvfb-run -a -s '-screen 0 1280x800x24' bench_app_watching [copies]
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/fonts/fontMapping.h"
#include "app/window/main.h"
#include "platform/qt/qtServices.h"
#include "platform/qt/qtText.h"

namespace {

constexpr size_t kUnits = 25'000'000;  // 50 MB as UTF-16
constexpr int kMarker = 12;            // code units of the marks at both ends

/// The mark of one copy, kMarker code units.
magna::WideString Mark(int number) {
  char mark[32];
  std::snprintf(mark, sizeof mark, "copy %06d!", number);
  return magna::platform::qt::ToWide(QString::fromLatin1(mark));
}

/// The text of one copy: marked with its number at its start and at its end.
magna::WideString CopyText(int number) {
  const magna::WideString head = Mark(number);
  const magna::WideString line = u"日本語のテキスト、ABC 123 かなカナ漢字。\n";
  magna::WideString text = head;
  text.reserve(kUnits);
  while (text.size() + line.size() < kUnits - head.size()) text += line;
  text.append(kUnits - head.size() - text.size(), u'x');
  text += head;
  return text;
}

/// The owner of one copy, until another program takes the clipboard.
int RunOwner(int argc, char** argv, int number) {
  QGuiApplication app(argc, argv);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(magna::platform::qt::ToQString(CopyText(number)));
  QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard] {
    if (!clipboard->ownsClipboard()) QCoreApplication::quit();
  });
  return app.exec();
}

size_t StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0)
      return std::strtoull(line.c_str() + std::strlen(field), nullptr, 10);
  return 0;
}

double Megabytes(size_t kilobytes) {
  return kilobytes / 1024.0;
}

pid_t StartOwner(const char* self, int number) {
  const std::string arg = std::to_string(number);
  pid_t pid = fork();
  if (pid == 0) {
    execl(self, self, "--owner", arg.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

/// Whether the text area shows copy `number`: its marks at both ends.
bool Shows(magna::TApp_TOOLMagna& window, int number, int length) {
  const magna::WideString head = Mark(number);
  return window.Memo_Text->GetTextRange(0, kMarker) == head &&
         window.Memo_Text->GetTextRange(length - kMarker, kMarker) == head;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--owner") == 0)
    return RunOwner(argc, argv, std::atoi(argv[2]));
  const int copies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;

  QApplication app(argc, argv);
  magna::platform::qt::InstallQtServices();
  magna::InstallJapaneseFontSubstitutes();
  QTemporaryDir settings;
  magna::TApp_TOOLMagna window;
  window.SettingsFileName =
      magna::platform::qt::ToWide(settings.filePath(QStringLiteral("magna.ini")));
  window.AfterConstruction();
  if (!window.Action_TextCheckClipboard->isChecked()) window.Action_TextCheckClipboard->trigger();
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 1000) app.processEvents(QEventLoop::AllEvents, 50);
  const size_t startup = StatusKilobytes("VmRSS:");

  // The text area keeps one "\r" where the copy has "\n": the same length.
  const int shownLength = int(kUnits);
  std::vector<double> seconds;
  pid_t owner = 0;
  for (int number = 1; number <= copies; ++number) {
    const pid_t previous = owner;
    owner = StartOwner(argv[0], number);
    QElapsedTimer wait;
    wait.start();
    while (!Shows(window, number, shownLength)) {
      if (wait.elapsed() > 120'000) {
        std::fprintf(stderr, "FAIL: copy %d was not shown within 120 s; no figure printed\n",
                     number);
        kill(owner, SIGTERM);
        return 1;
      }
      app.processEvents(QEventLoop::AllEvents, 20);
    }
    seconds.push_back(wait.elapsed() / 1000.0);
    if (previous) waitpid(previous, nullptr, 0);  // it quits once it lost the clipboard
  }
  settle.restart();
  while (settle.elapsed() < 500) app.processEvents(QEventLoop::AllEvents, 50);
  const size_t after = StatusKilobytes("VmRSS:");
  const size_t peak = StatusKilobytes("VmHWM:");
  kill(owner, SIGTERM);
  waitpid(owner, nullptr, 0);

  std::sort(seconds.begin(), seconds.end());
  const double text = kUnits * 2 / 1048576.0;
  const double goal = Megabytes(startup) + 4 * text;
  std::printf(
      "watched copies: %d of %.1f MiB each as UTF-16 (median %.2f s from copy to shown)\n"
      "resident size: start-up %.1f MiB, after the copies %.1f MiB (peak %.1f MiB); "
      "after / (start-up + 4 x one text) = %.2f (goal < 1)\n",
      copies, text, seconds[seconds.size() / 2], Megabytes(startup), Megabytes(after),
      Megabytes(peak), Megabytes(after) / goal);
  return Megabytes(after) < goal ? 0 : 1;
}
