// The text area against a plain string model, over random scripts of edits: every
// UTF-16 text but U+0000 reads back as it went in, by every way in, after undo and
// redo and re-creation, and the selection lands where the model says.
#include <gtest/gtest.h>

#include <random>

#include "tests/editor/editorFixture.h"
#include "tests/editor/textAreaScript.h"

namespace magna {
namespace {

using TextAreaTest = test::EditorTest;

TEST_F(TextAreaTest, RandomEditsAgreeWithAPlainStringModel) {
  constexpr int Scripts = 100, Steps = 25;  // 2,500 steps: well within the time of a test
  std::mt19937 random(20260413);            // deterministic: a failure names its script and step
  for (int script = 0; script < Scripts; ++script) {
    test::TTextAreaScript run(*memo, [&] { return uint32_t(random()); });
    for (int step = 0; step < Steps; ++step) {
      std::string failure = run.Step();
      ASSERT_EQ(failure, "") << "script " << script << ", step " << step;
    }
  }
}

}  // namespace
}  // namespace magna
