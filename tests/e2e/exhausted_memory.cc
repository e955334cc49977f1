#include "exhausted_memory.h"

#include <cstdlib>

#include "import_rewrite.h"

namespace e2e {
namespace {

int calls = 0;
int failing = 0;

// Counts one allocation; true when it is the one to fail.
bool Fails() {
  if (failing == 0) return false;
  return ++calls == failing;
}

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

}  // namespace e2e
