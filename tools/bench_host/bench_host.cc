// Side by side under Wine, in one host: nirevo.dll answering requests, and a
// bare loop that makes exactly the Win32 calls the behaviour requires — one
// window enumeration with a title read per window, the image-path lookup for
// a window whose title matches, the player's messages (sent with the
// module's own bounded wait), and per title one
// open, one 256-byte read and one close; plus the host's text blocks.
//
//   nirevo_bench_host.exe [ROUNDS [MODULE.dll [PLAYER.exe]]]
//
// (by default nirevo.dll beside this program and the installed player)
//
// Prints, per case, the median over ROUNDS of DLL time / bare time.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "player/player_channel.h"
#include "player_process.h"
#include "saori_host.h"

namespace {

// The SDK's declarations, calling convention included; nothing links against PSAPI.
using EnumProcessModulesFn = decltype(&::EnumProcessModules);
using GetModuleFileNameExAFn = decltype(&::GetModuleFileNameExA);
static_assert(std::is_same_v<EnumProcessModulesFn, decltype(&::EnumProcessModules)>);
static_assert(std::is_same_v<GetModuleFileNameExAFn, decltype(&::GetModuleFileNameExA)>);

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool ImagePathMatches(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
  HMODULE psapi = LoadLibraryA("PSAPI.DLL");
  if (psapi == nullptr) return false;
  auto enum_modules = reinterpret_cast<EnumProcessModulesFn>(
      reinterpret_cast<void*>(GetProcAddress(psapi, "EnumProcessModules")));
  auto file_name = reinterpret_cast<GetModuleFileNameExAFn>(
      reinterpret_cast<void*>(GetProcAddress(psapi, "GetModuleFileNameExA")));
  char path[255] = {};
  bool found = false;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id);
  if (process != nullptr) {
    HMODULE module = nullptr;
    DWORD needed = 0;
    found = enum_modules(process, &module, sizeof module, &needed) &&
            file_name(process, module, path, sizeof path) != 0 &&
            std::strstr(path, "\\Winamp\\winamp.exe") != nullptr;
    CloseHandle(process);
  }
  FreeLibrary(psapi);
  return found;
}

BOOL CALLBACK TestWindow(HWND window, LPARAM lparam) {
  char title[255] = {};
  GetWindowTextA(window, title, sizeof title);
  if (std::strstr(title, "Winamp") != nullptr && std::strstr(title, "Winamp AL") == nullptr &&
      ImagePathMatches(window)) {
    *reinterpret_cast<HWND*>(lparam) = window;
  }
  return TRUE;
}

// One message to the player, sent as the module sends it.
LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                      nirevo::player::kPlayerAnswerTimeoutMs, &answer);
  return static_cast<LRESULT>(answer);
}

// The host's side of one request: a block in, a block out.
void TransferBlocks(std::size_t request_bytes, std::size_t response_bytes) {
  GlobalFree(GlobalAlloc(GMEM_FIXED, request_bytes));
  GlobalFree(GlobalAlloc(GMEM_FIXED, response_bytes));
}

HWND BareSearch() {
  HWND window = nullptr;
  EnumWindows(&TestWindow, reinterpret_cast<LPARAM>(&window));
  return window;
}

void BareGetVolume(std::size_t request_bytes, std::size_t response_bytes) {
  HWND window = BareSearch();
  Send(window, WM_USER, static_cast<WPARAM>(-666), 122);
  TransferBlocks(request_bytes, response_bytes);
}

void BareGetPlaylist(std::size_t request_bytes, std::size_t response_bytes) {
  HWND window = BareSearch();
  const LRESULT count = Send(window, WM_USER, 0, 124);
  char title[256];
  for (LRESULT i = 0; i < count; ++i) {
    std::memset(title, 0, sizeof title);
    const LRESULT address = Send(window, WM_USER, static_cast<WPARAM>(i), 212);
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, process_id);
    SIZE_T read = 0;
    ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), title, sizeof title, &read);
    CloseHandle(process);
  }
  TransferBlocks(request_bytes, response_bytes);
}

struct Case {
  const char* name;
  std::string word;
  int requests_per_round;
  void (*bare)(std::size_t, std::size_t);
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::string module_path = argc > 2 ? argv[2] : e2e::BesideThisProgram("nirevo.dll");
  const std::string player_path = argc > 3 ? argv[3] : e2e::kInstalledPlayer;
  e2e::PlayerProcess player(player_path);
  if (!player.running()) {
    std::fprintf(stderr, "bench: %s\n", player.error().c_str());
    return 2;
  }
  std::string playlist = "playlist";
  for (int i = 0; i < 2000; ++i) playlist += "\tArtist " + std::to_string(i) + " - A Title Of Some Length";
  player.Control(playlist);

  saori::Module module(module_path);
  if (!module.ok()) {
    std::fprintf(stderr, "bench: %s\n", module.error().c_str());
    return 2;
  }
  module.Load(module.directory());

  const Case cases[] = {{"getplaylist (2,000 titles)", "getplaylist", 1, BareGetPlaylist},
                        {"getvolume (200 requests)", "getvolume", 200, BareGetVolume}};
  for (const Case& c : cases) {
    const std::string request = saori::ExecuteRequest(&c.word, 1);
    const std::size_t response_bytes = module.Request(request)->size();  // warms both paths
    c.bare(request.size(), response_bytes);
    std::vector<double> ratios, dll_times, bare_times;
    for (int round = 0; round < rounds; ++round) {
      double start = Now();
      for (int i = 0; i < c.requests_per_round; ++i) module.Request(request);
      const double dll = Now() - start;
      start = Now();
      for (int i = 0; i < c.requests_per_round; ++i) c.bare(request.size(), response_bytes);
      const double bare = Now() - start;
      ratios.push_back(dll / bare);
      dll_times.push_back(dll);
      bare_times.push_back(bare);
    }
    auto median = [](std::vector<double> values) {
      std::sort(values.begin(), values.end());
      return values[values.size() / 2];
    };
    std::printf("%s\t%.4f\t%.2f\t%.2f\n", c.name, median(ratios), median(dll_times) * 1e3,
                median(bare_times) * 1e3);
  }
  return 0;
}
