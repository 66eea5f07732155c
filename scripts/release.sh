#!/usr/bin/env bash
# Builds the 64- and 32-bit velmora.exe for release (the maker's update server, no tests, no test
# switches) and packs each with its language files and a short README.txt, into build/release/:
#   Velmora-<version>-x64.zip, Velmora-<version>-x86.zip   to upload to VELMORA_DOWNLOAD_URL
#   SHA256SUMS                                             to upload beside them
#   winget/manifests/..., scoop/velmora.json               package manifests pointing there
# The version is project(VERSION) in CMakeLists.txt, the maker's addresses are the release build's
# settings (VELMORA_DOWNLOAD_URL and the others in CMakeLists.txt). The same commit gives the same
# bytes wherever it is built: file times come from the commit (or SOURCE_DATE_EPOCH), and the exe
# holds no build path or time. tests/release/check_release.py checks the result before this
# script prints it. On a fresh Debian 12 machine as root it installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup-debian.sh

version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "release: not a git checkout: set SOURCE_DATE_EPOCH to the sources' time" >&2; exit 1; }
out="$root/build/release"
rm -rf "$out"
mkdir -p "$out"

for arch in x64 x86; do
    cmake --preset "release-$arch" >/dev/null
    cmake --build --preset "release-$arch" -j "$(nproc)" >/dev/null
    stage="$out/stage-$arch"
    mkdir -p "$stage/Languages"
    cp "build/release-$arch/bin/velmora.exe" "$stage/"
    cp Languages/*.ini "$stage/Languages/"
    # Windows line ends, for Notepad.
    sed "s/@VERSION@/$version/; s/@ARCH@/$arch/; s/\$/\r/" scripts/release-readme.txt >"$stage/README.txt"
done

setting() { sed -n "s/^$1:[A-Z]*=//p" build/release-x64/CMakeCache.txt; }
python3 scripts/release-files.py "$out" "$version" "$epoch" "$(setting VELMORA_DOWNLOAD_URL)" \
    "https://$(setting VELMORA_WEBSITE)" "$(setting VELMORA_UPDATE_URL)/downloads/VelmoraVersion.ini" \
    "$(setting VELMORA_MAKER_LINE)"
python3 tests/release/check_release.py "$root" >"$root/build/release-check.txt" ||
    { cat "$root/build/release-check.txt" >&2; echo "release: the release is not as it should be" >&2; exit 1; }
for arch in x64 x86; do
    echo "$out/Velmora-$version-$arch.zip"
done
echo "$out/SHA256SUMS"
