// Finding the player's main window among the desktop's top-level windows:
// its title contains the search text and not "Winamp AL", and the image path
// of its process contains "\Winamp\winamp.exe".
#ifndef NIREVO_PLAYER_WINDOW_SEARCH_H_
#define NIREVO_PLAYER_WINDOW_SEARCH_H_

#include <cstdint>
#include <string_view>

#include "platform/platform.h"
#include "player/image_path.h"

namespace nirevo::player {

// What the search decided about one window whose title contains the search
// text. The texts live only for the call that reports them.
struct WindowVerdict {
  platform::WindowHandle window;
  std::string_view title;         // as the tests saw it: at most 254 bytes
  bool rejected_title;            // it contains "Winamp AL"
  bool path_found;                // the image-path lookup answered a path
  std::string_view path;          // that path, when found
  ImagePathTrace trace;           // what the lookup saw; empty when not run
  bool path_matches;              // the path contains "\Winamp\winamp.exe"
};

// Told of every window that passes the title test, in enumeration order.
class SearchObserver {
 public:
  virtual ~SearchObserver() = default;
  virtual void Saw(const WindowVerdict& verdict) = 0;
};

// The search text that the dispatcher looks for.
inline constexpr char kPlayerTitleText[] = "Winamp";

// What the window enumeration carries from window to window.
struct TPlayerSearch {
  platform::Platform* platform;
  platform::WindowHandle hwnd;  // the last window that passed every test
  char text[32];                // zero-terminated search text
  SearchObserver* observer;     // null on the module's own searches
};

// Enumerates every top-level window; answers the last one that qualifies, or
// null when the player is not running (or not recognised). `text` longer than
// the record holds is cut. A non-null `observer` is told each verdict; the
// search makes the same calls, in the same order, either way.
platform::WindowHandle FindPlayerWindow(platform::Platform& platform,
                                        const char* text,
                                        SearchObserver* observer = nullptr);

// The enumeration callback: tests one window and always answers 1
// (continue); `user` is the address of a TPlayerSearch.
int PlayerWindowProc(platform::WindowHandle window, std::intptr_t user);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_WINDOW_SEARCH_H_
