// A stand-in for the Winamp player: a top-level window of class "Winamp v1.x"
// titled like the real player, answering the player's menu commands and
// WM_USER operations from real state, with the playlist titles in its own
// memory. Every WM_COMMAND and WM_USER message it receives is appended to a
// log file as "message wparam lparam" (decimal, wParam signed), so tests can
// read back what a module sent.
//
//   winamp.exe [--log FILE] [--title TEXT] [--titles-high] [--al-window]
//
// --title fixes the window title (a decoy program); --titles-high keeps the
// titles above 4 GiB; --al-window adds a second window titled "Winamp AL".
//
// Tests script it with WM_COPYDATA (dwData kControl), one command per line:
//   playlist<TAB>title<TAB>title…   set NAME VALUE   noaddress INDEX
//   unreadable INDEX   partial INDEX   hang MS   clearlog   reset   exit
// ("unreadable" answers an address in a page that cannot be read, "partial"
// one whose 256 bytes run past the end of readable memory; "hang" releases
// the sender, then stops taking messages for MS milliseconds or until the
// event named by standin::ResumeEventName is set, as a player whose plug-in
// hangs, and then logs "hang ended: resumed" or "hang ended: ran out";
// "reset" brings back the state it started with and clears the log, so
// that tests can share one player)
// where NAME is playing, elapsed, length, volume, shuffle, repeat, position
// or jump_answer.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "standin_control.h"

namespace {

using standin::kControl;
constexpr std::size_t kSlot = 4096;  // room for a whole 256-byte read after every title

// What the messages read and change, and control scripts set; "reset"
// brings it back to this start.
struct Playback {
  long playing = 0, elapsed = 0, length = 215, volume = 128, shuffle = 0, repeat = 0;
  long position = 0, jump_answer = 0;
  std::vector<std::string> titles = {"Artist - Title", "Second Artist - Second Title",
                                     "Third Artist - Third Title"};
  std::map<long, std::uintptr_t> address_override;
};

struct Player {
  char* memory = nullptr;  // the titles, one per slot
  std::size_t memory_size = 0;
  char* no_access = nullptr;  // a page that cannot be read
  bool high = false;
  std::string fixed_title;
  FILE* log = nullptr;
  std::string log_path;
  HWND window = nullptr;
  DWORD hang_ms = 0;      // a hang asked for by the control script in hand
  HANDLE resume = nullptr;  // ends a hang early
};

Player player;
Playback state;

void* AllocateAt(std::size_t size, bool high, DWORD protect) {
  if (high) return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, protect);
  // Below 4 GiB, where a 32-bit answer could carry the address.
  for (std::uintptr_t hint = 0x10000000; hint < 0x80000000; hint += 0x01000000) {
    void* at = VirtualAlloc(reinterpret_cast<void*>(hint), size, MEM_RESERVE | MEM_COMMIT, protect);
    if (at != nullptr) return at;
  }
  return nullptr;
}

void LayOutTitles() {
  if (player.memory != nullptr) VirtualFree(player.memory, 0, MEM_RELEASE);
  player.memory_size = kSlot * (state.titles.size() + 1);
  player.memory = static_cast<char*>(AllocateAt(player.memory_size, player.high, PAGE_READWRITE));
  for (std::size_t i = 0; i < state.titles.size(); ++i) {
    std::string title = state.titles[i].substr(0, kSlot - 257);
    std::memcpy(player.memory + i * kSlot, title.data(), title.size());
  }
}

void UpdateTitle() {
  std::string title = player.fixed_title;
  if (title.empty()) {
    std::string entry = state.position >= 0 && static_cast<std::size_t>(state.position) <
                                                     state.titles.size()
                            ? state.titles[static_cast<std::size_t>(state.position)]
                            : "";
    title = std::to_string(state.position + 1) + ". " + entry + " - Winamp";
  }
  SetWindowTextA(player.window, title.c_str());
}

LRESULT TitleAddress(long index) {
  auto scripted = state.address_override.find(index);
  if (scripted != state.address_override.end()) return static_cast<LRESULT>(scripted->second);
  if (index < 0 || static_cast<std::size_t>(index) >= state.titles.size()) return 0;
  return reinterpret_cast<LRESULT>(player.memory + static_cast<std::size_t>(index) * kSlot);
}

LRESULT Operation(long operand, LPARAM operation) {
  switch (operation) {
    case 104: return state.playing;
    case 105: return operand == 0 ? state.elapsed : state.length;
    case 106: state.elapsed = operand; return state.jump_answer;
    case 121: state.position = operand; UpdateTitle(); return 0;
    case 122:
      if (operand == -666) return state.volume;
      state.volume = operand;
      return 0;
    case 124: return static_cast<LRESULT>(state.titles.size());
    case 125: return state.position;
    case 212: return TitleAddress(operand);
    case 250: return state.shuffle;
    case 251: return state.repeat;
    case 252: state.shuffle = operand; return 0;
    case 253: state.repeat = operand; return 0;
    default: return 0;
  }
}

