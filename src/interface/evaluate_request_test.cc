#include "interface/evaluate_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_host.h"

namespace nirevo {
namespace {

using test::Answer;
using test::ExecuteText;
using test::SimDesktop;
using test::TestHost;

TEST(CheckSecurityLevelTest, PolicyTable) {
  using L = SecurityLevel;
  struct Case { std::int32_t policy; L level; bool served; };
  const Case cases[] = {
      {0, L::kLocal, true},  {0, L::kUnknown, true},  {0, L::kExternal, true},
      {1, L::kLocal, true},  {1, L::kUnknown, true},  {1, L::kExternal, false},
      {2, L::kLocal, true},  {2, L::kUnknown, true},  {2, L::kExternal, false},
      {3, L::kLocal, true},  {3, L::kUnknown, false}, {3, L::kExternal, false},
      {-1, L::kLocal, true}, {-1, L::kUnknown, true}, {-1, L::kExternal, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckSecurityLevel(c.policy, c.level), c.served)
        << "policy " << c.policy << " level " << static_cast<int>(c.level);
  }
}

class EvaluateRequestTest : public ::testing::Test {
 protected:
  EvaluateRequestTest() { player = &desktop.player(desktop.AddPlayer()); }
  void TearDown() override { EXPECT_TRUE(desktop.Balanced()); }

  SimDesktop desktop;
  test::SimPlayer* player;
  TestHost host{desktop};
};

TEST_F(EvaluateRequestTest, StatusByCallerAndMethod) {
  struct Case { std::string request; std::string status; bool player_reached; };
  const std::string play = "Argument0: play\r\n";
  const std::vector<Case> cases = {
      {"GET Version SAORI/1.0\r\n\r\n", "200 OK", false},
      {"GET Version SAORI/1.0\r\nSecurityLevel: Local\r\n\r\n", "200 OK", false},
      {"GET Version SAORI/1.0\r\nSecurityLevel: External\r\n\r\n", "400 Bad Request", false},
      {"EXECUTE SAORI/1.0\r\n" + play + "\r\n", "204 No Content", true},
      {"EXECUTE SAORI/1.0\r\nSecurityLevel: local\r\n" + play + "\r\n", "204 No Content", true},
      {"EXECUTE SAORI/1.0\r\nSecurityLevel: Local \r\n" + play + "\r\n", "204 No Content", true},
      {"EXECUTE SAORI/1.0\r\nSecurityLevel: External\r\n" + play + "\r\n", "400 Bad Request", false},
      {"EXECUTE SAORI/1.0\r\nSecurityLevel: External\r\nSecurityLevel: Local\r\n" + play + "\r\n",
       "400 Bad Request", false},
      {"EXECUTE SAORI/1.0\r\nSecurityLevel: Local\r\nSecurityLevel: External\r\n" + play + "\r\n",
       "204 No Content", true},
      {"EXECUTE SAORI/1.0\r\nSecurityLevel: Local\r\n\r\n", "400 Bad Request", false},
      {"EXECUTE SAORI/1.0\r\nargument0: play\r\n\r\n", "400 Bad Request", false},
      {"EXECUTE SAORI/2.0\r\n" + play + "\r\n", "204 No Content", true},
      {"execute SAORI/1.0\r\n" + play + "\r\n", "400 Bad Request", false},
      {"GET SAORI/1.0\r\n" + play + "\r\n", "400 Bad Request", false},
      {"EXECUTE\r\n" + play + "\r\n", "400 Bad Request", false},
      {"", "400 Bad Request", false},
  };
  for (const Case& c : cases) {
    player->received.clear();
    EXPECT_EQ(host.Request(c.request), Answer(c.status)) << c.request;
    EXPECT_EQ(!player->received.empty(), c.player_reached) << c.request;
  }
}

TEST_F(EvaluateRequestTest, EmptyArgument0StillReachesTheDispatcher) {
  // The dispatcher searches for the player and, with it running, answers an
  // unknown word without "Argument1" with 204.
  EXPECT_EQ(host.Request(ExecuteText({{"Argument0", ""}})), Answer("204 No Content"));
  desktop.window(reinterpret_cast<platform::WindowHandle>(0x10)).title = "closed";
  EXPECT_EQ(host.Request(ExecuteText({{"Argument0", ""}})), Answer("400 Bad Request"));
}

TEST_F(EvaluateRequestTest, CharsetAndSenderAreTheModulesOwnAndNeverTwice) {
  player->volume = 255;
  EXPECT_EQ(host.Request(ExecuteText({{"Sender", "someone"},
                                      {"Charset", "UTF-8"},
                                      {"Argument0", "getvolume"}})),
            "SAORI/1.0 200 OK\r\nCharset: Shift_JIS\r\nResult: 100\r\nSender: nirevo\r\n\r\n");
}

}  // namespace
}  // namespace nirevo
