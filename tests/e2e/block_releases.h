// Which global memory blocks a loaded module hands back to GlobalFree: its
// import of GlobalFree is pointed at a wrapper that notes each block and
// then frees it. The module owns every block the host passes to load and
// request; a block it never frees leaks in the host on every request.
#ifndef NIREVO_TESTS_E2E_BLOCK_RELEASES_H_
#define NIREVO_TESTS_E2E_BLOCK_RELEASES_H_

#include <windows.h>

#include <vector>

namespace e2e {

// Starts noting `module`'s releases; answers false when it imports no
// GlobalFree from KERNEL32.
bool NoteBlockReleases(HMODULE module);
// The blocks released through the noted modules, in order.
const std::vector<HGLOBAL>& ReleasedBlocks();
void ForgetReleasedBlocks();

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_BLOCK_RELEASES_H_
