// The desktop the players' windows are made on, under Wine. Wine starts the
// desktop's process (explorer) at the first window of a desktop and waits a
// fixed ten seconds for it; past that it makes the desktop window itself,
// without the display driver explorer would have named, and explorer, once
// up, can no longer claim that window: every window on that desktop is then
// refused ("The explorer process failed to start") until the desktop closes.
// A busy emulated machine takes longer than ten seconds, so the harness
// starts explorer itself and waits for it, before any window is made.
#ifndef NIREVO_TESTS_E2E_DESKTOP_H_
#define NIREVO_TESTS_E2E_DESKTOP_H_

#include <string>

namespace e2e {

// Starts the desktop's process, waits (within kDesktopStarts) until it
// takes input, and answers whether the desktop then has its display
// driver; if not, `error` says why. Call it before this program makes or
// looks for any window: asking for the desktop window first is what starts
// Wine's own ten-second wait.
bool StartDesktop(std::string* error);

// Stays on the desktop until ended (a bound of hours, for a harness that
// never ends it), so that Wine does not close it, and end its process,
// between the programs that use it.
void HoldDesktop();

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_DESKTOP_H_
