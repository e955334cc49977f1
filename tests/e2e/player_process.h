// The stand-in player as a separate process for end-to-end tests: started
// from a path, waited for by polling its window within a bound (waits.h), scripted with
// WM_COPYDATA, its message log read back, and stopped.
#ifndef NIREVO_TESTS_E2E_PLAYER_PROCESS_H_
#define NIREVO_TESTS_E2E_PLAYER_PROCESS_H_

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Where the player is installed in the prefix, unless a run names another
// (--player=PATH: the 32-bit player beside a 64-bit host lives under
// "Program Files (x86)").
inline constexpr char kInstalledPlayer[] = "C:\\Program Files\\Winamp\\winamp.exe";
const std::string& InstalledPlayer();
void SetInstalledPlayer(const std::string& path);
// The module under test.
const std::string& ModulePath();
// The DLL with the plain export names that the run was given, or empty.
const std::string& PlainNamesDll();
// The platform id the run's line expects the prefix to report (--windows),
// or 0 when it names none.
DWORD ExpectedPlatformId();
// The path of the tool `name` (saori-call.exe, nirevo-check.exe): in the
// folder --tools=DIR names, where the tools a release ships were built, or
// else beside this program.
std::string ToolPath(const std::string& name);

class PlayerProcess {
 public:
  // Starts `exe` with `options` (after a --log option of its own) and waits
  // until its main window is up; check running() afterwards.
  PlayerProcess(const std::string& exe, const std::string& options = "");
  ~PlayerProcess();  // asks the player to exit, waits, then terminates
  PlayerProcess(const PlayerProcess&) = delete;
  PlayerProcess& operator=(const PlayerProcess&) = delete;

  bool running() const { return window_ != nullptr; }
  // Whether it showed its window and has not ended since.
  bool alive() const {
    return running() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }
  const std::string& error() const { return error_; }
  HWND window() const { return window_; }
  DWORD process_id() const { return process_.dwProcessId; }

  // Sends control lines to the player (see the stand-in player's header).
  void Control(const std::string& script) const;
  // Makes the player stop taking messages until Resume (or, for a test that
  // never resumes it, until a bound of minutes); Control returns at once.
  void Hang() const;
  void Resume() const;
  // Whether the player answers a message again within the bound; if not,
  // `error` says how long it was waited for.
  bool AnswersAgain(std::string* error) const;
  // The messages received since the last ClearLog, "message wparam lparam".
  std::vector<std::string> Log() const;
  void ClearLog() const { Control("clearlog"); }

 private:
  PROCESS_INFORMATION process_ = {};
  HWND window_ = nullptr;
  std::string log_path_;
  std::string error_;
};

// The longest any player of this run took to show its window.
DWORD SlowestStartMs();

// The path of `name` in the directory of the running program.
std::string BesideThisProgram(const std::string& name);

// A directory of its own under the temporary directory, removed at the end.
class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  const std::string& path() const { return path_; }  // ends in a backslash
 private:
  std::string path_;
};

}  // namespace e2e

#endif  // NIREVO_TESTS_E2E_PLAYER_PROCESS_H_
