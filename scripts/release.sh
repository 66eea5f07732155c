#!/usr/bin/env bash
# Builds the 64- and 32-bit velmora.exe for release (the maker's update server, no tests) and packs
# each with its language files and a short README.txt:
#   build/release/Velmora-<version>-x64.zip and build/release/Velmora-<version>-x86.zip
# The version is project(VERSION) in CMakeLists.txt. On a fresh Debian 12 machine as root it
# installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup-debian.sh

version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
out="$root/build/release"
mkdir -p "$out"

for arch in x64 x86; do
    cmake --preset "release-$arch" >/dev/null
    cmake --build --preset "release-$arch" -j "$(nproc)" >/dev/null
    stage="$out/stage-$arch"
    rm -rf "$stage"
    mkdir -p "$stage/Languages"
    cp "build/release-$arch/bin/velmora.exe" "$stage/"
    cp Languages/*.ini "$stage/Languages/"
    # Windows line ends, for Notepad.
    sed "s/@VERSION@/$version/; s/@ARCH@/$arch/; s/\$/\r/" scripts/release-readme.txt >"$stage/README.txt"
    zip="$out/Velmora-$version-$arch.zip"
    rm -f "$zip"
    (cd "$stage" && cmake -E tar cf "$zip" --format=zip velmora.exe README.txt Languages)
    echo "$zip"
done
