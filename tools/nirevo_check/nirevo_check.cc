// nirevo-check: tells why nirevo.dll does or does not find the player. It
// runs the module's own window search, with the same code and the same Win32
// calls, and prints one line for each top-level window whose title contains
// "Winamp": its handle, process id, title, the executable path the search saw
// (or why it saw none), the verdict of each test, and which window the module
// would use; then it asks that window its playback state, with the module's
// own bounded wait, and says whether the player answers. Exit status 0 when a
// window qualifies and answers, 1 otherwise.
//
//   nirevo-check.exe   (no arguments)
//
// Started by a double-click, it has a console window of its own, which would
// close with the report: then it waits for Enter first.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "check_report.h"
#include "platform/platform.h"
#include "player/window_search.h"

namespace {

using nirevo::platform::Platform;
using nirevo::platform::WindowHandle;

// True when the console was made for this program alone (a double-click in
// Explorer) and reads from the keyboard, so that waiting for Enter can end.
bool OwnsItsConsole() {
  DWORD processes[2];
  DWORD mode = 0;
  return GetConsoleProcessList(processes, 2) == 1 &&
         GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

int Finish(int status) {
  if (OwnsItsConsole()) {
    std::printf("\nPress Enter to close this window.\n");
    std::fflush(stdout);
    std::getchar();
  }
  return status;
}

}  // namespace

int main() {
  Platform& platform = Platform::Current();
  std::printf("nirevo-check (%d-bit): the module's own search for the player's window\n",
              static_cast<int>(sizeof(void*) * 8));
  std::uint32_t platform_id = 0;
  if (!platform.GetVersionExA(&platform_id)) {
    std::printf("process inspection: none (the Windows version could not be read)\n");
  } else if (platform_id == nirevo::platform::kPlatformWin32Nt) {
    std::printf("process inspection: PSAPI (Windows NT family, platform id 2)\n");
  } else if (platform_id == nirevo::platform::kPlatformWin32Windows) {
    std::printf("process inspection: Toolhelp (Windows 95 family, platform id 1)\n");
  } else {
    std::printf("process inspection: none (unknown platform id %lu)\n",
                static_cast<unsigned long>(platform_id));
  }

  nirevo::check::Report report(platform);
  const WindowHandle player =
      nirevo::player::FindPlayerWindow(platform, nirevo::player::kPlayerTitleText, &report);
  for (const std::string& line : report.lines()) std::printf("%s\n", line.c_str());
  if (report.lines().empty()) std::printf("no top-level window has \"Winamp\" in its title\n");
  if (player == nullptr) {
    std::printf("result: no window qualifies, so iswinamprun answers 0\n");
    return Finish(1);
  }
  std::printf("result: the module would use window %s (the last one that qualifies), "
              "so iswinamprun answers 1\n",
              nirevo::check::HandleText(player).c_str());
  const nirevo::check::AnswerCheck answer = nirevo::check::AskThePlayer(platform, player);
  std::printf("answer: %s\n", answer.line.c_str());
  return Finish(answer.answered ? 0 : 1);
}
