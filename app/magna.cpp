// Magna's entry point: a restricted library search path first, then the
// application object, the platform services, the main window and the loop.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <memory>

#include "app/actionImages.h"
#include "app/displayPlatform.h"
#include "app/fontMapping.h"
#include "app/main.h"
#include "app/my_safedll.h"
#include "platform/qt/qtServices.h"

namespace {

/// Qt's own texts (standard dialogs, context menus) in Japanese, when installed.
void LoadQtTranslations(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(translator);
}

}  // namespace

int main(int argc, char** argv) {
  magna::RestrictLibrarySearchPath(argv);
  if (!magna::PrepareQtPlatform()) {
    std::fputs(
        "Magna: no display found (DISPLAY and WAYLAND_DISPLAY are unset).\n"
        "Start it in a desktop session, or try it under Xvfb:\n"
        "  xvfb-run -a -s '-screen 0 1280x800x24' magna\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Magna"));
  app.setWindowIcon(magna::ApplicationIcon());
  LoadQtTranslations(app);
  magna::platform::qt::InstallQtServices();
  magna::InstallJapaneseFontSubstitutes();

  auto window = std::make_unique<magna::TApp_TOOLMagna>();
  magna::App_TOOLMagna = window.get();
  window->AfterConstruction();
  int result = app.exec();
  window.reset();
  return result;
}
