// The player's arithmetic: 32-bit two's complement that wraps, divisions that
// truncate toward zero, and the decimal text of a result.
#ifndef NIREVO_PLAYER_PLAYER_ARITHMETIC_H_
#define NIREVO_PLAYER_PLAYER_ARITHMETIC_H_

#include <cstdint>
#include <string>

namespace nirevo::player {

// The low 32 bits of `value` as a signed 32-bit integer.
constexpr std::int32_t Low32(std::int64_t value) {
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  return bits < 0x80000000u ? static_cast<std::int32_t>(bits)
                            : -static_cast<std::int32_t>(~bits) - 1;
}

constexpr std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return Low32(static_cast<std::int64_t>(a) + b);
}

constexpr std::int32_t WrappingMultiply(std::int32_t a, std::int32_t b) {
  return Low32(static_cast<std::int64_t>(a) * b);
}

// "-" for negative values, then the digits without leading zeros.
std::string DecimalText(std::int32_t value);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_PLAYER_ARITHMETIC_H_
