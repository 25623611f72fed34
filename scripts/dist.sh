#!/bin/bash
# Writes the release into dist/: a zip and an installer package (.msi) for each program (32-bit
# and 64-bit) and one SHA256SUMS for all, from the programs and packages the test builds make
# (build/win32, build/win64).
set -u
cd "$(dirname "$0")/.."
for arch in win32 win64; do
    cmake --preset "$arch" >/dev/null || exit 1
    cmake --build --preset "$arch" --target msi_packages -j"$(nproc)" >/dev/null || exit 1
done
cmake -DSOURCE_DIR="$PWD" -DBUILD_DIR="$PWD/build" -DOUTPUT_DIR="$PWD/dist" -P cmake/Dist.cmake
