# Sourced by the scripts that run Windows programs: the builds, the two Wine
# prefixes of the project's own, and the players installed in them as the
# real one would be.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Where a failure must be explained: Wine's errors, not its fixme notes.
wine_errors=err+all,fixme-all
wine_logs=$root/build/wine-logs
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
# WINEARCH and $wine, which runs that prefix's Wine loader with a fixed
# address layout (see scripts/wine-fixed-layout.sh).
use_prefix() {
  case $1 in
    32) export WINEARCH=win32 WINEPREFIX=${NIREVO_WINEPREFIX32:-$root/build/wineprefix32}
        export NIREVO_WINE_LOADER=/usr/lib/wine/wine ;;
    64) export WINEARCH=win64 WINEPREFIX=${NIREVO_WINEPREFIX:-$root/build/wineprefix}
        export NIREVO_WINE_LOADER=/usr/lib/wine/wine64 ;;
  esac
  wine=$root/scripts/wine-fixed-layout.sh
}

# What each prefix holds besides Wine's own, against fixed waits of Wine's
# that a busy machine or a display without a window manager meets: the
# services' wait for a started service to connect (ServicesPipeTimeout,
# 10 s) raised to ten minutes; and windows that no window manager manages,
# since Wine waits two seconds for one to confirm each hidden window
# ("wait_for_withdrawn_state ... wait timed out"), that is at every
# player's exit. Also the copy of the end-to-end program that the prefix
# reports as Windows 98.
prefix_settings() {
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control]' '"ServicesPipeTimeout"=dword:000927c0' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\AppDefaults\nirevo_e2e_win98.exe]' '"Version"="win98"' ''
}

# Makes the selected prefix anew and judges it by what it holds. Wine's
# loader waits a fixed five minutes for a new prefix's boot, then gives up
# on it (wineboot fails, "boot event wait timed out") while the boot goes
# on: wineboot's status judges nothing. The boot has ended when the prefix's
# Wine server has, and only then is the prefix judged or made once more.
# Wine's error channel is on and all it printed is kept in build/wine-logs;
# its end is shown when the prefix is not whole.
make_prefix() {
  local log status=0 settings
  mkdir -p "$wine_logs"
  log=$wine_logs/make-$(basename "$WINEPREFIX").log
  settings=$WINEPREFIX/nirevo-settings.reg
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  {
    WINEDEBUG=$wine_errors bounded 900 "wineboot to make the prefix $WINEPREFIX" \
      "$wine" wineboot --init || echo "wineboot: status $? (judged by the prefix it left)"
    bounded 1800 "the boot of $WINEPREFIX to end (its Wine server to exit)" "$wineserver" -w ||
      status=$?
    if [ "$status" = 0 ]; then
      prefix_settings >"$settings"
      WINEDEBUG=$wine_errors bounded 300 "reg to import the prefix's settings" \
        "$wine" reg import "$(windows_path "$settings")" || status=$?
      bounded 300 "the Wine server of $WINEPREFIX to end" "$wineserver" -w || status=$?
    fi
  } >"$log" 2>&1
  rm -f "$settings"
  if [ "$status" = 124 ]; then
    echo "making $WINEPREFIX: a wait ran out, the boot may still run; what Wine printed, the end ($log):"
    tail -n 20 "$log"
    return 124
  fi
  local missing
  missing=$(prefix_lacks)
  if [ -n "$missing" ]; then
    echo "making $WINEPREFIX: the prefix lacks $missing; what Wine printed, the end ($log):"
    tail -n 20 "$log"
    return 1
  fi
}

# What the selected prefix lacks of a whole one, or nothing: its system
# (kernel32.dll, and the 32-bit half of a 64-bit prefix where 32-bit code
# runs), its registry, and the settings written after the boot.
prefix_lacks() {
  local windows=$WINEPREFIX/drive_c/windows lacks=()
  [ -f "$windows/system32/kernel32.dll" ] || lacks+=("system32\\kernel32.dll")
  if [ "$WINEARCH" = win64 ] && runs_32bit; then
    [ -f "$windows/syswow64/kernel32.dll" ] || lacks+=("syswow64\\kernel32.dll")
  fi
  grep -qs '^"ServicesPipeTimeout"=dword:000927c0' "$WINEPREFIX/system.reg" ||
    lacks+=("a whole system.reg")
  grep -qs '^"Version"="win98"' "$WINEPREFIX/user.reg" && grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg" ||
    lacks+=("a whole user.reg")
  echo "${lacks[*]}"
}

