#include "player/dispatch_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "player/license_file.h"
#include "player/player_messages.h"
#include "testing/fault_injection.h"
#include "testing/player_fixture.h"

namespace nirevo::player {
namespace {

using test::Answer;
using test::ExecuteText;
using test::MenuMessage;
using test::Message;
using test::UserMessage;

class DispatchCommandTest : public test::PlayerFixture {};

TEST_F(DispatchCommandTest, TransportCommandsSendOneMessageEach) {
  struct Case { std::string word; Message message; };
  const std::vector<Case> cases = {
      {"prev", MenuMessage(40044)},       {"play", MenuMessage(40045)},
      {"pause", MenuMessage(40046)},      {"stop", MenuMessage(40047)},
      {"next", MenuMessage(40048)},       {"vol_up", MenuMessage(40058)},
      {"vol_down", MenuMessage(40059)},   {"shuffleon", UserMessage(1, 252)},
      {"shuffleoff", UserMessage(0, 252)}, {"repeaton", UserMessage(1, 253)},
      {"repeatoff", UserMessage(0, 253)},
  };
  for (const Case& c : cases) {
    player.received.clear();
    EXPECT_EQ(host.Execute(c.word), Answer("204 No Content")) << c.word;
    EXPECT_EQ(player.received, std::vector<Message>{c.message}) << c.word;
  }
}

TEST_F(DispatchCommandTest, StateFollowsTheCommands) {
  host.Execute("shuffleon");
  host.Execute("repeaton");
  host.Execute("play");
  EXPECT_EQ(player.shuffle, 1);
  EXPECT_EQ(player.repeat, 1);
  EXPECT_EQ(player.playing, 1);
  host.Execute("shuffleoff");
  EXPECT_EQ(player.shuffle, 0);
}

TEST_F(DispatchCommandTest, UnrecognisedWordsDependOnArgument1) {
  for (std::string word : {"Play", "play ", "PLAY", "unknown", ""}) {
    player.received.clear();
    EXPECT_EQ(host.Execute(word), Answer("204 No Content")) << word;
    EXPECT_EQ(host.Execute(word, "5"), Answer("400 Bad Request")) << word;
    EXPECT_EQ(host.Execute(word, "x"), Answer("400 Bad Request")) << word;
    EXPECT_TRUE(player.received.empty()) << word;
  }
}

TEST_F(DispatchCommandTest, OnlyTheFirstArgument0Counts) {
  EXPECT_EQ(host.Request(ExecuteText({{"Argument0", "stop"}, {"Argument0", "play"}})),
            Answer("204 No Content"));
  EXPECT_EQ(player.received, std::vector<Message>{MenuMessage(kCommandStop)});
}

TEST_F(DispatchCommandTest, IsWinampRunAnswersEitherWay) {
  EXPECT_EQ(host.Execute("iswinamprun"), Answer("200 OK", {{"Result", "1"}}));
  desktop.window(window).title = "closed";
  EXPECT_EQ(host.Execute("iswinamprun"), Answer("200 OK", {{"Result", "0"}}));
  EXPECT_TRUE(player.received.empty());
}

TEST_F(DispatchCommandTest, EveryPlayerCommandIsRefusedWhenThePlayerIsNotRunning) {
  desktop.window(window).title = "closed";
  for (std::string word : {"play", "getvolume", "gettitle", "getplaylist", "unknown", ""}) {
    EXPECT_EQ(host.Execute(word), Answer("400 Bad Request")) << word;
    EXPECT_EQ(host.Execute(word, "1"), Answer("400 Bad Request")) << word;
  }
  EXPECT_TRUE(player.received.empty());
}

// The module directory is "C:\nirevo\" (the test host's load text).
class LicenseTest : public DispatchCommandTest {
 protected:
  static constexpr char kPath[] = "C:\\nirevo\\nirevo_license.txt";
};

TEST_F(LicenseTest, WritesTheNoticeOnceEvenWhenAskedTwice) {
  desktop.window(window).title = "closed";  // works without the player
  EXPECT_EQ(host.Execute("license"), Answer("204 No Content"));
  EXPECT_EQ(host.Execute("license", "1"), Answer("204 No Content"));
  EXPECT_EQ(desktop.files, (std::map<std::string, std::string>{{kPath, std::string(kLicenseText)}}));
  EXPECT_EQ(desktop.processes_opened_ever(), 0);
  EXPECT_TRUE(player.received.empty());
}

TEST_F(LicenseTest, NoticeNamesTheHolderAndEndsInALineFeed) {
  EXPECT_EQ(kLicenseText.rfind("Copyright (c) 2026 the nirevo authors.\n", 0), 0u);
  EXPECT_EQ(kLicenseText.back(), '\n');
  EXPECT_EQ(kLicenseText.find('\r'), std::string_view::npos);
}

TEST_F(LicenseTest, NoticeIsTheShippedLicenceFile) {
  std::ifstream file(std::filesystem::path(NIREVO_SOURCE_DIR) / "LICENSE", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), kLicenseText);
}

TEST_F(LicenseTest, PathIsTheDirectoryTextFollowedByTheFileName) {
  // No separator is inserted: without a final one the file lands beside the
  // directory, named by plain concatenation.
  host.Load("C:\\nirevo");
  EXPECT_EQ(host.Execute("license"), Answer("204 No Content"));
  host.Load("C:\\nirevo\\missing\\");
  EXPECT_EQ(host.Execute("license"), Answer("400 Bad Request"));
  EXPECT_EQ(desktop.files,
            (std::map<std::string, std::string>{{"C:\\nirevonirevo_license.txt", std::string(kLicenseText)}}));
}

TEST_F(LicenseTest, FileHeldByAnotherProgramIsRefused) {
  desktop.locked_files.insert(kPath);
  EXPECT_EQ(host.Execute("license"), Answer("400 Bad Request"));
  EXPECT_TRUE(desktop.files.empty());
}

TEST_F(LicenseTest, FailedOpenWriteOrCloseIsRefused) {
  test::FaultInjection faults(desktop);
  test::TestHost faulty_host(desktop, faults);
  // The platform calls of "license", in order: open, write, close.
  for (int failing : {1, 2, 3}) {
    faults.FailCall(failing);
    EXPECT_EQ(faulty_host.Execute("license"), Answer("400 Bad Request")) << "call " << failing;
    EXPECT_TRUE(faults.failure_injected()) << "call " << failing;
    EXPECT_EQ(desktop.live_handles(), 0u) << "call " << failing;
  }
}

TEST_F(LicenseTest, DirectoryWithAZeroByteIsRefused) {
  // The path would end at the zero byte and name another file.
  host.Load(std::string("C:\\nirevo\\") + std::string(1, '\0'));
  EXPECT_EQ(host.Execute("license"), Answer("400 Bad Request"));
  EXPECT_TRUE(desktop.files.empty());
}

}  // namespace
}  // namespace nirevo::player
