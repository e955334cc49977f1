// Exhausted memory while a request is served: for every N, the Nth
// allocation fails; the host always gets a valid answer (the normal one or the
// fixed 500 text), or a null block with length 0 when the answer block itself
// cannot be had; nothing leaks, and the next request is answered normally.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "interface/entry_points.h"
#include "testing/allocation_faults.h"
#include "testing/test_host.h"

namespace nirevo {
namespace {

using test::AllocationFaults;
using test::ExecuteText;
using test::SimDesktop;
using test::TestHost;

constexpr char kFallback[] = "SAORI/1.0 500 Internal Server Error\r\n\r\n";

struct OomCase {
  std::string name;
  std::string request;
  friend void PrintTo(const OomCase& c, std::ostream* out) {
    *out << c.name << ": " << ::testing::PrintToString(c.request);
  }
};

std::vector<OomCase> Cases() {
  auto execute = [](std::string word, std::string argument = "") {
    std::vector<std::pair<std::string, std::string>> headers = {{"SecurityLevel", "Local"},
                                                                {"Argument0", word}};
    if (!argument.empty()) headers.emplace_back("Argument1", argument);
    return ExecuteText(headers);
  };
  return {
      {"version", "GET Version SAORI/1.0\r\nSender: host\r\n\r\n"},
      {"refused", "EXECUTE SAORI/1.0\r\nSecurityLevel: External\r\nArgument0: play\r\n\r\n"},
      {"malformed", "\r\n: :\nno colon\r\n\r\nafter"},
      {"playlist", execute("getplaylist")},
      {"title", execute("gettitle")},
      {"setvolume", execute("setvolume", "40")},
      {"jumptime", execute("jumptime", "90")},
      {"numbered title", execute("gettitle", "3")},
      {"bad number", execute("setvolume", "1234567890")},
      {"unknown word", execute("nosuchword", "5")},
      {"license", execute("license")},
  };
}

class OutOfMemoryTest : public ::testing::TestWithParam<OomCase> {
 protected:
  OutOfMemoryTest() {
    platform::WindowHandle window = desktop.AddPlayer();
    std::vector<std::string> titles;
    for (int i = 0; i < 12; ++i) titles.push_back("Title number " + std::to_string(i));
    desktop.player(window).SetPlaylist(desktop.process(test::kPlayerProcessId), titles);
    desktop.player(window).title_address[5] = 0x7000;  // cannot be read
  }

  SimDesktop desktop;
  TestHost host{desktop};
};

TEST_P(OutOfMemoryTest, EveryAllocationMayFail) {
  const std::string& text = GetParam().request;
  const std::string normal = host.Request(text);  // also warms lazily made statics
  ASSERT_NE(normal, kFallback);
  long n = 1;
  for (;; ++n) {
    const std::size_t live_before = AllocationFaults::live_bytes();
    void* block = desktop.HostAlloc(text.size());
    std::memcpy(block, text.data(), text.size());
    std::int32_t length = static_cast<std::int32_t>(text.size());

    AllocationFaults::Arm(n);
    void* answer = request(block, &length);
    const bool reached = AllocationFaults::failures() > 0;
    AllocationFaults::Disarm();

    if (answer == nullptr) {
      EXPECT_EQ(length, 0) << "n=" << n;
    } else {
      const std::string response(static_cast<char*>(answer), static_cast<std::size_t>(length));
      EXPECT_TRUE(response == normal || response == kFallback) << "n=" << n << ": " << response;
      desktop.GlobalFree(answer);
    }
    EXPECT_EQ(AllocationFaults::live_bytes(), live_before) << "n=" << n;
    EXPECT_TRUE(desktop.Balanced()) << "n=" << n;
    EXPECT_EQ(host.Request(text), normal) << "n=" << n;
    if (!reached) break;
  }
  RecordProperty("allocations", static_cast<int>(n - 1));
  EXPECT_GT(n, 1);  // some allocation was reached and failed
}

INSTANTIATE_TEST_SUITE_P(Requests, OutOfMemoryTest, ::testing::ValuesIn(Cases()), test::NameOfCase());

TEST(OutOfMemoryLoadTest, LoadThatRunsOutKeepsTheModuleAsItWas) {
  SimDesktop desktop;
  TestHost host(desktop, "C:\\first\\");
  void* block = desktop.HostAlloc(40);
  std::memset(block, 'd', 40);
  AllocationFaults::Arm(1);
  EXPECT_EQ(load(block, 40), 0);
  AllocationFaults::Disarm();
  EXPECT_TRUE(desktop.Balanced());
  EXPECT_EQ(host.Request("GET Version SAORI/1.0\r\n\r\n"), test::Answer("200 OK"));
}

}  // namespace
}  // namespace nirevo
