#!/bin/bash
# Builds everything and runs all tests: the portable logic natively (sanitizers), then both
# programs (32-bit and 64-bit) and their Win32 tests under Wine inside a private Xvfb. Where
# this machine cannot execute 32-bit code, the 32-bit program is built and its files checked,
# and a line says what was not run. Non-zero on any failure.
set -u
cd "$(dirname "$0")"
. scripts/setup.sh
. scripts/wine-env.sh

orvand_install_packages || exit 1

skipped=""
if orvand_runs_32bit; then
    archs="win32 win64"
    echo "== This machine executes 32-bit and 64-bit programs: both programs' tests run"
else
    archs="win64"
    skipped="This machine cannot execute 32-bit programs ($ORVAND_NO_32BIT_REASON): the 32-bit Orvand.exe was built and checked but not run; its sources were run as the 64-bit program."
    echo "== $skipped"
fi

echo "== Native build and tests (the first build takes about half a minute)"
cmake --preset native >/dev/null || exit 1
cmake --build --preset native -j"$(nproc)" || exit 1
ctest --preset native || exit 1

echo "== Fuzzing the time field (bounded run)"
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz -j"$(nproc)" || exit 1
found=$(mktemp -d) # new inputs land here; the seeds in tests/fuzz/corpus are only read
build/fuzz/zeitfeld_fuzz -runs=200000 -max_len=512 -artifact_prefix=build/fuzz/ "$found" \
    tests/fuzz/corpus >build/fuzz/bounded-run.log 2>&1
fuzz_status=$?
rm -rf "$found"
tail -n 1 build/fuzz/bounded-run.log
[ "$fuzz_status" = 0 ] || { tail -n 30 build/fuzz/bounded-run.log; exit 1; }

for arch in win32 win64; do
    echo "== $arch build: the program and its tests (the first build takes about a minute)"
    cmake --preset "$arch" >/dev/null || exit 1
    cmake --build --preset "$arch" -j"$(nproc)" || exit 1
done

echo "== Two clean release builds of each program and its installer package in other directories give the same bytes"
scripts/check-reproducible.sh || exit 1

if [ -n "$skipped" ]; then
    echo "== The 32-bit program's file, without running it"
    ctest --preset win32-files || exit 1
fi

trap orvand_stop_wine_and_xvfb EXIT
orvand_start_xvfb || exit 1
status=0
for arch in $archs; do
    echo "== $arch tests under Wine"
    orvand_wine_prefix "$PWD/build/wineprefix-$arch" "$arch" unmanaged || exit 1
    wineserver -p >/dev/null 2>&1 </dev/null # one server for all tests: each start then takes a fraction of a second
    ctest --preset "$arch" || status=1
    wineserver -k >/dev/null 2>&1
done

if [ -n "$skipped" ]; then
    echo "== $skipped"
else
    echo "== Both programs' tests ran: win32 and win64"
fi
exit $status
