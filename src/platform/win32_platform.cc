// The platform on Windows: every method forwards to the Win32 call it is
// named after. PSAPI and Toolhelp are called through the entry points that
// the module looked up at run time; there is no link-time dependency on them.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <type_traits>

#include "platform/win32_platform.h"

namespace nirevo::platform {
namespace {

// Each entry point's type is the SDK's declaration of the function it was
// looked up as, calling convention included: a hand-written type that drops
// WINAPI still calls a 32-bit __stdcall function as __cdecl. Only the types
// are taken; nothing links against PSAPI.
using EnumProcessModulesFn = decltype(&::EnumProcessModules);
using GetModuleFileNameExAFn = decltype(&::GetModuleFileNameExA);
using CreateToolhelp32SnapshotFn = decltype(&::CreateToolhelp32Snapshot);
using Process32Fn = decltype(&::Process32First);
// Each type stays tied to the SDK's even if the lines above are rewritten
// by hand; the 32-bit build tells a dropped WINAPI apart.
static_assert(std::is_same_v<EnumProcessModulesFn, decltype(&::EnumProcessModules)>);
static_assert(std::is_same_v<GetModuleFileNameExAFn, decltype(&::GetModuleFileNameExA)>);
static_assert(std::is_same_v<CreateToolhelp32SnapshotFn, decltype(&::CreateToolhelp32Snapshot)>);
static_assert(std::is_same_v<Process32Fn, decltype(&::Process32First)>);
static_assert(std::is_same_v<Process32Fn, decltype(&::Process32Next)>);

// The seam's entry points are generic function pointers; each is called as
// the function it was looked up as.
template <typename Function>
Function As(EntryPoint entry) {
  return reinterpret_cast<Function>(entry);
}

struct EnumCallback {
  WindowEnumProc proc;
  std::intptr_t user;
};

BOOL CALLBACK ForwardWindow(HWND window, LPARAM lparam) {
  const auto* callback = reinterpret_cast<const EnumCallback*>(lparam);
  return callback->proc(window, callback->user) != 0 ? TRUE : FALSE;
}

bool WalkProcesses(Process32Fn walk, KernelHandle snapshot, ProcessEntry* out) {
  PROCESSENTRY32 entry;
  std::memset(&entry, 0, sizeof entry);
  entry.dwSize = sizeof entry;  // 296 bytes on the 32-bit build
  if (!walk(static_cast<HANDLE>(snapshot), &entry)) return false;
  out->process_id = entry.th32ProcessID;
  static_assert(sizeof out->exe_file == sizeof entry.szExeFile);
  std::memcpy(out->exe_file, entry.szExeFile, sizeof out->exe_file);
  out->exe_file[sizeof out->exe_file - 1] = '\0';
  return true;
}

class Win32Platform final : public Platform {
 public:
  BlockHandle GlobalAlloc(std::size_t bytes) override {
    return ::GlobalAlloc(GMEM_FIXED, bytes);
  }
  void GlobalFree(BlockHandle block) override { ::GlobalFree(static_cast<HGLOBAL>(block)); }

  bool EnumWindows(WindowEnumProc proc, std::intptr_t user) override {
    EnumCallback callback{proc, user};
    return ::EnumWindows(&ForwardWindow, reinterpret_cast<LPARAM>(&callback)) != FALSE;
  }
  int GetWindowTextA(WindowHandle window, char* text, int max_count) override {
    return ::GetWindowTextA(static_cast<HWND>(window), text, max_count);
  }
  std::uint32_t GetWindowThreadProcessId(WindowHandle window,
                                         std::uint32_t* process_id) override {
    DWORD id = 0;
    DWORD thread = ::GetWindowThreadProcessId(static_cast<HWND>(window), &id);
    if (process_id != nullptr) *process_id = id;
    return thread;
  }

  bool GetVersionExA(std::uint32_t* platform_id) override {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (!::GetVersionExA(&info)) return false;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    *platform_id = info.dwPlatformId;
    return true;
  }

