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

# The Wine loader of an architecture (win32 or win64). Debian's `wine` and the commands made
# from it (wineboot, regedit, winepath) take the 32-bit loader whenever wine32 is installed,
# also where it cannot run: the scripts name the loader themselves.
orvand_wine_loader() {
    case "$1" in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
    *)
        echo "Unknown architecture '$1' (win32 or win64)" >&2
        return 1
        ;;
    esac
}

# Whether this machine executes 32-bit programs, found by starting the 32-bit Wine loader.
# Some kernels run no 32-bit x86 code at all ("Exec format error"). ORVAND_NO_32BIT=1 forces
# the answer no. When no, ORVAND_NO_32BIT_REASON says why.
orvand_runs_32bit() {
    local said
    if [ -n "${ORVAND_NO_32BIT:-}" ]; then
        ORVAND_NO_32BIT_REASON="ORVAND_NO_32BIT is set"
        return 1
    fi
    said=$(/usr/lib/wine/wine --version 2>&1 </dev/null) && return 0
    said=$(printf '%s' "$said" | tail -n 1)
    ORVAND_NO_32BIT_REASON=${said##*: } # bash's "...: cannot execute binary file: Exec format error"
    [ -n "$ORVAND_NO_32BIT_REASON" ] || ORVAND_NO_32BIT_REASON="the 32-bit Wine loader did not start"
    return 1
}

# Runs a step of the prefix set-up with its output in a file; on failure prints what it
# said and one line on what to do, removes the unfinished prefix and returns non-zero.
orvand_wine_step() {
    local what=$1 log status
    shift
    log=$(mktemp)
    "$@" >"$log" 2>&1 </dev/null
    status=$?
    if [ "$status" != 0 ]; then
        echo "Creating the Wine prefix $WINEPREFIX failed: $what exited with $status. It said:" >&2
        tail -n 15 "$log" | sed 's/^/    /' >&2
        if grep -q "Exec format error" "$log"; then
            echo "This machine cannot execute $WINEARCH programs: use the other architecture (./test.sh and ./run.sh choose by themselves)." >&2
        else
            echo "Check that wine, wine64 and wine32:i386 are installed (scripts/setup.sh installs them); the unfinished prefix was removed, the next run starts afresh." >&2
        fi
        wineserver -k >/dev/null 2>&1
        rm -rf "$WINEPREFIX"
    fi
    rm -f "$log"
    return "$status"
}

# Uses the prefix $1 for architecture $2 (win32 or win64), created once: fonts and no crash
# dialog; with "unmanaged" as third argument also windows that need no window manager (as
# under a bare Xvfb). A prefix made earlier gets any of Wine's fonts it lacks. Sets
# ORVAND_WINE to the architecture's loader.
orvand_wine_prefix() {
    ORVAND_WINE=$(orvand_wine_loader "$2") || return 1
    export WINEPREFIX="$1" WINEARCH="$2" WINELOADER="$ORVAND_WINE" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -f "$WINEPREFIX/.orvand-ready" ]; then
        orvand_wine_fonts
        return
    fi
    rm -rf "$WINEPREFIX"
    orvand_wine_fonts || return 1
    echo "== Creating the $2 Wine prefix $WINEPREFIX (once; about 15 s)"
    orvand_wine_step wineboot "$ORVAND_WINE" wineboot.exe -i || return 1
    wineserver -w
    local reg
    reg=$(mktemp --suffix=.reg)
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n'
        printf '"ShowCrashDialog"=dword:00000000\n'
        if [ "${3:-}" = unmanaged ]; then
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n'
        fi
    } >"$reg"
    orvand_wine_step regedit "$ORVAND_WINE" regedit.exe /S "$reg" || {
        rm -f "$reg"
        return 1
    }
    rm -f "$reg"
    wineserver -w
    touch "$WINEPREFIX/.orvand-ready"
}

# Starts Xvfb on a display number it chooses itself (so that two runs at once never share
# one) and waits until it listens; sets DISPLAY and ORVAND_XVFB_PID.
orvand_start_xvfb() {
    local said n="" i
    said=$(mktemp)
    # -displayfd: the server picks a free display and writes its number, then a line break,
    # once it accepts connections.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$said" >/dev/null 2>&1 &
    ORVAND_XVFB_PID=$!
    for i in $(seq 100); do
        if [ "$(tail -c 1 "$said" | od -An -c | tr -d ' ')" = '\n' ]; then
            n=$(head -n 1 "$said")
            break
        fi
        kill -0 "$ORVAND_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$said"
    if [ -z "$n" ]; then
        echo "Xvfb did not start (or named no display within 10 s)" >&2
        kill "$ORVAND_XVFB_PID" 2>/dev/null
        ORVAND_XVFB_PID=""
        return 1
    fi
    export DISPLAY=":$n"
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
