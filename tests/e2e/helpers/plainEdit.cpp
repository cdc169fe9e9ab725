// A plain Qt text edit, the control of the end-to-end input-method test: what the
// input method does to it is the platform's, whatever the program does.
//   plainEdit FILE [POINTS]
// Shows a window titled "Plain edit" holding a QPlainTextEdit (font size POINTS,
// 72 unless given) and, after every change of its text or caret, writes
// "text=TEXT" and "caret=N" (UTF-8, line breaks as \n) to FILE.
#include <QApplication>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <cstdio>

namespace {

void Write(const QString& file, const QPlainTextEdit& edit) {
  QString text = edit.toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  QSaveFile out(file);  // readers never see half a record
  if (!out.open(QIODevice::WriteOnly)) return;
  out.write("text=" + text.toUtf8() +
            "\ncaret=" + QByteArray::number(edit.textCursor().position()) + '\n');
  out.commit();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fputs("usage: plainEdit FILE [POINTS]\n", stderr);
    return 2;
  }
  const QString file = QString::fromLocal8Bit(argv[1]);
  QPlainTextEdit edit;
  edit.setWindowTitle(QStringLiteral("Plain edit"));
  QFont font = edit.font();
  font.setPointSize(argc == 3 ? QByteArray(argv[2]).toInt() : 72);
  edit.setFont(font);
  edit.resize(512, 250);
  auto write = [&] { Write(file, edit); };
  QObject::connect(&edit, &QPlainTextEdit::textChanged, write);
  QObject::connect(&edit, &QPlainTextEdit::cursorPositionChanged, write);
  edit.show();
  return app.exec();
}
