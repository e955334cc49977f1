// The Winamp player's window-message interface: WM_COMMAND with a menu
// command id in wParam, and WM_USER with an operation number in lParam and
// its operand in wParam. Every message is sent synchronously, with a bounded
// wait (player_channel.h).
#ifndef NIREVO_PLAYER_PLAYER_MESSAGES_H_
#define NIREVO_PLAYER_PLAYER_MESSAGES_H_

#include <cstdint>

namespace nirevo::player {

inline constexpr std::uint32_t kWmCommand = 0x111;
inline constexpr std::uint32_t kWmUser = 0x400;

// Menu command ids (WM_COMMAND); the answer is ignored.
inline constexpr int kCommandPrevious = 40044;
inline constexpr int kCommandPlay = 40045;
inline constexpr int kCommandPause = 40046;
inline constexpr int kCommandStop = 40047;
inline constexpr int kCommandNext = 40048;
inline constexpr int kCommandVolumeUp = 40058;
inline constexpr int kCommandVolumeDown = 40059;

// Operations (WM_USER lParam).
inline constexpr int kOperationIsPlaying = 104;       // playback state
inline constexpr int kOperationTime = 105;            // wParam 0: elapsed ms; 1: track length
inline constexpr int kOperationJumpToTime = 106;      // wParam: position in ms
inline constexpr int kOperationSetListPosition = 121; // wParam: 0-based index
inline constexpr int kOperationVolume = 122;          // wParam: level 0..255, or kQueryVolume
inline constexpr int kOperationListLength = 124;
inline constexpr int kOperationListPosition = 125;    // 0-based index of the current entry
inline constexpr int kOperationTitleAddress = 212;    // wParam: 0-based index; 0 when none
inline constexpr int kOperationIsShuffle = 250;
inline constexpr int kOperationIsRepeat = 251;
inline constexpr int kOperationSetShuffle = 252;      // wParam: 1 on, 0 off
inline constexpr int kOperationSetRepeat = 253;       // wParam: 1 on, 0 off

// With kOperationVolume, asks for the current level instead of setting it.
inline constexpr int kQueryVolume = -666;

// Track length and elapsed time, the two meanings of kOperationTime.
inline constexpr int kTimeElapsed = 0;
inline constexpr int kTimeTrackLength = 1;

}  // namespace nirevo::player

#endif  // NIREVO_PLAYER_PLAYER_MESSAGES_H_
