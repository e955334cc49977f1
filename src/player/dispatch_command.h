// The command dispatcher: the single entry into player control. It reads the
// command word from "Argument0", finds the player window once, and walks the
// fixed chain of command blocks.
#ifndef NIREVO_PLAYER_DISPATCH_COMMAND_H_
#define NIREVO_PLAYER_DISPATCH_COMMAND_H_

#include "interface/module_object.h"
#include "interface/tmmap.h"
#include "platform/platform.h"

namespace nirevo::player {

// Answers the status code: 200 (a query ran; its answer, if any, is in
// `response`), 204 (carried out, nothing to report) or 400 (player not found
// or not answering in time, licence file not written, bad number, or a word
// no block knows on a request with "Argument1"; `response` is then left
// empty). Requires at least one "Argument0" header.
int DispatchCommand(platform::Platform& platform, const TNS_PitaroANI& module,
                    RequestHeaders& request, ResponseHeaders& response);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_DISPATCH_COMMAND_H_
