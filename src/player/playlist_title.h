// Reading a playlist title out of the player's process memory.
#ifndef NIREVO_PLAYER_PLAYLIST_TITLE_H_
#define NIREVO_PLAYER_PLAYLIST_TITLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "player/player_channel.h"

namespace nirevo::player {

inline constexpr std::size_t kTitleBufferSize = 256;
using TitleBuffer = std::array<char, kTitleBufferSize>;

// Asks the player for the address of entry `index`'s title (operation 212)
// and copies `bytes` bytes from there into `buffer`. Answers nonzero on
// success, 0 when the player has no address, its process cannot be opened
// for reading or the read fails, or when the player did not answer. The
// process is opened and closed once.
int ReadPlaylistTitle(PlayerChannel& player, std::int32_t index,
                      char* buffer, std::size_t bytes);

// The title in a buffer: its bytes up to the first zero, all of them when
// there is none.
inline std::string_view TitleText(const TitleBuffer& buffer) {
  std::string_view all(buffer.data(), buffer.size());
  return all.substr(0, all.find('\0'));
}

// Zeroes `buffer` and reads entry `index`'s title into it.
inline bool ReadTitle(PlayerChannel& player, std::int32_t index,
                      TitleBuffer& buffer) {
  buffer.fill('\0');
  return ReadPlaylistTitle(player, index, buffer.data(), buffer.size()) != 0;
}

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_PLAYLIST_TITLE_H_
