// End-to-end tests: the real nirevo.dll loaded by a SAORI host against the
// stand-in player in a process of its own, with real window enumeration,
// cross-process messages and memory reads.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "block_releases.h"
#include "exhausted_memory.h"
#include "player/player_channel.h"
#include "player_process.h"
#include "saori_host.h"
#include "testing/saori_answer.h"
#include "toolhelp_widening.h"
#include "waits.h"
#include "win32_arguments.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

using nirevo::test::Answer;

std::string LogLine(int message, long long wparam, long long lparam) {
  return std::to_string(message) + " " + std::to_string(wparam) + " " + std::to_string(lparam);
}
std::string User(long long wparam, int operation) { return LogLine(0x400, wparam, operation); }
std::string Menu(int id) { return LogLine(0x111, id, 0); }

// The player that the tests which only need one running share: started by
// the first of them, reset (its state and log) before each, and asked to
// exit after the last, or before a test that needs no player running. A
// test about a player's start, exit or freeze, or with options, starts one
// of its own.
std::unique_ptr<PlayerProcess>& SharedPlayer() {
  static std::unique_ptr<PlayerProcess> shared;
  return shared;
}
void StopSharedPlayer() { SharedPlayer().reset(); }

class SharedPlayerEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { StopSharedPlayer(); }
};
[[maybe_unused]] ::testing::Environment* const kSharedPlayer =
    ::testing::AddGlobalTestEnvironment(new SharedPlayerEnvironment);

class ModuleTest : public ::testing::Test {
 protected:
  explicit ModuleTest(const std::string& dll = ModulePath()) : module(dll) {}

  void SetUp() override {
    ASSERT_TRUE(module.ok()) << module.error();
    // Under the prefix's Windows 98 setting the module takes the Toolhelp
    // path, which needs full paths to find the player.
    if (ReportedPlatformId() == VER_PLATFORM_WIN32_WINDOWS) {
      ASSERT_TRUE(WidenToolhelpPaths(module.library()));
    }
    ForgetReleasedBlocks();
    ASSERT_TRUE(NoteBlockReleases(module.library()));
    ASSERT_EQ(module.Load(module.directory()), 1);
  }
  void TearDown() override {
    EXPECT_TRUE(module.answers_were_fixed_blocks());
    // Each block handed to load or request was freed by the module, once,
    // and nothing else was.
    EXPECT_EQ(ReleasedBlocks(), module.blocks_handed_over());
  }

  // A running player for a test that only needs one: the shared one, reset.
  void UseRunningPlayer() {
    std::unique_ptr<PlayerProcess>& shared = SharedPlayer();
    if (!shared || !shared->alive()) shared = std::make_unique<PlayerProcess>(InstalledPlayer());
    ASSERT_TRUE(shared->running()) << shared->error();
    shared->Control("reset");
    player = shared.get();
  }
  // A player of this test's own, started with `options`, and no other: the
  // module would take the last window that qualifies.
  void StartOwnPlayer(const std::string& options = "") {
    StopSharedPlayer();
    own_player = std::make_unique<PlayerProcess>(InstalledPlayer(), options);
    player = own_player.get();
    ASSERT_TRUE(player->running()) << player->error();
  }

  std::string Execute(const std::vector<std::string>& arguments) {
    const std::optional<std::string> response =
        module.Request(saori::ExecuteRequest(arguments.data(), arguments.size()));
    if (!response) return "<null>";
    EXPECT_TRUE(nirevo::test::IsWellFormedResponse(*response)) << *response;
    return *response;
  }

  saori::Module module;
  PlayerProcess* player = nullptr;
  std::unique_ptr<PlayerProcess> own_player;
};

TEST_F(ModuleTest, AnswersRequestsShapedLikeThoseOfRealHosts) {
  StopSharedPlayer();  // no player runs
  const std::string version = Answer("200 OK");
  // A version query with and without a security level, one with a trailing
  // zero byte allocated beyond the length.
  EXPECT_EQ(module.Request("GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: SSP\r\n\r\n"),
            version);
  EXPECT_EQ(module.Request("GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: SSP\r\n"
                           "SecurityLevel: Local\r\n\r\n",
                           true),
            version);
  // Sorted headers, a lower-case level and no empty values.
  EXPECT_EQ(module.Request("EXECUTE SAORI/1.0\r\nArgument0: iswinamprun\r\nCharset: Shift_JIS\r\n"
                           "SecurityLevel: local\r\nSender: materia\r\n\r\n"),
            Answer("200 OK", {{"Result", "0"}}));
  EXPECT_EQ(module.Request("EXECUTE SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: SSP\r\n"
                           "SecurityLevel: External\r\nArgument0: iswinamprun\r\n\r\n"),
            Answer("400 Bad Request"));
}

