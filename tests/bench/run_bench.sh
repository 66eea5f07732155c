#!/usr/bin/env bash
# Builds the program and the benchmark, then runs it under Wine in a prefix of its own
# (build/wine-bench: it writes the program's settings and the client's registry data).
#   tests/bench/run_bench.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
scripts/setup-debian.sh
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 --target velmora velmora_tests
source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start "$root/build/wine-bench/prefix"
cd build/x64/bin
echo "velmora.exe: $(stat -c %s velmora.exe) bytes"
wine velmora_bench.exe "${1:-10}"
