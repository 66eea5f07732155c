# Sourced by the test and demo scripts: one Wine prefix, one kept-alive wineserver and,
# without a display, one Xvfb for the whole run.
#   wine_session_start PREFIX_DIR   boots the prefix (fresh when it does not exist yet)
#   wine_session_stop               ends the server and the Xvfb this run started

# No Mono/Gecko prompts; and a crashing test ends at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINEDEBUG=-all
VELMORA_XVFB_PID=""

wine_session_start() {
    export WINEPREFIX="$1"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # A screen as large as those that run at 200 %, so that windows laid out for it fit.
    if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
        local fdfile
        fdfile=$(mktemp)
        Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
        VELMORA_XVFB_PID=$!
        for _ in $(seq 1 100); do
            [ -s "$fdfile" ] && break
            sleep 0.1
        done
        export DISPLAY=":$(head -n1 "$fdfile")"
        rm -f "$fdfile"
        export VELMORA_HEADLESS=1
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i </dev/null >/dev/null 2>&1
        wineserver -w
    fi
    # Wine as packaged here does not load its own fonts (Tahoma, Marlett for the caption buttons,
    # MS Sans Serif) from /usr/share/wine/fonts; in the prefix's Fonts folder it does.
    # Tahoma stays out: see below.
    if [ -d /usr/share/wine/fonts ]; then
        find /usr/share/wine/fonts -maxdepth 1 -type f ! -name 'tahoma*' \
            -exec cp -n {} "$WINEPREFIX/drive_c/windows/Fonts/" \; 2>/dev/null || true
        rm -f "$WINEPREFIX"/drive_c/windows/Fonts/tahoma*
    fi
    # Keep one server alive and start the services with every stream redirected, so that no
    # service process inherits the output pipe of the test runner.
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
    # Wine's Tahoma has no Hebrew letters (Windows' own has), and Wine links no other font in for it:
    # DejaVu Sans takes its place (Wine replaces only a font it does not have), so that Hebrew
    # windows show their text. It is also a little wider than the fonts Windows uses, so what fits
    # here fits there.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /d 'DejaVu Sans' /f </dev/null >/dev/null 2>&1
    # Without a window manager the windows only get their caption when Wine draws it.
    if [ -n "${VELMORA_HEADLESS:-}" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    fi
}

wine_session_stop() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if [ -n "$VELMORA_XVFB_PID" ]; then
        kill "$VELMORA_XVFB_PID" 2>/dev/null || true
        wait "$VELMORA_XVFB_PID" 2>/dev/null || true
        VELMORA_XVFB_PID=""
    fi
}
