#include "testing/sim_desktop.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "testing/allocation_faults.h"

namespace nirevo::test {
namespace {

using platform::EntryPoint;
using platform::KernelHandle;
using platform::ModuleHandle;
using platform::WindowHandle;

// Stand-ins for looked-up entry points: only their addresses matter.
void PsapiEnumProcessModules() {}
void PsapiGetModuleFileNameExA() {}
void ToolhelpCreateSnapshot() {}
void ToolhelpProcess32First() {}
void ToolhelpProcess32Next() {}

struct KnownEntryPoint {
  const char* library;
  const char* name;
  EntryPoint entry;
};
constexpr KnownEntryPoint kEntryPoints[] = {
    {"PSAPI.DLL", "EnumProcessModules", &PsapiEnumProcessModules},
    {"PSAPI.DLL", "GetModuleFileNameExA", &PsapiGetModuleFileNameExA},
    {"kernel32.dll", "CreateToolhelp32Snapshot", &ToolhelpCreateSnapshot},
    {"kernel32.dll", "Process32First", &ToolhelpProcess32First},
    {"kernel32.dll", "Process32Next", &ToolhelpProcess32Next},
};

char psapi_module_token;
char kernel32_module_token;
char executable_module_token;
ModuleHandle PsapiModule() { return &psapi_module_token; }
ModuleHandle Kernel32Module() { return &kernel32_module_token; }


}  // namespace

SimDesktop::SimDesktop() = default;

SimDesktop::~SimDesktop() {
  for (void* block : blocks_) std::free(block);
}

WindowHandle SimDesktop::AddWindow(const std::string& title, std::uint32_t process_id,
                                   bool is_player) {
  windows_.push_back({title, process_id, is_player ? std::make_unique<SimPlayer>() : nullptr});
  return reinterpret_cast<WindowHandle>(windows_.size() * 0x10);
}

SimWindow& SimDesktop::window(WindowHandle handle) {
  return windows_.at(reinterpret_cast<std::uintptr_t>(handle) / 0x10 - 1);
}

WindowHandle SimDesktop::AddPlayer(std::uint32_t process_id) {
  SimProcess& p = process(process_id);
  p.image_path = "C:\\Program Files\\Winamp\\winamp.exe";
  p.snapshot_name = p.image_path;
  return AddWindow("1. Artist - Title - Winamp", process_id, true);
}

KernelHandle SimDesktop::NewHandle() {
  next_handle_ += 4;
  return reinterpret_cast<KernelHandle>(next_handle_);
}

platform::BlockHandle SimDesktop::GlobalAlloc(std::size_t bytes) {
  if (AllocationFaults::ShouldFail()) return nullptr;
  return HostAlloc(bytes);
}

platform::BlockHandle SimDesktop::HostAlloc(std::size_t bytes) {
  const AllocationFaults::Suspend suspend;
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  blocks_.insert(block);
  return block;
}

void SimDesktop::GlobalFree(platform::BlockHandle block) {
  const AllocationFaults::Suspend suspend;
  if (blocks_.erase(block) == 0) {
    ++bad_releases_;
    return;
  }
  std::free(block);
}

bool SimDesktop::EnumWindows(platform::WindowEnumProc proc, std::intptr_t user) {
  const AllocationFaults::Suspend suspend;
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    if (proc(reinterpret_cast<WindowHandle>((i + 1) * 0x10), user) == 0) return false;
  }
  return true;
}

int SimDesktop::GetWindowTextA(WindowHandle handle, char* text, int max_count) {
  const AllocationFaults::Suspend suspend;
  if (max_count <= 0) return 0;
  text[0] = '\0';
  const std::string& title = window(handle).title;
  std::size_t n = std::min(title.size(), static_cast<std::size_t>(max_count - 1));
  std::memcpy(text, title.data(), n);
  text[n] = '\0';
  return static_cast<int>(n);
}

std::uint32_t SimDesktop::GetWindowThreadProcessId(WindowHandle handle,
                                                   std::uint32_t* process_id) {
  const AllocationFaults::Suspend suspend;
  std::uint32_t id = window(handle).process_id;
  if (process_id != nullptr) *process_id = id;
  return id == 0 ? 0 : id + 1;
}