  ModuleHandle LoadLibraryA(const char* name) override { return ::LoadLibraryA(name); }
  void FreeLibrary(ModuleHandle library) override {
    ::FreeLibrary(static_cast<HMODULE>(library));
  }
  ModuleHandle GetModuleHandleA(const char* name) override { return ::GetModuleHandleA(name); }
  EntryPoint GetProcAddress(ModuleHandle module, const char* name) override {
    return reinterpret_cast<EntryPoint>(::GetProcAddress(static_cast<HMODULE>(module), name));
  }

  KernelHandle OpenProcess(std::uint32_t access, std::uint32_t process_id) override {
    return ::OpenProcess(access, FALSE, process_id);
  }
  void CloseHandle(KernelHandle handle) override { ::CloseHandle(static_cast<HANDLE>(handle)); }

  bool EnumProcessModules(EntryPoint entry, KernelHandle process, ModuleHandle* modules,
                          std::uint32_t bytes, std::uint32_t* bytes_needed) override {
    static_assert(sizeof(ModuleHandle) == sizeof(HMODULE));
    DWORD needed = 0;
    BOOL ok = As<EnumProcessModulesFn>(entry)(static_cast<HANDLE>(process),
                                              reinterpret_cast<HMODULE*>(modules), bytes, &needed);
    *bytes_needed = needed;
    return ok != FALSE;
  }
  std::uint32_t GetModuleFileNameExA(EntryPoint entry, KernelHandle process, ModuleHandle module,
                                     char* path, std::uint32_t capacity) override {
    return As<GetModuleFileNameExAFn>(entry)(static_cast<HANDLE>(process),
                                             static_cast<HMODULE>(module), path, capacity);
  }

  KernelHandle CreateToolhelp32Snapshot(EntryPoint entry, std::uint32_t flags,
                                        std::uint32_t process_id) override {
    return As<CreateToolhelp32SnapshotFn>(entry)(flags, process_id);
  }
  bool Process32First(EntryPoint entry, KernelHandle snapshot, ProcessEntry* out) override {
    return WalkProcesses(As<Process32Fn>(entry), snapshot, out);
  }
  bool Process32Next(EntryPoint entry, KernelHandle snapshot, ProcessEntry* out) override {
    return WalkProcesses(As<Process32Fn>(entry), snapshot, out);
  }

  bool SendMessageTimeoutA(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                           std::intptr_t lparam, std::uint32_t flags, std::uint32_t timeout_ms,
                           std::uintptr_t* result) override {
    static_assert(kSendNormal == SMTO_NORMAL && kSendAbortIfHung == SMTO_ABORTIFHUNG);
    DWORD_PTR answer = 0;
    const LRESULT answered = ::SendMessageTimeoutA(static_cast<HWND>(window), message, wparam,
                                                   lparam, flags, timeout_ms, &answer);
    *result = answer;
    return answered != 0;
  }

  bool ReadProcessMemory(KernelHandle process, std::uintptr_t address, void* buffer,
                         std::size_t bytes, std::size_t* bytes_read) override {
    SIZE_T read = 0;
    BOOL ok = ::ReadProcessMemory(static_cast<HANDLE>(process),
                                  reinterpret_cast<LPCVOID>(address), buffer, bytes, &read);
    *bytes_read = read;
    // Win32 may report success for fewer bytes than asked; that is no whole read.
    return ok != FALSE && read == bytes;
  }

  FileHandle CreateTextFile(const char* path) override { return std::fopen(path, "wt"); }
  bool WriteTextFile(FileHandle file, const char* text, std::size_t bytes) override {
    return std::fwrite(text, 1, bytes, static_cast<std::FILE*>(file)) == bytes;
  }
  bool CloseTextFile(FileHandle file) override {
    return std::fclose(static_cast<std::FILE*>(file)) == 0;
  }
};

}  // namespace

Platform& TheWin32Platform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace nirevo::platform
