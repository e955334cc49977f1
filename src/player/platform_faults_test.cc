// Platform faults: for every command word, the Nth platform call fails as the
// real call can (a null or invalid handle, a false answer, 0, a short read).
// Every run answers a well-formed response — the normal one or the status
// that failure leads to — and releases every handle, snapshot and library.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "testing/test_host.h"

namespace nirevo {
namespace {

using testing::SimDesktop;
using testing::TestHost;

struct FaultCase {
  std::string name;
  std::string word;
  std::string argument;  // empty: no "Argument1"
  std::uint32_t platform_id;
  bool unknown_platform = false;  // a failing version query reports platform id 3
};

std::vector<FaultCase> Cases() {
  std::vector<FaultCase> cases;
  const char* words[] = {"iswinamprun", "prev",       "play",        "pause",      "stop",
                         "next",        "vol_up",     "vol_down",    "shuffleon",  "shuffleoff",
                         "repeaton",    "repeatoff",  "isplaying",   "isshuffle",  "isrepeat",
                         "getplaytime", "gettracklen", "getlistlen", "getlistpos", "getvolume",
                         "gettitle",    "getplaylist", "nosuchword"};
  for (const char* word : words) {
    cases.push_back({word, word, "", platform::kPlatformWin32Nt});
  }
  for (const char* word : {"jumptime", "playtrack", "setvolume", "gettitle", "nosuchword"}) {
    cases.push_back({std::string(word) + "_with_number", word, "2", platform::kPlatformWin32Nt});
  }
  cases.push_back({"license", "license", "", platform::kPlatformWin32Nt});
  cases.push_back({"playlist_through_toolhelp", "getplaylist", "", platform::kPlatformWin32Windows});
  cases.push_back({"iswinamprun_through_toolhelp", "iswinamprun", "", platform::kPlatformWin32Windows});
  cases.push_back({"playlist_unknown_platform", "getplaylist", "", platform::kPlatformWin32Nt, true});
  cases.push_back({"iswinamprun_unknown_platform", "iswinamprun", "", platform::kPlatformWin32Windows, true});
  return cases;
}

class PlatformFaultsTest : public ::testing::TestWithParam<FaultCase> {
 protected:
  PlatformFaultsTest() {
    desktop.platform_id = GetParam().platform_id;
    desktop.fail_version_as_unknown_platform = GetParam().unknown_platform;
    desktop.process(50).image_path = "C:\\Windows\\notepad.exe";
    desktop.AddWindow("Winamp notes - Notepad", 50);
    platform::WindowHandle window = desktop.AddPlayer();
    desktop.player(window).SetPlaylist(desktop.process(100), {"one", "two", "three"});
  }

  std::string Request() {
    return GetParam().argument.empty() ? host.Execute(GetParam().word)
                                       : host.Execute(GetParam().word, GetParam().argument);
  }

  SimDesktop desktop;
  TestHost host{desktop};
};

bool WellFormed(const std::string& response) {
  static const std::set<std::string> kStatusLines = {
      "SAORI/1.0 200 OK\r\n", "SAORI/1.0 204 No Content\r\n", "SAORI/1.0 400 Bad Request\r\n"};
  const std::size_t end = response.find("\r\n");
  return end != std::string::npos && kStatusLines.count(response.substr(0, end + 2)) == 1 &&
         response.find("Charset: Shift_JIS\r\n") != std::string::npos &&
         response.size() >= 4 && response.compare(response.size() - 4, 4, "\r\n\r\n") == 0;
}

TEST_P(PlatformFaultsTest, EveryCallMayFail) {
  const std::string normal = Request();
  ASSERT_TRUE(WellFormed(normal)) << normal;
  int n = 1;
  for (;; ++n) {
    desktop.FailCall(n);
    const std::string response = Request();
    const bool reached = desktop.failure_injected();
    desktop.FailCall(0);
    if (response != "<null>") {
      EXPECT_TRUE(WellFormed(response)) << "n=" << n << ": " << response;
    }
    EXPECT_TRUE(desktop.Balanced()) << "n=" << n;
    EXPECT_EQ(Request(), normal) << "n=" << n;
    if (!reached) break;
  }
  EXPECT_GT(n, 3);
}

INSTANTIATE_TEST_SUITE_P(Commands, PlatformFaultsTest, ::testing::ValuesIn(Cases()),
                         testing::NameOfCase());

}  // namespace
}  // namespace nirevo
