#include "player/player_arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace nirevo::player {
namespace {

TEST(PlayerArithmeticTest, DecimalText) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(7), "7");
  EXPECT_EQ(DecimalText(-1), "-1");
  EXPECT_EQ(DecimalText(INT32_MAX), "2147483647");
  EXPECT_EQ(DecimalText(INT32_MIN), "-2147483648");
}

TEST(PlayerArithmeticTest, WrapsLikeThirtyTwoBitRegisters) {
  EXPECT_EQ(WrappingMultiply(999999999, 1000), -727380968);
  EXPECT_EQ(WrappingMultiply(INT32_MIN, -1), INT32_MIN);
  EXPECT_EQ(WrappingAdd(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(WrappingAdd(INT32_MIN, -1), INT32_MAX);
  EXPECT_EQ(Low32(std::int64_t{0x180000000}), INT32_MIN);
}

}  // namespace
}  // namespace nirevo::player
