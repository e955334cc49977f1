#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/player_arithmetic.h"
#include "testing/player_fixture.h"

namespace nirevo::player {
namespace {

using test::Answer;
using test::MenuMessage;
using test::Message;
using test::UserMessage;

class NumericTailTest : public test::PlayerFixture {};

TEST_F(NumericTailTest, ArgumentChecks) {
  struct Case { std::string argument; bool accepted; std::int32_t seconds; };
  const std::vector<Case> cases = {
      {"0", true, 0},           {"-0", true, 0},         {"007", true, 7},
      {"90", true, 90},         {"-5", true, -5},        {"123456789", true, 123456789},
      {"-12345678", true, -12345678}, {"000000000", true, 0},
      {"1234567890", false, 0}, {"-123456789", false, 0}, {"", false, 0},
      {"-", false, 0},          {"+5", false, 0},        {"5 ", false, 0},
        {"1.5", false, 0},       {"--5", false, 0},
      {"0x10", false, 0},       {"5-", false, 0},        {"\xef\xbc\x95", false, 0},
  };
  for (const Case& c : cases) {
    player.received.clear();
    player.jump_answer = 1;
    const std::string response = host.Execute("jumptime", c.argument);
    if (c.accepted) {
      EXPECT_EQ(response, Answer("200 OK", {{"Result", "1"}})) << c.argument;
      EXPECT_EQ(player.received,
                std::vector<Message>{UserMessage(WrappingMultiply(c.seconds, 1000), 106)})
          << c.argument;
    } else {
      EXPECT_EQ(response, Answer("400 Bad Request")) << c.argument;
      EXPECT_TRUE(player.received.empty()) << c.argument;
    }
  }
}

TEST_F(NumericTailTest, WordsWithoutArgument1AreDoneWithNothingSent) {
  for (std::string word : {"jumptime", "playtrack", "setvolume", "anything"}) {
    EXPECT_EQ(host.Execute(word), Answer("204 No Content")) << word;
  }
  EXPECT_TRUE(player.received.empty());
}

TEST_F(NumericTailTest, OnlyTheFirstArgument1Counts) {
  EXPECT_EQ(host.Request(test::ExecuteText(
                {{"Argument0", "setvolume"}, {"Argument1", "100"}, {"Argument1", "x"}})),
            Answer("204 No Content"));
  EXPECT_EQ(player.received, std::vector<Message>{UserMessage(255, 122)});
}

TEST_F(NumericTailTest, JumpTimeReportsThePlayersAnswer) {
  struct Case { std::string seconds; std::int32_t wparam; std::int32_t answer; std::string result; };
  const std::vector<Case> cases = {
      {"90", 90000, 0, "0"},
      {"-5", -5000, -1, "-1"},
      {"999999999", -727380968, 1, "1"},
      {"2147483", 2147483000, 0, "0"},
  };
  for (const Case& c : cases) {
    player.received.clear();
    player.jump_answer = c.answer;
    EXPECT_EQ(host.Execute("jumptime", c.seconds), Answer("200 OK", {{"Result", c.result}}))
        << c.seconds;
    EXPECT_EQ(player.received, std::vector<Message>{UserMessage(c.wparam, 106)}) << c.seconds;
  }
}

TEST_F(NumericTailTest, PlayTrackStopsSelectsAndPlays) {
  for (auto [number, index] : {std::pair{"1", 0}, {"0", -1}, {"12", 11}, {"-99999999", -100000000}}) {
    player.received.clear();
    EXPECT_EQ(host.Execute("playtrack", number), Answer("204 No Content")) << number;
    EXPECT_EQ(player.received, (std::vector<Message>{MenuMessage(40047), UserMessage(index, 121),
                                                     MenuMessage(40045)}))
        << number;
  }
  EXPECT_EQ(player.playing, 1);
}

TEST_F(NumericTailTest, SetVolumeSendsTheLevelAndReadsBack) {
  for (auto [percent, level] : {std::pair{"0", 1}, {"20", 51}, {"40", 102}, {"100", 255},
                                {"101", 258}, {"-1", -1}, {"-20", -49}}) {
    player.received.clear();
    EXPECT_EQ(host.Execute("setvolume", percent), Answer("204 No Content")) << percent;
    EXPECT_EQ(player.received, std::vector<Message>{UserMessage(level, 122)}) << percent;
  }
  for (int percent = 0; percent <= 100; ++percent) {
    host.Execute("setvolume", std::to_string(percent));
    EXPECT_EQ(host.Execute("getvolume"), Answer("200 OK", {{"Result", std::to_string(percent)}}));
  }
}

TEST_F(NumericTailTest, NumberedGetTitleCountsFromOne) {
  player.SetPlaylist(player_process(), {"a", "b", "c"});
  EXPECT_EQ(host.Execute("gettitle", "3"), Answer("200 OK", {{"Result", "c"}}));
  EXPECT_EQ(player.received, std::vector<Message>{UserMessage(2, 212)});
  EXPECT_EQ(host.Execute("gettitle", "4"), Answer("200 OK"));
  EXPECT_EQ(host.Execute("gettitle", "0"), Answer("200 OK"));
  EXPECT_EQ(host.Execute("gettitle", "abc"), Answer("400 Bad Request"));
}

}  // namespace
}  // namespace nirevo::player
