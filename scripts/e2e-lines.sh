# Sourced by wine-phases.sh: the lines the end-to-end part must print, each
# with the number of tests it must run. The test command is green only when
# every one of them printed its PASS line with that number, and a phase
# whose line is not listed here, or that ran another number, fails. "32"
# marks a line that needs 32-bit code: where this machine's kernel runs
# none, it runs in the emulated machine and says so (" (emulated machine)").
#   bits|tests|name
e2e_lines=(
  "32|21|32-bit host, shipped 32-bit DLL, 32-bit player, NT (PSAPI)"
  "32|2|32-bit host, shipped 32-bit DLL, 32-bit player, NT (PSAPI): the player stops answering, then answers again"
  "32|8|32-bit host, shipped 32-bit DLL, 32-bit player, Windows 98 (Toolhelp)"
  "32|21|64-bit host, 64-bit DLL, 32-bit player in Program Files (x86), NT (PSAPI)"
  "32|2|64-bit host, 64-bit DLL, 32-bit player in Program Files (x86), NT (PSAPI): the player stops answering, then answers again"
  "64|22|64-bit host, 64-bit DLL, 64-bit player with titles above 4 GiB, NT (PSAPI)"
  "64|2|64-bit host, 64-bit DLL, 64-bit player with titles above 4 GiB, NT (PSAPI): the player stops answering, then answers again"
  "64|8|64-bit host, 64-bit DLL, 64-bit player, Windows 98 (Toolhelp)"
)
