// A platform that forwards every call to another one. Tests derive from it
// and override only the calls they change, so the same wrapper works over the
// simulated desktop and over the real Win32 platform.
#ifndef NIREVO_PLATFORM_PLATFORM_WRAPPER_H_
#define NIREVO_PLATFORM_PLATFORM_WRAPPER_H_

#include "platform/platform.h"

namespace nirevo::platform {

class PlatformWrapper : public Platform {
 public:
  // `target` must outlive the wrapper.
  explicit PlatformWrapper(Platform& target) : target_(target) {}

  Platform& target() const { return target_; }

  BlockHandle GlobalAlloc(std::size_t bytes) override { return target_.GlobalAlloc(bytes); }
  void GlobalFree(BlockHandle block) override { target_.GlobalFree(block); }
  bool EnumWindows(WindowEnumProc proc, std::intptr_t user) override {
    return target_.EnumWindows(proc, user);
  }
  int GetWindowTextA(WindowHandle window, char* text, int max_count) override {
    return target_.GetWindowTextA(window, text, max_count);
  }
  std::uint32_t GetWindowThreadProcessId(WindowHandle window, std::uint32_t* process_id) override {
    return target_.GetWindowThreadProcessId(window, process_id);
  }
  bool GetVersionExA(std::uint32_t* platform_id) override {
    return target_.GetVersionExA(platform_id);
  }
  ModuleHandle LoadLibraryA(const char* name) override { return target_.LoadLibraryA(name); }
  void FreeLibrary(ModuleHandle library) override { target_.FreeLibrary(library); }
  ModuleHandle GetModuleHandleA(const char* name) override {
    return target_.GetModuleHandleA(name);
  }
  EntryPoint GetProcAddress(ModuleHandle module, const char* name) override {
    return target_.GetProcAddress(module, name);
  }
  KernelHandle OpenProcess(std::uint32_t access, std::uint32_t process_id) override {
    return target_.OpenProcess(access, process_id);
  }
  void CloseHandle(KernelHandle handle) override { target_.CloseHandle(handle); }
  bool EnumProcessModules(EntryPoint entry, KernelHandle process, ModuleHandle* modules,
                          std::uint32_t bytes, std::uint32_t* bytes_needed) override {
    return target_.EnumProcessModules(entry, process, modules, bytes, bytes_needed);
  }
  std::uint32_t GetModuleFileNameExA(EntryPoint entry, KernelHandle process, ModuleHandle module,
                                     char* path, std::uint32_t capacity) override {
    return target_.GetModuleFileNameExA(entry, process, module, path, capacity);
  }
  KernelHandle CreateToolhelp32Snapshot(EntryPoint entry, std::uint32_t flags,
                                        std::uint32_t process_id) override {
    return target_.CreateToolhelp32Snapshot(entry, flags, process_id);
  }
  bool Process32First(EntryPoint entry, KernelHandle snapshot, ProcessEntry* out) override {
    return target_.Process32First(entry, snapshot, out);
  }
  bool Process32Next(EntryPoint entry, KernelHandle snapshot, ProcessEntry* out) override {
    return target_.Process32Next(entry, snapshot, out);
  }
  bool SendMessageTimeoutA(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                           std::intptr_t lparam, std::uint32_t flags, std::uint32_t timeout_ms,
                           std::uintptr_t* result) override {
    return target_.SendMessageTimeoutA(window, message, wparam, lparam, flags, timeout_ms, result);
  }
  bool ReadProcessMemory(KernelHandle process, std::uintptr_t address, void* buffer,
                         std::size_t bytes, std::size_t* bytes_read) override {
    return target_.ReadProcessMemory(process, address, buffer, bytes, bytes_read);
  }
  FileHandle CreateTextFile(const char* path) override { return target_.CreateTextFile(path); }
  bool WriteTextFile(FileHandle file, const char* text, std::size_t bytes) override {
    return target_.WriteTextFile(file, text, bytes);
  }
  bool CloseTextFile(FileHandle file) override { return target_.CloseTextFile(file); }

 private:
  Platform& target_;
};

}  // namespace nirevo::platform

#endif  // NIREVO_PLATFORM_PLATFORM_WRAPPER_H_
