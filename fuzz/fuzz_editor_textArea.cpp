// The text area against a plain string model, the fuzzer's bytes deciding a script
// of edits: texts set whole, replaced through the selection, inserted in pieces,
// typed, committed, undone, redone, the window re-created. Each pair of bytes is one
// choice or one UTF-16 code unit (little-endian), so a UTF-16 text in the input goes
// into the text area as it is. Any disagreement with the model aborts.
#include <QApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "editor/myEdit.h"
#include "tests/editor/textAreaScript.h"

using namespace magna;

namespace {

/// The application and the text area live to the end of the process and are never
/// freed: freeing them after Qt's own globals at exit would crash the run's end.
TMyMemo& TheMemo() {
  static TMyMemo* memo = [] {
    static int argc = 1;
    static char name[] = "fuzz_editor_textArea";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    auto* window = new QWidget;
    window->resize(400, 300);
    auto* area = new TMyMemo(window);
    area->setGeometry(0, 0, 400, 300);
    window->show();
    return area;
  }();
  return *memo;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t at = 0;
  bool done = false;
  test::TTextAreaScript script(TheMemo(), [&]() -> uint32_t {
    if (at + 2 > size) {
      done = true;
      return 0;
    }
    uint32_t value = uint32_t(data[at]) | (uint32_t(data[at + 1]) << 8);
    at += 2;
    return value;
  });
  for (int step = 0; !done && step < 16; ++step) {
    std::string failure = script.Step();
    if (!failure.empty()) {
      std::fprintf(stderr, "step %d: %s\n", step, failure.c_str());
      std::abort();
    }
  }
  return 0;
}
