// Figures of the text area at 72 points: showing texts of every shape, replacing
// them through the selection, reading the text at the caret, and typing, with word
// wrap on and off. Each figure is also given as a ratio against a plain
// QPlainTextEdit showing 10 M code units of 100-character lines (measured in the
// same run), and the plain widget is measured on the shapes that hurt it.
//
// Run: QT_QPA_PLATFORM=offscreen ./bench_editor_memo [--quick | --unsplit]
// (--unsplit: what one long line would cost shown as one row without wrap)
// Sizes are in UTF-16 code units (1 M = 1,048,576).

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "bench/benchTextArea.h"
#include "editor/myEdit.h"
#include "platform/myWindows.h"
#include "platform/qt/qtText.h"
#include "platform/services.h"
#include "tests/support/fakeServices.h"

using namespace magna;

namespace {

constexpr int Mi = 1 << 20;

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

WideString Fill(WideView unit, int length) {
  WideString out;
  out.reserve(size_t(length));
  while (int(out.size()) < length) out.append(unit.substr(0, size_t(length) - out.size()));
  return out;
}

WideString WithBreaks(WideString text, int every) {
  for (size_t i = size_t(every); i < text.size(); i += size_t(every) + 1) text[i] = u'\r';
  return text;
}

struct Shape {
  const char* name;
  std::function<WideString(int)> make;
};

const char16_t Japanese[] =
    u"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所"
    u"で";
const char16_t Latin[] = u"the quick brown fox jumps over the lazy dog and keeps on running ";
const char16_t Base64[] =
    u"QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5ejAxMjM0NTY3ODk";

const Shape Shapes[] = {
    {"japanese 100-char lines", [](int n) { return WithBreaks(Fill(Japanese, n), 100); }},
    {"japanese one line", [](int n) { return Fill(Japanese, n); }},
    {"latin prose one line", [](int n) { return Fill(Latin, n); }},
    {"no break opportunity", [](int n) { return Fill(Base64, n); }},
};

void Show(QWidget* widget) {
  widget->repaint();
  QApplication::processEvents();
}

/// The text area as the main window uses it: 72-point font, no border.
struct Area {
  QWidget window;
  TMyMemo* memo;
  explicit Area(bool wrap) {
    memo = bench::PlaceTextArea(window);
    memo->SetWordWrap(wrap);
    window.show();
    Show(&window);
  }
  /// Seconds to set the text whole and show it.
  double ShowText(const WideString& text) {
    return Seconds([&] {
      memo->SetText(text);
      Show(&window);
    });
  }
  void CaretToMiddle(const WideString& text) {
    memo->SetSelStart(int32_t(text.size() / 2));
    Show(&window);
  }
  QPlainTextEdit* View() const {
    return static_cast<QPlainTextEdit*>(platform::GetNativeView(memo->Wrapper()->Handle));
  }
  double Type(int keys) {
    QPlainTextEdit* view = View();
    return Seconds([&] {
             for (int i = 0; i < keys; ++i) {
               QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
               QApplication::sendEvent(view, &press);
               QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier,
                                 QStringLiteral("a"));
               QApplication::sendEvent(view, &release);
               Show(&window);
             }
           }) /
           keys;
  }
};

/// A plain QPlainTextEdit in the text area's face and size (72 pt = 96 px), shown.
struct PlainWidget {
  QPlainTextEdit edit;
  explicit PlainWidget(bool wrap) {
    edit.resize(1000, 700);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(96);
    edit.setFont(font);
    edit.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit.show();
    Show(&edit);
  }
  /// Seconds to set the text (CR as the widget's line break) and show it.
  double ShowText(const WideString& text) {
    QString q = platform::qt::ToQString(text);
    q.replace(u'\r', u'\n');
    return Seconds([&] {
      edit.setPlainText(q);
      Show(&edit);
    });
  }
};

