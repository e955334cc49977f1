#include "player/license_file.h"

#include "platform/owned.h"

namespace nirevo::player {

bool WriteLicenseFile(platform::Platform& platform, const std::string& directory) {
  std::string path = directory;
  path.append(kLicenseFileName);
  if (path.find('\0') != std::string::npos) return false;
  platform::OwnedFile file(platform, platform.CreateTextFile(path.c_str()));
  if (!file) return false;
  if (!platform.WriteTextFile(file.get(), kLicenseText.data(), kLicenseText.size())) return false;
  return platform.CloseTextFile(file.Take());
}

}  // namespace nirevo::player
