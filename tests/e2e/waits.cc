#include "waits.h"

#include <cstdlib>

namespace e2e {
namespace {

DWORD Scale() {
  char text[16] = {};
  const DWORD length = GetEnvironmentVariableA("NIREVO_WAIT_SCALE", text, sizeof text);
  if (length == 0 || length >= sizeof text) return 1;
  const long scale = std::strtol(text, nullptr, 10);
  return scale >= 1 && scale <= 100 ? static_cast<DWORD>(scale) : 1;
}

}  // namespace

DWORD BoundMs(const Wait& wait) { return wait.base_ms * Scale(); }

std::string RanOut(const Wait& wait, DWORD elapsed_ms) {
  return std::string("waited for ") + wait.what + ": gave up after " +
         std::to_string(elapsed_ms / 1000) + " s (bound " + std::to_string(BoundMs(wait) / 1000) +
         " s)";
}

}  // namespace e2e
