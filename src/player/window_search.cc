// The window search. Title tests come first, so that the costly image-path
// lookup runs only for windows whose title could be the player's.
#include "player/window_search.h"

#include <cstring>
#include <string_view>

#include "player/image_path.h"

namespace nirevo::player {
namespace {

constexpr std::string_view kRejectedTitleText = "Winamp AL";
constexpr std::string_view kPlayerPathText = "\\Winamp\\winamp.exe";

// Buffers are fetched with a capacity of 255: at most 254 bytes and a
// terminator.
constexpr int kTextCapacity = 255;

std::string_view TextIn(const char (&buffer)[kTextCapacity]) {
  return std::string_view(buffer, strnlen(buffer, kTextCapacity));
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

platform::WindowHandle FindPlayerWindow(platform::Platform& platform,
                                        const char* text, SearchObserver* observer) {
  TPlayerSearch search{&platform, nullptr, {}, observer};
  std::strncpy(search.text, text, sizeof search.text - 1);
  platform.EnumWindows(&PlayerWindowProc, reinterpret_cast<std::intptr_t>(&search));
  return search.hwnd;
}

int PlayerWindowProc(platform::WindowHandle window, std::intptr_t user) {
  auto& search = *reinterpret_cast<TPlayerSearch*>(user);
  char title[kTextCapacity] = {};
  search.platform->GetWindowTextA(window, title, kTextCapacity);
  if (!Contains(TextIn(title), search.text)) return 1;
  WindowVerdict verdict{window, TextIn(title), false, false, {}, {}, false};
  if (Contains(TextIn(title), kRejectedTitleText)) {
    verdict.rejected_title = true;
    if (search.observer != nullptr) search.observer->Saw(verdict);
    return 1;
  }

  char path[kTextCapacity] = {};
  ImagePathTrace* trace = search.observer != nullptr ? &verdict.trace : nullptr;
  if (GetWindowImagePath(*search.platform, window, path, kTextCapacity, trace) != 0) {
    verdict.path_found = true;
    verdict.path = TextIn(path);
    verdict.path_matches = Contains(verdict.path, kPlayerPathText);
    if (verdict.path_matches) search.hwnd = window;
  }
  if (search.observer != nullptr) search.observer->Saw(verdict);
  return 1;
}

}  // namespace nirevo::player