double PlainWidgetShow(const WideString& text, bool wrap) {
  return PlainWidget(wrap).ShowText(text);
}

/// Seconds per typed key in the middle of a plain widget's text, shown after each key.
double PlainTyped(QPlainTextEdit& plain, int keys) {
  QTextCursor cursor = plain.textCursor();
  cursor.setPosition(plain.document()->characterCount() / 2);
  plain.setTextCursor(cursor);
  Show(&plain);
  return Seconds([&] {
           for (int i = 0; i < keys; ++i) {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
             QApplication::sendEvent(&plain, &press);
             Show(&plain);
           }
         }) /
         keys;
}

/// Lines of about 25 code units with CR LF breaks, as another program copies them.
WideString ShortCrLfLines(int length) {
  return Fill(u"日本語のテキスト、ABC 123 かなカナ漢字。\r\n", length);
}

/// The main window's clipboard replace: select all, delete, paste (three undoable
/// edits), caret to the start, shown.
double ClipboardReplace(Area& area, const WideString& text) {
  platform::Clipboard().Open();
  platform::Clipboard().Empty();
  platform::Clipboard().SetUnicodeText(text);
  platform::Clipboard().Close();
  return Seconds([&] {
    area.memo->SelectAll();
    area.memo->ClearSelection();
    area.memo->PasteFromClipboard();
    area.memo->SetSelStart(0);
    Show(&area.window);
  });
}

void Row(const char* what, double seconds, double reference) {
  std::printf("  %-58s %9.1f ms  %8.2fx\n", what, seconds * 1000, seconds / reference);
  std::fflush(stdout);
}

