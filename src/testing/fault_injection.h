// Fault injection as a platform wrapper: every call goes on to the wrapped
// platform (the simulated desktop, or the real Win32 one) except the chosen
// one, which fails as the real call can.
#ifndef NIREVO_TESTING_FAULT_INJECTION_H_
#define NIREVO_TESTING_FAULT_INJECTION_H_

#include "platform/platform_wrapper.h"

namespace nirevo::test {

// How each call fails: GlobalAlloc, LoadLibraryA, GetModuleHandleA,
// GetProcAddress, OpenProcess and CreateTextFile answer null;
// CreateToolhelp32Snapshot the invalid handle; EnumWindows, GetVersionExA,
// EnumProcessModules and Process32First/Next false without acting;
// GetWindowTextA and GetModuleFileNameExA 0 with an empty text;
// GetWindowThreadProcessId process id 0; SendMessageTimeoutA false, as
// on a timeout (the message reached the window, its answer is lost) or as
// for a window that is gone (nothing sent; send_fails_as_window_gone);
// ReadProcessMemory and WriteTextFile move half the bytes and answer false;
// CloseTextFile closes and answers false. Releases (GlobalFree, FreeLibrary,
// CloseHandle) always go through and are not counted.
class FaultInjection final : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;

  // Makes call number `n`, counted from 1 from now on, fail; 0: none.
  void FailCall(int n) {
    fail_at_ = n;
    calls_ = 0;
    injected_ = false;
  }
  // Whether the chosen call was reached since FailCall.
  bool failure_injected() const { return injected_; }

  // A failing version query reports an unknown platform id (3) instead.
  bool version_fails_as_unknown_platform = false;
  // A failing send finds the window gone instead of timing out.
  bool send_fails_as_window_gone = false;

  platform::BlockHandle GlobalAlloc(std::size_t bytes) override;
  bool EnumWindows(platform::WindowEnumProc proc, std::intptr_t user) override;
  int GetWindowTextA(platform::WindowHandle window, char* text, int max_count) override;
  std::uint32_t GetWindowThreadProcessId(platform::WindowHandle window,
                                         std::uint32_t* process_id) override;
  bool GetVersionExA(std::uint32_t* platform_id) override;
  platform::ModuleHandle LoadLibraryA(const char* name) override;
  platform::ModuleHandle GetModuleHandleA(const char* name) override;
  platform::EntryPoint GetProcAddress(platform::ModuleHandle module, const char* name) override;
  platform::KernelHandle OpenProcess(std::uint32_t access, std::uint32_t process_id) override;
  bool EnumProcessModules(platform::EntryPoint entry, platform::KernelHandle process,
                          platform::ModuleHandle* modules, std::uint32_t bytes,
                          std::uint32_t* bytes_needed) override;
  std::uint32_t GetModuleFileNameExA(platform::EntryPoint entry, platform::KernelHandle process,
                                     platform::ModuleHandle module, char* path,
                                     std::uint32_t capacity) override;
  platform::KernelHandle CreateToolhelp32Snapshot(platform::EntryPoint entry, std::uint32_t flags,
                                                  std::uint32_t process_id) override;
  bool Process32First(platform::EntryPoint entry, platform::KernelHandle snapshot,
                      platform::ProcessEntry* out) override;
  bool Process32Next(platform::EntryPoint entry, platform::KernelHandle snapshot,
                     platform::ProcessEntry* out) override;
  bool SendMessageTimeoutA(platform::WindowHandle window, std::uint32_t message,
                           std::uintptr_t wparam, std::intptr_t lparam, std::uint32_t flags,
                           std::uint32_t timeout_ms, std::uintptr_t* result) override;
  bool ReadProcessMemory(platform::KernelHandle process, std::uintptr_t address, void* buffer,
                         std::size_t bytes, std::size_t* bytes_read) override;
  platform::FileHandle CreateTextFile(const char* path) override;
  bool WriteTextFile(platform::FileHandle file, const char* text, std::size_t bytes) override;
  bool CloseTextFile(platform::FileHandle file) override;

 private:
  bool Fails() {  // counts a call; true when it is the one to fail
    if (++calls_ != fail_at_) return false;
    injected_ = true;
    return true;
  }

  int fail_at_ = 0;
  int calls_ = 0;
  bool injected_ = false;
};

}  // namespace nirevo::test

#endif  // NIREVO_TESTING_FAULT_INJECTION_H_
