#!/bin/bash
# Builds the program and starts it under Wine on the current X display.
set -u
cd "$(dirname "$0")"
. scripts/setup.sh
. scripts/wine-env.sh

orvand_install_packages || exit 1
echo "== Building build/win32/Orvand.exe (the first build takes about 10 s)"
cmake --preset win32 >/dev/null || exit 1
cmake --build --preset win32 --target Orvand -j"$(nproc)" || exit 1

if [ -z "${DISPLAY:-}" ]; then
    echo "Built build/win32/Orvand.exe. It was not started: there is no X display (DISPLAY is empty)."
    echo "To run it, start ./run.sh in a desktop session, or copy Orvand.exe to a Windows machine."
    exit 0
fi
orvand_wine_prefix "$PWD/build/wineprefix-desktop" || exit 1
exec wine build/win32/Orvand.exe
