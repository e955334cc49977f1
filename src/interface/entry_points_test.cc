#include "interface/entry_points.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interface/module_object.h"
#include "testing/fault_injection.h"
#include "testing/test_host.h"

namespace nirevo {
namespace {

using namespace std::string_literals;
using test::Answer;
using test::SimDesktop;
using test::TestHost;

constexpr char kFallback[] = "SAORI/1.0 500 Internal Server Error\r\n\r\n";
constexpr char kVersion[] = "GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: host\r\n\r\n";

class EntryPointsTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(desktop.Balanced()); }
  SimDesktop desktop;
};

TEST_F(EntryPointsTest, RequestWithoutModuleObjectGetsTheFallback) {
  TestHost host(desktop);
  unload();
  EXPECT_EQ(host.Request(kVersion), kFallback);
  EXPECT_EQ(host.last_length(), 39);
  EXPECT_EQ(unload(), 1);  // a second unload is harmless
  EXPECT_EQ(host.Request(kVersion), kFallback);
  EXPECT_EQ(host.Load("C:\\x\\"), 1);
  EXPECT_EQ(host.Request(kVersion), Answer("200 OK"));
}

TEST_F(EntryPointsTest, LoadKeepsTheDirectoryBytesExactly) {
  TestHost host(desktop, "");
  ASSERT_NE(CurrentModule(), nullptr);
  EXPECT_EQ(CurrentModule()->directory, "");
  EXPECT_EQ(CurrentModule()->security_policy, 2);
  EXPECT_EQ(host.Load("C:\\first\\"), 1);
  EXPECT_EQ(host.Load(" D:\\second\\\0"s), 1);
  EXPECT_EQ(CurrentModule()->directory, " D:\\second\\\0"s);
}

TEST_F(EntryPointsTest, AnswerBlockHoldsExactlyTheResponse) {
  TestHost host(desktop);
  std::string response = host.Request(kVersion);
  EXPECT_EQ(response, "SAORI/1.0 200 OK\r\nCharset: Shift_JIS\r\nSender: nirevo\r\n\r\n");
  EXPECT_EQ(static_cast<std::size_t>(host.last_length()), response.size());
}

TEST_F(EntryPointsTest, NullBlockOrNegativeLengthIsAnEmptyRequest) {
  TestHost host(desktop);
  std::int32_t length = 100;
  void* answer = request(nullptr, &length);
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(std::string(static_cast<char*>(answer), static_cast<std::size_t>(length)),
            Answer("400 Bad Request"));
  desktop.GlobalFree(answer);

  void* block = desktop.HostAlloc(4);
  length = -4;
  answer = request(block, &length);  // the block is the module's: freed
  EXPECT_EQ(length, static_cast<std::int32_t>(Answer("400 Bad Request").size()));
  desktop.GlobalFree(answer);

  EXPECT_EQ(request(desktop.HostAlloc(4), nullptr), nullptr);
  EXPECT_EQ(load(nullptr, 10), 1);
  EXPECT_EQ(CurrentModule()->directory, "");
}

TEST_F(EntryPointsTest, BytesAfterAZeroByteStillReachTheModule) {
  TestHost host(desktop);
  // The lines end at the zero byte, so the header after it is not read.
  EXPECT_EQ(host.Request("GET Version SAORI/1.0\r\n\0SecurityLevel: External\r\n"s),
            Answer("200 OK"));
}

TEST_F(EntryPointsTest, AnswerBlockThatCannotBeHadGivesNullAndLengthZero) {
  test::FaultInjection faults(desktop);
  TestHost host(desktop, faults);
  void* block = desktop.HostAlloc(sizeof kVersion - 1);
  std::memcpy(block, kVersion, sizeof kVersion - 1);
  std::int32_t length = sizeof kVersion - 1;
  faults.FailCall(1);  // the answer block
  EXPECT_EQ(request(block, &length), nullptr);
  EXPECT_EQ(length, 0);
  faults.FailCall(0);
  EXPECT_EQ(host.Request(kVersion), Answer("200 OK"));
}

}  // namespace
}  // namespace nirevo
