#include "check_report.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "testing/sim_desktop.h"

namespace nirevo::check {
namespace {

using test::SimDesktop;

TEST(CheckReportTest, EachWindowSaysWhyItsPathWasNotSeen) {
  SimDesktop desktop;
  const std::string installed = "C:\\Program Files\\Winamp\\winamp.exe";
  desktop.process(60).image_path = installed;
  desktop.process(60).openable = false;
  desktop.AddWindow("Locked - Winamp", 60);
  desktop.process(70).image_path = installed;
  desktop.process(70).modules_readable = false;
  desktop.AddWindow("Other bitness - Winamp", 70);
  desktop.AddPlayer();

  Report report(desktop);
  ASSERT_NE(player::FindPlayerWindow(desktop, player::kPlayerTitleText, &report), nullptr);
  ASSERT_EQ(report.lines().size(), 3u);
  EXPECT_NE(report.lines()[0].find("pid 60  title \"Locked - Winamp\"  path none: the process "
                                   "could not be opened  |"),
            std::string::npos)
      << report.lines()[0];
  EXPECT_NE(report.lines()[1].find("path none: the process's module list could not be read"),
            std::string::npos)
      << report.lines()[1];
  EXPECT_NE(report.lines()[2].find("path \"" + installed + "\""), std::string::npos);
  for (int i : {0, 1}) EXPECT_NE(report.lines()[i].find("=>  not the player"), std::string::npos);
  EXPECT_NE(report.lines()[2].find("=>  qualifies"), std::string::npos);
  EXPECT_TRUE(desktop.Balanced());
}

TEST(CheckReportTest, AWindowRejectedByTitleShowsItsOwnProcess) {
  SimDesktop desktop;
  desktop.process(80).image_path = "C:\\Program Files\\Winamp\\winamp.exe";
  desktop.AddWindow("Winamp AL - Winamp", 80);
  desktop.AddPlayer();

  Report report(desktop);
  ASSERT_NE(player::FindPlayerWindow(desktop, player::kPlayerTitleText, &report), nullptr);
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[0].find("pid 80  title \"Winamp AL - Winamp\"  path not looked up  |  "
                                   "title has \"Winamp\": yes, \"Winamp AL\": yes, path has "
                                   "\"\\Winamp\\winamp.exe\": -  =>  not the player"),
            std::string::npos)
      << report.lines()[0];
  EXPECT_TRUE(desktop.Balanced());
}

TEST(CheckReportTest, SaysWhetherThePlayerAnswers) {
  SimDesktop desktop;
  const platform::WindowHandle window = desktop.AddPlayer();
  const std::pair<int, const char*> states[] = {
      {0, "playback state 0 (stopped)"}, {1, "playback state 1 (playing)"},
      {3, "playback state 3 (paused)"},  {2, "playback state 2 (unknown)"}};
  for (const auto& [state, words] : states) {
    desktop.player(window).playing = state;
    const AnswerCheck answers = AskThePlayer(desktop, window);
    EXPECT_TRUE(answers.answered) << state;
    EXPECT_NE(answers.line.find(words), std::string::npos) << answers.line;
  }

  desktop.player(window).hangs_after = 0;
  const AnswerCheck hung = AskThePlayer(desktop, window);
  EXPECT_FALSE(hung.answered);
  EXPECT_NE(hung.line.find("the player does not answer: commands are refused"), std::string::npos)
      << hung.line;
}

}  // namespace
}  // namespace nirevo::check
