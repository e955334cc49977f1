// A simulated desktop for tests: top-level windows with titles, processes
// with image paths and memory, a platform id, files, and players (see
// sim_player.h). It counts every block, handle, library and file it hands out
// and gets back; FaultInjection (fault_injection.h) fails its calls.
#ifndef NIREVO_TESTING_SIM_DESKTOP_H_
#define NIREVO_TESTING_SIM_DESKTOP_H_

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "testing/sim_player.h"

namespace nirevo::test {

struct SimWindow {
  std::string title;
  std::uint32_t process_id;
  std::unique_ptr<SimPlayer> player;  // null for a window that is no player
};

// The process id of the player that AddPlayer starts by default.
inline constexpr std::uint32_t kPlayerProcessId = 100;

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
  platform::WindowHandle AddPlayer(std::uint32_t process_id = kPlayerProcessId);

  std::uint32_t platform_id = platform::kPlatformWin32Nt;
  bool psapi_present = true;
  std::set<std::string> missing_entry_points;

  // Files: a path opens when the directory it names (its text up to the
  // last backslash, inclusive) exists and it is not held by another program.
  std::set<std::string> directories = {"C:\\", "C:\\nirevo\\"};
  std::set<std::string> locked_files;
  std::map<std::string, std::string> files;  // what was written, by path

  // A block for the host's own request text: the host's call, not the
  // module's, so allocation faults never fail it.
  platform::BlockHandle HostAlloc(std::size_t bytes);

  // What is out and what went wrong with releases.
  std::size_t live_blocks() const { return blocks_.size(); }
  std::size_t live_handles() const {
    return process_handles_.size() + snapshots_.size() + open_files_.size();
  }
  int loaded_libraries() const { return libraries_; }
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
  bool SendMessageTimeoutA(platform::WindowHandle window, std::uint32_t message,
                           std::uintptr_t wparam, std::intptr_t lparam, std::uint32_t flags,
                           std::uint32_t timeout_ms, std::uintptr_t* result) override;
  bool ReadProcessMemory(platform::KernelHandle process, std::uintptr_t address, void* buffer,
                         std::size_t bytes, std::size_t* bytes_read) override;
  platform::FileHandle CreateTextFile(const char* path) override;
  bool WriteTextFile(platform::FileHandle file, const char* text, std::size_t bytes) override;
  bool CloseTextFile(platform::FileHandle file) override;

 private:
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
};

}  // namespace nirevo::test

#endif  // NIREVO_TESTING_SIM_DESKTOP_H_