TEST_F(ModuleTest, PlayerNotRunning) {
  StopSharedPlayer();  // no player runs
  EXPECT_EQ(Execute({"iswinamprun"}), Answer("200 OK", {{"Result", "0"}}));
  for (const char* word : {"play", "getvolume", "getplaylist", "gettitle"}) {
    EXPECT_EQ(Execute({word}), Answer("400 Bad Request")) << word;
  }
}

TEST_F(ModuleTest, TransportCommandsReachThePlayer) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"prev", Menu(40044)},       {"play", Menu(40045)},       {"pause", Menu(40046)},
      {"stop", Menu(40047)},       {"next", Menu(40048)},       {"vol_up", Menu(40058)},
      {"vol_down", Menu(40059)},   {"shuffleon", User(1, 252)}, {"shuffleoff", User(0, 252)},
      {"repeaton", User(1, 253)},  {"repeatoff", User(0, 253)},
  };
  for (const auto& [word, line] : cases) {
    player->ClearLog();
    EXPECT_EQ(Execute({word}), Answer("204 No Content")) << word;
    EXPECT_EQ(player->Log(), Lines{line}) << word;
  }
  EXPECT_EQ(Execute({"iswinamprun"}), Answer("200 OK", {{"Result", "1"}}));
}

// Every message waits the module's bound, and a player that is hung is not
// waited for at all.
TEST_F(ModuleTest, EveryMessageWaitsABoundedTime) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  ASSERT_TRUE(NoteSendWaits(module.library()));
  ForgetSendWaits();
  for (const char* word : {"play", "getvolume", "getplaylist", "gettitle", "setvolume"}) {
    Execute({word, "1"});
  }
  ASSERT_FALSE(SendWaits().empty());
  for (const SendWait& wait : SendWaits()) {
    EXPECT_EQ(wait.flags, static_cast<UINT>(SMTO_NORMAL | SMTO_ABORTIFHUNG));
    EXPECT_EQ(wait.timeout_ms, nirevo::player::kPlayerAnswerTimeoutMs);
  }
}

// A read that moves fewer bytes than asked is a failed read, even when Win32
// reports success: the title is not answered.
TEST_F(ModuleTest, AShortReadIsAFailedRead) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  const std::string whole = Execute({"gettitle", "2"});
  ASSERT_NE(whole, Answer("200 OK"));
  ASSERT_TRUE(ShortenReads(module.library(), true));
  EXPECT_EQ(Execute({"gettitle", "2"}), Answer("200 OK"));
  ASSERT_TRUE(ShortenReads(module.library(), false));
  EXPECT_EQ(Execute({"gettitle", "2"}), whole);
}

TEST_F(ModuleTest, StatusQueriesReadThePlayersState) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  player->Control("set playing 1\nset shuffle 1\nset repeat 0\nset elapsed 123456\n"
                  "set length 215\nset position 1\nset volume 128");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"isplaying", "1"},   {"isshuffle", "1"},   {"isrepeat", "0"},  {"getplaytime", "123"},
      {"gettracklen", "215"}, {"getlistlen", "3"}, {"getlistpos", "2"}, {"getvolume", "50"},
  };
  for (const auto& [word, result] : cases) {
    EXPECT_EQ(Execute({word}), Answer("200 OK", {{"Result", result}})) << word;
  }
  EXPECT_EQ(player->Log(), (Lines{User(0, 104), User(0, 250), User(0, 251), User(0, 105),
                                  User(1, 105), User(0, 124), User(0, 125), User(-666, 122)}));
}

TEST_F(ModuleTest, TitlesComeOutOfThePlayersMemory) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  player->Control("playlist\tFirst\t\x83\x76\x83\x8c\x83\x43\x83\x8a\x83\x58\x83\x67\tThird");
  player->Control("set position 2");
  EXPECT_EQ(Execute({"gettitle"}), Answer("200 OK", {{"Result", "Third"}}));
  EXPECT_EQ(Execute({"gettitle", "2"}),
            Answer("200 OK", {{"Result", "\x83\x76\x83\x8c\x83\x43\x83\x8a\x83\x58\x83\x67"}}));
  EXPECT_EQ(Execute({"gettitle", "4"}), Answer("200 OK"));
  EXPECT_EQ(player->Log(), (Lines{User(0, 125), User(2, 212), User(1, 212), User(3, 212)}));
}