/// What showing a long line as one row without wrap would cost: a plain widget laying
/// out the whole line, beside the text area, which cuts it for the display only.
void UnsplitLines(double reference) {
  std::printf("one japanese line, wrap off: plain QPlainTextEdit (one row) / TMyMemo:\n");
  for (int size : {4096, 64 * 1024, Mi}) {
    const WideString text = Shapes[1].make(size);
    PlainWidget plain(false);
    Area area(false);
    char label[128];
    std::snprintf(label, sizeof label, "%d units, plain: shown", size);
    Row(label, plain.ShowText(text), reference);
    std::snprintf(label, sizeof label, "%d units, plain: typed key in the middle", size);
    Row(label, PlainTyped(plain.edit, 3), reference);
    std::snprintf(label, sizeof label, "%d units, TMyMemo: shown", size);
    Row(label, area.ShowText(text), reference);
    area.CaretToMiddle(text);
    std::snprintf(label, sizeof label, "%d units, TMyMemo: typed key in the middle", size);
    Row(label, area.Type(3), reference);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  platform::InstallClipboard(std::make_unique<test::MemoryClipboard>());
  if (argc > 1 && std::strcmp(argv[1], "--replace") == 0) {  // the replace path alone, to profile
    Area area(true);
    WideString text = ShortCrLfLines(10 * Mi);
    area.memo->SetText(Shapes[0].make(10 * Mi));
    Show(&area.window);
    double paste = ClipboardReplace(area, text);
    area.memo->Clear();
    Show(&area.window);
    std::printf("clipboard replace, 10 M, over 10 M: %.1f ms, over an empty text: %.1f ms\n",
                paste * 1000, ClipboardReplace(area, text) * 1000);
    return 0;
  }

  if (argc > 2 && std::strcmp(argv[1], "--shot") == 0) {  // a picture of each shape, wrap on
    for (int i = 0; i < 4; ++i) {
      Area area(i % 2 == 0);
      area.memo->SetText(Shapes[i].make(9000));
      area.memo->SetSelStart(2040);
      area.memo->Wrapper()->ScrollCaret();
      Show(&area.window);
      area.window.grab().save(QString::fromUtf8(argv[2]) + QString::number(i) +
                              QStringLiteral(".png"));
    }
    return 0;
  }

  double reference = PlainWidgetShow(Shapes[0].make(10 * Mi), true);
  if (argc > 1 && std::strcmp(argv[1], "--unsplit") == 0) {
    UnsplitLines(reference);
    return 0;
  }
  std::printf(
      "reference: plain QPlainTextEdit, 10 M code units of 100-char lines, 72 pt, wrap on: %.1f "
      "ms\n\n",
      reference * 1000);

  std::printf("plain QPlainTextEdit on the shapes that hurt it (wrap on):\n");
  Row("japanese one line, 1 M", PlainWidgetShow(Shapes[1].make(Mi), true), reference);
  Row("no break opportunity, 64 K", PlainWidgetShow(Shapes[3].make(64 * 1024), true), reference);
  std::printf("\n");

  for (bool wrap : {true, false}) {
    std::printf("TMyMemo, 72 pt, wrap %s:\n", wrap ? "on" : "off");
    for (const Shape& shape : Shapes) {
      for (int size : {Mi, 10 * Mi}) {
        if (quick && size > Mi) continue;
        WideString text = shape.make(size);
        Area area(wrap);
        char label[128];
        std::snprintf(label, sizeof label, "%s, %d M: SetText and show", shape.name, size / Mi);
        Row(label, area.ShowText(text), reference);
        area.CaretToMiddle(text);
        std::snprintf(label, sizeof label, "%s, %d M: typed key in the middle", shape.name,
                      size / Mi);
        Row(label, area.Type(10), reference);
        std::snprintf(label, sizeof label, "%s, %d M: select all + replace, show", shape.name,
                      size / Mi);
        Row(label, Seconds([&] {
              area.memo->SelectAll();
              area.memo->SetSelText(text);
              Show(&area.window);
            }),
            reference);
      }
    }
    std::printf("\n");
  }

  std::printf("the main window's clipboard replace (select all, delete, paste; wrap on):\n");
  for (int size : {Mi, 10 * Mi}) {
    if (quick && size > Mi) continue;
    Area area(true);
    area.memo->SetText(Shapes[0].make(size));
    Show(&area.window);
    char label[128];
    std::snprintf(label, sizeof label, "25-char CR LF lines over 100-char lines, %d M", size / Mi);
    Row(label, ClipboardReplace(area, ShortCrLfLines(size)), reference);
  }
  std::printf("\n");

  std::printf("word wrap switched (the window is re-created with its text):\n");
  for (const Shape* shape : {&Shapes[0], &Shapes[1]}) {
    if (quick) break;
    Area area(true);
    area.memo->SetText(shape->make(10 * Mi));
    Show(&area.window);
    char label[128];
    std::snprintf(label, sizeof label, "%s, 10 M: wrap off and on again, shown", shape->name);
    Row(label, Seconds([&] {
          area.memo->SetWordWrap(false);
          Show(&area.window);
          area.memo->SetWordWrap(true);
          Show(&area.window);
        }),
        reference);
  }
  std::printf("\n");

  std::printf("GetTextAtCaret(2), caret in the middle, average of 20000 calls:\n");
  double perCall[2] = {0, 0};
  const WideString texts[2] = {Shapes[0].make(10 * Mi), Shapes[1].make(10 * Mi)};
  for (int i = 0; i < 2; ++i) {
    Area area(true);
    area.memo->SetText(texts[i]);
    area.memo->SetSelStart(int32_t(texts[i].size() / 2));
    size_t sink = 0;
    perCall[i] = Seconds([&] {
                   for (int k = 0; k < 20000; ++k) sink += area.memo->GetTextAtCaret(2).size();
                 }) /
                 20000;
    if (sink == 0) std::printf("(no text)\n");
  }
  std::printf("  100-char lines: %.2f us   one 10 M line: %.2f us   ratio %.2f\n", perCall[0] * 1e6,
              perCall[1] * 1e6, perCall[1] / perCall[0]);
  return 0;
}
