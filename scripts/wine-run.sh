#!/bin/bash
# Runs a Windows program under Wine for CTest: wine-run.sh <win32|win64> program.exe [args].
# The prefix is $WINEPREFIX, which must be of the program's architecture. Wine's helper
# processes inherit the output handles and outlive the program, so the output goes through
# files, printed afterwards.
. "$(dirname "$0")/wine-env.sh"
loader=$(orvand_wine_loader "$1") || exit 2
if [ -n "${WINEARCH:-}" ] && [ "$WINEARCH" != "$1" ]; then
    echo "wine-run.sh: the Wine prefix ${WINEPREFIX:-} is for $WINEARCH programs, not $1" >&2
    exit 2
fi
shift
out=$(mktemp) err=$(mktemp)
"$loader" "$@" >"$out" 2>"$err" </dev/null
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
