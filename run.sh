#!/bin/bash
# Builds the program and starts it under Wine on the current X display: the 32-bit program
# where this machine executes 32-bit code, the 64-bit one elsewhere.
set -u
cd "$(dirname "$0")"
. scripts/setup.sh
. scripts/wine-env.sh

orvand_install_packages || exit 1
if orvand_runs_32bit; then
    arch=win32 bits=32
else
    arch=win64 bits=64
    echo "== This machine cannot execute 32-bit programs ($ORVAND_NO_32BIT_REASON): the 64-bit program it is"
fi
echo "== Building build/$arch/Orvand.exe (the first build takes about 10 s)"
cmake --preset "$arch" >/dev/null || exit 1
cmake --build --preset "$arch" --target Orvand -j"$(nproc)" || exit 1

if [ -z "${DISPLAY:-}" ]; then
    echo "Built build/$arch/Orvand.exe. It was not started: there is no X display (DISPLAY is empty)."
    echo "To run it, start ./run.sh in a desktop session, or copy Orvand.exe to a Windows machine."
    exit 0
fi
orvand_wine_prefix "$PWD/build/wineprefix-desktop-$arch" "$arch" || exit 1
echo "== Starting the $bits-bit build/$arch/Orvand.exe under Wine"
exec "$ORVAND_WINE" "build/$arch/Orvand.exe"