# What a kept prefix was made by: this Wine and the recipe above. A prefix
# made by another is made anew.
prefix_recipe() {
  { "$wine" --version; declare -f make_prefix prefix_settings prefix_lacks; echo "$WINEARCH"; } 2>&1 |
    sha256sum | cut -c1-16
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
  local recipe made=kept started=$SECONDS status=0
  recipe=$(prefix_recipe)
  # A 64-bit prefix made where no 32-bit code runs has no 32-bit system
  # (syswow64), and an update does not add one: where 32-bit code runs, as
  # in the emulated machine, such a prefix is made anew for the 32-bit player.
  if [ "$(cat "$WINEPREFIX/.nirevo-recipe" 2>/dev/null)" != "$recipe" ] ||
     { [ "$WINEARCH" = win64 ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
       runs_32bit; }; then
    make_prefix || status=$?
    # A prefix judged not whole once its boot ended is made once more; one
    # whose boot outlived its bound is left to it.
    if [ "$status" = 1 ]; then
      echo "note: making $WINEPREFIX once more"
      status=0
      make_prefix || status=$?
    fi
    [ "$status" = 0 ] || return 1
    echo "$recipe" >"$WINEPREFIX/.nirevo-recipe"
    made="made in $((SECONDS - started)) s"
  fi
  install_players
  echo "prefix $WINEPREFIX: $made"
}

# ready_prefix PROGRAM [ARGUMENT...]: starts the selected prefix's Wine
# server to stay until stop_wine, so that the suites sharing the prefix share
# it and the services Wine starts with it, and shows that the desktop comes
# up and a player shows its window there before any suite runs (PROGRAM is
# the end-to-end program, which has --warm-up for this; the arguments name
# the player). The warm-up starts the desktop's process itself, so that no
# window meets Wine's fixed ten-second wait for it, and then stays
# (--hold-desktop) until the server is ended: Wine closes a desktop, and
# ends its process, once no program uses it. A warm-up that fails is tried
# again in a new server (a new desktop), up to three times, each try said
# on a line. What the last try printed, Wine's errors included, is kept in
# build/wine-logs.
ready_prefix() {
  local output attempt holder
  mkdir -p "$wine_logs"
  output=$wine_logs/warm-up-$(basename "$WINEPREFIX").log
  for attempt in 1 2 3; do
    "$wineserver" -k 2>/dev/null || true
    bounded 60 "the Wine server of $WINEPREFIX to end" "$wineserver" -w || true
    "$wineserver" -p </dev/null >/dev/null 2>&1  # holds no caller's pipe open
    # Into a file, not a pipe: the holder and the services stay.
    WINEDEBUG=$wine_errors "$wine" "$@" --warm-up --hold-desktop </dev/null >"$output" 2>&1 &
    holder=$!
    if bounded 600 "the first player in $WINEPREFIX to show its window" bash -c \
         'came() { grep -aq "^warm-up: the player.s window came" "$1"; }
          until came "$1"; do
            kill -0 "$2" 2>/dev/null || { came "$1"; exit; }  # it may have said so as it ended
            sleep 0.2
          done' _ "$output" "$holder"; then
      grep -a '^warm-up:' "$output" | tr -d '\r'
      return 0
    fi
    kill "$holder" 2>/dev/null || true
    cat "$output"
    [ "$attempt" = 3 ] && break
    echo "note: the warm-up in $WINEPREFIX failed at try $attempt; trying once more in a new Wine server"
  done
  "$wineserver" -k 2>/dev/null || true
  rm -f "$WINEPREFIX/.nirevo-recipe"  # the prefix is not to be kept
  return 1
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
