#!/bin/sh
# Runs a Windows program under Wine for CTest. Wine's helper processes inherit the output
# handles and outlive the program, so the output goes through files, printed afterwards.
out=$(mktemp) err=$(mktemp)
wine "$@" >"$out" 2>"$err" </dev/null
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