bool SimDesktop::GetVersionExA(std::uint32_t* id) {
  const AllocationFaults::Suspend suspend;
  *id = platform_id;
  return true;
}

ModuleHandle SimDesktop::LoadLibraryA(const char* name) {
  const AllocationFaults::Suspend suspend;
  if (!psapi_present || std::strcmp(name, "PSAPI.DLL") != 0) return nullptr;
  ++libraries_;
  ++libraries_ever_;
  return PsapiModule();
}

void SimDesktop::FreeLibrary(ModuleHandle library) {
  const AllocationFaults::Suspend suspend;
  if (library != PsapiModule() || libraries_ == 0) {
    ++bad_releases_;
    return;
  }
  --libraries_;
}

ModuleHandle SimDesktop::GetModuleHandleA(const char* name) {
  const AllocationFaults::Suspend suspend;
  if (std::strcmp(name, "kernel32.dll") != 0) return nullptr;
  return Kernel32Module();
}

EntryPoint SimDesktop::GetProcAddress(ModuleHandle module, const char* name) {
  const AllocationFaults::Suspend suspend;
  if (missing_entry_points.count(name) != 0) return nullptr;
  const char* library = module == PsapiModule()      ? "PSAPI.DLL"
                        : module == Kernel32Module() ? "kernel32.dll"
                                                     : nullptr;
  if (library == nullptr) return nullptr;
  for (const KnownEntryPoint& known : kEntryPoints) {
    if (std::strcmp(known.library, library) == 0 && std::strcmp(known.name, name) == 0) {
      return known.entry;
    }
  }
  return nullptr;
}

KernelHandle SimDesktop::OpenProcess(std::uint32_t access, std::uint32_t process_id) {
  const AllocationFaults::Suspend suspend;
  auto found = processes_.find(process_id);
  if (found == processes_.end() || !found->second.openable ||
      found->second.refused_access == access) {
    return nullptr;
  }
  KernelHandle handle = NewHandle();
  process_handles_[handle] = process_id;
  ++processes_ever_;
  return handle;
}

void SimDesktop::CloseHandle(KernelHandle handle) {
  const AllocationFaults::Suspend suspend;
  if (process_handles_.erase(handle) == 0 && snapshots_.erase(handle) == 0) ++bad_releases_;
}

bool SimDesktop::EnumProcessModules(EntryPoint entry, KernelHandle process,
                                    ModuleHandle* modules, std::uint32_t bytes,
                                    std::uint32_t* bytes_needed) {
  const AllocationFaults::Suspend suspend;
  auto open = process_handles_.find(process);
  if (entry != &PsapiEnumProcessModules || open == process_handles_.end() ||
      !processes_[open->second].modules_readable) {
    return false;
  }
  *bytes_needed = sizeof(ModuleHandle);
  if (bytes >= sizeof(ModuleHandle)) modules[0] = &executable_module_token;
  return true;
}