TEST_F(ModuleTest, WholePlaylistWithEntriesThatCannotBeRead) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  std::string script = "playlist";
  std::map<std::string, std::string> expected = {{"Result", "12"}};
  for (int i = 0; i < 12; ++i) {
    script += "\tTrack " + std::to_string(i);
    if (i != 4 && i != 7) expected["Value" + std::to_string(i)] = "Track " + std::to_string(i);
  }
  player->Control(script);
  player->Control("unreadable 4\nnoaddress 7");
  EXPECT_EQ(Execute({"getplaylist"}), Answer("200 OK", expected));
  EXPECT_EQ(player->Log().size(), 13u);
}

TEST_F(ModuleTest, TitlesAboveFourGibibytesAreReadWhole) {
  ASSERT_NO_FATAL_FAILURE(StartOwnPlayer("--titles-high"));
  const LRESULT address = SendMessageA(player->window(), WM_USER, 0, 212);
  ASSERT_GT(static_cast<unsigned long long>(address), 0xffffffffull);
  player->ClearLog();
  EXPECT_EQ(Execute({"gettitle", "1"}), Answer("200 OK", {{"Result", "Artist - Title"}}));
  EXPECT_EQ(Execute({"getplaylist"}),
            Answer("200 OK", {{"Result", "3"},
                              {"Value0", "Artist - Title"},
                              {"Value1", "Second Artist - Second Title"},
                              {"Value2", "Third Artist - Third Title"}}));
}

TEST_F(ModuleTest, TitlesBelowFourGibibytesAreReadToo) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  const LRESULT address = SendMessageA(player->window(), WM_USER, 0, 212);
  ASSERT_NE(address, 0);
  ASSERT_LE(static_cast<unsigned long long>(address), 0xffffffffull);
  EXPECT_EQ(Execute({"gettitle", "1"}), Answer("200 OK", {{"Result", "Artist - Title"}}));
}

TEST_F(ModuleTest, SeekTrackAndVolume) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  player->Control("set jump_answer 0");
  EXPECT_EQ(Execute({"jumptime", "90"}), Answer("200 OK", {{"Result", "0"}}));
  EXPECT_EQ(Execute({"playtrack", "2"}), Answer("204 No Content"));
  EXPECT_EQ(Execute({"setvolume", "20"}), Answer("204 No Content"));
  EXPECT_EQ(Execute({"getvolume"}), Answer("200 OK", {{"Result", "20"}}));
  EXPECT_EQ(Execute({"setvolume", "x"}), Answer("400 Bad Request"));
  EXPECT_EQ(Execute({"setvolume"}), Answer("204 No Content"));
  EXPECT_EQ(Execute({"jumptime", "999999999"}), Answer("200 OK", {{"Result", "0"}}));
  EXPECT_EQ(player->Log(), (Lines{User(90000, 106), Menu(40047), User(1, 121), Menu(40045),
                                  User(51, 122), User(-666, 122), User(-727380968, 106)}));
  EXPECT_EQ(Execute({"getlistpos"}), Answer("200 OK", {{"Result", "2"}}));
  EXPECT_EQ(Execute({"isplaying"}), Answer("200 OK", {{"Result", "1"}}));
}

TEST_F(ModuleTest, DecoyWindowsAreNotThePlayer) {
  StopSharedPlayer();  // no player runs
  TempDirectory decoys;
  const std::string editor = decoys.path() + "editor.exe";
  ASSERT_TRUE(CopyFileA(InstalledPlayer().c_str(), editor.c_str(), FALSE));
  PlayerProcess notes(editor, "--title \"Winamp notes.txt - Editor\"");
  ASSERT_TRUE(notes.running()) << notes.error();
  EXPECT_EQ(Execute({"iswinamprun"}), Answer("200 OK", {{"Result", "0"}}));

  // The player's own program in a folder not named exactly "Winamp".
  for (const std::string folder : {"Tools", "My Winamp"}) {
    CreateDirectoryA((decoys.path() + folder).c_str(), nullptr);
    const std::string elsewhere = decoys.path() + folder + "\\winamp.exe";
    ASSERT_TRUE(CopyFileA(InstalledPlayer().c_str(), elsewhere.c_str(), FALSE));
    {
      PlayerProcess misplaced(elsewhere);
      ASSERT_TRUE(misplaced.running()) << misplaced.error();
      EXPECT_EQ(Execute({"iswinamprun"}), Answer("200 OK", {{"Result", "0"}})) << folder;
      EXPECT_EQ(Execute({"play"}), Answer("400 Bad Request")) << folder;
      EXPECT_TRUE(misplaced.Log().empty()) << folder;
    }
    DeleteFileA(elsewhere.c_str());
    RemoveDirectoryA((decoys.path() + folder).c_str());
  }

  ASSERT_NO_FATAL_FAILURE(StartOwnPlayer("--al-window"));
  EXPECT_EQ(Execute({"iswinamprun"}), Answer("200 OK", {{"Result", "1"}}));
  EXPECT_EQ(Execute({"stop"}), Answer("204 No Content"));
  EXPECT_EQ(player->Log(), Lines{Menu(40047)});
  EXPECT_TRUE(notes.Log().empty());
}

