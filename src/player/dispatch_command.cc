// The command frame shared by every command, and the two commands that work
// without the player: "license" and "iswinamprun".
#include "player/dispatch_command.h"

#include "player/command_blocks.h"
#include "player/license_file.h"
#include "player/window_search.h"

namespace nirevo::player {

int DispatchCommand(platform::Platform& platform, const TNS_PitaroANI& module,
                    RequestHeaders& request, ResponseHeaders& response) {
  const std::string& word = request["Argument0"];
  if (word == "license") return WriteLicenseFile(platform, module.directory) ? 204 : 400;

  platform::WindowHandle window = FindPlayerWindow(platform, kPlayerTitleText);
  if (word == "iswinamprun") {
    response["Result"] = window != nullptr ? "1" : "0";
    return 200;
  }
  if (window == nullptr) return 400;

  CommandContext context{word, request, response, {platform, window}};
  int status = 0;
  if (!RunTransportBlock(context, &status) && !RunStatusQueryBlock(context, &status) &&
      !RunTitleBlock(context, &status)) {
    status = RunNumericTail(context);
  }
  if (!context.player.answered()) {
    // The player did not answer in time, is hung or has closed: what was
    // read from it so far is dropped, as if it had not been found.
    response.clear();
    return 400;
  }
  return status;
}

}  // namespace nirevo::player
