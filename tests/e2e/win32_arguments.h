// What the module's Win32 adapter hands to Win32 and makes of its answers,
// seen through the module's import table: the wait of every message it
// sends, and a memory read that moves fewer bytes than asked yet reports
// success (Win32 allows that; the adapter must not take it for the whole).
#ifndef NIREVO_TESTS_E2E_WIN32_ARGUMENTS_H_
#define NIREVO_TESTS_E2E_WIN32_ARGUMENTS_H_

#include <windows.h>

#include <vector>

namespace e2e {

struct SendWait {
  UINT flags;
  UINT timeout_ms;
};

// Starts noting the flags and timeout of every SendMessageTimeoutA `module`
// makes; answers false when it imports none from USER32.
bool NoteSendWaits(HMODULE module);
const std::vector<SendWait>& SendWaits();
void ForgetSendWaits();

// Makes every ReadProcessMemory of `module` move one byte fewer than asked
// and still answer success (`short_reads` true), or the real call again.
bool ShortenReads(HMODULE module, bool short_reads);

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_WIN32_ARGUMENTS_H_