TEST_F(ModuleTest, FrozenPlayerIsRefusedUntilItAnswersAgain) {
  ASSERT_NO_FATAL_FAILURE(StartOwnPlayer());
  player->Hang();
  // Each request returns refused, with nothing read, while the player is
  // still frozen: first while it is merely late, then once the system judges
  // it hung. A request that waited for the player would come back only once
  // the freeze ran out, which the player then logs.
  const auto refused = [this](const std::vector<std::string>& request) {
    EXPECT_EQ(Execute(request), Answer("400 Bad Request")) << request[0];
  };
  refused({"getvolume"});
  refused({"getplaylist"});
  DWORD waited = 0;
  EXPECT_TRUE(WaitUntil(kHungVerdict, [this] { return IsHungAppWindow(player->window()) != FALSE; },
                        &waited))
      << RanOut(kHungVerdict, waited);
  for (const char* word : {"isplaying", "play", "gettitle"}) refused({word});
  refused({"setvolume", "20"});
  EXPECT_EQ(Execute({"iswinamprun"}), Answer("200 OK", {{"Result", "1"}}));  // sends nothing

  player->Resume();
  std::string error;
  ASSERT_TRUE(player->AnswersAgain(&error)) << error;
  const Lines log = player->Log();
  EXPECT_NE(std::find(log.begin(), log.end(), "hang ended: resumed"), log.end())
      << "a request outlasted the freeze";
  EXPECT_EQ(Execute({"gettitle", "1"}), Answer("200 OK", {{"Result", "Artist - Title"}}));
  EXPECT_EQ(Execute({"getlistlen"}), Answer("200 OK", {{"Result", "3"}}));
}

// Every allocation a request makes may fail, in the shipped DLL itself: the
// answer is then the normal one or the fixed 500 text, or a null block of
// length 0 when the answer block itself cannot be had, and the host goes on.
TEST_F(ModuleTest, ExhaustedMemoryAnswersTheFallback) {
  TempDirectory directory;
  ASSERT_EQ(module.Load(directory.path()), 1);
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  ASSERT_TRUE(CountAllocations(module.library()));
  const std::string fallback = "SAORI/1.0 500 Internal Server Error\r\n\r\n";
  const std::vector<std::string> requests = {
      "GET Version SAORI/1.0\r\nSecurityLevel: Local\r\n\r\n",
      saori::ExecuteRequest(std::vector<std::string>{"getplaylist"}.data(), 1),
      saori::ExecuteRequest(std::vector<std::string>{"gettitle", "2"}.data(), 2),
      saori::ExecuteRequest(std::vector<std::string>{"setvolume", "20"}.data(), 2),
      saori::ExecuteRequest(std::vector<std::string>{"license"}.data(), 1),
      saori::ExecuteRequest(std::vector<std::string>{"nosuchword"}.data(), 1),
  };
  for (const std::string& request : requests) {
    const std::string word = request.substr(0, request.find("\r\nCharset"));
    const std::optional<std::string> normal = module.Request(request);
    ASSERT_TRUE(normal.has_value()) << word;
    int n = 1;
    for (;; ++n) {
      FailAllocation(n);
      const std::optional<std::string> response = module.Request(request);
      const bool reached = AllocationFailureReached();
      FailAllocation(0);
      if (response) {
        EXPECT_TRUE(*response == *normal || *response == fallback)
            << word << ": allocation " << n << " failing gave: " << *response;
      } else {
        EXPECT_EQ(module.last_length(), 0) << word << ": allocation " << n;
      }
      if (!reached) break;
    }
    EXPECT_GT(n, 1) << word << ": no allocation to fail";
    EXPECT_EQ(module.Request(request), normal) << word;
  }
}

// The wrapper fails the very allocation it is told to: the first of a
// request, its text's copy, ends in the fallback; the last, the answer's
// block, in a null block of length 0.
TEST_F(ModuleTest, TheAllocationToldToFailIsTheOneThatFails) {
  ASSERT_TRUE(CountAllocations(module.library()));
  const std::string request = "GET Version SAORI/1.0\r\nSecurityLevel: Local\r\n\r\n";
  FailAllocation(0);
  ASSERT_EQ(module.Request(request), Answer("200 OK"));
  const int made = AllocationsCounted();
  ASSERT_GE(made, 2);
  FailAllocation(1);
  EXPECT_EQ(module.Request(request), "SAORI/1.0 500 Internal Server Error\r\n\r\n");
  FailAllocation(made);
  EXPECT_EQ(module.Request(request), std::nullopt);
  EXPECT_EQ(module.last_length(), 0);
  FailAllocation(0);
  EXPECT_EQ(module.Request(request), Answer("200 OK"));
}

