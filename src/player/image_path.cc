// The image-path lookup. PSAPI is loaded by name and released on every call,
// the Toolhelp functions are looked up in kernel32: both bound at run time, so
// the module loads on systems that lack either.
#include "player/image_path.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/owned.h"

namespace nirevo::player {
namespace {

using platform::EntryPoint;
using platform::Platform;

int PathThroughPsapi(Platform& platform, std::uint32_t process_id, char* path,
                     int capacity) {
  platform::OwnedLibrary psapi(platform, platform.LoadLibraryA("PSAPI.DLL"));
  if (!psapi) return 0;
  EntryPoint enum_modules = platform.GetProcAddress(psapi.get(), "EnumProcessModules");
  EntryPoint file_name = platform.GetProcAddress(psapi.get(), "GetModuleFileNameExA");
  if (enum_modules == nullptr || file_name == nullptr) return 0;

  platform::OwnedProcess process(
      platform, platform.OpenProcess(platform::kProcessQueryInformation |
                                         platform::kProcessVmRead,
                                     process_id));
  if (!process) return 0;
  // Room for exactly one module handle: the first module is the executable.
  platform::ModuleHandle executable = nullptr;
  std::uint32_t needed = 0;
  if (!platform.EnumProcessModules(enum_modules, process.get(), &executable,
                                   sizeof executable, &needed)) {
    return 0;
  }
  return platform.GetModuleFileNameExA(file_name, process.get(), executable, path,
                                       static_cast<std::uint32_t>(capacity)) != 0
             ? 1
             : 0;
}

// Null when kernel32 or the name is missing; a null module handle would make
// GetProcAddress search the host's executable instead.
EntryPoint Kernel32EntryPoint(Platform& platform, const char* name) {
  platform::ModuleHandle kernel32 = platform.GetModuleHandleA("kernel32.dll");
  return kernel32 == nullptr ? nullptr : platform.GetProcAddress(kernel32, name);
}

int PathThroughToolhelp(Platform& platform, std::uint32_t process_id, char* path,
                        int capacity) {
  EntryPoint create = Kernel32EntryPoint(platform, "CreateToolhelp32Snapshot");
  EntryPoint first = Kernel32EntryPoint(platform, "Process32First");
  EntryPoint next = Kernel32EntryPoint(platform, "Process32Next");
  if (create == nullptr || first == nullptr || next == nullptr) return 0;

  platform::OwnedSnapshot snapshot(
      platform, platform.CreateToolhelp32Snapshot(create, platform::kSnapshotProcesses, 0));
  if (!snapshot) return 0;
  platform::ProcessEntry entry;
  for (bool more = platform.Process32First(first, snapshot.get(), &entry); more;
       more = platform.Process32Next(next, snapshot.get(), &entry)) {
    if (entry.process_id != process_id) continue;
    std::size_t length = strnlen(entry.exe_file, sizeof entry.exe_file);
    length = std::min(length, static_cast<std::size_t>(capacity - 1));
    std::memcpy(path, entry.exe_file, length);
    path[length] = '\0';
    return 1;
  }
  return 0;
}

}  // namespace

int GetWindowImagePath(Platform& platform, platform::WindowHandle window,
                       char* path, int capacity) {
  if (capacity <= 0) return 0;
  std::uint32_t process_id = 0;
  platform.GetWindowThreadProcessId(window, &process_id);
  std::uint32_t platform_id = 0;
  if (!platform.GetVersionExA(&platform_id)) return 0;
  switch (platform_id) {
    case platform::kPlatformWin32Nt:
      return PathThroughPsapi(platform, process_id, path, capacity);
    case platform::kPlatformWin32Windows:
      return PathThroughToolhelp(platform, process_id, path, capacity);
    default:
      return 0;
  }
}

}  // namespace nirevo::player
