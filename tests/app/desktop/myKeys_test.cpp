// Key-down tests through the platform's key state.
#include "app/desktop/myKeys.h"

#include <gmock/gmock.h>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

using ::testing::ElementsAre;

class MyKeysTest : public test::FakeServicesTest {};

TEST_F(MyKeysTest, HighByteOfTheStateMeansDown) {
  // Only the high byte counts: a state with just the low "toggled" bit is up.
  struct Custom : platform::KeyStateService {
    uint16_t GetAsyncKeyState(int key) override { return key == 16 ? 0x0100 : 0x0001; }
    bool MouseButtonsSwapped() override { return false; }
  };
  platform::InstallKeyState(std::make_unique<Custom>());
  EXPECT_TRUE(IsKeyDown(16));
  EXPECT_FALSE(IsKeyDown(17));
}

TEST_F(MyKeysTest, SwappedButtonsAskForTheOtherButton) {
  keys->Held = {2};
  keys->Swapped = true;
  EXPECT_TRUE(IsKeyDown(1));
  EXPECT_FALSE(IsKeyDown(2));
  EXPECT_FALSE(IsKeyDown(4));  // the middle button is never swapped
  EXPECT_THAT(keys->Asked, ElementsAre(2, 1, 4));

  keys->Swapped = false;
  EXPECT_FALSE(IsKeyDown(1));
  EXPECT_TRUE(IsKeyDown(2));
}

TEST_F(MyKeysTest, AreKeysDownAsksInOrderAndStopsAtTheFirstUp) {
  keys->Held = {16};
  EXPECT_FALSE(AreKeysDown({16, 17, 18}));
  EXPECT_THAT(keys->Asked, ElementsAre(16, 17));

  keys->Asked.clear();
  keys->Held = {16, 17};
  EXPECT_TRUE(AreKeysDown({16, 17}));
  EXPECT_THAT(keys->Asked, ElementsAre(16, 17));
  EXPECT_TRUE(AreKeysDown({}));
}

}  // namespace
}  // namespace magna
