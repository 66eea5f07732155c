#!/usr/bin/env bash
# Builds everything (64-bit, tested; 32-bit, built) and runs the whole test suite under Wine.
# On a fresh Debian 12 machine as root it installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup-debian.sh

jobs=$(nproc)
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 -j "$jobs" --target velmora velmora_tests
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86 -j "$jobs" --target velmora

source scripts/wine-session.sh
# One fresh prefix per run, booted once; every test reuses it through one kept-alive server.
rm -rf build/wine-test
trap wine_session_stop EXIT
wine_session_start "$root/build/wine-test/prefix"
export VELMORA_ARTIFACTS="$root/build/artifacts"
mkdir -p "$VELMORA_ARTIFACTS"

ctest --test-dir build/x64 -j "$jobs" --timeout 180 --output-on-failure "$@"
