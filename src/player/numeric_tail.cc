// The numeric tail ends the chain of command blocks: every word that no
// earlier block ran lands here, and "Argument1" is checked before the word.
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "player/command_blocks.h"
#include "player/playlist_title.h"
#include "player/volume_level.h"

namespace nirevo::player {
namespace {

constexpr std::size_t kMaxNumberLength = 9;

// An optional "-" and one or more ASCII digits, at most 9 bytes in all, so
// that the value always fits 32 bits.
bool ParseNumber(std::string_view text, std::int32_t* number) {
  if (text.size() > kMaxNumberLength) return false;
  std::string_view digits = text.substr(text.empty() || text[0] != '-' ? 0 : 1);
  if (digits.empty()) return false;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  std::from_chars(text.data(), text.data() + text.size(), *number);
  return true;
}

int JumpToTime(CommandContext& context, std::int32_t seconds) {
  std::int32_t answer =
      context.player.Operation(kOperationJumpToTime, WrappingMultiply(seconds, 1000));
  context.response["Result"] = DecimalText(answer);
  return 200;
}

int PlayTrack(CommandContext& context, std::int32_t position) {
  context.player.MenuCommand(kCommandStop);
  context.player.Operation(kOperationSetListPosition, WrappingAdd(position, -1));
  context.player.MenuCommand(kCommandPlay);
  return 204;
}

int SetVolume(CommandContext& context, std::int32_t percent) {
  context.player.Operation(kOperationVolume, VolumeLevel(percent));
  return 204;
}

int NumberedTitle(CommandContext& context, std::int32_t position) {
  TitleBuffer title;
  if (ReadTitle(context.player, WrappingAdd(position, -1), title)) {
    context.response["Result"] = std::string(TitleText(title));
  }
  return 200;
}

}  // namespace

int RunNumericTail(CommandContext& context) {
  if (context.request.count("Argument1") == 0) return 204;
  std::int32_t number = 0;
  if (!ParseNumber(context.request["Argument1"], &number)) return 400;

  if (context.word == "jumptime") return JumpToTime(context, number);
  if (context.word == "playtrack") return PlayTrack(context, number);
  if (context.word == "setvolume") return SetVolume(context, number);
  if (context.word == "gettitle") return NumberedTitle(context, number);
  return 400;
}

}  // namespace nirevo::player
