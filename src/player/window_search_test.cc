#include "player/window_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/sim_desktop.h"

namespace nirevo::player {
namespace {

using platform::WindowHandle;
using test::SimDesktop;

constexpr char kInstalled[] = "C:\\Program Files\\Winamp\\winamp.exe";

class WindowSearchTest : public ::testing::Test {
 protected:
  WindowHandle Add(const std::string& title, std::uint32_t pid, const std::string& path) {
    desktop.process(pid).image_path = path;
    desktop.process(pid).snapshot_name = path;
    return desktop.AddWindow(title, pid);
  }
  WindowHandle Find() { return FindPlayerWindow(desktop, kPlayerTitleText); }
  void TearDown() override { EXPECT_TRUE(desktop.Balanced()); }

  SimDesktop desktop;
};

// The image path is read through PSAPI on the NT family and from the
// Toolhelp walk on the 95 family; every path test holds on both.
constexpr std::uint32_t kBothPlatforms[] = {platform::kPlatformWin32Nt,
                                            platform::kPlatformWin32Windows};

// Whether the search, on a desktop of the given platform with this one
// window, finds it.
bool FoundAlone(std::uint32_t platform_id, const std::string& title, const std::string& path) {
  SimDesktop fresh;
  fresh.platform_id = platform_id;
  fresh.process(7).image_path = path;
  fresh.process(7).snapshot_name = path;
  const WindowHandle window = fresh.AddWindow(title, 7);
  const WindowHandle found = FindPlayerWindow(fresh, kPlayerTitleText);
  EXPECT_TRUE(fresh.Balanced());
  EXPECT_TRUE(found == nullptr || found == window);
  return found != nullptr;
}

TEST_F(WindowSearchTest, QualifiesByTitleAndImagePath) {
  struct Case { std::string title; std::string path; bool qualifies; };
  const std::vector<Case> cases = {
      {"Winamp", "D:\\Program Files\\Winamp\\winamp.exe", true},
      {"1. Artist - Title - Winamp", kInstalled, true},
      {"Winamp", "D:\\Program Files\\WINAMP\\winamp.exe", false},
      {"Winamp", "D:\\Program Files\\Winamp\\Winamp.exe", false},
      {"Winamp", "D:\\Tools\\winamp.exe", false},
      {"Winamp", "C:\\My Winamp\\winamp.exe", false},
      {"Winamp", "C:\\Program Files\\NotWinamp\\winamp.exe", false},
      {"Winamp", "D:/Program Files/Winamp/winamp.exe", false},
      {"winamp", kInstalled, false},
      {"Winamp AL", kInstalled, false},
      {"Winamp - Winamp AL", kInstalled, false},
      {"notes about Winamp.txt - Editor", "C:\\Windows\\notepad.exe", false},
      {"", kInstalled, false},
  };
  for (std::uint32_t platform_id : kBothPlatforms) {
    for (const Case& c : cases) {
      EXPECT_EQ(FoundAlone(platform_id, c.title, c.path), c.qualifies)
          << c.title << " | " << c.path << " | platform " << platform_id;
    }
  }
}

TEST_F(WindowSearchTest, NoWindowsNoPlayer) { EXPECT_EQ(Find(), nullptr); }

TEST_F(WindowSearchTest, TheLastQualifyingWindowWinsAndDecoysDoNotClearIt) {
  Add("Winamp", 1, kInstalled);
  WindowHandle second = Add("2. Other - Winamp", 2, kInstalled);
  Add("Winamp AL", 2, kInstalled);
  Add("Winamp.txt - Editor", 3, "C:\\Windows\\notepad.exe");
  Add("Calculator", 4, kInstalled);
  EXPECT_EQ(Find(), second);
}

TEST_F(WindowSearchTest, OnlyTheFirst254TitleBytesAreTested) {
  SimDesktop other;
  other.process(1).image_path = kInstalled;
  other.AddWindow(std::string(249, 'x') + "Winamp", 1);  // ends at byte 255
  EXPECT_EQ(FindPlayerWindow(other, kPlayerTitleText), nullptr);
  WindowHandle fits = Add(std::string(248, 'x') + "Winamp", 1, kInstalled);
  EXPECT_EQ(Find(), fits);
}

TEST_F(WindowSearchTest, ImagePathIsCutAt254Bytes) {
  // "\\Winamp\\winamp.exe" ending at byte 254 is seen; ending at byte 255, or
  // in a longer path, it is cut off, and nothing is written past the
  // 255-byte buffer (the sanitizer watches it).
  const auto path_ending_at = [](std::size_t bytes, std::size_t tail) {
    const std::string fragment = "\\Winamp\\winamp.exe";
    return "C:\\" + std::string(bytes - 3 - fragment.size(), 'd') + fragment +
           std::string(tail, 'x');
  };
  struct Case { std::string path; bool seen; };
  const std::vector<Case> cases = {{path_ending_at(254, 0), true},
                                   {path_ending_at(255, 0), false},
                                   {path_ending_at(255, 4), false}};
  for (std::uint32_t platform_id : kBothPlatforms) {
    for (const Case& c : cases) {
      EXPECT_EQ(FoundAlone(platform_id, "Winamp", c.path), c.seen)
          << c.path.size() << " bytes, platform " << platform_id;
    }
  }
}

TEST_F(WindowSearchTest, OnlyTitleMatchesCostAPathLookup) {
  Add("Calculator", 1, kInstalled);
  Add("Winamp AL", 1, kInstalled);
  EXPECT_EQ(Find(), nullptr);
  EXPECT_EQ(desktop.libraries_loaded_ever(), 0);
  EXPECT_EQ(desktop.processes_opened_ever(), 0);
}

TEST_F(WindowSearchTest, ProcessThatCannotBeOpenedDoesNotQualify) {
  Add("Winamp", 1, kInstalled);
  desktop.process(1).openable = false;
  EXPECT_EQ(Find(), nullptr);
  EXPECT_EQ(desktop.libraries_loaded_ever(), 1);
}

TEST_F(WindowSearchTest, MissingPsapiOrEntryPointsFindNothing) {
  Add("Winamp", 1, kInstalled);
  desktop.psapi_present = false;
  EXPECT_EQ(Find(), nullptr);
  desktop.psapi_present = true;
  for (const char* name : {"EnumProcessModules", "GetModuleFileNameExA"}) {
    desktop.missing_entry_points = {name};
    EXPECT_EQ(Find(), nullptr) << name;
    EXPECT_EQ(desktop.processes_opened_ever(), 0) << name;
  }
}

TEST_F(WindowSearchTest, ToolhelpPathOnTheWindows95Family) {
  desktop.platform_id = platform::kPlatformWin32Windows;
  Add("Notepad", 1, "C:\\WINDOWS\\NOTEPAD.EXE");
  WindowHandle player = Add("Winamp", 2, kInstalled);
  EXPECT_EQ(Find(), player);
  EXPECT_EQ(desktop.libraries_loaded_ever(), 0);

  desktop.process(2).snapshot_name = "winamp.exe";  // a walk that gives file names only
  EXPECT_EQ(Find(), nullptr);

  desktop.process(2).snapshot_name = kInstalled;
  for (const char* name : {"CreateToolhelp32Snapshot", "Process32First", "Process32Next"}) {
    desktop.missing_entry_points = {name};
    EXPECT_EQ(Find(), nullptr) << name;
  }
}

TEST_F(WindowSearchTest, ProcessMissingFromTheSnapshotDoesNotQualify) {
  desktop.platform_id = platform::kPlatformWin32Windows;
  desktop.process(1).snapshot_name = "C:\\other.exe";
  desktop.AddWindow("Winamp", 9);  // process 9 is not in the snapshot
  EXPECT_EQ(Find(), nullptr);
}

TEST_F(WindowSearchTest, UnknownPlatformIdsFindNothing) {
  Add("Winamp", 1, kInstalled);
  for (std::uint32_t id : {0u, 3u, 4u}) {
    desktop.platform_id = id;
    EXPECT_EQ(Find(), nullptr) << id;
  }
}

TEST_F(WindowSearchTest, SearchTextLongerThanTheRecordIsCut) {
  WindowHandle player = Add(std::string(31, 'W') + "inamp", 1, kInstalled);
  EXPECT_EQ(FindPlayerWindow(desktop, (std::string(31, 'W') + "-anything").c_str()), player);
}

// What an observer was told, one line per window.
class VerdictLog : public SearchObserver {
 public:
  void Saw(const WindowVerdict& v) override {
    static const char* const kFailures[] = {
        "none", "version query failed", "unknown platform", "PSAPI missing", "PSAPI incomplete",
        "process not opened", "module not readable", "Toolhelp missing", "snapshot failed",
        "not in snapshot"};
    std::string line = std::string(v.title) + " | ";
    if (v.rejected_title) {
      line += "Winamp AL";
    } else {
      line += "pid " + std::to_string(v.trace.process_id) + " platform " +
              std::to_string(v.trace.platform_id) + " | ";
      line += v.path_found ? std::string(v.path) + (v.path_matches ? " | player" : " | other")
                           : kFailures[static_cast<int>(v.trace.failure)];
    }
    lines.push_back(line);
  }
  std::vector<std::string> lines;
};

TEST_F(WindowSearchTest, ObserverIsToldEachVerdictWithoutChangingTheSearch) {
  Add("Calculator", 1, kInstalled);
  Add("Winamp notes.txt - Editor", 2, "C:\\Windows\\notepad.exe");
  Add("Winamp", 3, "C:\\Tools\\winamp.exe");
  Add("Winamp AL", 4, kInstalled);
  Add("Winamp", 5, kInstalled);
  desktop.process(5).openable = false;
  WindowHandle player = Add("1. Artist - Title - Winamp", 6, kInstalled);
  desktop.AddWindow("Winamp", 9);  // no such process

  VerdictLog log;
  EXPECT_EQ(FindPlayerWindow(desktop, kPlayerTitleText, &log), player);
  EXPECT_EQ(log.lines, (std::vector<std::string>{
                           "Winamp notes.txt - Editor | pid 2 platform 2 | C:\\Windows\\notepad.exe | other",
                           "Winamp | pid 3 platform 2 | C:\\Tools\\winamp.exe | other",
                           "Winamp AL | Winamp AL",
                           "Winamp | pid 5 platform 2 | process not opened",
                           "1. Artist - Title - Winamp | pid 6 platform 2 | " + std::string(kInstalled) + " | player",
                           "Winamp | pid 9 platform 2 | process not opened",
                       }));
  // The same calls as without an observer: as many libraries and processes.
  const int libraries = desktop.libraries_loaded_ever();
  const int processes = desktop.processes_opened_ever();
  EXPECT_EQ(Find(), player);
  EXPECT_EQ(desktop.libraries_loaded_ever(), 2 * libraries);
  EXPECT_EQ(desktop.processes_opened_ever(), 2 * processes);

  desktop.platform_id = platform::kPlatformWin32Windows;
  log.lines.clear();
  EXPECT_EQ(FindPlayerWindow(desktop, kPlayerTitleText, &log), player);
  EXPECT_EQ(log.lines.back(), "Winamp | pid 9 platform 1 | not in snapshot");
  desktop.platform_id = 3;
  log.lines.clear();
  EXPECT_EQ(FindPlayerWindow(desktop, kPlayerTitleText, &log), nullptr);
  EXPECT_EQ(log.lines.back(), "Winamp | pid 9 platform 3 | unknown platform");
  desktop.platform_id = platform::kPlatformWin32Nt;
  desktop.psapi_present = false;
  log.lines.clear();
  EXPECT_EQ(FindPlayerWindow(desktop, kPlayerTitleText, &log), nullptr);
  EXPECT_EQ(log.lines.back(), "Winamp | pid 9 platform 2 | PSAPI missing");
}

}  // namespace
}  // namespace nirevo::player
