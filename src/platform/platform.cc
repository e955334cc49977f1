// Selection of the current platform: the build's default, or one a test set.
#include "platform/platform.h"

namespace nirevo::platform {

Platform& DefaultPlatform();  // defined by the build's one implementation

namespace {
Platform* installed = nullptr;
}  // namespace

Platform& Platform::Current() {
  return installed != nullptr ? *installed : DefaultPlatform();
}

Platform* Platform::SetCurrent(Platform* platform) {
  Platform* before = installed;
  installed = platform;
  return before;
}

}  // namespace nirevo::platform
