#!/bin/bash
# Builds everything and runs all tests: the portable logic natively (sanitizers), then the
# program and its Win32 tests under Wine inside a private Xvfb. Non-zero on any failure.
set -u
cd "$(dirname "$0")"
. scripts/setup.sh
. scripts/wine-env.sh

orvand_install_packages || exit 1

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

echo "== Win32 build (the first build takes about a minute)"
cmake --preset win32 >/dev/null || exit 1
cmake --build --preset win32 -j"$(nproc)" || exit 1

echo "== Two clean release builds in other directories give the same Orvand.exe"
scripts/check-reproducible.sh || exit 1

echo "== Win32 tests under Wine"
trap orvand_stop_wine_and_xvfb EXIT
orvand_start_xvfb || exit 1
orvand_wine_prefix "$PWD/build/wineprefix" unmanaged || exit 1
wineserver -p >/dev/null 2>&1 </dev/null # keep one server for all tests: each start then takes a fraction of a second
ctest --preset win32
