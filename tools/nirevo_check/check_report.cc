#include "check_report.h"

#include <cstdint>
#include <cstdio>

#include "player/player_channel.h"

namespace nirevo::check {
namespace {

using player::ImagePathFailure;

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

}  // namespace

std::string HandleText(platform::WindowHandle window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%08llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

const char* WhyNoPath(ImagePathFailure failure) {
  switch (failure) {
    case ImagePathFailure::kNone: return "none";
    case ImagePathFailure::kVersionQueryFailed: return "the Windows version could not be read";
    case ImagePathFailure::kUnknownPlatform: return "unknown platform";
    case ImagePathFailure::kPsapiMissing: return "PSAPI.DLL is missing";
    case ImagePathFailure::kPsapiIncomplete:
      return "PSAPI.DLL lacks EnumProcessModules or GetModuleFileNameExA";
    case ImagePathFailure::kProcessNotOpened: return "the process could not be opened";
    case ImagePathFailure::kModuleNotReadable:
      return "the process's module list could not be read (a 64-bit program seen from the "
             "32-bit module?)";
    case ImagePathFailure::kToolhelpMissing: return "kernel32 lacks the Toolhelp functions";
    case ImagePathFailure::kSnapshotFailed: return "no process snapshot";
    case ImagePathFailure::kNotInSnapshot: return "the process is not in the snapshot";
  }
  return "?";
}

void Report::Saw(const player::WindowVerdict& v) {
  std::uint32_t process_id = v.trace.process_id;
  // The module does not look up the process of a window it rejects by title.
  if (v.rejected_title) platform_.GetWindowThreadProcessId(v.window, &process_id);
  const std::string path = v.rejected_title ? "not looked up"
                           : v.path_found   ? "\"" + std::string(v.path) + "\""
                                            : std::string("none: ") + WhyNoPath(v.trace.failure);
  const bool qualifies = !v.rejected_title && v.path_matches;
  lines_.push_back(HandleText(v.window) + "  pid " + std::to_string(process_id) + "  title \"" +
                   std::string(v.title) + "\"  path " + path +
                   "  |  title has \"Winamp\": yes, \"Winamp AL\": " + YesNo(v.rejected_title) +
                   ", path has \"\\Winamp\\winamp.exe\": " +
                   (v.path_found ? YesNo(v.path_matches) : "-") + "  =>  " +
                   (qualifies ? "qualifies" : "not the player"));
}

AnswerCheck AskThePlayer(platform::Platform& platform, platform::WindowHandle window) {
  player::PlayerChannel channel(platform, window);
  const std::int32_t state = channel.Operation(player::kOperationIsPlaying, 0);
  if (!channel.answered()) {
    return {false, "the player does not answer: commands are refused (400) until it does; "
                   "iswinamprun still answers 1"};
  }
  const char* meaning = state == 1 ? "playing" : state == 3 ? "paused" : state == 0 ? "stopped"
                                                                                  : "unknown";
  return {true, "the player answers: playback state " + std::to_string(state) + " (" + meaning +
                    "), so commands reach it"};
}

}  // namespace nirevo::check
