// Status queries: one WM_USER operation each, its answer scaled to the
// host's units (seconds, percent, positions from 1) and set as "Result".
#include <cstdint>
#include <string_view>

#include "player/command_blocks.h"

namespace nirevo::player {
namespace {

struct StatusQuery {
  std::string_view word;
  int wparam;
  int operation;
  std::int32_t (*scale)(std::int32_t answer);
};

std::int32_t AsGiven(std::int32_t answer) { return answer; }
std::int32_t MillisecondsToSeconds(std::int32_t ms) { return ms / 1000; }
std::int32_t IndexToPosition(std::int32_t index) { return WrappingAdd(index, 1); }
std::int32_t LevelToPercent(std::int32_t level) {
  return WrappingMultiply(level, 100) / 255;
}

constexpr StatusQuery kStatusQueries[] = {
    {"isplaying", 0, kOperationIsPlaying, AsGiven},
    {"isshuffle", 0, kOperationIsShuffle, AsGiven},
    {"isrepeat", 0, kOperationIsRepeat, AsGiven},
    {"getplaytime", kTimeElapsed, kOperationTime, MillisecondsToSeconds},
    {"gettracklen", kTimeTrackLength, kOperationTime, AsGiven},
    {"getlistlen", 0, kOperationListLength, AsGiven},
    {"getlistpos", 0, kOperationListPosition, IndexToPosition},
    {"getvolume", kQueryVolume, kOperationVolume, LevelToPercent},
};

}  // namespace

bool RunStatusQueryBlock(CommandContext& context, int* status) {
  for (const StatusQuery& query : kStatusQueries) {
    if (context.word != query.word) continue;
    std::int32_t answer = context.player.Operation(query.operation, query.wparam);
    context.response["Result"] = DecimalText(query.scale(answer));
    *status = 200;
    return true;
  }
  return false;
}

}  // namespace nirevo::player
