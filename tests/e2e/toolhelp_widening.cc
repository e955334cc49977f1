#include "toolhelp_widening.h"

#include <tlhelp32.h>

#include <cstring>
#include <type_traits>

#include "import_rewrite.h"

namespace e2e {
namespace {

BOOL Widen(BOOL found, PROCESSENTRY32* entry) {
  if (!found) return found;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry->th32ProcessID);
  if (process == nullptr) return found;
  char path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (QueryFullProcessImageNameA(process, 0, path, &size)) {
    lstrcpynA(entry->szExeFile, path, sizeof entry->szExeFile);
  }
  CloseHandle(process);
  return found;
}

BOOL WINAPI WidenedProcess32First(HANDLE snapshot, PROCESSENTRY32* entry) {
  return Widen(Process32First(snapshot, entry), entry);
}

BOOL WINAPI WidenedProcess32Next(HANDLE snapshot, PROCESSENTRY32* entry) {
  return Widen(Process32Next(snapshot, entry), entry);
}

// Each stands in for the function whose import it replaces: the same type,
// calling convention included.
static_assert(std::is_same_v<decltype(&WidenedProcess32First), decltype(&::Process32First)>);
static_assert(std::is_same_v<decltype(&WidenedProcess32Next), decltype(&::Process32Next)>);

FARPROC AsProc(void* function) { return reinterpret_cast<FARPROC>(function); }

FARPROC WINAPI LookUpWidened(HMODULE library, LPCSTR name);
static_assert(std::is_same_v<decltype(&LookUpWidened), decltype(&::GetProcAddress)>);

FARPROC WINAPI LookUpWidened(HMODULE library, LPCSTR name) {
  const bool by_name = reinterpret_cast<ULONG_PTR>(name) > 0xffff;
  if (by_name && std::strcmp(name, "Process32First") == 0) {
    return AsProc(reinterpret_cast<void*>(&WidenedProcess32First));
  }
  if (by_name && std::strcmp(name, "Process32Next") == 0) {
    return AsProc(reinterpret_cast<void*>(&WidenedProcess32Next));
  }
  return GetProcAddress(library, name);
}

}  // namespace

bool WidenToolhelpPaths(HMODULE module) {
  return RewriteImport(module, "KERNEL32.dll", "GetProcAddress",
                       reinterpret_cast<ULONG_PTR>(&LookUpWidened));
}

DWORD ReportedPlatformId() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return 0;
#pragma GCC diagnostic pop
  return info.dwPlatformId;
}

}  // namespace e2e
