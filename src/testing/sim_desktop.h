// A simulated desktop for tests: top-level windows with titles, processes
// with image paths and memory, a platform id, and a scriptable player that
// answers the player's messages from real state and records every message.
// It counts every block, handle and library it hands out and gets back, and
// can fail its Nth call.
#ifndef NIREVO_TESTING_SIM_DESKTOP_H_
#define NIREVO_TESTING_SIM_DESKTOP_H_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace nirevo::testing {

struct Message {
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  bool operator==(const Message& o) const {
    return message == o.message && wparam == o.wparam && lparam == o.lparam;
  }
};
std::ostream& operator<<(std::ostream& out, const Message& m);

// A WM_USER message with a signed operand, as the module sends it.
Message UserMessage(std::int32_t wparam, std::intptr_t operation);
// A WM_COMMAND menu command.
Message MenuMessage(int id);

struct SimProcess {
  std::string image_path;     // what PSAPI reports
  std::string snapshot_name;  // what the Toolhelp walk reports
  bool openable = true;
  std::uint32_t refused_access = 0;  // OpenProcess with exactly this access fails
  std::map<std::uintptr_t, std::string> memory;  // readable regions by address
};

// The player's state; every answer comes from here.
class SimPlayer {
 public:
  std::int32_t playing = 0;  // 1 playing, 3 paused, 0 stopped
  std::int32_t elapsed_ms = 0;
  std::int32_t track_length = 0;
  std::int32_t volume = 128;  // 0..255
  std::int32_t shuffle = 0;
  std::int32_t repeat = 0;
  std::int32_t position = 0;  // 0-based
  // Operation 124's answer; by default the number of titles.
  std::optional<std::int32_t> list_length;
  // Operation 106's answer.
  std::int32_t jump_answer = 0;
  // Operation 212's answer for an entry, instead of where its title lies.
  std::map<std::int32_t, std::uintptr_t> title_address;

  std::vector<Message> received;
  bool record = true;  // benchmarks turn the record off

  // Lays the titles out in `process`'s memory from `base` on, each one
  // zero-terminated in a slot with room for a whole 256-byte read.
  void SetPlaylist(SimProcess& process, const std::vector<std::string>& titles,
                   std::uintptr_t base = 0x00400000);

  std::intptr_t Answer(const Message& message);

 private:
  std::vector<std::uintptr_t> addresses_;
};

struct SimWindow {
  std::string title;
  std::uint32_t process_id;
  std::unique_ptr<SimPlayer> player;  // null for a window that is no player
};

class SimDesktop final : public platform::Platform {
 public:
  SimDesktop();
  ~SimDesktop() override;

  // Adds a top-level window, enumerated after the ones added before.
  platform::WindowHandle AddWindow(const std::string& title, std::uint32_t process_id,
                                   bool is_player = false);
  SimWindow& window(platform::WindowHandle handle);
  SimPlayer& player(platform::WindowHandle handle) { return *window(handle).player; }
  SimProcess& process(std::uint32_t id) { return processes_[id]; }

  // A running player as installed: "1. Artist - Title - Winamp", owned by
  // process `process_id` at C:\Program Files\Winamp\winamp.exe.
  platform::WindowHandle AddPlayer(std::uint32_t process_id = 100);

  std::uint32_t platform_id = platform::kPlatformWin32Nt;
  bool psapi_present = true;
  // When the failing call is GetVersionExA: answer an unknown platform id
  // instead of failing.
  bool fail_version_as_unknown_platform = false;
  std::set<std::string> missing_entry_points;

  // Files: a path opens when the directory it names (its text up to the
  // last backslash, inclusive) exists and it is not held by another program.
  std::set<std::string> directories = {"C:\\", "C:\\nirevo\\"};
  std::set<std::string> locked_files;
  std::map<std::string, std::string> files;  // what was written, by path

  // Makes call number `n` (counted from 1 from now on) fail as the real
  // call can: a null or invalid handle, false, 0 or a short read. 0: none.
  void FailCall(int n) {
    fail_at_ = n;
    calls_ = 0;
    injected_ = false;
  }
  // A block for the host's own request text: the host's call, not the
  // module's, so it is never failed.
  platform::BlockHandle HostAlloc(std::size_t bytes);
  int calls() const { return calls_; }
  bool failure_injected() const { return injected_; }

