#!/bin/bash
# Starts the built program as a user would, types two times with xdotool, presses Return,
# activates "<" and reads the X clipboard with xclip; then the reverse road through ">".
# Needs DISPLAY and WINEPREFIX (test.sh provides both). Usage: typical-run.sh <win32|win64> Orvand.exe
# Every wait is for something to happen, with a limit: no fixed pauses.
set -u
. "$(dirname "$0")/../../scripts/wine-env.sh"
loader=$(orvand_wine_loader "$1") || exit 2
exe=$2
fail() {
    echo "FAILED: $*"
    exit 1
}

# Tries "$@" every tenth of a second for up to $1 seconds; false when it never succeeded.
wait_for() {
    local limit=$1 i
    shift
    for i in $(seq $((limit * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

"$loader" "$exe" >/dev/null 2>&1 </dev/null &
pid=$!
xclip_pid=""
xclip_log=$(mktemp)
trap 'kill $pid $xclip_pid 2>/dev/null; rm -f "$xclip_log"' EXIT

window=""
find_window() {
    window=$(xdotool search --name '^Orvand$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
wait_for 10 find_window || fail "no window named Orvand appeared"
# Keys typed before the window is mapped and has the X focus are lost. An unmanaged Wine
# window takes the focus by itself once it is shown; ask for it should it not.
viewable() { xwininfo -id "$window" 2>/dev/null | grep -q IsViewable; }
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }
wait_for 10 viewable || fail "the window was never shown"
wait_for 2 focused || xdotool windowfocus "$window" 2>/dev/null
wait_for 5 focused || fail "the window did not get the keyboard focus"

key() { xdotool key --delay 60 "$@"; }
clipboard() { xclip -o -selection clipboard 2>/dev/null; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }

# First field has the focus: 12:30:00, Tab, 08:15:45, Return computes.
xdotool type --delay 60 123000
key Tab
xdotool type --delay 60 081545
key Return
# From the second field: Tab to the result, ">", ">", then "<"; Space presses it.
key Tab Tab Tab Tab
key space
wait_for 5 clipboard_is 04:14:15 || fail "clipboard after \"<\" holds '$(clipboard)', expected 04:14:15"
echo "ok: 12:30:00 - 08:15:45 copied as 04:14:15"

# The reverse: a time on the X clipboard, fetched with the first ">". xclip owns the
# clipboard once it waits for its first request; the program reads it when ">" is pressed.
printf '12.34.56' | xclip -i -quiet -selection clipboard >"$xclip_log" 2>&1 &
xclip_pid=$!
wait_for 5 grep -q "request number 1" "$xclip_log" || fail "xclip did not take the clipboard"
key shift+Tab shift+Tab
key space
# Alt+D computes; the clicked button takes the focus, "<" is the control before it.
key alt+d
key shift+Tab
key space
wait_for 5 clipboard_is 04:19:11 ||
    fail "after importing 12.34.56 the difference copied is '$(clipboard)', expected 04:19:11"
echo "ok: 12.34.56 from the X clipboard, difference 04:19:11"

key Escape # the focus is on a button: Escape closes
gone() { ! kill -0 $pid 2>/dev/null; }
wait_for 5 gone || fail "the program did not end on Escape"
echo "1 passed, 0 failed"
