#include "testing/fault_injection.h"

namespace nirevo::test {

using platform::BlockHandle;
using platform::EntryPoint;
using platform::FileHandle;
using platform::KernelHandle;
using platform::ModuleHandle;
using platform::WindowHandle;

BlockHandle FaultInjection::GlobalAlloc(std::size_t bytes) {
  return Fails() ? nullptr : target().GlobalAlloc(bytes);
}

bool FaultInjection::EnumWindows(platform::WindowEnumProc proc, std::intptr_t user) {
  return Fails() ? false : target().EnumWindows(proc, user);
}

int FaultInjection::GetWindowTextA(WindowHandle window, char* text, int max_count) {
  if (!Fails()) return target().GetWindowTextA(window, text, max_count);
  if (max_count > 0) text[0] = '\0';
  return 0;
}

std::uint32_t FaultInjection::GetWindowThreadProcessId(WindowHandle window,
                                                       std::uint32_t* process_id) {
  if (!Fails()) return target().GetWindowThreadProcessId(window, process_id);
  if (process_id != nullptr) *process_id = 0;
  return 0;
}

bool FaultInjection::GetVersionExA(std::uint32_t* platform_id) {
  if (!Fails()) return target().GetVersionExA(platform_id);
  if (!version_fails_as_unknown_platform) return false;
  *platform_id = 3;
  return true;
}

ModuleHandle FaultInjection::LoadLibraryA(const char* name) {
  return Fails() ? nullptr : target().LoadLibraryA(name);
}

ModuleHandle FaultInjection::GetModuleHandleA(const char* name) {
  return Fails() ? nullptr : target().GetModuleHandleA(name);
}

EntryPoint FaultInjection::GetProcAddress(ModuleHandle module, const char* name) {
  return Fails() ? nullptr : target().GetProcAddress(module, name);
}

KernelHandle FaultInjection::OpenProcess(std::uint32_t access, std::uint32_t process_id) {
  return Fails() ? nullptr : target().OpenProcess(access, process_id);
}

bool FaultInjection::EnumProcessModules(EntryPoint entry, KernelHandle process,
                                        ModuleHandle* modules, std::uint32_t bytes,
                                        std::uint32_t* bytes_needed) {
  return Fails() ? false : target().EnumProcessModules(entry, process, modules, bytes, bytes_needed);
}

std::uint32_t FaultInjection::GetModuleFileNameExA(EntryPoint entry, KernelHandle process,
                                                   ModuleHandle module, char* path,
                                                   std::uint32_t capacity) {
  if (!Fails()) return target().GetModuleFileNameExA(entry, process, module, path, capacity);
  if (capacity > 0) path[0] = '\0';
  return 0;
}

KernelHandle FaultInjection::CreateToolhelp32Snapshot(EntryPoint entry, std::uint32_t flags,
                                                      std::uint32_t process_id) {
  return Fails() ? platform::InvalidHandleValue()
                 : target().CreateToolhelp32Snapshot(entry, flags, process_id);
}

bool FaultInjection::Process32First(EntryPoint entry, KernelHandle snapshot,
                                    platform::ProcessEntry* out) {
  return Fails() ? false : target().Process32First(entry, snapshot, out);
}

bool FaultInjection::Process32Next(EntryPoint entry, KernelHandle snapshot,
                                   platform::ProcessEntry* out) {
  return Fails() ? false : target().Process32Next(entry, snapshot, out);
}

bool FaultInjection::SendMessageTimeoutA(WindowHandle window, std::uint32_t message,
                                         std::uintptr_t wparam, std::intptr_t lparam,
                                         std::uint32_t flags, std::uint32_t timeout_ms,
                                         std::uintptr_t* result) {
  if (!Fails()) {
    return target().SendMessageTimeoutA(window, message, wparam, lparam, flags, timeout_ms, result);
  }
  if (!send_fails_as_window_gone) {
    target().SendMessageTimeoutA(window, message, wparam, lparam, flags, timeout_ms, result);
  }
  *result = 0;
  return false;
}

bool FaultInjection::ReadProcessMemory(KernelHandle process, std::uintptr_t address, void* buffer,
                                       std::size_t bytes, std::size_t* bytes_read) {
  if (!Fails()) return target().ReadProcessMemory(process, address, buffer, bytes, bytes_read);
  target().ReadProcessMemory(process, address, buffer, bytes / 2, bytes_read);
  return false;
}

FileHandle FaultInjection::CreateTextFile(const char* path) {
  return Fails() ? nullptr : target().CreateTextFile(path);
}

bool FaultInjection::WriteTextFile(FileHandle file, const char* text, std::size_t bytes) {
  if (!Fails()) return target().WriteTextFile(file, text, bytes);
  target().WriteTextFile(file, text, bytes / 2);  // the disk filled up halfway
  return false;
}

bool FaultInjection::CloseTextFile(FileHandle file) {
  const bool fails = Fails();
  const bool closed = target().CloseTextFile(file);
  return closed && !fails;
}

}  // namespace nirevo::test
