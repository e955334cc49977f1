// What the stand-in player and the tests that script it agree on: the
// WM_COPYDATA tag of a control script, and the event that ends a hang.
#ifndef NIREVO_TOOLS_STANDIN_PLAYER_STANDIN_CONTROL_H_
#define NIREVO_TOOLS_STANDIN_PLAYER_STANDIN_CONTROL_H_

#include <windows.h>

#include <string>

namespace standin {

// COPYDATASTRUCT::dwData of a control script.
inline constexpr ULONG_PTR kControl = 0x6e72;

// The named event that ends the hang of the player in process `process_id`.
inline std::string ResumeEventName(DWORD process_id) {
  return "nirevo-standin-resume-" + std::to_string(process_id);
}

}  // namespace standin

#endif  // NIREVO_TOOLS_STANDIN_PLAYER_STANDIN_CONTROL_H_
