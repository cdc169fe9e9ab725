// A Qt program that owns the clipboard the way password managers and busy
// programs do, for the end-to-end tests:
//   clipboardOwner --secret TEXT     offers TEXT together with the password
//                                    manager's hint x-kde-passwordManagerHint = secret
//   clipboardOwner --burst N PREFIX  copies PREFIX1 ... PREFIXN one right after the
//                                    other, answering requests meanwhile
//   clipboardOwner --window          owns nothing: shows a window titled "holder",
//                                    which takes the keyboard focus
// A first argument --primary makes it own the X11 PRIMARY selection instead of
// the clipboard, as a program does whose text the user selects.
// Prints "ready" once the (last) text is on the clipboard, then keeps serving it
// until killed.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRasterWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage() {
  std::fputs("usage: clipboardOwner [--primary] --secret TEXT | --burst N PREFIX | --window\n",
             stderr);
  return 2;
}

void Ready() {
  std::puts("ready");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QClipboard* clipboard = QGuiApplication::clipboard();
  QClipboard::Mode mode = QClipboard::Clipboard;
  if (argc > 1 && std::strcmp(argv[1], "--primary") == 0) {
    mode = QClipboard::Selection;
    --argc;
    ++argv;
  }
  QRasterWindow holder;
  if (argc == 2 && std::strcmp(argv[1], "--window") == 0) {
    holder.setTitle(QStringLiteral("holder"));
    holder.resize(300, 200);
    holder.show();
  } else if (argc == 3 && std::strcmp(argv[1], "--secret") == 0) {
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(argv[2]));
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    clipboard->setMimeData(data, mode);
  } else if (argc == 4 && std::strcmp(argv[1], "--burst") == 0) {
    const int count = std::atoi(argv[2]);
    const QString prefix = QString::fromUtf8(argv[3]);
    for (int i = 1; i <= count; ++i) {
      clipboard->setText(prefix + QString::number(i), mode);
      QCoreApplication::processEvents();
    }
  } else {
    return Usage();
  }
  Ready();
  return app.exec();
}
