// Sending the player's messages: operands and answers are signed 32-bit
// values, except the title address of operation 212, which is pointer-sized.
#ifndef NIREVO_PLAYER_PLAYER_CHANNEL_H_
#define NIREVO_PLAYER_PLAYER_CHANNEL_H_

#include <cstdint>

#include "platform/platform.h"
#include "player/player_arithmetic.h"
#include "player/player_messages.h"

namespace nirevo::player {

// A signed 32-bit operand as wParam, sign-extended as the player reads it.
inline std::uintptr_t WParamOf(std::int32_t operand) {
  return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(operand));
}

class PlayerChannel {
 public:
  PlayerChannel(platform::Platform& platform, platform::WindowHandle window)
      : platform_(platform), window_(window) {}

  platform::Platform& platform() const { return platform_; }
  platform::WindowHandle window() const { return window_; }

  // WM_USER: answers the player's result as a signed 32-bit integer.
  std::int32_t Operation(int operation, std::int32_t operand) const {
    return Low32(static_cast<std::int64_t>(Send(kWmUser, operand, operation)));
  }
  // WM_USER with a pointer-sized answer: a title address in the player.
  std::uintptr_t AddressOperation(int operation, std::int32_t operand) const {
    return static_cast<std::uintptr_t>(Send(kWmUser, operand, operation));
  }
  // WM_COMMAND with a menu command id; the answer is ignored.
  void MenuCommand(int id) const { Send(kWmCommand, id, 0); }

 private:
  std::intptr_t Send(std::uint32_t message, std::int32_t wparam,
                     std::intptr_t lparam) const {
    return platform_.SendMessageA(window_, message, WParamOf(wparam), lparam);
  }

  platform::Platform& platform_;
  platform::WindowHandle window_;
};

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_PLAYER_CHANNEL_H_