// A request longer than the 32-bit module's strings can hold (1 GiB) ends
// in the same fallback, through the C++ runtime's length check.
TEST_F(ModuleTest, RequestTooLongToHoldAnswersTheFallback) {
  if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit module's strings hold 1 GiB";
  constexpr long kLength = 1L << 30;
  const std::string text = "GET Version SAORI/1.0\r\nSecurityLevel: Local\r\n\r\n";
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, kLength);
  ASSERT_NE(block, nullptr) << "no room in this host for a 1 GiB request";
  std::memcpy(block, text.data(), text.size());  // the rest is never read
  EXPECT_EQ(module.RequestBlock(block, kLength), "SAORI/1.0 500 Internal Server Error\r\n\r\n");
  EXPECT_EQ(module.Request(text), Answer("200 OK"));
}

// Wine hands out the lowest free handle value: a handle made after a burst
// of requests with the value of one made before shows none was left open.
HANDLE ProbeHandle() {
  HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  CloseHandle(probe);
  return probe;
}

TEST_F(ModuleTest, NoHandleOrLibraryIsLeftBehind) {
  TempDirectory directory;
  ASSERT_EQ(module.Load(directory.path()), 1);
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  player->Control("playlist\ta\tb\tc\td\te");
  player->Control("unreadable 1\nnoaddress 2\npartial 3");
  ASSERT_EQ(GetModuleHandleA("psapi.dll"), nullptr);
  EXPECT_EQ(Execute({"getplaylist"}), Answer("200 OK", {{"Result", "5"}, {"Value0", "a"}, {"Value4", "e"}}));

  const HANDLE before = ProbeHandle();
  {
    // The probe sees a handle left open.
    HANDLE held = OpenProcess(PROCESS_VM_READ, FALSE, player->process_id());
    EXPECT_NE(ProbeHandle(), before);
    CloseHandle(held);
  }
  for (int round = 0; round < 10; ++round) {
    Execute({"getplaylist"});
    Execute({"gettitle", "2"});
    Execute({"iswinamprun"});
    Execute({"license"});
    Execute({"setvolume", "50"});
  }
  EXPECT_EQ(ProbeHandle(), before);
  EXPECT_EQ(GetModuleHandleA("psapi.dll"), nullptr);  // loaded and freed per window test
  ASSERT_EQ(module.Load(directory.path() + "missing\\"), 1);
  EXPECT_EQ(Execute({"license"}), Answer("400 Bad Request"));
  EXPECT_EQ(ProbeHandle(), before);
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST_F(ModuleTest, LicenceFileIsWrittenIntoTheModuleDirectory) {
  TempDirectory directory;
  ASSERT_EQ(module.Load(directory.path()), 1);
  EXPECT_EQ(Execute({"license"}), Answer("204 No Content"));
  const std::string text = FileText(directory.path() + "nirevo_license.txt");
  EXPECT_EQ(text.rfind("Copyright (c) 2026 the nirevo authors.\r\nAll rights reserved.\r\n", 0), 0u);
  EXPECT_EQ(text.find("\n\n"), std::string::npos);  // text mode: every line ends in CR LF
  EXPECT_NE(text.find("Lucent Technologies"), std::string::npos);

  EXPECT_EQ(Execute({"license"}), Answer("204 No Content"));
  EXPECT_EQ(FileText(directory.path() + "nirevo_license.txt"), text);  // once, not twice

  // Held open without sharing: the module cannot open it.
  HANDLE held = CreateFileA((directory.path() + "nirevo_license.txt").c_str(), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Execute({"license"}), Answer("400 Bad Request"));
  CloseHandle(held);

  ASSERT_EQ(module.Load(directory.path() + "missing\\"), 1);
  EXPECT_EQ(Execute({"license"}), Answer("400 Bad Request"));
}

struct CallResult {
  DWORD exit_code;
  std::string output;
};

// Runs the tool `name` with `arguments` and `input` on its standard input,
// and collects its standard output.
CallResult RunTool(const std::string& name, const std::string& arguments,
                   const std::string& input = "") {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return {99, ""};
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  // The input fits the pipe's buffer, so it is written whole before the tool starts.
  HANDLE input_read = nullptr, input_write = nullptr;
  DWORD written = 0;
  if (!CreatePipe(&input_read, &input_write, &inherit, 64 * 1024) ||
      !WriteFile(input_write, input.data(), static_cast<DWORD>(input.size()), &written, nullptr) ||
      written != input.size()) {
    CloseHandle(read_end);
    CloseHandle(write_end);
    if (input_read) CloseHandle(input_read);
    if (input_write) CloseHandle(input_write);
    return {97, ""};
  }
  CloseHandle(input_write);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = input_read;
  const std::string exe = ToolPath(name);
  std::string command = "\"" + exe + "\" " + arguments;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    const DWORD error = GetLastError();
    CloseHandle(read_end);
    CloseHandle(write_end);
    CloseHandle(input_read);
    return {98, "cannot start " + exe + " (error " + std::to_string(error) + ")"};
  }
  CloseHandle(write_end);
  CloseHandle(input_read);
  // Read as the output comes, so that a full pipe never stops the tool, and
  // give up on a tool that does not end within the bound.
  CallResult run{0, ""};
  const auto drain = [&] {
    DWORD available = 0;
    char buffer[4096];
    DWORD got = 0;
    while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available != 0 &&
           ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got != 0) {
      run.output.append(buffer, got);
    }
  };
  DWORD waited = 0;
  const bool ended = WaitUntil(
      kToolRuns,
      [&] {
        drain();
        return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
      },
      &waited);
  drain();
  if (ended) {
    GetExitCodeProcess(process.hProcess, &run.exit_code);
  } else {
    TerminateProcess(process.hProcess, 96);
    WaitForSingleObject(process.hProcess, BoundMs(kProgramEnds));
    run = {96, name + " did not end: " + RanOut(kToolRuns, waited) + "; its output: " + run.output};
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(read_end);
  return run;
}

