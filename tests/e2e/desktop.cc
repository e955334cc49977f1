#include "desktop.h"

#include <windows.h>

#include "waits.h"

namespace e2e {

bool StartDesktop(std::string* error) {
  char system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    *error = "no system directory (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  const std::string explorer = std::string(system) + "\\explorer.exe";
  std::string command = "\"" + explorer + "\" /desktop";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(explorer.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    *error = "cannot start " + explorer + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  // A desktop that already has its process makes this one end at once,
  // which ends the wait as well.
  const ULONGLONG start = GetTickCount64();
  const DWORD waited = WaitForInputIdle(process.hProcess, BoundMs(kDesktopStarts));
  const DWORD elapsed = static_cast<DWORD>(GetTickCount64() - start);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (waited == WAIT_TIMEOUT) {
    *error = "no desktop from " + explorer + ": " + RanOut(kDesktopStarts, elapsed);
    return false;
  }
  // Explorer names the display driver on the desktop window as it makes it.
  if (GetPropW(GetDesktopWindow(), L"__wine_display_device_guid") == nullptr) {
    *error = "the desktop has no display driver: a window was made on it before its process "
             "was up";
    return false;
  }
  return true;
}

void HoldDesktop() { Sleep(BoundMs(kDesktopHeld)); }

}  // namespace e2e
