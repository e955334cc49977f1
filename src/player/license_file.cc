#include "player/license_file.h"

#include <fstream>

namespace nirevo::player {

bool WriteLicenseFile(const std::string& directory) {
  std::string path = directory;
  path.append(kLicenseFileName);
  if (path.find('\0') != std::string::npos) return false;
  std::ofstream file(path, std::ios::out | std::ios::trunc);
  if (!file) return false;
  file.write(kLicenseText.data(), static_cast<std::streamsize>(kLicenseText.size()));
  file.close();
  return !file.fail();
}

}  // namespace nirevo::player
