#!/bin/bash
# Starts the built program as a user would, types two times with xdotool, presses Return,
# activates "<" and reads the X clipboard with xclip; then the reverse road through ">".
# Needs DISPLAY and WINEPREFIX (test.sh provides both). Usage: typical-run.sh Orvand.exe
set -u
exe=$1
fail() {
    echo "FAILED: $*"
    exit 1
}

wine "$exe" >/dev/null 2>&1 </dev/null &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT

window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^Orvand$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "no window named Orvand appeared"
timeout 5 xdotool windowactivate --sync "$window" 2>/dev/null || timeout 5 xdotool windowfocus --sync "$window"
sleep 0.5

key() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}
clipboard() { xclip -o -selection clipboard 2>/dev/null; }

# First field has the focus: 12:30:00, Tab, 08:15:45, Return computes.
xdotool type --delay 60 123000
key Tab
xdotool type --delay 60 081545
key Return
# From the second field: Tab to the result, ">", ">", then "<"; Space presses it.
key Tab Tab Tab Tab
key space
got=$(clipboard)
[ "$got" = "04:14:15" ] || fail "clipboard after \"<\" holds '$got', expected 04:14:15"
echo "ok: 12:30:00 - 08:15:45 copied as $got"

# The reverse: a time on the X clipboard, fetched with the first ">".
printf '12.34.56' | xclip -i -selection clipboard
sleep 0.3
key shift+Tab shift+Tab
key space
# Alt+D computes; the clicked button takes the focus, "<" is the control before it.
key alt+d
key shift+Tab
key space
got=$(clipboard)
[ "$got" = "04:19:11" ] || fail "after importing 12.34.56 the difference copied is '$got', expected 04:19:11"
echo "ok: 12.34.56 from the X clipboard, difference $got"

key Escape # the focus is on a button: Escape closes
for _ in $(seq 50); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "the program did not end on Escape"
echo "1 passed, 0 failed"
