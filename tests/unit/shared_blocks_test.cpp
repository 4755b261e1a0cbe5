#include <gtest/gtest.h>

#include <vector>

#include "store/shared_blocks.h"

namespace qlx {
namespace {

TEST(SharedBlocks, TableEntriesLandAtTheirOffsetsAndBadNumbersAreIgnored) {
  std::vector<uint8_t> mem(ab::kSize + 16, 0xEE);
  std::fill(mem.begin(), mem.begin() + ab::kSize, 0);
  ActivationBlock block(mem.data());
  block.SetScope(500, 3);
  block.SetCode(1, 0x1234);
  block.SetScopeText(2, std::string(30, 'x'));
  block.SetActive(500, true);
  block.SetTopMostOnly(500, true);
  EXPECT_EQ(mem[792 + 2 * 499], 3);
  EXPECT_EQ(mem[12792], 0x34);
  EXPECT_EQ(mem[12793], 0x12);
  EXPECT_EQ(mem[1792 + 21], 20);  // cut to the block's 20 characters
  EXPECT_EQ(block.ScopeText(2), std::string(20, 'x'));
  EXPECT_EQ(mem[12292 + 499], 1);
  EXPECT_EQ(mem[13792 + 499], 1);

  // Out-of-range numbers and codes must neither write nor read outside.
  block.SetScope(0, 7);
  block.SetScope(501, 7);
  block.SetCode(-3, 7);
  block.SetHotKeyUsed(720, true);
  block.SetHotKeyUsed(-1, true);
  EXPECT_EQ(block.Code(501), 0);
  EXPECT_FALSE(block.HotKeyUsed(720));
  for (size_t i = ab::kSize; i < mem.size(); ++i) EXPECT_EQ(mem[i], 0xEE) << i;
  EXPECT_EQ(mem[ab::kHotKeyTable - 1], 0);
  EXPECT_EQ(mem[ab::kCaptureInProgress], 0);

  block.SetMacroCount(900);
  EXPECT_EQ(block.ClampedCount(), 500);
  block.SetMacroCount(-5);
  EXPECT_EQ(block.ClampedCount(), 0);
}

}  // namespace
}  // namespace qlx
