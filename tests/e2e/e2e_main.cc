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
//   --warm-up         only start the installed player once and wait for its
//                     window: the first program of a new Wine server and
//                     prefix pays for what Wine starts and caches then
//   --hold-desktop    after the warm-up, stay (until ended) so that the
//                     desktop stays: Wine closes it, and ends its process,
//                     once no program uses it, and starts it again for the
//                     next window within a fixed ten seconds, which a busy
//                     machine can outlast
// Prints the folder of the tools it runs and how long the slowest player
// took to show its window, so a run's output tells what ran, and how slow.
#include <gtest/gtest.h>

#include <string>
#include <cstdio>
#include <string_view>

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
    // A player that meets Wine's fixed ten-second wait for the desktop's
    // process ends without a window while that process may go on starting;
    // this program stays on the desktop meanwhile, so that Wine does not
    // close the desktop under it, and tries players until one shows its
    // window or the bound runs out.
    std::string error;
    DWORD waited = 0;
    const bool started = e2e::WaitUntil(
        e2e::kProgramStarts,
        [&error] {
          e2e::PlayerProcess player(e2e::InstalledPlayer());
          if (player.running()) return true;
          error = player.error();
          std::printf("warm-up: a try: %s\n", error.c_str());
          std::fflush(stdout);
          return false;
        },
        &waited);
    if (!started) {
      std::printf("warm-up: %s; %s\n", error.c_str(),
                  e2e::RanOut(e2e::kProgramStarts, waited).c_str());
      return 1;
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
