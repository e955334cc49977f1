// nirevo-check: tells why nirevo.dll does or does not find the player. It
// runs the module's own window search, with the same code and the same Win32
// calls, and prints one line for each top-level window whose title contains
// "Winamp": its handle, process id, title, the executable path the search saw
// (or why it saw none), the verdict of each test, and which window the module
// would use. Exit status 0 when a window qualifies, 1 when none does.
//
//   nirevo-check.exe   (no arguments)
//
// Started by a double-click, it has a console window of its own, which would
// close with the report: then it waits for Enter first.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "player/image_path.h"
#include "player/window_search.h"

namespace {

using nirevo::platform::Platform;
using nirevo::platform::WindowHandle;
using nirevo::player::ImagePathFailure;
using nirevo::player::WindowVerdict;

const char* WhyNoPath(ImagePathFailure failure) {
  switch (failure) {
    case ImagePathFailure::kNone: return "none";
    case ImagePathFailure::kVersionQueryFailed: return "the Windows version could not be read";
    case ImagePathFailure::kUnknownPlatform: return "unknown platform";
    case ImagePathFailure::kPsapiMissing: return "PSAPI.DLL is missing";
    case ImagePathFailure::kPsapiIncomplete: return "PSAPI.DLL lacks EnumProcessModules or GetModuleFileNameExA";
    case ImagePathFailure::kProcessNotOpened: return "the process could not be opened";
    case ImagePathFailure::kModuleNotReadable:
      return "the process's module list could not be read (a 64-bit program seen from the 32-bit module?)";
    case ImagePathFailure::kToolhelpMissing: return "kernel32 lacks the Toolhelp functions";
    case ImagePathFailure::kSnapshotFailed: return "no process snapshot";
    case ImagePathFailure::kNotInSnapshot: return "the process is not in the snapshot";
  }
  return "?";
}

std::string Handle(WindowHandle window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%08llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

class Report : public nirevo::player::SearchObserver {
 public:
  explicit Report(Platform& platform) : platform_(platform) {}

  void Saw(const WindowVerdict& v) override {
    std::uint32_t process_id = v.trace.process_id;
    // The module does not look up the process of a window it rejects by title.
    if (v.rejected_title) platform_.GetWindowThreadProcessId(v.window, &process_id);
    std::string path = v.rejected_title ? "not looked up"
                       : v.path_found   ? "\"" + std::string(v.path) + "\""
                                        : std::string("none: ") + WhyNoPath(v.trace.failure);
    const bool qualifies = !v.rejected_title && v.path_matches;
    std::printf("%s  pid %lu  title \"%.*s\"  path %s  |  title has \"Winamp\": yes, "
                "\"Winamp AL\": %s, path has \"\\Winamp\\winamp.exe\": %s  =>  %s\n",
                Handle(v.window).c_str(), static_cast<unsigned long>(process_id),
                static_cast<int>(v.title.size()), v.title.data(), path.c_str(),
                YesNo(v.rejected_title),
                v.path_found ? YesNo(v.path_matches) : "-",
                qualifies ? "qualifies" : "not the player");
    ++windows_;
  }

  int windows() const { return windows_; }

 private:
  Platform& platform_;
  int windows_ = 0;
};

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

  Report report(platform);
  const WindowHandle player =
      nirevo::player::FindPlayerWindow(platform, nirevo::player::kPlayerTitleText, &report);
  if (report.windows() == 0) std::printf("no top-level window has \"Winamp\" in its title\n");
  if (player == nullptr) {
    std::printf("result: no window qualifies, so iswinamprun answers 0\n");
    return Finish(1);
  }
  std::printf("result: the module would use window %s (the last one that qualifies), "
              "so iswinamprun answers 1\n",
              Handle(player).c_str());
  return Finish(0);
}
