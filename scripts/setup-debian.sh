#!/usr/bin/env bash
# Installs what building and testing Velmora needs on Debian 12 (run as root).
# Quiet and quick when everything is already there; tolerant of a mirror that is mid-sync.
set -euo pipefail

packages=(
    cmake make
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-x86-64-dev mingw-w64-i686-dev
    wine wine64 fonts-wine
    xvfb xauth x11-utils imagemagick
    googletest
    python3 python3-yaml
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
for attempt in 1 2; do
    apt-get update -qq >/dev/null 2>&1 || echo "setup: apt-get update failed (attempt $attempt), trying the install anyway"
    if apt-get install -y -qq "${missing[@]}" >/tmp/velmora-apt.log 2>&1; then
        exit 0
    fi
    echo "setup: install failed (attempt $attempt), see /tmp/velmora-apt.log"
    sleep 20
done
tail -20 /tmp/velmora-apt.log >&2
exit 1
