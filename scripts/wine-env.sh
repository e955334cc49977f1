# Sourced by the scripts that run Windows programs: a Wine prefix of the
# project's own, with the stand-in player installed as the real one would be.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${NIREVO_WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
x86_64_build=$root/build/mingw-x86_64

# Creates the prefix once; installs the stand-in player at
# C:\Program Files\Winamp\winamp.exe.
prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" -w
  fi
  mkdir -p "$WINEPREFIX/drive_c/Program Files/Winamp"
  cp "$x86_64_build/winamp.exe" "$WINEPREFIX/drive_c/Program Files/Winamp/winamp.exe"
}
