#!/usr/bin/env bash
# Builds Velmora and runs it in a demo Wine prefix of its own (build/wine-demo), where a stand-in
# client is "installed" with three recorded users, a last user and their stored statuses.
# With a display, Velmora stays open until you close it. Without one (or with VELMORA_HEADLESS=1
# from an Xvfb this script starts) it waits for the main window, saves a screenshot to
# build/demo/velmora-main.png, prints that path and ends.
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
# The main window as the X server sees it: its geometry, once it is there.
geometry=""
for _ in $(seq 1 300); do
    geometry=$(xwininfo -root -tree 2>/dev/null | awk '/"Velmora": \("velmora.exe"/ { print $(NF - 1); exit }')
    [ -n "$geometry" ] && break
    sleep 0.1
done
if [ -z "$geometry" ]; then
    echo "demo: the Velmora window did not appear" >&2
    exit 1
fi
sleep 1 # let it finish painting
mkdir -p build/demo
shot="$root/build/demo/velmora-main.png"
import -display "$DISPLAY" -window root -crop "$geometry" +repage "$shot"
# Let it end the way a user would (a close, not a kill), so that it saves its settings as usual.
wine taskkill /im velmora.exe </dev/null >/dev/null 2>&1 || true
wait "$velmora_pid" || true
echo "$shot"
