// The executable image path of the process that owns a window, through PSAPI
// on the Windows NT family or the Toolhelp snapshot on the Windows 95 family.
#ifndef NIREVO_PLAYER_IMAGE_PATH_H_
#define NIREVO_PLAYER_IMAGE_PATH_H_

#include <cstdint>

#include "platform/platform.h"

namespace nirevo::player {

// Why a lookup found no path; what nirevo-check tells the user.
enum class ImagePathFailure {
  kNone,
  kVersionQueryFailed,    // GetVersionExA failed
  kUnknownPlatform,       // neither the NT nor the 95 family
  kPsapiMissing,          // PSAPI.DLL could not be loaded
  kPsapiIncomplete,       // one of its two entry points is missing
  kProcessNotOpened,      // no rights, or the process is gone
  kModuleNotReadable,     // EnumProcessModules or GetModuleFileNameExA failed
                          // (as for a 64-bit process seen from a 32-bit one)
  kToolhelpMissing,       // a Toolhelp entry point is missing from kernel32
  kSnapshotFailed,        // CreateToolhelp32Snapshot failed
  kNotInSnapshot,         // the process id is not in the snapshot
};

// What one lookup saw, for a caller that asks (the module never does).
struct ImagePathTrace {
  std::uint32_t process_id = 0;
  std::uint32_t platform_id = 0;
  ImagePathFailure failure = ImagePathFailure::kNone;
};

// Writes the zero-terminated path, cut to `capacity` bytes with the
// terminator, into `path`; answers 1 on success, 0 on any failure (the buffer
// is then not to be used). Every process handle and snapshot it opens is
// closed, and PSAPI freed again, before it answers. A non-null `trace` is
// told what the lookup saw; it changes no call the lookup makes.
int GetWindowImagePath(platform::Platform& platform,
                       platform::WindowHandle window, char* path, int capacity,
                       ImagePathTrace* trace = nullptr);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_IMAGE_PATH_H_
