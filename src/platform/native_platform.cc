// The platform of a build without Win32: the host's text blocks live in the
// C heap and the desktop is empty, so the player is never found. Tests
// install a simulated desktop instead.
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/native_platform.h"

namespace nirevo::platform {
namespace {

class NativePlatform final : public Platform {
 public:
  BlockHandle GlobalAlloc(std::size_t bytes) override {
    return std::malloc(bytes == 0 ? 1 : bytes);
  }
  void GlobalFree(BlockHandle block) override { std::free(block); }

  bool EnumWindows(WindowEnumProc, std::intptr_t) override { return true; }
  int GetWindowTextA(WindowHandle, char* text, int max_count) override {
    if (max_count > 0) text[0] = '\0';
    return 0;
  }
  std::uint32_t GetWindowThreadProcessId(WindowHandle,
                                         std::uint32_t* process_id) override {
    if (process_id != nullptr) *process_id = 0;
    return 0;
  }
  bool GetVersionExA(std::uint32_t*) override { return false; }
  ModuleHandle LoadLibraryA(const char*) override { return nullptr; }
  void FreeLibrary(ModuleHandle) override {}
  ModuleHandle GetModuleHandleA(const char*) override { return nullptr; }
  EntryPoint GetProcAddress(ModuleHandle, const char*) override {
    return nullptr;
  }
  KernelHandle OpenProcess(std::uint32_t, std::uint32_t) override {
    return nullptr;
  }
  void CloseHandle(KernelHandle) override {}
  bool EnumProcessModules(EntryPoint, KernelHandle, ModuleHandle*,
                          std::uint32_t, std::uint32_t*) override {
    return false;
  }
  std::uint32_t GetModuleFileNameExA(EntryPoint, KernelHandle, ModuleHandle,
                                     char*, std::uint32_t) override {
    return 0;
  }
  KernelHandle CreateToolhelp32Snapshot(EntryPoint, std::uint32_t,
                                        std::uint32_t) override {
    return InvalidHandleValue();
  }
  bool Process32First(EntryPoint, KernelHandle, ProcessEntry*) override {
    return false;
  }
  bool Process32Next(EntryPoint, KernelHandle, ProcessEntry*) override {
    return false;
  }
  bool SendMessageTimeoutA(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t,
                           std::uint32_t, std::uint32_t, std::uintptr_t* result) override {
    *result = 0;
    return false;
  }
  bool ReadProcessMemory(KernelHandle, std::uintptr_t, void*, std::size_t,
                         std::size_t* bytes_read) override {
    if (bytes_read != nullptr) *bytes_read = 0;
    return false;
  }
  FileHandle CreateTextFile(const char* path) override {
    return std::fopen(path, "w");
  }
  bool WriteTextFile(FileHandle file, const char* text,
                     std::size_t bytes) override {
    return std::fwrite(text, 1, bytes, static_cast<std::FILE*>(file)) == bytes;
  }
  bool CloseTextFile(FileHandle file) override {
    return std::fclose(static_cast<std::FILE*>(file)) == 0;
  }
};

Platform* installed = nullptr;

}  // namespace

Platform& Platform::Current() {
  static NativePlatform platform;
  return installed != nullptr ? *installed : platform;
}

Platform* SetCurrentPlatform(Platform* platform) {
  return std::exchange(installed, platform);
}

}  // namespace nirevo::platform
