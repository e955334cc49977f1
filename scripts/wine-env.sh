# Sourced by the scripts that run Windows programs: the builds, the two Wine
# prefixes of the project's own, and the players installed in them as the
# real one would be.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=/usr/lib/wine/wineserver
i686_build=$root/build/mingw-i686              # the shipped DLL, saori-call, the player
i686_plain_build=$root/build/mingw-i686-plain
i686_tests_build=$root/build/mingw-i686-tests  # the 32-bit test programs
x86_64_build=$root/build/mingw-x86_64
x86_64_plain_build=$root/build/mingw-x86_64-plain

# How much longer than on an ordinary machine every wait for a program may
# last: the emulated machine runs each program several times slower, more
# so when the machine under it is busy. The end-to-end programs read it too.
wait_scale=1
[ -n "${NIREVO_EMULATED_MACHINE:-}" ] && wait_scale=3
export NIREVO_WAIT_SCALE=$wait_scale
# Seconds a started program may take to show its window, as
# kProgramStarts in tests/e2e/waits.h.
window_wait=120

# bounded SECONDS WHAT COMMAND...: runs COMMAND, giving up on it after SECONDS
# (times the scale above); then says which wait ran out, and after how long,
# and answers 124.
bounded() {
  local bound=$(($1 * wait_scale)) what=$2 started=$SECONDS status=0
  shift 2
  timeout --kill-after=30 "$bound" "$@" || status=$?
  if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    echo "waited for $what: gave up after $((SECONDS - started)) s (bound $bound s)"
    return 124
  fi
  return "$status"
}

# Whether this machine's kernel executes 32-bit programs (some have IA-32
# emulation switched off, and then no 32-bit Windows program runs either).
runs_32bit() { "$root/scripts/runs-32bit.sh"; }

# Selects a prefix: 32 (the shipped DLL's world) or 64. Sets WINEPREFIX,
# WINEARCH and $wine.
use_prefix() {
  case $1 in
    32) export WINEARCH=win32 WINEPREFIX=${NIREVO_WINEPREFIX32:-$root/build/wineprefix32}
        wine=/usr/lib/wine/wine ;;
    64) export WINEARCH=win64 WINEPREFIX=${NIREVO_WINEPREFIX:-$root/build/wineprefix}
        wine=/usr/lib/wine/wine64 ;;
  esac
}

