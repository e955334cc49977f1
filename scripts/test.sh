#!/usr/bin/env bash
# Every test of nirevo: the native tests under ASan and UBSan, the Windows
# builds and their inspection, and the module driven for real under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2
