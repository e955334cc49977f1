// Rewriting a loaded module's import table, so that a test sees (or changes)
// what the module's own code calls, without touching that code.
#ifndef NIREVO_TESTS_E2E_IMPORT_REWRITE_H_
#define NIREVO_TESTS_E2E_IMPORT_REWRITE_H_

#include <windows.h>

namespace e2e {

// Points `module`'s import slot of `function` from `library` at
// `replacement`; answers false when there is no such import by name.
bool RewriteImport(HMODULE module, const char* library, const char* function,
                   ULONG_PTR replacement);

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_IMPORT_REWRITE_H_