  // What is out and what went wrong with releases.
  std::size_t live_blocks() const { return blocks_.size(); }
  std::size_t live_handles() const {
    return process_handles_.size() + snapshots_.size() + open_files_.size();
  }
  int loaded_libraries() const { return libraries_; }
  int bad_releases() const { return bad_releases_; }
  int libraries_loaded_ever() const { return libraries_ever_; }
  int processes_opened_ever() const { return processes_ever_; }
  bool Balanced() const {
    return live_blocks() == 0 && live_handles() == 0 && libraries_ == 0 && bad_releases_ == 0;
  }

  // The platform.
  platform::BlockHandle GlobalAlloc(std::size_t bytes) override;
  void GlobalFree(platform::BlockHandle block) override;
  bool EnumWindows(platform::WindowEnumProc proc, std::intptr_t user) override;
  int GetWindowTextA(platform::WindowHandle window, char* text, int max_count) override;
  std::uint32_t GetWindowThreadProcessId(platform::WindowHandle window,
                                         std::uint32_t* process_id) override;
  bool GetVersionExA(std::uint32_t* platform_id) override;
  platform::ModuleHandle LoadLibraryA(const char* name) override;
  void FreeLibrary(platform::ModuleHandle library) override;
  platform::ModuleHandle GetModuleHandleA(const char* name) override;
  platform::EntryPoint GetProcAddress(platform::ModuleHandle module, const char* name) override;
  platform::KernelHandle OpenProcess(std::uint32_t access, std::uint32_t process_id) override;
  void CloseHandle(platform::KernelHandle handle) override;
  bool EnumProcessModules(platform::EntryPoint entry, platform::KernelHandle process,
                          platform::ModuleHandle* modules, std::uint32_t bytes,
                          std::uint32_t* bytes_needed) override;
  std::uint32_t GetModuleFileNameExA(platform::EntryPoint entry, platform::KernelHandle process,
                                     platform::ModuleHandle module, char* path,
                                     std::uint32_t capacity) override;
  platform::KernelHandle CreateToolhelp32Snapshot(platform::EntryPoint entry,
                                                  std::uint32_t flags,
                                                  std::uint32_t process_id) override;
  bool Process32First(platform::EntryPoint entry, platform::KernelHandle snapshot,
                      platform::ProcessEntry* entry_out) override;
  bool Process32Next(platform::EntryPoint entry, platform::KernelHandle snapshot,
                     platform::ProcessEntry* entry_out) override;
  std::intptr_t SendMessageA(platform::WindowHandle window, std::uint32_t message,
                             std::uintptr_t wparam, std::intptr_t lparam) override;
  bool ReadProcessMemory(platform::KernelHandle process, std::uintptr_t address, void* buffer,
                         std::size_t bytes, std::size_t* bytes_read) override;
  platform::FileHandle CreateTextFile(const char* path) override;
  bool WriteTextFile(platform::FileHandle file, const char* text, std::size_t bytes) override;
  bool CloseTextFile(platform::FileHandle file) override;

 private:
  bool Fails();  // counts a call; true when it is the one to fail
  platform::KernelHandle NewHandle();
  bool WalkTo(platform::KernelHandle snapshot, std::size_t index, platform::ProcessEntry* out);

  std::vector<SimWindow> windows_;
  std::map<std::uint32_t, SimProcess> processes_;
  std::set<void*> blocks_;
  std::map<platform::KernelHandle, std::uint32_t> process_handles_;
  std::map<platform::KernelHandle, std::size_t> snapshots_;  // next entry to report
  std::map<platform::FileHandle, std::string> open_files_;   // path of each
  std::uintptr_t next_handle_ = 0x1000;
  int libraries_ = 0;
  int libraries_ever_ = 0;
  int processes_ever_ = 0;
  int bad_releases_ = 0;
  int fail_at_ = 0;
  int calls_ = 0;
  bool injected_ = false;
};

}  // namespace nirevo::testing

#endif  // NIREVO_TESTING_SIM_DESKTOP_H_
