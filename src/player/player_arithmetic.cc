// Player arithmetic without undefined behaviour.
#include "player/player_arithmetic.h"

#include <charconv>

namespace nirevo::player {

std::string DecimalText(std::int32_t value) {
  char digits[12];
  auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::string(digits, end);
}

}  // namespace nirevo::player
