#include "exhausted_memory.h"

#include <cstdlib>
#include <type_traits>

#include "import_rewrite.h"

namespace e2e {
namespace {

int calls = 0;
int failing = 0;

// Counts one allocation; true when it is the one to fail.
bool Fails() { return ++calls == failing; }

void* __cdecl CountedMalloc(size_t bytes) { return Fails() ? nullptr : std::malloc(bytes); }
void* __cdecl CountedCalloc(size_t count, size_t bytes) {
  return Fails() ? nullptr : std::calloc(count, bytes);
}
void* __cdecl CountedRealloc(void* block, size_t bytes) {
  return Fails() ? nullptr : std::realloc(block, bytes);
}
HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T bytes) {
  return Fails() ? nullptr : GlobalAlloc(flags, bytes);
}

// Each stands in for the function whose import it replaces.
// (The C runtime's carry attributes a type comparison would drop: their
// pointers must take the wrappers as they are.)
[[maybe_unused]] constexpr decltype(&std::malloc) kForMalloc = &CountedMalloc;
[[maybe_unused]] constexpr decltype(&std::calloc) kForCalloc = &CountedCalloc;
[[maybe_unused]] constexpr decltype(&std::realloc) kForRealloc = &CountedRealloc;
static_assert(std::is_same_v<decltype(&CountedGlobalAlloc), decltype(&::GlobalAlloc)>);

ULONG_PTR Address(void* function) { return reinterpret_cast<ULONG_PTR>(function); }

}  // namespace

bool CountAllocations(HMODULE module) {
  // calloc and realloc are rewritten where the module imports them.
  RewriteImport(module, "msvcrt.dll", "calloc", Address(reinterpret_cast<void*>(&CountedCalloc)));
  RewriteImport(module, "msvcrt.dll", "realloc", Address(reinterpret_cast<void*>(&CountedRealloc)));
  return RewriteImport(module, "msvcrt.dll", "malloc",
                       Address(reinterpret_cast<void*>(&CountedMalloc))) &&
         RewriteImport(module, "KERNEL32.dll", "GlobalAlloc",
                       Address(reinterpret_cast<void*>(&CountedGlobalAlloc)));
}

void FailAllocation(int n) {
  calls = 0;
  failing = n;
}

bool AllocationFailureReached() { return failing != 0 && calls >= failing; }

int AllocationsCounted() { return calls; }

}  // namespace e2e
