// The platform on Windows, where every method forwards to the Win32 call it
// is named after.
#ifndef NIREVO_PLATFORM_WIN32_PLATFORM_H_
#define NIREVO_PLATFORM_WIN32_PLATFORM_H_

#include "platform/platform.h"

namespace nirevo::platform {

// The one Win32 platform of the process.
Platform& TheWin32Platform();

}  // namespace nirevo::platform

#endif  // NIREVO_PLATFORM_WIN32_PLATFORM_H_
