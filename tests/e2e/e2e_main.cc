// The end-to-end suite's entry point. Besides GoogleTest's own flags:
//   --module=PATH     the module under test (default: nirevo.dll beside this
//                     program)
//   --player=PATH     the installed player to start (default: kInstalledPlayer)
//   --plain-dll=PATH  the build that also exports the plain names, for the
//                     host that looks only for those
//   --tools=DIR       the folder of saori-call.exe and nirevo-check.exe
//                     (default: beside this program)
//   --windows=nt|98   the Windows the line runs under: the platform the
//                     prefix must report to this program (NT, or the
//                     Windows 95 family under the Windows 98 setting)
//   --warm-up         only start the desktop's process and the installed
//                     player once, and wait for its window: the first
//                     program of a new Wine server and prefix pays for what
//                     Wine starts and caches then
//   --hold-desktop    after the warm-up, stay (until ended) so that the
//                     desktop stays: Wine closes it, and ends its process,
//                     once no program uses it, and a window that comes then
//                     meets Wine's own wait for its process again
// Prints the folder of the tools it runs and how long the slowest player
// took to show its window, so a run's output tells what ran, and how slow.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "desktop.h"
#include "player_process.h"
#include "waits.h"

namespace e2e {
namespace {
std::string module_path;
std::string plain_dll;
std::string tools_dir;
DWORD expected_platform = 0;
}  // namespace

DWORD ExpectedPlatformId() { return expected_platform; }

const std::string& ModulePath() {
  if (module_path.empty()) module_path = BesideThisProgram("nirevo.dll");
  return module_path;
}
const std::string& PlainNamesDll() { return plain_dll; }
std::string ToolPath(const std::string& name) {
  return tools_dir.empty() ? BesideThisProgram(name) : tools_dir + "\\" + name;
}

}  // namespace e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  bool warm_up = false;
  bool hold_desktop = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.rfind("--module=", 0) == 0) {
      e2e::module_path = std::string(argument.substr(9));
    } else if (argument.rfind("--player=", 0) == 0) {
      e2e::SetInstalledPlayer(std::string(argument.substr(9)));
    } else if (argument.rfind("--plain-dll=", 0) == 0) {
      e2e::plain_dll = std::string(argument.substr(12));
    } else if (argument.rfind("--tools=", 0) == 0) {
      e2e::tools_dir = std::string(argument.substr(8));
    } else if (argument == "--windows=nt") {
      e2e::expected_platform = VER_PLATFORM_WIN32_NT;
    } else if (argument == "--windows=98") {
      e2e::expected_platform = VER_PLATFORM_WIN32_WINDOWS;
    } else if (argument == "--warm-up") {
      warm_up = true;
    } else if (argument == "--hold-desktop") {
      hold_desktop = true;
    } else {
      std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
      return 2;
    }
  }
  if (warm_up) {
    // The desktop first, before any window is made or looked for (see
    // desktop.h), then one player.
    std::string error;
    const ULONGLONG start = GetTickCount64();
    if (!e2e::StartDesktop(&error)) {
      std::printf("warm-up: %s\n", error.c_str());
      return 1;
    }
    std::printf("warm-up: the desktop came up after %.1f s\n", (GetTickCount64() - start) / 1000.0);
    std::fflush(stdout);
    {
      const e2e::PlayerProcess player(e2e::InstalledPlayer());  // ended before the suites
      if (!player.running()) {
        std::printf("warm-up: %s\n", player.error().c_str());
        return 1;
      }
    }
    std::printf("warm-up: the player's window came after %.1f s\n", e2e::SlowestStartMs() / 1000.0);
    std::fflush(stdout);
    if (hold_desktop) e2e::HoldDesktop();
    return 0;
  }
  const std::string tool = e2e::ToolPath("saori-call.exe");
  std::printf("tools from: %s\n", tool.substr(0, tool.rfind('\\')).c_str());
  const int result = RUN_ALL_TESTS();
  std::printf("slowest player start: %.1f s\n", e2e::SlowestStartMs() / 1000.0);
  return result;
}
