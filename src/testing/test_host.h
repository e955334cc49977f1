// A SAORI host for tests: it drives the module through `load`, `request` and
// `unload` exactly as a host does, with blocks from the simulated desktop.
#ifndef NIREVO_TESTING_TEST_HOST_H_
#define NIREVO_TESTING_TEST_HOST_H_

#include <cctype>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "testing/saori_answer.h"
#include "testing/sim_desktop.h"

namespace nirevo::test {

class TestHost {
 public:
  // Installs `platform` (by default the desktop itself; a wrapper of it such
  // as FaultInjection) as the module's platform and loads the module with
  // `directory`. The host's own blocks come from the desktop.
  explicit TestHost(SimDesktop& desktop, std::string_view directory = "C:\\nirevo\\");
  TestHost(SimDesktop& desktop, platform::Platform& platform,
           std::string_view directory = "C:\\nirevo\\");
  ~TestHost();  // unloads and restores the platform

  std::int32_t Load(std::string_view directory);
  // Sends `text` as a request and answers the response text. A null answer
  // block gives "<null>".
  std::string Request(std::string_view text);
  // An "EXECUTE SAORI/1.0" request from a Local caller.
  std::string Execute(std::string_view argument0);
  std::string Execute(std::string_view argument0, std::string_view argument1);

  // The length that the last request wrote back.
  std::int32_t last_length() const { return last_length_; }

 private:
  SimDesktop& desktop_;
  platform::Platform* previous_;
  std::int32_t last_length_ = 0;
};

// The request text for "EXECUTE" with the given headers, lines in CR LF.
std::string ExecuteText(const std::vector<std::pair<std::string, std::string>>& headers);


// Names the instances of a parameterised test after their case's `name`.
struct NameOfCase {
  template <typename ParamInfo>
  std::string operator()(const ParamInfo& param_info) const {
    std::string name = param_info.param.name;
    for (char& c : name) {
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
  }
};

}  // namespace nirevo::test

#endif  // NIREVO_TESTING_TEST_HOST_H_
