#include "player_process.h"

#include <fstream>
#include <string>

#include "standin_control.h"

namespace e2e {
namespace {

constexpr int kWaitSteps = 600;  // polls of 50 ms: at most 30 s for a slow prefix

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
  WaitForInputIdle(process_.hProcess, 10000);
  for (int step = 0; step < kWaitSteps && window_ == nullptr; ++step) {
    WindowOf search{process_.dwProcessId, nullptr};
    EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    if (search.window != nullptr) {
      char title[256] = {};
      GetWindowTextA(search.window, title, sizeof title);
      // The title is set right after creation: wait for it, not for the window alone.
      if (std::string(title) != "Winamp") window_ = search.window;
    }
    if (window_ == nullptr) Sleep(50);
  }
  if (window_ == nullptr) error_ = "no window from " + exe + " within the wait";
}

PlayerProcess::~PlayerProcess() {
  if (process_.hProcess == nullptr) return;
  if (window_ != nullptr) {
    Resume();
    Control("exit");
  }
  if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
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
  SendMessageA(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

void PlayerProcess::Resume() const {
  HANDLE resume = OpenEventA(EVENT_MODIFY_STATE, FALSE,
                             standin::ResumeEventName(process_.dwProcessId).c_str());
  if (resume == nullptr) return;
  SetEvent(resume);
  CloseHandle(resume);
}

bool PlayerProcess::Answers(DWORD timeout_ms) const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &result) != 0;
}

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
