// Choosing the platform on the native build, where the module runs against a
// simulated desktop in the tests. The Windows DLL has no such switch.
#ifndef NIREVO_PLATFORM_NATIVE_PLATFORM_H_
#define NIREVO_PLATFORM_NATIVE_PLATFORM_H_

#include "platform/platform.h"

namespace nirevo::platform {

// Makes `platform` the one Platform::Current() answers (null: the native
// build's own empty desktop); answers the one installed before.
Platform* SetCurrentPlatform(Platform* platform);

}  // namespace nirevo::platform

#endif  // NIREVO_PLATFORM_NATIVE_PLATFORM_H_
