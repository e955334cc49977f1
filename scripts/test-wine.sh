#!/usr/bin/env bash
# The module driven for real: the 64-bit nirevo.dll loaded by a SAORI host
# under Wine, against the stand-in player in a process of its own. A copy of
# the tests that the prefix reports as Windows 98 covers the Toolhelp path.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

prepare_prefix
cp "$x86_64_build/nirevo_e2e.exe" "$x86_64_build/nirevo_e2e_win98.exe"
"$wine" reg add 'HKCU\Software\Wine\AppDefaults\nirevo_e2e_win98.exe' \
  /v Version /d win98 /f >/dev/null
# Windows made later must meet a desktop on the virtual display, not one made
# without a display for the registry tool.
"$wineserver" -w

status=0
xvfb-run -a bash -c '
  "$0" "$1/nirevo_e2e.exe" --gtest_filter=-Windows98.* &&
  "$0" "$1/nirevo_e2e_win98.exe" --gtest_filter=Windows98.* &&
  plain=$("$0" "$1/saori-call.exe" "$1-plain/nirevo.dll" iswinamprun) &&
  [ "$plain" = "$(printf "SAORI/1.0 200 OK\r\nCharset: Shift_JIS\r\nResult: 0\r\nSender: nirevo\r\n\r\n")" ] &&
  echo "the DLL with plain export names answers a host that looks for \"load\" first"
' "$wine" "$x86_64_build" || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