CallResult SaoriCall(const std::string& arguments, const std::string& input = "") {
  return RunTool("saori-call.exe", arguments, input);
}

// The lines of `text` that contain `part`.
Lines LinesWith(const std::string& text, const std::string& part) {
  Lines found;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.find(part) != std::string::npos) found.push_back(line);
  }
  return found;
}

TEST_F(ModuleTest, NirevoCheckExplainsEachWindow) {
  StopSharedPlayer();  // no player runs
  CallResult none = RunTool("nirevo-check.exe", "");
  EXPECT_EQ(none.exit_code, 1u) << none.output;
  EXPECT_NE(none.output.find("process inspection: PSAPI"), std::string::npos) << none.output;
  EXPECT_NE(none.output.find("result: no window qualifies"), std::string::npos) << none.output;

  TempDirectory decoys;
  const std::string editor = decoys.path() + "editor.exe";
  ASSERT_TRUE(CopyFileA(InstalledPlayer().c_str(), editor.c_str(), FALSE));
  PlayerProcess notes(editor, "--title \"Winamp notes.txt - Editor\"");
  ASSERT_TRUE(notes.running()) << notes.error();
  CreateDirectoryA((decoys.path() + "Tools").c_str(), nullptr);
  const std::string elsewhere = decoys.path() + "Tools\\winamp.exe";
  ASSERT_TRUE(CopyFileA(InstalledPlayer().c_str(), elsewhere.c_str(), FALSE));
  {
    PlayerProcess misplaced(elsewhere);
    ASSERT_TRUE(misplaced.running()) << misplaced.error();
    CallResult decoyed = RunTool("nirevo-check.exe", "");
    EXPECT_EQ(decoyed.exit_code, 1u) << decoyed.output;
    const Lines editor_line = LinesWith(decoyed.output, "\"Winamp notes.txt - Editor\"");
    ASSERT_EQ(editor_line.size(), 1u) << decoyed.output;
    EXPECT_NE(editor_line[0].find("editor.exe\""), std::string::npos) << editor_line[0];
    EXPECT_NE(editor_line[0].find("=>  not the player"), std::string::npos) << editor_line[0];
    const Lines tools_line = LinesWith(decoyed.output, "Tools\\winamp.exe\"");
    ASSERT_EQ(tools_line.size(), 1u) << decoyed.output;
    EXPECT_NE(tools_line[0].find("=>  not the player"), std::string::npos) << tools_line[0];
  }
  DeleteFileA(elsewhere.c_str());
  RemoveDirectoryA((decoys.path() + "Tools").c_str());

  ASSERT_NO_FATAL_FAILURE(StartOwnPlayer("--al-window"));
  CallResult found = RunTool("nirevo-check.exe", "");
  EXPECT_EQ(found.exit_code, 0u) << found.output;
  const Lines al_line = LinesWith(found.output, "title \"Winamp AL\"");
  ASSERT_EQ(al_line.size(), 1u) << found.output;
  EXPECT_NE(al_line[0].find("\"Winamp AL\": yes"), std::string::npos) << al_line[0];
  const Lines player_line = LinesWith(found.output, "\"1. Artist - Title - Winamp\"");
  ASSERT_EQ(player_line.size(), 1u) << found.output;
  EXPECT_NE(player_line[0].find("path \"" + InstalledPlayer() + "\""), std::string::npos)
      << player_line[0];
  EXPECT_NE(player_line[0].find("=>  qualifies"), std::string::npos) << player_line[0];
  EXPECT_EQ(LinesWith(found.output, "result: the module would use window").size(), 1u)
      << found.output;
  EXPECT_EQ(LinesWith(found.output, "=>  qualifies").size(), 1u) << found.output;
  EXPECT_EQ(LinesWith(found.output, "answer: the player answers: playback state 0").size(), 1u)
      << found.output;
}

