// A desktop with the player running and a host loaded with a module directory;
// after every test, every block, handle and library is back.
#ifndef NIREVO_TESTING_PLAYER_FIXTURE_H_
#define NIREVO_TESTING_PLAYER_FIXTURE_H_

#include <gtest/gtest.h>

#include "testing/sim_desktop.h"
#include "testing/test_host.h"

namespace nirevo::test {

class PlayerFixture : public ::testing::Test {
 protected:
  PlayerFixture() : window(desktop.AddPlayer()), player(desktop.player(window)) {}
  void TearDown() override { EXPECT_TRUE(desktop.Balanced()); }

  SimProcess& player_process() { return desktop.process(kPlayerProcessId); }

  SimDesktop desktop;
  platform::WindowHandle window;
  SimPlayer& player;
  TestHost host{desktop};
};

}  // namespace nirevo::test

#endif  // NIREVO_TESTING_PLAYER_FIXTURE_H_
