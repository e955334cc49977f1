#include "player/volume_level.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace nirevo::player {
namespace {

TEST(VolumeLevelTest, LevelTable) {
  for (const KnownVolumeLevel& known : kKnownVolumeLevels) {
    EXPECT_EQ(VolumeLevel(known.percent), known.level) << known.percent;
  }
}

// The integer computation must agree with the x87's extended precision, where
// the host has it, for every percentage a request can carry.
TEST(VolumeLevelTest, AgreesWithExtendedPrecision) {
  if (std::numeric_limits<long double>::digits != 64) GTEST_SKIP() << "no 64-bit significand";
  auto extended = [](std::int32_t n) {
    volatile long double factor = 2.55;  // the double nearest 2.55, widened
    long double sum = static_cast<long double>(n) * factor + 1.0L;
    return Low32(static_cast<std::int64_t>(sum));
  };
  auto check = [&](std::int32_t n) { ASSERT_EQ(VolumeLevel(n), extended(n)) << n; };
  for (std::int32_t n = -100000; n <= 100000; ++n) check(n);
  for (std::int64_t n = -99999999; n <= 999999999; n += 997) check(static_cast<std::int32_t>(n));
  for (std::int32_t n : {INT32_MIN, INT32_MAX, 842150449, 842150450, 999999999}) check(n);
}

}  // namespace
}  // namespace nirevo::player
