// Platform faults: for every command word, the Nth platform call fails as the
// real call can (a null or invalid handle, a false answer, 0, a short read or
// write). Every run answers exactly what that failure explains for the word
// — the normal answer, one of the word's failure answers, or no block at all
// when the answer block itself cannot be had — and releases every handle,
// snapshot, library and file.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "testing/fault_injection.h"
#include "testing/test_host.h"

namespace nirevo {
namespace {

using test::Answer;
using test::FaultInjection;
using test::SimDesktop;
using test::TestHost;

struct FaultCase {
  std::string name;
  std::string word;
  std::string argument;  // empty: no "Argument1"
  std::vector<std::string> failures;  // what a failing call may turn the answer into
  std::uint32_t platform_id = platform::kPlatformWin32Nt;
  bool unknown_platform = false;  // a failing version query reports platform id 3
  bool window_gone = false;       // a failing send finds the window closed, not hung
};

void PrintTo(const FaultCase& c, std::ostream* out) {
  *out << c.word << (c.argument.empty() ? "" : " " + c.argument) << " (platform id "
       << c.platform_id << (c.unknown_platform ? ", failing as unknown" : "")
       << (c.window_gone ? ", window gone" : "") << ")";
}

std::vector<FaultCase> Cases() {
  const std::string not_found = Answer("400 Bad Request");
  const std::string no_title = Answer("200 OK");
  const std::vector<std::string> playlist = test::PlaylistFailureAnswers({"one", "two", "three"});

  std::vector<FaultCase> cases = {
      {"iswinamprun", "iswinamprun", "", {Answer("200 OK", {{"Result", "0"}})}},
      {"getlistlen", "getlistlen", "", {not_found}},
      {"getvolume", "getvolume", "", {not_found}},
      {"gettitle", "gettitle", "", {not_found, no_title}},
      {"getplaylist", "getplaylist", "", playlist},
      {"gettitle_with_number", "gettitle", "2", {not_found, no_title}},
      {"nosuchword_with_number", "nosuchword", "2", {}},
      {"license", "license", "", {not_found}},
      {"playlist_through_toolhelp", "getplaylist", "", playlist, platform::kPlatformWin32Windows},
      {"iswinamprun_through_toolhelp", "iswinamprun", "", {Answer("200 OK", {{"Result", "0"}})},
       platform::kPlatformWin32Windows},
      {"playlist_unknown_platform", "getplaylist", "", playlist, platform::kPlatformWin32Nt, true},
      {"iswinamprun_unknown_platform", "iswinamprun", "", {Answer("200 OK", {{"Result", "0"}})},
       platform::kPlatformWin32Windows, true},
      {"playlist_window_gone", "getplaylist", "", playlist, platform::kPlatformWin32Nt, false,
       true},
      {"playtrack_window_gone", "playtrack", "2", {not_found}, platform::kPlatformWin32Nt, false,
       true},
  };
  // Words whose answer only a missing player changes.
  for (const char* word : {"prev", "play", "pause", "stop", "next", "vol_up", "vol_down",
                           "shuffleon", "shuffleoff", "repeaton", "repeatoff", "isplaying",
                           "isshuffle", "isrepeat", "getplaytime", "gettracklen", "getlistpos",
                           "nosuchword"}) {
    cases.push_back({word, word, "", {not_found}});
  }
  for (const char* word : {"jumptime", "playtrack", "setvolume"}) {
    cases.push_back({std::string(word) + "_with_number", word, "2", {not_found}});
  }
  return cases;
}

class PlatformFaultsTest : public ::testing::TestWithParam<FaultCase> {
 protected:
  PlatformFaultsTest() {
    desktop.platform_id = GetParam().platform_id;
    faults.version_fails_as_unknown_platform = GetParam().unknown_platform;
    faults.send_fails_as_window_gone = GetParam().window_gone;
    desktop.process(50).image_path = "C:\\Windows\\notepad.exe";
    desktop.AddWindow("Winamp notes - Notepad", 50);
    platform::WindowHandle window = desktop.AddPlayer();
    desktop.player(window).SetPlaylist(desktop.process(test::kPlayerProcessId),
                                       {"one", "two", "three"});
  }

  std::string Request() {
    return GetParam().argument.empty() ? host.Execute(GetParam().word)
                                       : host.Execute(GetParam().word, GetParam().argument);
  }

  SimDesktop desktop;
  FaultInjection faults{desktop};
  TestHost host{desktop, faults};
};

TEST_P(PlatformFaultsTest, EveryCallMayFail) {
  const std::string normal = Request();
  std::vector<std::string> explained = GetParam().failures;
  explained.push_back(normal);
  explained.push_back("<null>");  // the answer block itself could not be had
  int n = 1;
  for (;; ++n) {
    faults.FailCall(n);
    const std::string response = Request();
    const bool reached = faults.failure_injected();
    faults.FailCall(0);
    EXPECT_NE(std::find(explained.begin(), explained.end(), response), explained.end())
        << "call " << n << " failing gave: " << response;
    EXPECT_TRUE(desktop.Balanced()) << "call " << n;
    EXPECT_EQ(Request(), normal) << "after call " << n << " failed";
    if (!reached) break;
  }
  EXPECT_GT(n, 3);
}

INSTANTIATE_TEST_SUITE_P(Commands, PlatformFaultsTest, ::testing::ValuesIn(Cases()),
                         test::NameOfCase());

}  // namespace
}  // namespace nirevo