TEST_F(ModuleTest, FrozenPlayerIsReportedByNirevoCheck) {
  ASSERT_NO_FATAL_FAILURE(StartOwnPlayer());
  player->Hang();
  CallResult frozen = RunTool("nirevo-check.exe", "");
  player->Resume();
  EXPECT_EQ(frozen.exit_code, 1u) << frozen.output;
  EXPECT_EQ(LinesWith(frozen.output, "result: the module would use window").size(), 1u)
      << frozen.output;
  EXPECT_EQ(LinesWith(frozen.output, "answer: the player does not answer: commands are refused")
                .size(),
            1u)
      << frozen.output;
}

TEST_F(ModuleTest, SaoriCallTellsSuccessFromRefusal) {
  ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  const std::string dll = "\"" + ModulePath() + "\"";
  CallResult version = SaoriCall(dll);
  EXPECT_EQ(version.exit_code, 0u) << version.output;
  EXPECT_EQ(version.output, Answer("200 OK"));

  CallResult volume = SaoriCall(dll + " getvolume");
  EXPECT_EQ(volume.exit_code, 0u) << volume.output;
  EXPECT_EQ(volume.output, Answer("200 OK", {{"Result", "50"}}));

  // Any 2xx is success: a command answered 204 as much as a query answered 200.
  CallResult played = SaoriCall(dll + " play");
  EXPECT_EQ(played.exit_code, 0u) << played.output;
  EXPECT_EQ(played.output, Answer("204 No Content"));

  // An empty level leaves the header out, and nothing else.
  CallResult no_level = SaoriCall("--security \"\" --echo " + dll + " getvolume");
  EXPECT_EQ(no_level.exit_code, 0u) << no_level.output;
  EXPECT_EQ(no_level.output, "EXECUTE SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: saori-call\r\n"
                             "Argument0: getvolume\r\n\r\n" +
                                 Answer("200 OK", {{"Result", "50"}}));

  CallResult refused = SaoriCall("--security External " + dll + " play");
  EXPECT_EQ(refused.exit_code, 1u) << refused.output;
  EXPECT_EQ(refused.output, Answer("400 Bad Request"));

  CallResult unknown = SaoriCall(dll + " nosuchword 5");
  EXPECT_EQ(unknown.exit_code, 1u) << unknown.output;

  CallResult missing = SaoriCall("\"" + BesideThisProgram("missing.dll") + "\" play");
  EXPECT_EQ(missing.exit_code, 2u) << missing.output;
  EXPECT_EQ(player->Log(), (Lines{User(-666, 122), Menu(40045), User(-666, 122)}));

  // A raw request on standard input reaches the module byte for byte: CR LF,
  // a zero byte and a Ctrl-Z (the end of a text-mode read) included.
  const std::string raw("EXECUTE SAORI/1.0\r\nArgument0: getvolume\r\nSecurityLevel: Local\r\n"
                        "X-Bytes: a\0b\x1a c\r\n\r\n",
                        82);
  CallResult piped = SaoriCall("--raw - --echo " + dll, raw);
  EXPECT_EQ(piped.exit_code, 0u) << piped.output;
  EXPECT_EQ(piped.output, raw + Answer("200 OK", {{"Result", "50"}}));
}

