#include "testing/sim_player.h"

#include <algorithm>

#include "player/player_channel.h"
#include "player/player_messages.h"

namespace nirevo::test {
namespace {

constexpr std::size_t kTitleSlot = 512;

}  // namespace

std::ostream& operator<<(std::ostream& out, const Message& m) {
  return out << "{0x" << std::hex << m.message << std::dec << ", "
             << static_cast<std::intptr_t>(m.wparam) << ", " << m.lparam << "}";
}

Message UserMessage(std::int32_t wparam, std::intptr_t operation) {
  return {player::kWmUser, player::WParamOf(wparam), operation};
}

Message MenuMessage(int id) {
  return {player::kWmCommand, static_cast<std::uintptr_t>(id), 0};
}

void SimPlayer::SetPlaylist(SimProcess& process, const std::vector<std::string>& titles,
                            std::uintptr_t base) {
  std::size_t slot = kTitleSlot;
  for (const std::string& title : titles) slot = std::max(slot, title.size() + kTitleSlot);
  std::string memory(slot * titles.size(), '\0');
  addresses_.clear();
  for (std::size_t i = 0; i < titles.size(); ++i) {
    std::copy(titles[i].begin(), titles[i].end(), memory.begin() + static_cast<long>(i * slot));
    addresses_.push_back(base + i * slot);
  }
  process.memory[base] = std::move(memory);
}

std::intptr_t SimPlayer::Answer(const Message& m) {
  if (record) received.push_back(m);
  const auto operand = static_cast<std::int32_t>(static_cast<std::intptr_t>(m.wparam));
  if (m.message == player::kWmCommand) {
    switch (operand) {
      case player::kCommandPlay: playing = 1; break;
      case player::kCommandPause: playing = playing == 1 ? 3 : playing; break;
      case player::kCommandStop: playing = 0; break;
      case player::kCommandPrevious: position = position > 0 ? position - 1 : 0; break;
      case player::kCommandNext: position = player::WrappingAdd(position, 1); break;
      case player::kCommandVolumeUp: volume = volume < 252 ? volume + 3 : 255; break;
      case player::kCommandVolumeDown: volume = volume > 3 ? volume - 3 : 0; break;
      default: break;
    }
    return 0;
  }
  if (m.message != player::kWmUser) return 0;
  switch (m.lparam) {
    case player::kOperationIsPlaying: return playing;
    case player::kOperationTime: return operand == player::kTimeElapsed ? elapsed_ms : track_length;
    case player::kOperationJumpToTime: elapsed_ms = operand; return jump_answer;
    case player::kOperationSetListPosition: position = operand; return 0;
    case player::kOperationVolume:
      if (operand == player::kQueryVolume) return volume;
      volume = operand;
      return 0;
    case player::kOperationListLength:
      return list_length.value_or(static_cast<std::int32_t>(addresses_.size()));
    case player::kOperationListPosition: return position;
    case player::kOperationTitleAddress: {
      auto scripted = title_address.find(operand);
      if (scripted != title_address.end()) return static_cast<std::intptr_t>(scripted->second);
      if (operand < 0 || static_cast<std::size_t>(operand) >= addresses_.size()) return 0;
      return static_cast<std::intptr_t>(addresses_[static_cast<std::size_t>(operand)]);
    }
    case player::kOperationIsShuffle: return shuffle;
    case player::kOperationIsRepeat: return repeat;
    case player::kOperationSetShuffle: shuffle = operand; return 0;
    case player::kOperationSetRepeat: repeat = operand; return 0;
    default: return 0;
  }
}

}  // namespace nirevo::test
