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

# Makes the selected prefix once and installs the players: in the 32-bit
# prefix the 32-bit player at C:\Program Files\Winamp\winamp.exe; in the
# 64-bit one the 64-bit player there, and the 32-bit one where a 32-bit
# program is installed, C:\Program Files (x86)\Winamp\winamp.exe.
prepare_prefix() {
  # A 64-bit prefix made where no 32-bit code runs has no 32-bit system
  # (syswow64), and an update does not add one: where 32-bit code runs, as
  # in the emulated machine, such a prefix is made anew for the 32-bit player.
  if [ "$WINEARCH" = win64 ] && [ -f "$WINEPREFIX/system.reg" ] &&
     [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] && runs_32bit; then
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" -w
  fi
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

# Marks a program of the selected prefix as running on Windows 98.
report_windows98() {
  "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$1" /v Version /d win98 /f >/dev/null
  "$wineserver" -w
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