// The module built once more with its Win32 platform wrapped in fault
// injection: every platform call in turn fails as it can on Windows, and
// the answer is what that failure explains, with no handle or library left.
class FaultsTest : public ModuleTest {
 protected:
  FaultsTest() : ModuleTest(BesideThisProgram("nirevo_faults.dll")) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ModuleTest::SetUp());
    fail_call = reinterpret_cast<void(__cdecl*)(int)>(
        reinterpret_cast<void*>(GetProcAddress(module.library(), "nirevo_fail_call")));
    failure_injected = reinterpret_cast<int(__cdecl*)()>(
        reinterpret_cast<void*>(GetProcAddress(module.library(), "nirevo_failure_injected")));
    ASSERT_NE(fail_call, nullptr);
    ASSERT_NE(failure_injected, nullptr);
    ASSERT_EQ(module.Load(directory.path()), 1);
    ASSERT_NO_FATAL_FAILURE(UseRunningPlayer());
  }

  TempDirectory directory;
  void(__cdecl* fail_call)(int) = nullptr;
  int(__cdecl* failure_injected)() = nullptr;
};

TEST_F(FaultsTest, EveryPlatformCallMayFail) {
  const std::string not_found = Answer("400 Bad Request");
  const std::vector<std::string> playlist = nirevo::test::PlaylistFailureAnswers(
      {"Artist - Title", "Second Artist - Second Title", "Third Artist - Third Title"});
  struct Case {
    std::vector<std::string> request;
    std::vector<std::string> failures;
  };
  const std::vector<Case> cases = {
      {{"iswinamprun"}, {Answer("200 OK", {{"Result", "0"}})}},
      {{"getplaylist"}, playlist},
      {{"gettitle", "2"}, {not_found, Answer("200 OK")}},
      {{"setvolume", "50"}, {not_found}},
      {{"license"}, {not_found}},
  };
  const HANDLE before = ProbeHandle();
  for (const Case& c : cases) {
    const std::string word = c.request[0];
    const std::string normal = Execute(c.request);
    std::vector<std::string> explained = c.failures;
    explained.push_back(normal);
    explained.push_back("<null>");  // the answer block itself could not be had
    int n = 1;
    for (;; ++n) {
      fail_call(n);
      const std::string response = Execute(c.request);
      const bool reached = failure_injected() != 0;
      fail_call(0);
      EXPECT_NE(std::find(explained.begin(), explained.end(), response), explained.end())
          << word << ": call " << n << " failing gave: " << response;
      if (!reached) break;
    }
    EXPECT_GT(n, 2) << word;
    EXPECT_EQ(Execute(c.request), normal) << word;
  }
  EXPECT_EQ(ProbeHandle(), before);
  EXPECT_EQ(GetModuleHandleA("psapi.dll"), nullptr);
}

// A line runs under the Windows it names: a prefix that reports another
// (a Windows 98 mark on the wrong copy, one left from an earlier run) would
// test the other path under this line's name.
TEST(Setting, TheLineRunsUnderTheWindowsItNames) {
  ASSERT_NE(ExpectedPlatformId(), 0u) << "give --windows=nt or --windows=98";
  EXPECT_EQ(ReportedPlatformId(), ExpectedPlatformId())
      << "1: the Windows 95 family (the Windows 98 setting), 2: NT";
}

// Run by a copy of this program that the prefix reports as Windows 98.
TEST(Windows98, WineNamesProcessesByTheirBareFileName) {
  StopSharedPlayer();  // no player runs
  ASSERT_EQ(ReportedPlatformId(), static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS))
      << "run this test from the Windows 98 copy";
  PlayerProcess player(InstalledPlayer());
  ASSERT_TRUE(player.running()) << player.error();
  // Without the widened names the path test fails: no window is the player.
  saori::Module module(ModulePath());
  ASSERT_TRUE(module.ok()) << module.error();
  module.Load(module.directory());
  const std::string iswinamprun[] = {"iswinamprun"};
  EXPECT_EQ(module.Request(saori::ExecuteRequest(iswinamprun, 1)),
            Answer("200 OK", {{"Result", "0"}}));
}

// Some hosts look up only "load", "request" and "unload".
TEST(PlainNames, HostThatLooksOnlyForPlainNames) {
  StopSharedPlayer();  // no player runs
  if (PlainNamesDll().empty()) GTEST_SKIP() << "no --plain-dll given";
  saori::Module shipped(ModulePath(), saori::Names::kPlainOnly);
  EXPECT_FALSE(shipped.ok());

  saori::Module plain(PlainNamesDll(), saori::Names::kPlainOnly);
  ASSERT_TRUE(plain.ok()) << plain.error();
  ASSERT_EQ(plain.Load(plain.directory()), 1);
  const std::string iswinamprun[] = {"iswinamprun"};
  EXPECT_EQ(plain.Request(saori::ExecuteRequest(iswinamprun, 1)),
            Answer("200 OK", {{"Result", "0"}}));
  EXPECT_TRUE(plain.answers_were_fixed_blocks());
}

}  // namespace
}  // namespace e2e
