#!/usr/bin/env bash
# Builds Velmora and runs it in a demo Wine prefix of its own (build/wine-demo), where a stand-in
# client is "installed" with three recorded users, a last user and their stored statuses.
# With a display, Velmora stays open until you close it. Without one (or with VELMORA_HEADLESS=1
# from an Xvfb this script starts) it waits until the main window is shown and painted, saves a
# picture of that window to build/demo/velmora-main.png, checks that it is not blank, prints its
# path and ends; when there is no such picture within a minute it says why and fails.
# On a fresh Debian 12 machine as root it installs what it needs first; running it again reuses
# the build and the prefix. VELMORA_EXE=path/to/velmora.exe runs that exe (e.g. one unpacked from
# a release zip, its Languages folder beside it) instead of the one built here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup-debian.sh

cmake --preset mingw-x64 >/dev/null
# The stand-in client plays ICQ Lite.
client_target=standin_client
cmake --build --preset mingw-x64 -j "$(nproc)" --target velmora "$client_target" >/dev/null
bin="$root/build/x64/bin"
exe_dir="$bin"
[ -n "${VELMORA_EXE:-}" ] && exe_dir=$(cd "$(dirname "$VELMORA_EXE")" && pwd)

source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start "$root/build/wine-demo/prefix"

# "Install" the client where its installer would put it, and record it under App Paths in the
# 32-bit registry view, as the 32-bit client's installer does.
client_dir="$WINEPREFIX/drive_c/Program Files (x86)/ICQ Lite"
mkdir -p "$client_dir"
cp "$bin/$client_target.exe" "$client_dir/ICQLite.exe"

reg() { wine reg "$@" </dev/null >/dev/null 2>&1; }
reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\ICQLite.exe' /ve \
    /d 'C:\Program Files (x86)\ICQ Lite\ICQLite.exe' /f /reg:32
reg add 'HKLM\Software\Mirabilis\ICQ\DefaultPrefs' /v LiteBuildId /d 'demo-1.0' /f /reg:32

# Three users the client has seen; the first one logged in last, away with a message.
owners='Software\Mirabilis\ICQ\NewOwners'
for user in 123456789 44556677 987654; do
    reg add "HKCU\\$owners\\$user" /f
done
reg add "HKCU\\$owners" /v LastOwner /t REG_DWORD /d 123456789 /f
status() { # user, LastStatus, then value/text pairs of status messages
    local key="HKLM\\$owners\\$1\\ICQLite"
    reg add "$key" /v LastStatus /t REG_DWORD /d "$2" /f /reg:32
    shift 2
    while [ $# -ge 2 ]; do
        reg add "$key" /v "$1" /d "$2" /f /reg:32
        shift 2
    done
}
status 123456789 1 AwayStatusText 'Out for lunch, back at two' NAStatusText 'On holiday until Monday'
status 44556677 0
status 987654 257 DNDStatusText 'In a meeting'

# The stand-in shows its login window only when it has somewhere to note what it saw; it stays
# up for ten minutes (or until closed).
mkdir -p build/demo
export VELMORA_STANDIN_RECORD="$(winepath -w "$root/build/demo/client-record.txt" 2>/dev/null)"
export VELMORA_STANDIN_LIFETIME_MS=600000

if [ -z "${VELMORA_HEADLESS:-}" ]; then
    echo "Velmora is running on display $DISPLAY. Close its window (or press Ctrl+C) to end the demo."
    (cd "$exe_dir" && wine velmora.exe </dev/null >/dev/null 2>&1) || true
    exit 0
fi

(cd "$exe_dir" && wine velmora.exe </dev/null >/dev/null 2>&1) &
velmora_pid=$!
shot="$root/build/demo/velmora-main.png"
capture="$root/build/demo/capture"
rm -f "$shot" "$capture"-*.png
fail() {
    echo "demo: no picture of the main window: $*" >&2
    exit 1
}
# The main window's X window: it exists before Velmora has laid the window out and shown it
# (unmapped, at a default size), so only a mapped one counts.
main_window() {
    local id
    id=$(xwininfo -root -tree 2>/dev/null | awk '/"Velmora": \("velmora.exe"/ { print $1; exit }')
    [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
}
# Two pictures of the same size that differ in at most one pixel in a thousand (the caret blinks).
same_picture() {
    local size1 size2 differing
    size1=$(identify -format '%wx%h' "$1") size2=$(identify -format '%wx%h' "$2")
    [ "$size1" = "$size2" ] || return 1
    differing=$(compare -metric AE "$1" "$2" null: 2>&1 >/dev/null || true)
    [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -le $((${size1%x*} * ${size1#*x} / 1000)) ]
}
# The spread of the grey values, 0 for a picture of one colour.
spread() { convert "$1" -colorspace Gray -format '%[fx:standard_deviation]' info:; }

# Captures the mapped window until three pictures in a row agree (it is laid out and painted),
# within a minute.
settled=0
deadline=$((SECONDS + 60))
while [ $settled -lt 2 ]; do
    [ $SECONDS -lt $deadline ] || fail "it did not show and settle within a minute (${why:-no window})"
    kill -0 "$velmora_pid" 2>/dev/null || fail "Velmora ended before its window showed"
    sleep 0.25
    window=$(main_window) || { why="no mapped window"; continue; }
    import -display "$DISPLAY" -window "$window" "$capture-new.png" 2>/dev/null || { why="capture failed"; continue; }
    if [ -f "$capture-last.png" ] && same_picture "$capture-new.png" "$capture-last.png"; then
        settled=$((settled + 1))
    else
        settled=0 why="still changing"
    fi
    mv "$capture-new.png" "$capture-last.png"
done
deviation=$(spread "$capture-last.png")
awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }' ||
    fail "the window's picture is blank (grey values spread $deviation)"
mv "$capture-last.png" "$shot"
# Let it end the way a user would (a close, not a kill), so that it saves its settings as usual.
wine taskkill /im velmora.exe </dev/null >/dev/null 2>&1 || true
wait "$velmora_pid" || true
echo "$shot"
