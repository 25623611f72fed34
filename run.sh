#!/bin/bash
# Builds the program and starts it under Wine on the current X display.
set -u
cd "$(dirname "$0")"
. scripts/setup.sh
. scripts/wine-env.sh

orvand_install_packages || exit 1
cmake --preset win32 >/dev/null || exit 1
cmake --build --preset win32 --target Orvand -j"$(nproc)" || exit 1

if [ -z "${DISPLAY:-}" ]; then
    echo "Built build/win32/Orvand.exe. There is no X display (DISPLAY is empty):"
    echo "run this script from a desktop session, or copy Orvand.exe to a Windows machine."
    exit 1
fi
orvand_wine_prefix "$PWD/build/wineprefix-desktop" || exit 1
exec wine build/win32/Orvand.exe
