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

// Answers 0 after noting `failure` in `trace`, when there is one.
int Failed(ImagePathTrace* trace, ImagePathFailure failure) {
  if (trace != nullptr) trace->failure = failure;
  return 0;
}

int PathThroughPsapi(Platform& platform, std::uint32_t process_id, char* path,
                     int capacity, ImagePathTrace* trace) {
  platform::OwnedLibrary psapi(platform, platform.LoadLibraryA("PSAPI.DLL"));
  if (!psapi) return Failed(trace, ImagePathFailure::kPsapiMissing);
  EntryPoint enum_modules = platform.GetProcAddress(psapi.get(), "EnumProcessModules");
  EntryPoint file_name = platform.GetProcAddress(psapi.get(), "GetModuleFileNameExA");
  if (enum_modules == nullptr || file_name == nullptr) {
    return Failed(trace, ImagePathFailure::kPsapiIncomplete);
  }

  platform::OwnedProcess process(
      platform, platform.OpenProcess(platform::kProcessQueryInformation |
                                         platform::kProcessVmRead,
                                     process_id));
  if (!process) return Failed(trace, ImagePathFailure::kProcessNotOpened);
  // Room for exactly one module handle: the first module is the executable.
  platform::ModuleHandle executable = nullptr;
  std::uint32_t needed = 0;
  if (!platform.EnumProcessModules(enum_modules, process.get(), &executable,
                                   sizeof executable, &needed) ||
      platform.GetModuleFileNameExA(file_name, process.get(), executable, path,
                                    static_cast<std::uint32_t>(capacity)) == 0) {
    return Failed(trace, ImagePathFailure::kModuleNotReadable);
  }
  return 1;
}

// Null when kernel32 or the name is missing; a null module handle would make
// GetProcAddress search the host's executable instead.
EntryPoint Kernel32EntryPoint(Platform& platform, const char* name) {
  platform::ModuleHandle kernel32 = platform.GetModuleHandleA("kernel32.dll");
  return kernel32 == nullptr ? nullptr : platform.GetProcAddress(kernel32, name);
}

int PathThroughToolhelp(Platform& platform, std::uint32_t process_id, char* path,
                        int capacity, ImagePathTrace* trace) {
  EntryPoint create = Kernel32EntryPoint(platform, "CreateToolhelp32Snapshot");
  EntryPoint first = Kernel32EntryPoint(platform, "Process32First");
  EntryPoint next = Kernel32EntryPoint(platform, "Process32Next");
  if (create == nullptr || first == nullptr || next == nullptr) {
    return Failed(trace, ImagePathFailure::kToolhelpMissing);
  }

  platform::OwnedSnapshot snapshot(
      platform, platform.CreateToolhelp32Snapshot(create, platform::kSnapshotProcesses, 0));
  if (!snapshot) return Failed(trace, ImagePathFailure::kSnapshotFailed);
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
  return Failed(trace, ImagePathFailure::kNotInSnapshot);
}

}  // namespace

int GetWindowImagePath(Platform& platform, platform::WindowHandle window,
                       char* path, int capacity, ImagePathTrace* trace) {
  if (capacity <= 0) return 0;
  std::uint32_t process_id = 0;
  platform.GetWindowThreadProcessId(window, &process_id);
  if (trace != nullptr) trace->process_id = process_id;
  std::uint32_t platform_id = 0;
  if (!platform.GetVersionExA(&platform_id)) {
    return Failed(trace, ImagePathFailure::kVersionQueryFailed);
  }
  if (trace != nullptr) trace->platform_id = platform_id;
  switch (platform_id) {
    case platform::kPlatformWin32Nt:
      return PathThroughPsapi(platform, process_id, path, capacity, trace);
    case platform::kPlatformWin32Windows:
      return PathThroughToolhelp(platform, process_id, path, capacity, trace);
    default:
      return Failed(trace, ImagePathFailure::kUnknownPlatform);
  }
}

}  // namespace nirevo::player
