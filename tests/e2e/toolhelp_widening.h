// Lets the Windows 95 path of a loaded module find the player under Wine.
// Wine's Toolhelp walk names each process by its bare file name, where
// Windows 95 gave the full path, so the module's path test could never pass
// there. This rewrites the module's import slot of GetProcAddress: the
// Process32First and Process32Next it looks up become wrappers that call the
// real functions with the module's own entry, then widen the file name to the
// process's full path. The module's code is untouched, so a wrong entry size
// still fails in the real call.
#ifndef NIREVO_TESTS_E2E_TOOLHELP_WIDENING_H_
#define NIREVO_TESTS_E2E_TOOLHELP_WIDENING_H_

#include <windows.h>

namespace e2e {

// Answers false when `module` has no import of GetProcAddress from KERNEL32.
bool WidenToolhelpPaths(HMODULE module);

// The platform id that GetVersionExA reports to this program (1: the
// Windows 95 family, as the prefix's Windows 98 setting makes it).
DWORD ReportedPlatformId();

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_TOOLHELP_WIDENING_H_
