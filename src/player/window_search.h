// Finding the player's main window among the desktop's top-level windows:
// its title contains the search text and not "Winamp AL", and the image path
// of its process contains "\Winamp\winamp.exe".
#ifndef NIREVO_PLAYER_WINDOW_SEARCH_H_
#define NIREVO_PLAYER_WINDOW_SEARCH_H_

#include <cstdint>

#include "platform/platform.h"

namespace nirevo::player {

// The search text that the dispatcher looks for.
inline constexpr char kPlayerTitleText[] = "Winamp";

// What the window enumeration carries from window to window.
struct TPlayerSearch {
  platform::Platform* platform;
  platform::WindowHandle hwnd;  // the last window that passed every test
  char text[32];                // zero-terminated search text
};

// Enumerates every top-level window; answers the last one that qualifies, or
// null when the player is not running (or not recognised). `text` longer than
// the record holds is cut.
platform::WindowHandle FindPlayerWindow(platform::Platform& platform,
                                        const char* text);

// The enumeration callback: tests one window and always answers 1
// (continue); `user` is the address of a TPlayerSearch.
int PlayerWindowProc(platform::WindowHandle window, std::intptr_t user);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_WINDOW_SEARCH_H_
