#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/player_fixture.h"

namespace nirevo::player {
namespace {

using test::Answer;
using test::Message;
using test::SimPlayer;
using test::UserMessage;

template <auto kMember>
void Set(SimPlayer& player, std::int32_t value) {
  player.*kMember = value;
}

struct QueryCase {
  std::string word;
  void (*set_state)(SimPlayer& player, std::int32_t value);
  std::int32_t answer;
  std::string result;
  Message message;
  friend void PrintTo(const QueryCase& c, std::ostream* out) {
    *out << c.word << " answered " << c.answer;
  }
};

class StatusQueriesTest : public test::PlayerFixture {
 protected:
  void Check(const QueryCase& c) {
    player.received.clear();
    c.set_state(player, c.answer);
    const std::string expected = Answer("200 OK", {{"Result", c.result}});
    EXPECT_EQ(host.Execute(c.word), expected) << c.word << " " << c.answer;
    EXPECT_EQ(player.received, std::vector<Message>{c.message}) << c.word;
    // An "Argument1", numeric or not, changes nothing.
    EXPECT_EQ(host.Execute(c.word, "7"), expected) << c.word;
    EXPECT_EQ(host.Execute(c.word, "x"), expected) << c.word;
  }
};

TEST_F(StatusQueriesTest, AnswersScaledToTheHostsUnits) {
  const Message playing = UserMessage(0, 104), shuffle = UserMessage(0, 250),
                repeat = UserMessage(0, 251), elapsed = UserMessage(0, 105),
                length = UserMessage(1, 105), count = UserMessage(0, 124),
                position = UserMessage(0, 125), volume = UserMessage(-666, 122);
  const std::vector<QueryCase> cases = {
      {"isplaying", Set<&SimPlayer::playing>, 1, "1", playing},
      {"isplaying", Set<&SimPlayer::playing>, 3, "3", playing},
      {"isshuffle", Set<&SimPlayer::shuffle>, 0, "0", shuffle},
      {"isrepeat", Set<&SimPlayer::repeat>, -1, "-1", repeat},
      {"getplaytime", Set<&SimPlayer::elapsed_ms>, 123456, "123", elapsed},
      {"getplaytime", Set<&SimPlayer::elapsed_ms>, 999, "0", elapsed},
      {"getplaytime", Set<&SimPlayer::elapsed_ms>, -1, "0", elapsed},
      {"getplaytime", Set<&SimPlayer::elapsed_ms>, -1500, "-1", elapsed},
      {"getplaytime", Set<&SimPlayer::elapsed_ms>, INT32_MIN, "-2147483", elapsed},
      {"gettracklen", Set<&SimPlayer::track_length>, 215, "215", length},
      {"gettracklen", Set<&SimPlayer::track_length>, INT32_MIN, "-2147483648", length},
      {"getlistlen", Set<&SimPlayer::list_length>, 12, "12", count},
      {"getlistpos", Set<&SimPlayer::position>, 0, "1", position},
      {"getlistpos", Set<&SimPlayer::position>, -1, "0", position},
      {"getlistpos", Set<&SimPlayer::position>, INT32_MAX, "-2147483648", position},
      {"getvolume", Set<&SimPlayer::volume>, 0, "0", volume},
      {"getvolume", Set<&SimPlayer::volume>, 1, "0", volume},
      {"getvolume", Set<&SimPlayer::volume>, 2, "0", volume},
      {"getvolume", Set<&SimPlayer::volume>, 3, "1", volume},
      {"getvolume", Set<&SimPlayer::volume>, 127, "49", volume},
      {"getvolume", Set<&SimPlayer::volume>, 128, "50", volume},
      {"getvolume", Set<&SimPlayer::volume>, 254, "99", volume},
      {"getvolume", Set<&SimPlayer::volume>, 255, "100", volume},
      {"getvolume", Set<&SimPlayer::volume>, -255, "-100", volume},
      // The product wraps beyond +-21474836.
      {"getvolume", Set<&SimPlayer::volume>, 21474837, "-8421504", volume},
      {"getvolume", Set<&SimPlayer::volume>, INT32_MIN, "0", volume},
  };
  for (const QueryCase& c : cases) Check(c);
}

}  // namespace
}  // namespace nirevo::player
