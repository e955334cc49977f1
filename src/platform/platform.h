// The platform seam: every operating-system service that nirevo uses, one
// method per Win32 call. The module's own code (interface/, player/) reaches
// the desktop, the player's process and the host's memory blocks only through
// this class; the build compiles exactly one default implementation, and tests
// install a simulated desktop instead.
#ifndef NIREVO_PLATFORM_PLATFORM_H_
#define NIREVO_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <cstdint>

namespace nirevo::platform {

// Opaque handles, pointer-sized as on Win32. A window handle is only
// compared and passed back; a block handle is the block's address.
using WindowHandle = void*;
using KernelHandle = void*;  // a process handle or a Toolhelp snapshot
using ModuleHandle = void*;  // a loaded library or a process module
using BlockHandle = void*;   // a fixed global memory block
using FileHandle = void*;    // a file open for writing
using EntryPoint = void (*)();  // a looked-up function; call it through the seam

// The value that CreateToolhelp32Snapshot answers on failure (all bits set).
inline KernelHandle InvalidHandleValue() {
  return reinterpret_cast<KernelHandle>(~std::uintptr_t{0});
}

// Window-enumeration callback: answers nonzero to continue.
using WindowEnumProc = int (*)(WindowHandle window, std::intptr_t user);

// GetVersionExA's platform ids.
inline constexpr std::uint32_t kPlatformWin32Windows = 1;  // Windows 95 family
inline constexpr std::uint32_t kPlatformWin32Nt = 2;       // Windows NT family

// Access rights for OpenProcess.
inline constexpr std::uint32_t kProcessVmRead = 0x0010;
inline constexpr std::uint32_t kProcessQueryInformation = 0x0400;

// SendMessageTimeoutA flags. kSendNormal still serves messages sent to the
// calling thread while it waits, as SendMessageA does; kSendAbortIfHung
// returns at once when the system already judges the window hung.
inline constexpr std::uint32_t kSendNormal = 0x0000;
inline constexpr std::uint32_t kSendAbortIfHung = 0x0002;

// CreateToolhelp32Snapshot flag: processes only.
inline constexpr std::uint32_t kSnapshotProcesses = 0x2;

// The part of PROCESSENTRY32 the module reads.
struct ProcessEntry {
  std::uint32_t process_id = 0;
  char exe_file[260] = {};  // zero-terminated
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The platform that the entry points use: the build's own (on the native
  // build, whichever one a test installed; see native_platform.h).
  static Platform& Current();

  // Global memory blocks, always fixed (GMEM_FIXED): the handle is the address.
  // GlobalAlloc answers null when no memory is left.
  virtual BlockHandle GlobalAlloc(std::size_t bytes) = 0;
  virtual void GlobalFree(BlockHandle block) = 0;

  // Top-level windows. EnumWindows calls `proc` once per window until it
  // answers 0; it answers false when the enumeration failed or was stopped.
  virtual bool EnumWindows(WindowEnumProc proc, std::intptr_t user) = 0;
  // Copies at most max_count - 1 title bytes and a terminator; answers the
  // number of bytes copied, 0 on failure.
  virtual int GetWindowTextA(WindowHandle window, char* text, int max_count) = 0;
  // Stores the owning process id (0 on failure); answers the thread id.
  virtual std::uint32_t GetWindowThreadProcessId(WindowHandle window,
                                                 std::uint32_t* process_id) = 0;

  // Answers false on failure; otherwise stores GetVersionExA's platform id.
  virtual bool GetVersionExA(std::uint32_t* platform_id) = 0;

  // Libraries. LoadLibraryA answers null on failure; a loaded library is
  // released with FreeLibrary. GetModuleHandleA does not load: its handle is
  // not released. GetProcAddress answers null when the name is missing.
  virtual ModuleHandle LoadLibraryA(const char* name) = 0;
  virtual void FreeLibrary(ModuleHandle library) = 0;
  virtual ModuleHandle GetModuleHandleA(const char* name) = 0;
  virtual EntryPoint GetProcAddress(ModuleHandle module, const char* name) = 0;

  // Processes. OpenProcess answers null on failure; every handle it or
  // CreateToolhelp32Snapshot answered is released with CloseHandle.
  virtual KernelHandle OpenProcess(std::uint32_t access,
                                   std::uint32_t process_id) = 0;
  virtual void CloseHandle(KernelHandle handle) = 0;

  // PSAPI, called through entry points looked up in "PSAPI.DLL".
  // EnumProcessModules fills at most `bytes` bytes of `modules`.
  virtual bool EnumProcessModules(EntryPoint entry, KernelHandle process,
                                  ModuleHandle* modules, std::uint32_t bytes,
                                  std::uint32_t* bytes_needed) = 0;
  // Copies the module's path, cut to capacity - 1 bytes and terminated;
  // answers the bytes copied, 0 on failure.
  virtual std::uint32_t GetModuleFileNameExA(EntryPoint entry,
                                             KernelHandle process,
                                             ModuleHandle module, char* path,
                                             std::uint32_t capacity) = 0;

  // Toolhelp, called through entry points looked up in "kernel32.dll".
  // CreateToolhelp32Snapshot answers InvalidHandleValue() on failure.
  virtual KernelHandle CreateToolhelp32Snapshot(EntryPoint entry,
                                                std::uint32_t flags,
                                                std::uint32_t process_id) = 0;
  virtual bool Process32First(EntryPoint entry, KernelHandle snapshot,
                              ProcessEntry* entry_out) = 0;
  virtual bool Process32Next(EntryPoint entry, KernelHandle snapshot,
                             ProcessEntry* entry_out) = 0;

  // Sends one message synchronously, as SendMessageTimeoutA: waits at most
  // `timeout_ms` for the window's answer. Answers true and stores the answer
  // in `result` when the window answered; false on a timeout, when the window
  // is already judged hung (kSendAbortIfHung) or when it no longer exists.
  virtual bool SendMessageTimeoutA(WindowHandle window, std::uint32_t message,
                                   std::uintptr_t wparam, std::intptr_t lparam,
                                   std::uint32_t flags, std::uint32_t timeout_ms,
                                   std::uintptr_t* result) = 0;

  // Copies `bytes` bytes from `address` in the process; true only when the
  // whole range was copied.
  virtual bool ReadProcessMemory(KernelHandle process, std::uintptr_t address,
                                 void* buffer, std::size_t bytes,
                                 std::size_t* bytes_read) = 0;

  // The C runtime's files, in text mode: on Windows every LF is written as
  // CR LF. CreateTextFile creates or truncates `path` and answers null when
  // it cannot be opened; every file it answered is released with
  // CloseTextFile.
  virtual FileHandle CreateTextFile(const char* path) = 0;
  // Answers true only when all `bytes` were written.
  virtual bool WriteTextFile(FileHandle file, const char* text,
                             std::size_t bytes) = 0;
  // Flushes and closes; the handle is released either way. Answers false
  // when the flush or the close failed.
  virtual bool CloseTextFile(FileHandle file) = 0;
};

}  // namespace nirevo::platform

#endif  // NIREVO_PLATFORM_PLATFORM_H_
