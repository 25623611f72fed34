#!/bin/bash
# Start-up benchmark: the built Orvand.exe against a bare dialog built with the same
# toolchain and options that loads the same common controls (bench/BareDialog.cpp), under
# Wine in a private Xvfb and Wine prefix. The runs alternate between the two programs.
# For each it prints the median time from CreateProcess to the first visible window, the
# median peak working set (for a Wine process: the peak resident set of its Linux process,
# Wine's own DLLs included), and the size of the .exe.
# Usage: bench/startup.sh [runs [program.exe]]   (default: 15 runs of build/win32/Orvand.exe)
set -u
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
runs=${1:-15}
program=${2:-build/win32/Orvand.exe}

cmake --preset win32 >/dev/null || exit 1
cmake --build --preset win32 --target Orvand -j2 >/dev/null || exit 1
bare=build/win32/program/BareDialog.exe
probe=build/win32/program/StartProbe.exe

results=$(mktemp)
trap 'rm -f "$results"; orvand_stop_wine_and_xvfb' EXIT
orvand_start_xvfb || exit 1
orvand_wine_prefix "$PWD/build/wineprefix-bench" unmanaged || exit 1
wineserver -p >/dev/null 2>&1 </dev/null # one server for all runs, as the tests do

# Windows path of a file, for StartProbe.
windows_path() { winepath -w "$(realpath "$1")" 2>/dev/null </dev/null | tr -d '\r'; }
program_path=$(windows_path "$program")
bare_path=$(windows_path "$bare")

# Starts $2 through the probe; appends "$1 <ms> <KB>" to the results unless $3 is warm-up.
measure() {
    local line
    line=$(timeout 60 scripts/wine-run.sh "$probe" "$2" | tr -d '\r' | tail -n 1)
    [[ "$line" =~ ^[0-9.]+\ [0-9]+$ ]] || { echo "StartProbe failed for $2" >&2; exit 1; }
    [ "${3:-}" = warm-up ] || echo "$1 $line" >>"$results"
}
measure program "$program_path" warm-up
measure bare "$bare_path" warm-up
for i in $(seq "$runs"); do
    if [ $((i % 2)) = 1 ]; then
        measure program "$program_path" && measure bare "$bare_path"
    else
        measure bare "$bare_path" && measure program "$program_path"
    fi
done

# Median of column $2 of the results for $1.
median() {
    awk -v p="$1" -v c="$2" '$1 == p { print $c }' "$results" | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
size() { stat -c %s "$1"; }

echo "Start-up under Wine, medians of $runs alternating runs each:"
printf '%-16s %20s %14s %16s\n' "" "to visible window" "peak memory" "size"
row() {
    printf '%-16s %17s ms %11s KB %10s bytes\n' "$(basename "$2")" "$(median "$1" 2)" \
        "$(median "$1" 3)" "$(size "$2")"
}
row program "$program"
row bare "$bare"
awk -v t1="$(median program 2)" -v t2="$(median bare 2)" \
    -v m1="$(median program 3)" -v m2="$(median bare 3)" \
    -v s1="$(size "$program")" -v s2="$(size "$bare")" \
    'BEGIN { printf "%-16s %20.2f %14.2f %16.1f\n", "ratio", t1 / t2, m1 / m2, s1 / s2 }'
