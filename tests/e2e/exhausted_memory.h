// Exhausted memory as the shipped DLL meets it: its imports of the C
// runtime's allocators and of GlobalAlloc pointed at wrappers that let one
// chosen call fail, as a full heap or address space makes it fail. The
// static C++ runtime inside the DLL allocates through the same imports.
#ifndef NIREVO_TESTS_E2E_EXHAUSTED_MEMORY_H_
#define NIREVO_TESTS_E2E_EXHAUSTED_MEMORY_H_

#include <windows.h>

namespace e2e {

// Routes every allocation `module` imports through the counting wrappers;
// answers false unless it imports malloc and GlobalAlloc by name.
bool CountAllocations(HMODULE module);
// From now on, the `n`th allocation fails (null); 0: none fails.
void FailAllocation(int n);
// Whether the chosen allocation was reached since the last FailAllocation.
bool AllocationFailureReached();
// The allocations made since the last FailAllocation.
int AllocationsCounted();

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_EXHAUSTED_MEMORY_H_
