// Transport, shuffle and repeat: each word sends one message and answers 204;
// whether the player obeyed is not observable.
#include <cstdint>
#include <string_view>

#include "player/command_blocks.h"

namespace nirevo::player {
namespace {

struct TransportCommand {
  std::string_view word;
  std::uint32_t message;
  int wparam;
  int lparam;
};

constexpr TransportCommand kTransportCommands[] = {
    {"prev", kWmCommand, kCommandPrevious, 0},
    {"play", kWmCommand, kCommandPlay, 0},
    {"pause", kWmCommand, kCommandPause, 0},
    {"stop", kWmCommand, kCommandStop, 0},
    {"next", kWmCommand, kCommandNext, 0},
    {"vol_up", kWmCommand, kCommandVolumeUp, 0},
    {"vol_down", kWmCommand, kCommandVolumeDown, 0},
    {"shuffleon", kWmUser, 1, kOperationSetShuffle},
    {"shuffleoff", kWmUser, 0, kOperationSetShuffle},
    {"repeaton", kWmUser, 1, kOperationSetRepeat},
    {"repeatoff", kWmUser, 0, kOperationSetRepeat},
};

}  // namespace

bool RunTransportBlock(CommandContext& context, int* status) {
  for (const TransportCommand& command : kTransportCommands) {
    if (context.word != command.word) continue;
    if (command.message == kWmCommand) {
      context.player.MenuCommand(command.wparam);
    } else {
      context.player.Operation(command.lparam, command.wparam);
    }
    *status = 204;
    return true;
  }
  return false;
}

}  // namespace nirevo::player
