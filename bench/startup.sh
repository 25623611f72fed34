#!/bin/bash
# Start-up benchmark: the built Orvand.exe against a bare dialog built with the same
# toolchain and options that loads the same common controls (bench/BareDialog.cpp), under
# Wine in a private Xvfb and Wine prefix, for each architecture. The runs alternate between
# the two programs. For each it prints the median time from CreateProcess to the first visible
# window, the median peak working set (for a Wine process: the peak resident set of its Linux
# process, Wine's own DLLs included), and the size of the .exe.
# Usage: bench/startup.sh [runs [arch...]]   (default: 15 runs; win32 and win64, or win64
# alone where this machine cannot execute 32-bit code). ORVAND_APP_MODE=dark starts them with
# Windows' apps dark; by default the prefix has no app mode, which is light.
set -u
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
runs=${1:-15}
shift $(($# > 0 ? 1 : 0))
archs=${*:-win32 win64}
if [ -z "${*:-}" ] && ! orvand_runs_32bit; then
    echo "This machine cannot execute 32-bit programs ($ORVAND_NO_32BIT_REASON): win64 only."
    archs=win64
fi

results=$(mktemp)
trap 'rm -f "$results"; orvand_stop_wine_and_xvfb' EXIT
orvand_start_xvfb || exit 1

# Windows path of a file, for StartProbe.
windows_path() { "$ORVAND_WINE" winepath.exe -w "$(realpath "$1")" 2>/dev/null </dev/null | tr -d '\r'; }

# Starts $2 through the probe; appends "$1 <ms> <KB>" to the results unless $3 is warm-up.
measure() {
    local line
    line=$(timeout 60 scripts/wine-run.sh "$arch" "$probe" "$2" | tr -d '\r' | tail -n 1)
    [[ "$line" =~ ^[0-9.]+\ [0-9]+$ ]] || { echo "StartProbe failed for $2" >&2; exit 1; }
    [ "${3:-}" = warm-up ] || echo "$1 $line" >>"$results"
}

# Median of column $2 of the results for $1.
median() {
    awk -v p="$1" -v c="$2" '$1 == p { print $c }' "$results" | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
size() { stat -c %s "$1"; }
row() {
    printf '%-16s %17s ms %11s KB %10s bytes\n' "$(basename "$2")" "$(median "$1" 2)" \
        "$(median "$1" 3)" "$(size "$2")"
}

for arch in $archs; do
    program=build/$arch/Orvand.exe
    bare=build/$arch/program/BareDialog.exe
    probe=build/$arch/program/StartProbe.exe
    cmake --preset "$arch" >/dev/null || exit 1
    cmake --build --preset "$arch" --target Orvand -j2 >/dev/null || exit 1
    orvand_wine_prefix "$PWD/build/wineprefix-bench-$arch" "$arch" unmanaged || exit 1
    wineserver -p >/dev/null 2>&1 </dev/null # one server for all runs, as the tests do
    personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
    if [ "${ORVAND_APP_MODE:-}" = dark ]; then
        "$ORVAND_WINE" reg.exe add "$personalize" /v AppsUseLightTheme /t REG_DWORD /d 0 /f
    else
        "$ORVAND_WINE" reg.exe delete "$personalize" /v AppsUseLightTheme /f
    fi >/dev/null 2>&1 </dev/null
    program_path=$(windows_path "$program")
    bare_path=$(windows_path "$bare")
    : >"$results"
    measure program "$program_path" warm-up
    measure bare "$bare_path" warm-up
    for i in $(seq "$runs"); do
        if [ $((i % 2)) = 1 ]; then
            measure program "$program_path" && measure bare "$bare_path"
        else
            measure bare "$bare_path" && measure program "$program_path"
        fi
    done

    echo "Start-up of the $arch programs under Wine (apps ${ORVAND_APP_MODE:-light}), medians of $runs alternating runs each:"
    printf '%-16s %20s %14s %16s\n' "" "to visible window" "peak memory" "size"
    row program "$program"
    row bare "$bare"
    awk -v t1="$(median program 2)" -v t2="$(median bare 2)" \
        -v m1="$(median program 3)" -v m2="$(median bare 3)" \
        -v s1="$(size "$program")" -v s2="$(size "$bare")" \
        'BEGIN { printf "%-16s %20.2f %14.2f %16.1f\n", "ratio", t1 / t2, m1 / m2, s1 / s2 }'
    wineserver -k >/dev/null 2>&1
done
