// Magna's entry point: a restricted library search path first, then the command
// line (answered without a display where it asks for help, the version or is
// wrong), the application object, the platform services, the main window with
// the text the command line gives, and the loop.
// However the session ends, the settings are kept and nothing of ours outlives
// Qt: a close, SIGTERM, SIGHUP and SIGINT all end the loop in order (status 0)
// and the window saves as it goes; the session manager's save request saves at
// once; everything that holds Qt objects lives in a scope here, declared after
// the application object, so that it goes first. A lost display ends the process
// from inside Qt with exit(1), which runs no scope's end and none of our code:
// the window has written its settings a moment after each change.
#include <QApplication>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QTranslator>
#include <cstdio>
#include <memory>

#include "app/desktop/captionLanguage.h"
#include "app/desktop/commandLine.h"
#include "app/desktop/displayPlatform.h"
#include "app/desktop/myProcessObjects.h"
#include "app/desktop/my_safedll.h"
#include "app/desktop/startText.h"
#include "app/fonts/fontMapping.h"
#include "app/window/actionImages.h"
#include "app/window/main.h"
#include "platform/qt/qtQuitSignals.h"
#include "platform/qt/qtServices.h"

namespace {

/// The one application id of the desktop entry, the metainfo and the icon.
const QString kDesktopFileName = QStringLiteral("io.github.magnatool.Magna");

/// Qt's own texts (standard dialogs, context menus) in Japanese, when installed.
void LoadQtTranslations(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(translator);
}

/// A request to end from outside (a signal): every window closes as at Alt+F4,
/// an open dialog included, and the loop ends with status 0.
void CloseInOrder() {
  QApplication::closeAllWindows();
  QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  magna::RestrictLibrarySearchPath(argv);
  const magna::TCommandLine commandLine = magna::ParseCommandLine(magna::ArgumentsOf(argc, argv));
  if (auto status = magna::AnswerWithoutWindow(commandLine)) return *status;
  if (!commandLine.ChoosesDisplay && !magna::PrepareQtPlatform()) {
    std::fputs(
        "Magna: no display found (DISPLAY and WAYLAND_DISPLAY are unset).\n"
        "Start it in a desktop session, or try it under Xvfb:\n"
        "  xvfb-run -a -s '-screen 0 1280x800x24' magna\n",
        stderr);
    return 1;
  }
  if (!commandLine.ChoosesDisplay && !magna::DisplayReachable()) {
    std::fputs(magna::UnreachableDisplayMessage().c_str(), stderr);
    return 1;
  }
  magna::TQtArguments qtArguments(commandLine.QtArguments);
  QApplication app(qtArguments.Count(), qtArguments.Values());
  magna::ReleaseDisplayTest();
  app.setApplicationName(QStringLiteral("Magna"));
  QGuiApplication::setDesktopFileName(kDesktopFileName);
  app.setWindowIcon(magna::ApplicationIcon());
  // Qt's own texts follow the program's captions: Japanese unless the locale asks otherwise.
  if (!magna::InstallCaptionLanguage(app, magna::WantsEnglishCaptions(magna::EnvironmentVariable)))
    LoadQtTranslations(app);
  magna::platform::qt::TQtServicesScope services;
  magna::InstallJapaneseFontSubstitutes();
  magna::TMyProcessObjects processObjects;
  const magna::TStartText startText = magna::ReadStartText(commandLine);
  if (!startText.Error.isEmpty()) {
    std::fputs(qPrintable(commandLine.ProgramName + QStringLiteral(": ") + startText.Error +
                          QLatin1Char('\n')),
               stderr);
    return 1;
  }

  // From here on there are settings to keep. (Not earlier: a start text read from a
  // terminal must still end at Ctrl+C.)
  magna::platform::qt::TQtQuitSignals quitSignals([](int) { CloseInOrder(); });
  auto window = std::make_unique<magna::TApp_TOOLMagna>();
  magna::App_TOOLMagna = window.get();
  window->AfterConstruction();
  QObject::connect(&app, &QGuiApplication::commitDataRequest, window.get(),
                   [&window](QSessionManager&) { window->CommitSettings(); });
  if (startText.Text) magna::ShowStartText(*window, *startText.Text);
  int result = app.exec();
  window.reset();
  return result;
}
