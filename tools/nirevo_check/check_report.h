// What nirevo-check reports, apart from its console: a line for each window
// that the module's own search saw, and whether the window it would use
// answers the module's messages. Built on the platform seam only, so the
// native tests read the same lines over the simulated desktop.
#ifndef NIREVO_TOOLS_NIREVO_CHECK_CHECK_REPORT_H_
#define NIREVO_TOOLS_NIREVO_CHECK_CHECK_REPORT_H_

#include <string>
#include <vector>

#include "platform/platform.h"
#include "player/image_path.h"
#include "player/window_search.h"

namespace nirevo::check {

// A window handle as the report prints it: "0x" and eight or more hex digits.
std::string HandleText(platform::WindowHandle window);

// Why the search saw no executable path for a window, in the user's words.
const char* WhyNoPath(player::ImagePathFailure failure);

// Collects one line per window the search saw, in enumeration order.
class Report : public player::SearchObserver {
 public:
  explicit Report(platform::Platform& platform) : platform_(platform) {}
  void Saw(const player::WindowVerdict& verdict) override;
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  platform::Platform& platform_;
  std::vector<std::string> lines_;
};

// Asks `window` one harmless question (the playback state) with the
// module's own bounded wait, and says what the answer means for the ghost.
struct AnswerCheck {
  bool answered;
  std::string line;
};
AnswerCheck AskThePlayer(platform::Platform& platform, platform::WindowHandle window);

}  // namespace nirevo::check

#endif  // NIREVO_TOOLS_NIREVO_CHECK_CHECK_REPORT_H_
