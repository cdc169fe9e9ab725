// The display-free parts of an X11 selection transfer: the TARGETS list and the
// data gathered part by part under the size limit.
#include "platform/x11/selectionTransfer.h"

#include <gtest/gtest.h>

namespace magna::platform {
namespace {

using State = TTransferAssembly::State;

std::string Bytes(const std::vector<uint32_t>& items) {
  return std::string(reinterpret_cast<const char*>(items.data()), items.size() * 4);
}

TEST(SelectionTransfer, TargetsAreThe32BitItemsOfTheReply) {
  EXPECT_EQ(TargetAtoms(32, Bytes({4, 31, 0x1234567})), (std::vector<uint32_t>{4, 31, 0x1234567}));
  EXPECT_EQ(TargetAtoms(32, Bytes({4, 31}) + "xy"), (std::vector<uint32_t>{4, 31}))
      << "a trailing partial item is no atom";
  EXPECT_TRUE(TargetAtoms(8, Bytes({4, 31})).empty()) << "a reply of bytes lists nothing";
  EXPECT_TRUE(TargetAtoms(32, "").empty());
}

TEST(SelectionTransfer, PartsAreJoinedUntilTheEmptyOne) {
  TTransferAssembly assembly(100);
  EXPECT_EQ(assembly.AddPart("日本"), State::More);
  EXPECT_EQ(assembly.AddPart(std::string(50, 'x')), State::More);
  EXPECT_EQ(assembly.AddPart(""), State::Done);
  EXPECT_EQ(assembly.Take(), "日本" + std::string(50, 'x'));
}

TEST(SelectionTransfer, APropertyReadInPiecesIsOnePart) {
  TTransferAssembly assembly(100);
  assembly.Reserve(1000);  // an announced size past the limit reserves no more than it
  EXPECT_EQ(assembly.Append("ab"), State::More);
  EXPECT_EQ(assembly.Append(""), State::More) << "an empty piece ends nothing";
  EXPECT_EQ(assembly.Append("cd"), State::More);
  EXPECT_EQ(assembly.Size(), 4u);
  EXPECT_EQ(assembly.Append(std::string(97, 'x')), State::TooBig);
  EXPECT_EQ(assembly.AddPart(""), State::TooBig);
}

TEST(SelectionTransfer, TheLimitHoldsForTheWholeAndStaysBroken) {
  TTransferAssembly assembly(10);
  EXPECT_FALSE(assembly.Exceeds(10));
  EXPECT_TRUE(assembly.Exceeds(11));
  EXPECT_EQ(assembly.AddPart("123456"), State::More);
  EXPECT_EQ(assembly.AddPart("7890"), State::More) << "exactly the limit is taken";
  EXPECT_EQ(assembly.AddPart("x"), State::TooBig);
  EXPECT_EQ(assembly.AddPart(""), State::TooBig) << "the end of a dropped transfer is no text";
  EXPECT_TRUE(assembly.Take().empty()) << "what was gathered is dropped";
}

}  // namespace
}  // namespace magna::platform
