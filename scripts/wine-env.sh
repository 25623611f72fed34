#!/bin/bash
# A private Wine prefix inside the build tree and, when asked, a private Xvfb display.
# Sourced by run.sh and test.sh; the functions report failure by their exit status.

# Wine's own fonts, which a new prefix does not have. Without them dialogs fall back to a
# host font and the caption buttons show letters instead of "Marlett" glyphs.
ORVAND_WINE_FONTS=/usr/share/wine/fonts

# Copies Wine's fonts into the prefix where missing; fails with one line naming the package.
orvand_wine_fonts() {
    if [ -z "$(ls -A "$ORVAND_WINE_FONTS" 2>/dev/null)" ]; then
        echo "Wine's fonts are missing (no files in $ORVAND_WINE_FONTS): install the package fonts-wine" >&2
        return 1
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" &&
        cp -u "$ORVAND_WINE_FONTS"/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Creates the prefix once: fonts and no crash dialog; with "unmanaged" as second argument
# also windows that need no window manager (as under a bare Xvfb). A prefix made earlier
# gets any of Wine's fonts it lacks.
orvand_wine_prefix() {
    export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -f "$WINEPREFIX/.orvand-ready" ]; then
        orvand_wine_fonts
        return
    fi
    rm -rf "$WINEPREFIX"
    orvand_wine_fonts || return 1
    echo "== Creating the Wine prefix $WINEPREFIX (once; about 15 s)"
    wineboot -i >/dev/null 2>&1 </dev/null || return 1
    wineserver -w
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
