// The executable image path of the process that owns a window, through PSAPI
// on the Windows NT family or the Toolhelp snapshot on the Windows 95 family.
#ifndef NIREVO_PLAYER_IMAGE_PATH_H_
#define NIREVO_PLAYER_IMAGE_PATH_H_

#include "platform/platform.h"

namespace nirevo::player {

// Writes the zero-terminated path, cut to `capacity` bytes with the
// terminator, into `path`; answers 1 on success, 0 on any failure (the buffer
// is then not to be used). Every process handle and snapshot it opens is
// closed, and PSAPI freed again, before it answers.
int GetWindowImagePath(platform::Platform& platform,
                       platform::WindowHandle window, char* path, int capacity);

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_IMAGE_PATH_H_
