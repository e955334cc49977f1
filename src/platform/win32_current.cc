// The DLL and the tools that share the module's code use the Win32
// platform as it is.
#include "platform/win32_platform.h"

namespace nirevo::platform {

Platform& Platform::Current() { return TheWin32Platform(); }

}  // namespace nirevo::platform
