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

// How long the host's thread waits for the player to answer one message.
// The player answers its own messages in microseconds, so a healthy one
// never comes near this; the system itself calls a window hung only after
// 5 s without taking messages, far too long to freeze the host's user
// interface (and its ghost), which waits for the whole of it. A second is
// long enough for a player that is merely busy and short enough for a ghost
// that asks every second.
inline constexpr std::uint32_t kPlayerAnswerTimeoutMs = 1000;

// The messages of one request to one player window. The first message the
// player does not answer (timeout, already judged hung, window gone) closes
// the channel: nothing more is sent, and every later answer reads 0.
class PlayerChannel {
 public:
  PlayerChannel(platform::Platform& platform, platform::WindowHandle window)
      : platform_(platform), window_(window) {}

  platform::Platform& platform() const { return platform_; }
  platform::WindowHandle window() const { return window_; }
  // Whether the player answered every message sent so far.
  bool answered() const { return answered_; }

  // WM_USER: answers the player's result as a signed 32-bit integer.
  std::int32_t Operation(int operation, std::int32_t operand) {
    return Low32(static_cast<std::int64_t>(
        static_cast<std::intptr_t>(Send(kWmUser, operand, operation))));
  }
  // WM_USER with a pointer-sized answer: a title address in the player.
  std::uintptr_t AddressOperation(int operation, std::int32_t operand) {
    return Send(kWmUser, operand, operation);
  }
  // WM_COMMAND with a menu command id; the answer is ignored.
  void MenuCommand(int id) { Send(kWmCommand, id, 0); }

 private:
  std::uintptr_t Send(std::uint32_t message, std::int32_t wparam, std::intptr_t lparam) {
    if (!answered_) return 0;
    std::uintptr_t result = 0;
    answered_ = platform_.SendMessageTimeoutA(
        window_, message, WParamOf(wparam), lparam,
        platform::kSendNormal | platform::kSendAbortIfHung, kPlayerAnswerTimeoutMs, &result);
    return answered_ ? result : 0;
  }

  platform::Platform& platform_;
  platform::WindowHandle window_;
  bool answered_ = true;
};

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_PLAYER_CHANNEL_H_
