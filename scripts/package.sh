#!/usr/bin/env bash
# Makes the release zip a ghost author downloads, from the Windows builds:
#   nirevo.dll          the shipped 32-bit DLL (exports _load, _request, _unload)
#   plain/nirevo.dll    the same module also exporting load, request, unload
#   plain/README.txt    when to use that one
#   saori-call.exe      a 32-bit SAORI host for the command prompt
#   nirevo-check.exe    tells why the module does or does not find the player
#   nirevo_license.txt  the licence
#   reference.txt       the user's reference, in English
#   reference.ja.txt    and in Japanese
# Text meant for Windows' Notepad is written with CR LF and a UTF-8 byte-order
# mark. The zip is reproducible: its entries stand in this order, each with
# the same mode and time (SOURCE_DATE_EPOCH when set, else 2026-01-01), so
# the same builds give the same bytes. Prints the zip's path.
#   package.sh [ZIP]   (default build/nirevo-VERSION-win32.zip)
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(nirevo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=${1:-build/nirevo-$version-win32.zip}
python3 - "$zip" "nirevo-$version" <<'PY'
import os, sys, time, zipfile

zip_path, top = sys.argv[1], sys.argv[2]
epoch = os.environ.get("SOURCE_DATE_EPOCH")
# Zip times start in 1980.
stamp = time.gmtime(max(int(epoch), 315532800))[:6] if epoch else (2026, 1, 1, 0, 0, 0)


def notepad(text):
    return b"\xef\xbb\xbf" + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


files = [
    ("nirevo.dll", open("build/mingw-i686/nirevo.dll", "rb").read()),
    ("plain/nirevo.dll", open("build/mingw-i686-plain/nirevo.dll", "rb").read()),
    ("plain/README.txt", notepad(open("docs/plain-readme.txt", encoding="utf-8").read())),
    ("saori-call.exe", open("build/mingw-i686/saori-call.exe", "rb").read()),
    ("nirevo-check.exe", open("build/mingw-i686/nirevo-check.exe", "rb").read()),
    ("nirevo_license.txt", notepad(open("LICENSE", encoding="utf-8").read())),
    ("reference.txt", notepad(open("docs/reference.md", encoding="utf-8").read())),
    ("reference.ja.txt", notepad(open("docs/reference.ja.md", encoding="utf-8").read())),
]
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
    for name, data in files:
        info = zipfile.ZipInfo(f"{top}/{name}", date_time=stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 3  # Unix, for the mode below, whoever packs it
        info.external_attr = 0o644 << 16
        archive.writestr(info, data)
print(zip_path)
PY
