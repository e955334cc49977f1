#!/usr/bin/env bash
# Installs what building and testing nirevo needs on Debian 12; packages that
# are already there are left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev libbenchmark-dev   # native build, tests, benchmarks
  clang libclang-rt-14-dev                              # the fuzz target
  g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix  # the Windows builds (posix: test programs)
  g++-mingw-w64-x86-64-posix
  wine64 xvfb xauth                                     # the module driven for real
  python3                                               # checks of the DLLs and the package
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
