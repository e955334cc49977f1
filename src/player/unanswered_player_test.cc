// A player that stops answering, or whose window closes after the search,
// never holds the host longer than one bounded wait and is never reported as
// having answered: the request is refused like one for a player that is not
// running, nothing read from it is sent on, and nothing more is sent to it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/player_channel.h"
#include "testing/player_fixture.h"

namespace nirevo::player {
namespace {

using test::Answer;

struct CommandCase {
  std::string word;
  std::string argument;  // empty: no "Argument1"
  int messages;          // what the command sends to a player that answers
};

const std::vector<CommandCase> kCommands = {
    {"play", "", 1},         {"vol_down", "", 1},     {"shuffleon", "", 1},
    {"repeatoff", "", 1},    {"isplaying", "", 1},    {"getplaytime", "", 1},
    {"getlistpos", "", 1},   {"getvolume", "", 1},    {"gettitle", "", 2},
    {"gettitle", "2", 1},    {"getplaylist", "", 4},  {"jumptime", "90", 1},
    {"playtrack", "2", 3},   {"setvolume", "40", 1},
};

class UnansweredPlayerTest : public test::PlayerFixture {
 protected:
  UnansweredPlayerTest() {
    player.SetPlaylist(player_process(), {"one", "two", "three"});
    player.position = 1;
  }

  std::string Execute(const CommandCase& c) {
    return c.argument.empty() ? host.Execute(c.word) : host.Execute(c.word, c.argument);
  }
};

TEST_F(UnansweredPlayerTest, EveryCommandIsRefusedAtItsFirstUnansweredMessage) {
  for (const CommandCase& c : kCommands) {
    const std::string what = c.word + " " + c.argument;
    for (int answered = 0; answered < c.messages; ++answered) {
      player.received.clear();
      player.unanswered.clear();
      player.hangs_after = answered;
      EXPECT_EQ(Execute(c), Answer("400 Bad Request")) << what << ", hung after " << answered;
      EXPECT_EQ(player.received.size(), static_cast<std::size_t>(answered)) << what;
      EXPECT_EQ(player.unanswered.size(), 1u) << what << ": sent on after the first timeout";
      player.hangs_after.reset();

      player.received.clear();
      player.closes_after = answered;
      EXPECT_EQ(Execute(c), Answer("400 Bad Request")) << what << ", closed after " << answered;
      EXPECT_EQ(player.received.size(), static_cast<std::size_t>(answered)) << what;
      player.closes_after.reset();
    }
    player.received.clear();
    EXPECT_NE(Execute(c), Answer("400 Bad Request")) << what << " once the player answers again";
    EXPECT_EQ(player.received.size(), static_cast<std::size_t>(c.messages)) << what;
  }
}

TEST_F(UnansweredPlayerTest, CommandsThatSendNothingAreUnchanged) {
  player.hangs_after = 0;
  EXPECT_EQ(host.Execute("iswinamprun"), Answer("200 OK", {{"Result", "1"}}));
  EXPECT_EQ(host.Execute("license"), Answer("204 No Content"));
  EXPECT_EQ(host.Execute("nosuchword"), Answer("204 No Content"));
  EXPECT_TRUE(player.unanswered.empty());
}

TEST_F(UnansweredPlayerTest, EveryWaitIsBoundedAndGivesUpOnAHungPlayer) {
  host.Execute("getvolume");
  // Messages sent to the host's own thread meanwhile are still served
  // (no SMTO_BLOCK), a window the system judges hung is not waited for, and
  // the wait ends well before the system itself would call the player hung.
  EXPECT_EQ(player.last_send_flags, platform::kSendNormal | platform::kSendAbortIfHung);
  EXPECT_GT(player.last_send_timeout_ms, 0u);
  EXPECT_LT(player.last_send_timeout_ms, 5000u);
}

}  // namespace
}  // namespace nirevo::player
