// "gettitle" without a number (the current entry) and "getplaylist" (the
// count and every entry by its 0-based index).
#include "player/command_blocks.h"
#include "player/playlist_title.h"

namespace nirevo::player {
namespace {

// "Value" and the decimal index: the name of a playlist entry's header.
std::string ValueName(std::int32_t index) { return "Value" + DecimalText(index); }

int CurrentTitle(CommandContext& context) {
  TitleBuffer title{};
  std::int32_t index = context.player.Operation(kOperationListPosition, 0);
  if (ReadTitle(context.player, index, title)) {
    context.response["Result"] = std::string(TitleText(title));
  }
  return 200;
}

int Playlist(CommandContext& context) {
  std::int32_t count = context.player.Operation(kOperationListLength, 0);
  context.response["Result"] = DecimalText(count);
  TitleBuffer title;
  for (std::int32_t index = 0; index < count && context.player.answered(); ++index) {
    if (!ReadTitle(context.player, index, title)) continue;
    context.response.insert_or_assign(ValueName(index), std::string(TitleText(title)));
  }
  return 200;
}

}  // namespace

bool RunTitleBlock(CommandContext& context, int* status) {
  if (context.word == "gettitle" && context.request.count("Argument1") == 0) {
    *status = CurrentTitle(context);
    return true;
  }
  if (context.word == "getplaylist") {
    *status = Playlist(context);
    return true;
  }
  return false;
}

}  // namespace nirevo::player
