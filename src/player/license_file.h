// The "license" command: the module's licence notice, written as
// "nirevo_license.txt" into the module's directory.
#ifndef NIREVO_PLAYER_LICENSE_FILE_H_
#define NIREVO_PLAYER_LICENSE_FILE_H_

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace nirevo::player {

inline constexpr std::string_view kLicenseFileName = "nirevo_license.txt";

// The licence notice, lines ending in LF.
extern const std::string_view kLicenseText;

// Creates or truncates `directory` + kLicenseFileName (the directory text
// ends in its separator) and writes the notice in text mode. Answers false
// when the file cannot be opened, the write or the close fails, or the path
// holds a zero byte (it would name another file). The file is closed on every
// path.
bool WriteLicenseFile(platform::Platform& platform, const std::string& directory);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_LICENSE_FILE_H_
