#include "toolhelp_widening.h"

#include <tlhelp32.h>

#include <cstring>

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

FARPROC AsProc(void* function) { return reinterpret_cast<FARPROC>(function); }

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

// Points `module`'s import slot of `function` from `library` at `replacement`.
bool RewriteImport(HMODULE module, const char* library, const char* function,
                   ULONG_PTR replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return false;
  for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       descriptor->Name != 0; ++descriptor) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), library) != 0) continue;
    if (descriptor->OriginalFirstThunk == 0) return false;  // names unknown once bound
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* import = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(import->Name), function) != 0) continue;
      DWORD protection = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                          &protection)) {
        return false;
      }
      slots->u1.Function = replacement;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
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
