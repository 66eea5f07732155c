#!/usr/bin/env bash
# Draws the program's icon with its own picture code and packs it into src/app/velmora.ico
# (16 to 256 pixels; ImageMagick stores the 256-pixel picture as PNG). Run it after changing the logo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -I"$root/src" "$root/scripts/make-icon.cpp" "$root/src/ui/pictures.cpp" -o "$work/make-icon"
"$work/make-icon" "$work"
convert "$work"/logo-{16,20,24,32,40,48,64,256}.pam "$root/src/app/velmora.ico"
echo "$root/src/app/velmora.ico"
