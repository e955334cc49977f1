// The title read crosses into the player's process: one open, one read and
// one close per title.
#include "player/playlist_title.h"

#include "platform/owned.h"

namespace nirevo::player {

int ReadPlaylistTitle(PlayerChannel& player, std::int32_t index,
                      char* buffer, std::size_t bytes) {
  std::uintptr_t address = player.AddressOperation(kOperationTitleAddress, index);
  if (address == 0) return 0;

  platform::Platform& platform = player.platform();
  std::uint32_t process_id = 0;
  platform.GetWindowThreadProcessId(player.window(), &process_id);
  platform::OwnedProcess process(platform,
                                 platform.OpenProcess(platform::kProcessVmRead, process_id));
  if (!process) return 0;
  std::size_t bytes_read = 0;
  return platform.ReadProcessMemory(process.get(), address, buffer, bytes, &bytes_read) ? 1
                                                                                         : 0;
}

}  // namespace nirevo::player
