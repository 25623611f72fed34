#!/bin/bash
# Builds each released program (32-bit and 64-bit) and its installer package twice, from
# copies of the source tree in two different directories, and checks that both builds give the
# same bytes, and the program the same as build/<arch>/Orvand.exe where that exists. Builds
# execute nothing, so this runs on every machine. Prints the SHA-256 of each; non-zero when two
# builds differ.
set -u -o pipefail # a copy whose tar producer failed must not pass for a whole one
cd "$(dirname "$0")/.."
work=$(mktemp -d /tmp/orvand-repro.XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT

copies=("$work/a/src" "$work/second-build/orvand-source")
for copy in "${copies[@]}"; do
    mkdir -p "$copy"
    tar -c --exclude=./build --exclude=./dist --exclude=./.git . | tar -x -C "$copy" || {
        echo "Copying the source tree to $copy failed" >&2
        exit 1
    }
done

status=0
for arch in win32 win64; do
    sums=() msi_sums=()
    for copy in "${copies[@]}"; do
        if ! (cd "$copy" && cmake --preset "program-$arch" >/dev/null &&
            cmake --build --preset "program-$arch" --target Orvand -j2 >/dev/null); then
            echo "Release build of the $arch program in $copy failed" >&2
            exit 1
        fi
        sums+=("$(sha256sum <"$copy/build/program-$arch/Orvand.exe" | cut -d' ' -f1)")
        if ! cmake -DSOURCE_DIR="$copy" -DPROGRAM="$copy/build/program-$arch/Orvand.exe" \
            -DARCH="$arch" -DOUTPUT="$copy/build/Orvand-$arch.msi" -P "$copy/cmake/Msi.cmake"; then
            echo "The $arch installer package in $copy failed" >&2
            exit 1
        fi
        msi_sums+=("$(sha256sum <"$copy/build/Orvand-$arch.msi" | cut -d' ' -f1)")
    done
    echo "$arch Orvand.exe SHA-256 of two clean builds: ${sums[0]} ${sums[1]}"
    echo "$arch installer package SHA-256 of two clean builds: ${msi_sums[0]} ${msi_sums[1]}"
    if [ "${sums[0]}" != "${sums[1]}" ]; then
        echo "The $arch Orvand.exe is not reproducible: two clean builds differ" >&2
        status=1
    elif [ "${msi_sums[0]}" != "${msi_sums[1]}" ]; then
        echo "The $arch installer package is not reproducible: two clean builds differ" >&2
        status=1
    elif [ -f "build/$arch/Orvand.exe" ] &&
        [ "$(sha256sum <"build/$arch/Orvand.exe" | cut -d' ' -f1)" != "${sums[0]}" ]; then
        echo "build/$arch/Orvand.exe differs from the clean builds (is it up to date?)" >&2
        status=1
    fi
done
exit $status
