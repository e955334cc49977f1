#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "player/playlist_title.h"
#include "testing/player_fixture.h"

namespace nirevo::player {
namespace {

using namespace std::string_literals;
using test::Answer;
using test::Message;
using test::UserMessage;

class TitleCommandsTest : public test::PlayerFixture {
 protected:
  void SetTitles(const std::vector<std::string>& titles, std::uintptr_t base = 0x00400000) {
    player.SetPlaylist(player_process(), titles, base);
  }
};

TEST_F(TitleCommandsTest, GetTitleReadsTheCurrentEntry) {
  SetTitles({"1st", "2nd", "3rd"});
  player.position = 1;
  EXPECT_EQ(host.Execute("gettitle"), Answer("200 OK", {{"Result", "2nd"}}));
  EXPECT_EQ(player.received, (std::vector<Message>{UserMessage(0, 125), UserMessage(1, 212)}));
  EXPECT_EQ(desktop.processes_opened_ever(), 2);  // the search's and the read's

  // An empty argument, as an engine sends for an empty variable, is a number
  // that is not there: refused, and not taken for the current entry.
  for (const char* line : {"Argument1: ", "Argument1:"}) {
    player.received.clear();
    const std::string request = std::string("EXECUTE SAORI/1.0\r\nSecurityLevel: Local\r\n") +
                                "Argument0: gettitle\r\n" + line + "\r\n\r\n";
    EXPECT_EQ(host.Request(request), Answer("400 Bad Request")) << line;
    EXPECT_TRUE(player.received.empty()) << line;
  }
}

TEST_F(TitleCommandsTest, TitleThatCannotBeReadLeavesNoResult) {
  SetTitles({"only"});
  player.position = 5;  // the player has no address for it
  EXPECT_EQ(host.Execute("gettitle"), Answer("200 OK"));
  EXPECT_EQ(desktop.processes_opened_ever(), 1);  // the search's only

  player.position = 0;
  player_process().refused_access = platform::kProcessVmRead;
  EXPECT_EQ(host.Execute("gettitle"), Answer("200 OK"));

  player_process().refused_access = 0;
  player.title_address[0] = 0x7000;  // nothing readable there
  EXPECT_EQ(host.Execute("gettitle"), Answer("200 OK"));

  // The last 256 bytes run past the end of readable memory.
  player.title_address[0] = 0x00400000 + 512 - 100;
  EXPECT_EQ(host.Execute("gettitle"), Answer("200 OK"));
}

TEST_F(TitleCommandsTest, TitleBytesPassUnchanged) {
  const std::string longest(255, '\x82');
  SetTitles({"", longest, "\x83\x76\x83\x8c\x83\x43 - \xe9t\xe9"s, std::string(300, 'z')});
  const std::map<int, std::string> expected = {
      {1, ""}, {2, longest}, {3, "\x83\x76\x83\x8c\x83\x43 - \xe9t\xe9"s},
      {4, std::string(256, 'z')}};  // no zero byte within 256: all of them, no more
  for (const auto& [position, title] : expected) {
    const auto headers = title.empty() ? std::map<std::string, std::string>{}
                                       : std::map<std::string, std::string>{{"Result", title}};
    EXPECT_EQ(host.Execute("gettitle", std::to_string(position)), Answer("200 OK", headers))
        << position;
  }
}

TEST_F(TitleCommandsTest, TitlesAtHighAddressesAreReadWhole) {
  // A pointer-sized answer must not lose its upper half.
  const std::uintptr_t high = sizeof(void*) == 8 ? std::uintptr_t{0x7ff612340000} : 0xbff00000;
  SetTitles({"high"}, high);
  EXPECT_EQ(host.Execute("gettitle"), Answer("200 OK", {{"Result", "high"}}));
}

TEST_F(TitleCommandsTest, PlaylistListsEveryReadableEntryByIndex) {
  std::vector<std::string> titles;
  for (int i = 0; i < 12; ++i) titles.push_back("Track " + std::to_string(i));
  SetTitles(titles);
  player.title_address[4] = 0;  // no title for entry 4
  const std::string response = host.Execute("getplaylist", "ignored");

  std::string expected = "SAORI/1.0 200 OK\r\nCharset: Shift_JIS\r\nResult: 12\r\nSender: nirevo\r\n";
  for (int i : {0, 1, 10, 11, 2, 3, 5, 6, 7, 8, 9}) {
    expected += "Value" + std::to_string(i) + ": Track " + std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(response, expected + "\r\n");
  ASSERT_EQ(player.received.size(), 13u);
  EXPECT_EQ(player.received[0], UserMessage(0, 124));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(player.received[1 + i], UserMessage(i, 212));
}

TEST_F(TitleCommandsTest, PlaylistCountIsThePlayersOwn) {
  SetTitles({"a", "b", "c"});
  struct Case { std::int32_t count; std::map<std::string, std::string> headers; };
  const std::vector<Case> cases = {
      {0, {{"Result", "0"}}},
      {-1, {{"Result", "-1"}}},
      {INT32_MIN, {{"Result", "-2147483648"}}},
      {5, {{"Result", "5"}, {"Value0", "a"}, {"Value1", "b"}, {"Value2", "c"}}},
  };
  for (const Case& c : cases) {
    player.list_length = c.count;
    EXPECT_EQ(host.Execute("getplaylist"), Answer("200 OK", c.headers)) << c.count;
  }
}

TEST_F(TitleCommandsTest, EmptyTitleLeavesItsValueLineOut) {
  SetTitles({"a", "", "c"});
  EXPECT_EQ(host.Execute("getplaylist"),
            Answer("200 OK", {{"Result", "3"}, {"Value0", "a"}, {"Value2", "c"}}));
}

TEST(TitleTextTest, EndsWithinTheBuffer) {
  TitleBuffer buffer;
  buffer.fill('a');
  EXPECT_EQ(TitleText(buffer).size(), kTitleBufferSize);
  buffer[3] = '\0';
  EXPECT_EQ(TitleText(buffer), "aaa");
}

}  // namespace
}  // namespace nirevo::player
