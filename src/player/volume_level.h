// The volume level that "setvolume" sends for a percentage, computed exactly
// in integers so that every build gives the same level whatever its
// floating-point unit and its precision setting.
#ifndef NIREVO_PLAYER_VOLUME_LEVEL_H_
#define NIREVO_PLAYER_VOLUME_LEVEL_H_

#include <cstdint>

#include "player/player_arithmetic.h"

namespace nirevo::player {

namespace volume_detail {

// The double nearest to 2.55 is kFactorSignificand * 2^-51.
constexpr std::uint64_t kFactorSignificand = 5742089524897382;  // 53 bits
constexpr int kFactorExponent = 51;

// An unsigned 128-bit value, enough for a 32-bit magnitude times the factor.
struct Wide {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
};

constexpr Wide Multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t a_lo = a & 0xffffffffu, a_hi = a >> 32;
  const std::uint64_t b_lo = b & 0xffffffffu, b_hi = b >> 32;
  const std::uint64_t lo_lo = a_lo * b_lo;
  const std::uint64_t hi_lo = a_hi * b_lo;
  const std::uint64_t lo_hi = a_lo * b_hi;
  const std::uint64_t middle = (lo_lo >> 32) + (hi_lo & 0xffffffffu) + (lo_hi & 0xffffffffu);
  Wide result;
  result.low = (middle << 32) | (lo_lo & 0xffffffffu);
  result.high = a_hi * b_hi + (hi_lo >> 32) + (lo_hi >> 32) + (middle >> 32);
  return result;
}

constexpr int BitLength(const Wide& v) {
  int bits = 0;
  for (std::uint64_t w = v.high; w != 0; w >>= 1) ++bits;
  if (bits != 0) return bits + 64;
  for (std::uint64_t w = v.low; w != 0; w >>= 1) ++bits;
  return bits;
}

// A value significand * 2^-scale, with the significand of at most 64 bits.
struct Scaled {
  std::uint64_t significand;
  int scale;
};

// Rounds `v` * 2^-scale to a 64-bit significand, to nearest, ties to even.
constexpr Scaled RoundToSignificand(const Wide& v, int scale) {
  int shift = BitLength(v) - 64;
  if (shift <= 0) return {v.low, scale};
  // shift < 64 here: the values rounded stay below 2^90.
  std::uint64_t kept = (v.low >> shift) | (v.high << (64 - shift));
  std::uint64_t dropped = v.low & ((std::uint64_t{1} << shift) - 1);
  std::uint64_t half = std::uint64_t{1} << (shift - 1);
  scale -= shift;
  if (dropped > half || (dropped == half && (kept & 1) != 0)) {
    if (++kept == 0) return {std::uint64_t{1} << 63, scale - 1};
  }
  return {kept, scale};
}

}  // namespace volume_detail

// The player's volume level for a percentage: n * 2.55 + 1.0 truncated toward
// zero, where 2.55 is the nearest double (slightly below 2.55) and the product
// and the sum are each rounded to a 64-bit significand, as extended precision
// does; the low 32 bits of the truncated value. Computed exactly in integers,
// so every build and every floating-point mode gives the same level.
constexpr std::int32_t VolumeLevel(std::int32_t percent) {
  using namespace volume_detail;
  const bool negative = percent < 0;
  const std::uint64_t magnitude =
      negative ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(percent))
               : static_cast<std::uint64_t>(percent);
  // |product| rounded; its scale stays at least 31 since |product| < 2^84.
  const Scaled product =
      RoundToSignificand(Multiply(magnitude, kFactorSignificand), kFactorExponent);
  const std::uint64_t one = std::uint64_t{1} << product.scale;

  std::int64_t level = 0;
  if (!negative) {
    Wide sum{0, product.significand + one};
    if (sum.low < one) sum.high = 1;  // carried out of 64 bits
    Scaled rounded = RoundToSignificand(sum, product.scale);
    level = static_cast<std::int64_t>(rounded.significand >> rounded.scale);
  } else {
    // |product| >= 2.5, so 1 - |product| = -(|product| - 1), exact in 64 bits.
    level = -static_cast<std::int64_t>((product.significand - one) >> product.scale);
  }
  return Low32(level);
}

// Percentages and the levels the player receives for them: every build
// checks them at compile time, whatever its floating-point unit.
struct KnownVolumeLevel {
  std::int32_t percent;
  std::int32_t level;
};
inline constexpr KnownVolumeLevel kKnownVolumeLevels[] = {
    {0, 1},     {1, 3},     {2, 6},     {10, 26},   {20, 51},  {40, 102},
    {50, 128},  {60, 153},  {80, 204},  {90, 230},  {99, 253}, {100, 255},
    {101, 258}, {-1, -1},   {-20, -49}, {842150449, 2147483645},
    {842150450, INT32_MIN}, {999999999, -1744967298}, {-99999999, -254999996}};

constexpr bool VolumeLevelsAreKnown() {
  for (const KnownVolumeLevel& known : kKnownVolumeLevels) {
    if (VolumeLevel(known.percent) != known.level) return false;
  }
  return true;
}
static_assert(VolumeLevelsAreKnown());

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_VOLUME_LEVEL_H_
