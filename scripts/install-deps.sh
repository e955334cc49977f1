#!/usr/bin/env bash
# Installs what building and testing nirevo needs on Debian 12; packages that
# are already there are left alone. Where the kernel executes 32-bit programs,
# 32-bit Wine comes too, to run the shipped DLL as users do; where it does
# not, the same 32-bit Wine runs inside an emulated machine (QEMU booting
# Debian's own kernel, which scripts/emulated-machine/ fetches when first used).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev  # native build, tests, benchmarks
  clang libclang-rt-14-dev                              # the fuzz target
  g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix     # the Windows builds (posix: test programs)
  g++-mingw-w64-x86-64-posix
  wine64 xvfb xauth                                     # the module driven for real
  python3                                               # checks of the DLLs and the package
)
scripts/runs-32bit.sh ||
  packages+=(qemu-system-x86 busybox-static)          # the emulated machine for 32-bit code

missing() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      echo "$package"
  done
}

install() {
  echo "installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

mapfile -t needed < <(missing "${packages[@]}")
if ((${#needed[@]})); then install "${needed[@]}"; fi

# 32-bit Wine, run directly or inside the emulated machine.
if [ -n "$(missing wine32:i386)" ]; then
  dpkg --add-architecture i386
  install wine32:i386
fi
