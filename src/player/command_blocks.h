// The command blocks that the dispatcher tries in order once the player
// window is known. Each answers true when it ran and stored its status.
#ifndef NIREVO_PLAYER_COMMAND_BLOCKS_H_
#define NIREVO_PLAYER_COMMAND_BLOCKS_H_

#include <string>

#include "interface/tmmap.h"
#include "player/player_channel.h"

namespace nirevo::player {

struct CommandContext {
  const std::string& word;  // the command word, from the first "Argument0"
  RequestHeaders& request;
  ResponseHeaders& response;
  PlayerChannel player;
};

// "prev" … "repeatoff": one message each, status 204.
bool RunTransportBlock(CommandContext& context, int* status);
// "isplaying" … "getvolume": one operation each, "Result", status 200.
bool RunStatusQueryBlock(CommandContext& context, int* status);
// "gettitle" without "Argument1", then "getplaylist"; status 200.
bool RunTitleBlock(CommandContext& context, int* status);
// The end of the chain: checks "Argument1" and runs "jumptime", "playtrack",
// "setvolume" or the numbered "gettitle"; answers the status.
int RunNumericTail(CommandContext& context);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_COMMAND_BLOCKS_H_