void MenuCommand(long id) {
  switch (id) {
    case 40044: if (state.position > 0) --state.position; break;
    case 40045: state.playing = 1; break;
    case 40046: if (state.playing == 1) state.playing = 3; break;
    case 40047: state.playing = 0; state.elapsed = 0; break;
    case 40048: ++state.position; break;
    case 40058: state.volume = state.volume + 3 > 255 ? 255 : state.volume + 3; break;
    case 40059: state.volume = state.volume < 3 ? 0 : state.volume - 3; break;
    default: break;
  }
  UpdateTitle();
}

void Control(const std::string& script) {
  std::istringstream lines(script);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string verb;
    std::getline(words, verb, line.find('\t') != std::string::npos ? '\t' : ' ');
    if (verb == "reset") {
      state = Playback();
      LayOutTitles();
    }
    if (verb == "playlist") {
      state.titles.clear();
      for (std::string title; std::getline(words, title, '\t');) state.titles.push_back(title);
      state.address_override.clear();
      LayOutTitles();
    } else if (verb == "set") {
      std::string name;
      long value = 0;
      words >> name >> value;
      std::map<std::string, long*> fields = {
          {"playing", &state.playing},   {"elapsed", &state.elapsed},
          {"length", &state.length},     {"volume", &state.volume},
          {"shuffle", &state.shuffle},   {"repeat", &state.repeat},
          {"position", &state.position}, {"jump_answer", &state.jump_answer}};
      if (fields.count(name) != 0) *fields[name] = value;
    } else if (verb == "noaddress" || verb == "unreadable" || verb == "partial") {
      long index = 0;
      words >> index;
      const std::size_t committed = (player.memory_size + 4095) / 4096 * 4096;
      state.address_override[index] =
          verb == "noaddress"    ? 0
          : verb == "unreadable" ? reinterpret_cast<std::uintptr_t>(player.no_access)
                                 : reinterpret_cast<std::uintptr_t>(player.memory + committed - 100);
    } else if (verb == "hang") {
      words >> player.hang_ms;
    } else if ((verb == "clearlog" || verb == "reset") && player.log != nullptr) {
      std::fclose(player.log);
      player.log = std::fopen(player.log_path.c_str(), "wb");
    } else if (verb == "exit") {
      DestroyWindow(player.window);
    }
  }
  UpdateTitle();
}

void Log(UINT message, WPARAM wparam, LPARAM lparam) {
  if (player.log == nullptr) return;
  std::fprintf(player.log, "%u %lld %lld\n", message,
               static_cast<long long>(static_cast<LONG_PTR>(wparam)),
               static_cast<long long>(lparam));
  std::fflush(player.log);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const long operand = static_cast<long>(static_cast<LONG_PTR>(wparam));
  switch (message) {
    case WM_COMMAND:
      Log(message, wparam, lparam);
      MenuCommand(operand);
      return 0;
    case WM_USER:
      Log(message, wparam, lparam);
      return Operation(operand, lparam);
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (data->dwData != kControl) return FALSE;
      Control(std::string(static_cast<const char*>(data->lpData), data->cbData));
      if (player.hang_ms != 0) {
        // The window thread stops taking messages; the sender goes on.
        ResetEvent(player.resume);  // a resume sent before this hang does not end it
        ReplyMessage(TRUE);
        const bool resumed = WaitForSingleObject(player.resume, player.hang_ms) == WAIT_OBJECT_0;
        player.hang_ms = 0;
        if (player.log != nullptr) {
          std::fputs(resumed ? "hang ended: resumed\n" : "hang ended: ran out\n", player.log);
          std::fflush(player.log);
        }
      }
      return TRUE;
    }
    case WM_DESTROY:
      if (window == player.window) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  bool al_window = false;
  for (int i = 1; i < __argc; ++i) {
    std::string option = __argv[i];
    if (option == "--log" && i + 1 < __argc) {
      player.log_path = __argv[++i];
      player.log = std::fopen(player.log_path.c_str(), "wb");
    } else if (option == "--title" && i + 1 < __argc) {
      player.fixed_title = __argv[++i];
    } else if (option == "--titles-high") {
      player.high = true;
    } else if (option == "--al-window") {
      al_window = true;
    }
  }
  player.resume = CreateEventA(nullptr, FALSE, FALSE,
                               standin::ResumeEventName(GetCurrentProcessId()).c_str());
  player.no_access = static_cast<char*>(AllocateAt(kSlot, player.high, PAGE_NOACCESS));
  LayOutTitles();

  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "Winamp v1.x";
  RegisterClassA(&window_class);
  if (al_window) {
    HWND al = CreateWindowExA(0, "Winamp v1.x", "Winamp AL", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, instance, nullptr);
    ShowWindow(al, SW_SHOWNOACTIVATE);
  }
  player.window = CreateWindowExA(0, "Winamp v1.x", "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 275,
                                  116, nullptr, nullptr, instance, nullptr);
  if (player.window == nullptr) return 1;
  UpdateTitle();
  ShowWindow(player.window, SW_SHOWNOACTIVATE);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (player.log != nullptr) std::fclose(player.log);
  CloseHandle(player.resume);
  return 0;
}
