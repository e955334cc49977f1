#include "platform/owned.h"

#include <gtest/gtest.h>

#include <utility>

#include "testing/sim_desktop.h"

namespace nirevo::platform {
namespace {

class OwnedTest : public ::testing::Test {
 protected:
  void SetUp() override { desktop.process(1); desktop.process(2); }
  test::SimDesktop desktop;
};

TEST_F(OwnedTest, MoveAssignmentReleasesTheOldHandle) {
  OwnedProcess first(desktop, desktop.OpenProcess(kProcessVmRead, 1));
  OwnedProcess second(desktop, desktop.OpenProcess(kProcessVmRead, 2));
  ASSERT_EQ(desktop.live_handles(), 2u);
  first = std::move(second);
  EXPECT_EQ(desktop.live_handles(), 1u);
  EXPECT_FALSE(second);
  EXPECT_TRUE(first);
}

TEST_F(OwnedTest, EmptyValuesAreNeverReleased) {
  { OwnedProcess none(desktop, nullptr); }
  { OwnedSnapshot none(desktop, InvalidHandleValue()); }
  { OwnedLibrary none(desktop, nullptr); }
  { OwnedBlock none(desktop, nullptr); }
  EXPECT_TRUE(desktop.Balanced());
}

TEST_F(OwnedTest, MovedFromOwnerReleasesNothing) {
  OwnedLibrary library(desktop, desktop.LoadLibraryA("PSAPI.DLL"));
  {
    OwnedLibrary moved(std::move(library));
    EXPECT_EQ(desktop.loaded_libraries(), 1);
  }
  EXPECT_TRUE(desktop.Balanced());
}

}  // namespace
}  // namespace nirevo::platform
