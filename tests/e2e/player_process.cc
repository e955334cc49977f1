#include "player_process.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "standin_control.h"
#include "waits.h"

namespace e2e {
namespace {

// A control script is taken at once by a player that is not frozen.
constexpr Wait kControlTaken{"the player to take a control script", 60000};

DWORD slowest_start_ms = 0;

struct WindowOf {
  DWORD process_id;
  HWND window;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<WindowOf*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  if (owner == search->process_id && std::string(title) != "Winamp AL" && title[0] != '\0') {
    char class_name[64] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    if (std::string(class_name) == "Winamp v1.x") search->window = window;
  }
  return TRUE;
}

int counter = 0;

std::string& InstalledPlayerPath() {
  static std::string path = kInstalledPlayer;
  return path;
}

}  // namespace

const std::string& InstalledPlayer() { return InstalledPlayerPath(); }
void SetInstalledPlayer(const std::string& path) { InstalledPlayerPath() = path; }

PlayerProcess::PlayerProcess(const std::string& exe, const std::string& options) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  log_path_ = std::string(temp) + "nirevo-player-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter) + ".log";
  std::string command = "\"" + exe + "\" --log \"" + log_path_ + "\" " + options;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    error_ = "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")";
    return;
  }
  const auto window_is_up = [this] {
    WindowOf search{process_.dwProcessId, nullptr};
    EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    if (search.window != nullptr) {
      char title[256] = {};
      GetWindowTextA(search.window, title, sizeof title);
      // The title is set right after creation: wait for it, not for the window alone.
      if (std::string(title) != "Winamp") window_ = search.window;
    }
    return window_ != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
  };
  DWORD elapsed = 0;
  const bool done = WaitUntil(kProgramStarts, window_is_up, &elapsed);
  if (window_ != nullptr) {
    slowest_start_ms = std::max(slowest_start_ms, elapsed);
    return;
  }
  DWORD exit_code = 0;
  if (done && GetExitCodeProcess(process_.hProcess, &exit_code)) {
    error_ = exe + " ended without a window (exit code " + std::to_string(exit_code) + ") after " +
             std::to_string(elapsed / 1000) + " s";
  } else {
    error_ = "no window from " + exe + ": " + RanOut(kProgramStarts, elapsed);
  }
}

PlayerProcess::~PlayerProcess() {
  if (process_.hProcess == nullptr) return;
  const DWORD bound = BoundMs(kProgramEnds);
  if (window_ == nullptr) {
    // A player that showed no window cannot be asked to exit; its failure
    // was said where it was started.
    TerminateProcess(process_.hProcess, 1);
  } else {
    Resume();
    Control("exit");
  }
  if (WaitForSingleObject(process_.hProcess, bound) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "the player did not exit when asked: %s; ending it\n",
                 RanOut(kProgramEnds, bound).c_str());
    TerminateProcess(process_.hProcess, 1);
    if (WaitForSingleObject(process_.hProcess, bound) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "the player did not end: %s\n", RanOut(kProgramEnds, bound).c_str());
    }
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  DeleteFileA(log_path_.c_str());
}

void PlayerProcess::Control(const std::string& script) const {
  COPYDATASTRUCT data = {};
  data.dwData = standin::kControl;
  data.cbData = static_cast<DWORD>(script.size());
  data.lpData = const_cast<char*>(script.data());
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                           BoundMs(kControlTaken), &result)) {
    std::fprintf(stderr, "control script \"%s\" not taken: %s\n", script.c_str(),
                 RanOut(kControlTaken, BoundMs(kControlTaken)).c_str());
  }
}

void PlayerProcess::Hang() const {
  Control("hang " + std::to_string(BoundMs(kFrozenPlayer)));
}

void PlayerProcess::Resume() const {
  HANDLE resume = OpenEventA(EVENT_MODIFY_STATE, FALSE,
                             standin::ResumeEventName(process_.dwProcessId).c_str());
  if (resume == nullptr) return;
  SetEvent(resume);
  CloseHandle(resume);
}

bool PlayerProcess::AnswersAgain(std::string* error) const {
  DWORD_PTR result = 0;
  const ULONGLONG start = GetTickCount64();
  if (SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, BoundMs(kAnswersAgain), &result)) {
    return true;
  }
  *error = RanOut(kAnswersAgain, static_cast<DWORD>(GetTickCount64() - start));
  return false;
}

DWORD SlowestStartMs() { return slowest_start_ms; }

std::vector<std::string> PlayerProcess::Log() const {
  std::ifstream file(log_path_);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::string BesideThisProgram(const std::string& name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  return directory.substr(0, directory.rfind('\\') + 1) + name;
}

TempDirectory::TempDirectory() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + "nirevo-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempDirectory::~TempDirectory() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileA((path_ + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path_.c_str());
}

}  // namespace e2e