# Makes the selected prefix anew: wineboot, and everything it started ended.
# What it printed is shown when it fails.
make_prefix() {
  local output status=0
  output=$(mktemp)
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  bounded 900 "wineboot to make the prefix $WINEPREFIX" "$wine" wineboot --init >"$output" 2>&1 &&
    bounded 300 "the programs wineboot started in $WINEPREFIX to end" "$wineserver" -w \
      >>"$output" 2>&1 ||
    status=$?
  [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && [ -s "$WINEPREFIX/system.reg" ] ||
    { [ "$status" != 0 ] || status=1; echo "wineboot left $WINEPREFIX without its system" >>"$output"; }
  if [ "$status" != 0 ]; then
    echo "making $WINEPREFIX failed (status $status); what it printed, the end:"
    tail -n 20 "$output"
  fi
  rm -f "$output"
  return "$status"
}

# What a kept prefix was made by: this Wine and the recipe above. A prefix
# made by another is made anew.
prefix_recipe() {
  { "$wine" --version; declare -f make_prefix; echo "$WINEARCH"; } 2>&1 | sha256sum | cut -c1-16
}

# Installs the players in the selected prefix: in the 32-bit prefix the
# 32-bit player at C:\Program Files\Winamp\winamp.exe; in the 64-bit one the
# 64-bit player there, and the 32-bit one where a 32-bit program is
# installed, C:\Program Files (x86)\Winamp\winamp.exe.
install_players() {
  local programs=$WINEPREFIX/drive_c/Program\ Files
  mkdir -p "$programs/Winamp"
  if [ "$WINEARCH" = win32 ]; then
    cp "$i686_build/winamp.exe" "$programs/Winamp/winamp.exe"
  else
    cp "$x86_64_build/winamp.exe" "$programs/Winamp/winamp.exe"
    if [ -f "$i686_build/winamp.exe" ]; then
      mkdir -p "$programs (x86)/Winamp"
      cp "$i686_build/winamp.exe" "$programs (x86)/Winamp/winamp.exe"
    fi
  fi
}

# Makes the selected prefix where it is missing or was made by another Wine
# or recipe, and installs the players. Prints one line saying which.
prepare_prefix() {
  local recipe made=kept started=$SECONDS
  recipe=$(prefix_recipe)
  # A 64-bit prefix made where no 32-bit code runs has no 32-bit system
  # (syswow64), and an update does not add one: where 32-bit code runs, as
  # in the emulated machine, such a prefix is made anew for the 32-bit player.
  if [ "$(cat "$WINEPREFIX/.nirevo-recipe" 2>/dev/null)" != "$recipe" ] ||
     { [ "$WINEARCH" = win64 ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
       runs_32bit; }; then
    if ! make_prefix; then
      # Wine has been seen to leave a new prefix unfinished on a busy machine.
      echo "note: making $WINEPREFIX once more"
      "$wineserver" -k 2>/dev/null || true
      make_prefix || return 1
    fi
    echo "$recipe" >"$WINEPREFIX/.nirevo-recipe"
    made="made in $((SECONDS - started)) s"
  fi
  install_players
  echo "prefix $WINEPREFIX: $made"
}

# ready_prefix PROGRAM [ARGUMENT...]: starts the selected prefix's Wine
# server to stay until stop_wine, so that the suites sharing the prefix share
# it and the services Wine starts with it, and shows that a player starts
# there and shows its window before any suite runs (PROGRAM is the
# end-to-end program, which has --warm-up for this; the arguments name the
# player). Wine has been seen to leave a new prefix unable to start programs
# ("could not load kernel32.dll"): then the prefix is made once more, and a
# line says so.
ready_prefix() {
  local output attempt
  "$wineserver" -k 2>/dev/null || true
  bounded 60 "the Wine server of $WINEPREFIX to end" "$wineserver" -w || true
  # Into a file, not a pipe: the services this first program starts stay
  # with the server and hold its output open.
  output=$(mktemp)
  for attempt in first second; do
    "$wineserver" -p </dev/null >/dev/null 2>&1  # holds no caller's pipe open
    if bounded 600 "the first player in $WINEPREFIX to show its window" \
         "$wine" "$@" --warm-up >"$output" 2>&1; then
      tail -n 1 "$output"
      rm -f "$output"
      return 0
    fi
    cat "$output"
    "$wineserver" -k 2>/dev/null || true
    bounded 60 "the Wine server of $WINEPREFIX to end" "$wineserver" -w || true
    [ "$attempt" = second ] && break
    echo "note: no player started in $WINEPREFIX, as when Wine has left a prefix unfinished; making it once more"
    make_prefix && prefix_recipe >"$WINEPREFIX/.nirevo-recipe" && install_players || break
  done
  rm -f "$WINEPREFIX/.nirevo-recipe" "$output"  # the prefix is not to be kept
  return 1
}

# Marks a program of the selected prefix as running on Windows 98.
report_windows98() {
  bounded 300 "reg to mark $1 as running on Windows 98" \
    "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$1" /v Version /d win98 /f >/dev/null
}

# Ends every Wine process of both prefixes, so none outlives its display.
stop_wine() {
  local prefix
  for prefix in "${NIREVO_WINEPREFIX32:-$root/build/wineprefix32}" \
                "${NIREVO_WINEPREFIX:-$root/build/wineprefix}"; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  done
}

# Runs the rest of the calling script on a virtual display of its own, unless
# it has one; Wine is stopped before the display goes away.
on_virtual_display() {
  if [ -z "${NIREVO_DISPLAY_OWNED:-}" ]; then
    NIREVO_DISPLAY_OWNED=1 exec xvfb-run -a "$@"
  fi
  trap stop_wine EXIT
}

# The Windows form of a path on this machine (drive Z: is the root).
windows_path() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }
