#!/bin/bash
# A private Wine prefix inside the build tree and, when asked, a private Xvfb display.
# Sourced by run.sh and test.sh; the functions report failure by their exit status.

# Creates the prefix once: fonts and no crash dialog; with "unmanaged" as second argument
# also windows that need no window manager (as under a bare Xvfb).
orvand_wine_prefix() {
    export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/.orvand-ready" ] && return 0
    echo "== Creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 </dev/null || return 1
    wineserver -w
    # A fresh prefix has no fonts of its own: copy Wine's, so dialogs look as on Windows.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    local reg
    reg=$(mktemp --suffix=.reg)
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n'
        printf '"ShowCrashDialog"=dword:00000000\n'
        if [ "${2:-}" = unmanaged ]; then
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n'
        fi
    } >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1 </dev/null
    rm -f "$reg"
    wineserver -w
    touch "$WINEPREFIX/.orvand-ready"
}

# Starts Xvfb on the first free display number; sets DISPLAY and ORVAND_XVFB_PID.
orvand_start_xvfb() {
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    ORVAND_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        kill -0 "$ORVAND_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

# Stops the Wine server of the prefix and the Xvfb we started.
orvand_stop_wine_and_xvfb() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    if [ -n "${ORVAND_XVFB_PID:-}" ]; then
        kill "$ORVAND_XVFB_PID" 2>/dev/null
        wait "$ORVAND_XVFB_PID" 2>/dev/null
        ORVAND_XVFB_PID=""
    fi
}
