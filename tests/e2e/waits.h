// How long the end-to-end tests wait for what only a broken run never
// brings: a player's window, a tool's end, the system's verdict that a
// window hangs. Each bound is generous, and larger where programs are known
// to be slow: the scripts set NIREVO_WAIT_SCALE (the emulated machine runs
// every program several times slower, more so on a busy host). A wait that
// runs out says which wait it was and how long it took, so that a slow
// machine is told from a broken module. The module's own one-second bound
// on a player that does not answer is no such wait and is not here.
#ifndef NIREVO_TESTS_E2E_WAITS_H_
#define NIREVO_TESTS_E2E_WAITS_H_

#include <windows.h>

#include <string>

namespace e2e {

struct Wait {
  const char* what;  // completes "waited for ..."
  DWORD base_ms;     // on an ordinary machine
};

// A program started (the stand-in player or a tool) shows its window or
// has run to its end.
inline constexpr Wait kProgramStarts{"the program to start and show its window", 120000};
inline constexpr Wait kToolRuns{"the tool to run to its end", 120000};
// The desktop's process, started before any window, takes input.
inline constexpr Wait kDesktopStarts{"the desktop's process to take input", 120000};
// A program asked to exit has ended.
inline constexpr Wait kProgramEnds{"the program to end", 60000};
// The system judges a player that takes no messages hung, or one that
// takes them again answering.
inline constexpr Wait kHungVerdict{"the system to judge the player hung", 60000};
inline constexpr Wait kAnswersAgain{"the player to answer again", 60000};
// How long the stand-in player stays frozen unless resumed: longer than all
// a test does meanwhile, so that only a request that waits for the frozen
// player outlasts it.
inline constexpr Wait kFrozenPlayer{"the frozen player to be resumed", 360000};

// How long the warm-up holds the desktop unless the harness ends it first,
// as it does at the end of each prefix's lines.
inline constexpr Wait kDesktopHeld{"the harness to end the desktop's holder", 7200000};

// The bound of `wait` on this machine, in milliseconds.
DWORD BoundMs(const Wait& wait);

// "waited for WHAT: gave up after N s (bound M s)".
std::string RanOut(const Wait& wait, DWORD elapsed_ms);

// Calls `done` every 50 ms until it answers true or the bound runs out;
// answers whether it did, and the time taken in `elapsed_ms`.
template <typename Done>
bool WaitUntil(const Wait& wait, Done done, DWORD* elapsed_ms) {
  const ULONGLONG start = GetTickCount64();
  const DWORD bound = BoundMs(wait);
  for (;;) {
    const bool finished = done();
    *elapsed_ms = static_cast<DWORD>(GetTickCount64() - start);
    if (finished) return true;
    if (*elapsed_ms >= bound) return false;
    Sleep(50);
  }
}

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_WAITS_H_
