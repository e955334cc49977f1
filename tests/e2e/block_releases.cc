#include "block_releases.h"

#include <type_traits>

#include "import_rewrite.h"

namespace e2e {
namespace {

std::vector<HGLOBAL>& Released() {
  static std::vector<HGLOBAL> released;
  return released;
}

HGLOBAL WINAPI NotedGlobalFree(HGLOBAL block) {
  Released().push_back(block);
  return GlobalFree(block);
}

// It stands in for the function whose import it replaces.
static_assert(std::is_same_v<decltype(&NotedGlobalFree), decltype(&::GlobalFree)>);

}  // namespace

bool NoteBlockReleases(HMODULE module) {
  return RewriteImport(module, "KERNEL32.dll", "GlobalFree",
                       reinterpret_cast<ULONG_PTR>(&NotedGlobalFree));
}

const std::vector<HGLOBAL>& ReleasedBlocks() { return Released(); }
void ForgetReleasedBlocks() { Released().clear(); }

}  // namespace e2e
