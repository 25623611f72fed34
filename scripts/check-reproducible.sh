#!/bin/bash
# Builds the released program twice, from copies of the source tree in two different
# directories, and checks that both Orvand.exe files are the same bytes, and the same as
# build/win32/Orvand.exe when that exists. Prints the SHA-256; non-zero when they differ.
set -u
cd "$(dirname "$0")/.."
work=$(mktemp -d /tmp/orvand-repro.XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT

sums=()
for copy in "$work/a/src" "$work/second-build/orvand-source"; do
    mkdir -p "$copy"
    tar -c --exclude=./build --exclude=./dist --exclude=./.git . | tar -x -C "$copy" || exit 1
    if ! (cd "$copy" && cmake --preset program >/dev/null &&
        cmake --build --preset program --target Orvand -j2 >/dev/null); then
        echo "Release build in $copy failed" >&2
        exit 1
    fi
    sums+=("$(sha256sum <"$copy/build/program/Orvand.exe" | cut -d' ' -f1)")
done
echo "Orvand.exe SHA-256 of two clean builds: ${sums[0]} ${sums[1]}"
if [ "${sums[0]}" != "${sums[1]}" ]; then
    echo "Orvand.exe is not reproducible: two clean builds differ" >&2
    exit 1
fi
if [ -f build/win32/Orvand.exe ] &&
    [ "$(sha256sum <build/win32/Orvand.exe | cut -d' ' -f1)" != "${sums[0]}" ]; then
    echo "build/win32/Orvand.exe differs from the clean builds (is it up to date?)" >&2
    exit 1
fi
