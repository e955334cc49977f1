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
# mark. Prints the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(nirevo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=build/nirevo-$version-win32.zip
python3 - "$zip" "nirevo-$version" <<'PY'
import sys, zipfile

zip_path, top = sys.argv[1], sys.argv[2]


def notepad(text):
    return b"\xef\xbb\xbf" + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


plain_readme = (
    "This nirevo.dll also exports load, request and unload by names without the leading _. "
    "Use it only with a host that cannot load the nirevo.dll one folder up, such as aosora.\n"
    "この nirevo.dll は、load・request・unload を先頭に _ の付かない名前でも公開しています。"
    "一つ上のフォルダの nirevo.dll を読み込めないホスト（aosora など）でだけ使ってください。\n")

files = [
    ("nirevo.dll", open("build/mingw-i686/nirevo.dll", "rb").read()),
    ("plain/nirevo.dll", open("build/mingw-i686-plain/nirevo.dll", "rb").read()),
    ("plain/README.txt", notepad(plain_readme)),
    ("saori-call.exe", open("build/mingw-i686/saori-call.exe", "rb").read()),
    ("nirevo-check.exe", open("build/mingw-i686/nirevo-check.exe", "rb").read()),
    ("nirevo_license.txt", notepad(open("LICENSE", encoding="utf-8").read())),
    ("reference.txt", notepad(open("docs/reference.md", encoding="utf-8").read())),
    ("reference.ja.txt", notepad(open("docs/reference.ja.md", encoding="utf-8").read())),
]
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
    for name, data in files:
        info = zipfile.ZipInfo(f"{top}/{name}", date_time=(2026, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        archive.writestr(info, data)
print(zip_path)
PY