std::uint32_t SimDesktop::GetModuleFileNameExA(EntryPoint entry, KernelHandle process,
                                               ModuleHandle module, char* path,
                                               std::uint32_t capacity) {
  const AllocationFaults::Suspend suspend;
  auto open = process_handles_.find(process);
  if (entry != &PsapiGetModuleFileNameExA || open == process_handles_.end() ||
      module != &executable_module_token || capacity == 0) {
    return 0;
  }
  const std::string& image = processes_[open->second].image_path;
  std::size_t n = std::min(image.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(path, image.data(), n);
  path[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

KernelHandle SimDesktop::CreateToolhelp32Snapshot(EntryPoint entry, std::uint32_t flags,
                                                  std::uint32_t) {
  const AllocationFaults::Suspend suspend;
  if (entry != &ToolhelpCreateSnapshot || flags != platform::kSnapshotProcesses) {
    return platform::InvalidHandleValue();
  }
  KernelHandle handle = NewHandle();
  snapshots_[handle] = 0;
  return handle;
}

bool SimDesktop::WalkTo(KernelHandle snapshot, std::size_t index, platform::ProcessEntry* out) {
  auto open = snapshots_.find(snapshot);
  if (open == snapshots_.end() || index >= processes_.size()) return false;
  auto process = std::next(processes_.begin(), static_cast<long>(index));
  open->second = index + 1;
  *out = platform::ProcessEntry{};
  out->process_id = process->first;
  std::strncpy(out->exe_file, process->second.snapshot_name.c_str(), sizeof out->exe_file - 1);
  return true;
}

bool SimDesktop::Process32First(EntryPoint entry, KernelHandle snapshot,
                                platform::ProcessEntry* out) {
  const AllocationFaults::Suspend suspend;
  if (entry != &ToolhelpProcess32First) return false;
  return WalkTo(snapshot, 0, out);
}

bool SimDesktop::Process32Next(EntryPoint entry, KernelHandle snapshot,
                               platform::ProcessEntry* out) {
  const AllocationFaults::Suspend suspend;
  if (entry != &ToolhelpProcess32Next) return false;
  auto open = snapshots_.find(snapshot);
  return open != snapshots_.end() && WalkTo(snapshot, open->second, out);
}

bool SimDesktop::SendMessageTimeoutA(WindowHandle handle, std::uint32_t message,
                                     std::uintptr_t wparam, std::intptr_t lparam,
                                     std::uint32_t flags, std::uint32_t timeout_ms,
                                     std::uintptr_t* result) {
  const AllocationFaults::Suspend suspend;
  *result = 0;
  SimWindow& target = window(handle);
  if (!target.player) return true;  // DefWindowProc answers 0
  SimPlayer& player = *target.player;
  if (player.closes_after && *player.closes_after <= 0) return false;  // no such window
  player.last_send_flags = flags;
  player.last_send_timeout_ms = timeout_ms;
  if (player.hangs_after && *player.hangs_after <= 0) {
    player.unanswered.push_back({message, wparam, lparam});
    return false;
  }
  for (std::optional<int>* countdown : {&player.hangs_after, &player.closes_after}) {
    if (*countdown) --**countdown;
  }
  *result = static_cast<std::uintptr_t>(player.Answer({message, wparam, lparam}));
  return true;
}

bool SimDesktop::ReadProcessMemory(KernelHandle process, std::uintptr_t address, void* buffer,
                                   std::size_t bytes, std::size_t* bytes_read) {
  const AllocationFaults::Suspend suspend;
  *bytes_read = 0;
  auto open = process_handles_.find(process);
  if (open == process_handles_.end()) return false;
  const auto& memory = processes_[open->second].memory;
  auto region = memory.upper_bound(address);
  if (region == memory.begin()) return false;
  --region;
  std::size_t offset = address - region->first;
  if (offset >= region->second.size()) return false;
  std::size_t available = std::min(bytes, region->second.size() - offset);
  std::memcpy(buffer, region->second.data() + offset, available);
  *bytes_read = available;
  return available == bytes;
}

platform::FileHandle SimDesktop::CreateTextFile(const char* path) {
  const AllocationFaults::Suspend suspend;
  const std::string name = path;
  const std::size_t separator = name.rfind('\\');
  if (separator == std::string::npos || directories.count(name.substr(0, separator + 1)) == 0 ||
      locked_files.count(name) != 0) {
    return nullptr;
  }
  files[name].clear();
  platform::FileHandle file = NewHandle();
  open_files_[file] = name;
  return file;
}

bool SimDesktop::WriteTextFile(platform::FileHandle file, const char* text, std::size_t bytes) {
  const AllocationFaults::Suspend suspend;
  auto open = open_files_.find(file);
  if (open == open_files_.end()) return false;
  files[open->second].append(text, bytes);
  return true;
}

bool SimDesktop::CloseTextFile(platform::FileHandle file) {
  const AllocationFaults::Suspend suspend;
  if (open_files_.erase(file) == 0) {
    ++bad_releases_;
    return false;
  }
  return true;
}

}  // namespace nirevo::test
