#!/bin/bash
# Writes the release into dist/ (or the folder given): a zip and an installer package (.msi) for
# each program (32-bit and 64-bit) and one SHA256SUMS for all, from the programs and packages the
# test builds make (build/win32, build/win64). --no-build takes those builds as they are.
# Usage: scripts/dist.sh [--no-build] [output-folder]
#
# Signed when given a code-signing certificate: ORVAND_SIGN_PKCS12 (a PKCS#12 file) and
# ORVAND_SIGN_PASSWORD_FILE (a file holding its password), optionally ORVAND_TIMESTAMP_URL (an
# RFC 3161 server) and ORVAND_SIGN_URL (the signature's "more information" address; the
# program's feedback address by default). The programs are signed before they go into the zips
# and packages, the packages after they are built; the signing time is the commit's
# (SOURCE_DATE_EPOCH), so the same key and commit give the same bytes. The release is made in a
# folder of its own, which takes the output folder's place only when all of it is done: the
# folder never holds signed and unsigned files together, and a failure leaves the previous one.
set -u -o pipefail
build=yes
[ "${1:-}" = --no-build ] && build=no && shift
# Files named relative to where dist.sh was started; it works in the source tree.
from() { [ -z "$1" ] || case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
out=$(from "${1:-}") p12=$(from "${ORVAND_SIGN_PKCS12:-}") password=$(from "${ORVAND_SIGN_PASSWORD_FILE:-}")
cd "$(dirname "$0")/.." || exit 1
out=${out:-$PWD/dist}
out=${out%/}
fail() {
    echo "dist.sh: $*" >&2
    exit 1
}

version=$(sed -n 's/^FILEVERSION \([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\)$/\1.\2.\3.\4/p' resources/version.rc)
name=$(sed -n 's/^ *VALUE "ProductName", "\(.*\)"$/\1/p' resources/version.rc)
[ -n "$version" ] && [ -n "$name" ] || fail "no version or product name in resources/version.rc"

# The certificate, checked before anything is built: readable, the password right, made for
# code signing and valid now. Its password goes to openssl and osslsigncode as a file name.
if [ -z "$p12$password" ]; then
    echo "No certificate (ORVAND_SIGN_PKCS12, ORVAND_SIGN_PASSWORD_FILE): the release is unsigned."
else
    [ -n "$p12" ] && [ -n "$password" ] ||
        fail "signing needs both ORVAND_SIGN_PKCS12 and ORVAND_SIGN_PASSWORD_FILE"
    for file in "$p12" "$password"; do
        [ -f "$file" ] && [ -r "$file" ] || fail "cannot read $file"
    done
    command -v osslsigncode >/dev/null || fail "signing needs osslsigncode (Debian package osslsigncode)"
    said=$(openssl pkcs12 -in "$p12" -passin "file:$password" -nokeys -clcerts 2>&1 ||
        openssl pkcs12 -legacy -in "$p12" -passin "file:$password" -nokeys -clcerts 2>&1) ||
        if grep -q "invalid password" <<<"$said"; then
            fail "wrong password for $p12 (in $password)"
        else
            fail "$p12 is no PKCS#12 file that openssl can read: $(head -n 1 <<<"$said")"
        fi
    subject=$(openssl x509 -noout -subject <<<"$said" | sed 's/^subject=//') ||
        fail "$p12 holds no certificate"
    openssl x509 -noout -ext extendedKeyUsage <<<"$said" 2>/dev/null | grep -q "Code Signing" ||
        fail "the certificate in $p12 ($subject) is not for code signing"
    openssl x509 -noout -checkend 0 <<<"$said" >/dev/null ||
        fail "the certificate in $p12 ($subject) has expired: $(openssl x509 -noout -enddate <<<"$said")"
    starts=$(openssl x509 -noout -startdate <<<"$said" | cut -d= -f2)
    [ "$(date -d "$starts" +%s)" -le "$(date +%s)" ] ||
        fail "the certificate in $p12 ($subject) is not valid before $starts"
    signing_time=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null)} ||
        fail "no signing time: set SOURCE_DATE_EPOCH outside a git checkout"
    url=${ORVAND_SIGN_URL:-mailto:$(sed -n 's/^#define ORVAND_FEEDBACK "\(.*\)"$/\1/p' resources/resource.h)}
    echo "Signing with the certificate $subject, signing time $(date -u -d "@$signing_time")."
fi

if [ "$build" = yes ]; then
    for arch in win32 win64; do
        cmake --preset "$arch" >/dev/null || exit 1
        cmake --build --preset "$arch" --target msi_packages -j"$(nproc)" >/dev/null || exit 1
    done
fi

# Signs $1 into $2: SHA-256, the program's name and the address, the commit's time.
sign() {
    local said
    said=$(osslsigncode sign -pkcs12 "$p12" -readpass "$password" -h sha256 -n "$name" -i "$url" \
        -time "$signing_time" ${ORVAND_TIMESTAMP_URL:+-ts "$ORVAND_TIMESTAMP_URL"} -in "$1" -out "$2" 2>&1) ||
        fail "signing $1 failed: $said"
}

work=$(mktemp -d "${TMPDIR:-/tmp}/orvand-dist.XXXXXX") || exit 1
trap 'rm -rf "$work" "$out.new"' EXIT
rm -rf "$out.new"
for arch in win32 win64; do
    program=build/$arch/Orvand.exe package=Orvand-$version-$arch.msi
    [ -f "$program" ] && [ -f "build/$arch/msi/$package" ] || fail "build the preset $arch first"
    mkdir -p "$work/$arch/msi"
    if [ -z "$p12" ]; then
        cp "$program" "$work/$arch/" && cp "build/$arch/msi/$package" "$work/$arch/msi/" || exit 1
    else
        sign "$program" "$work/$arch/Orvand.exe"
        cmake -DSOURCE_DIR="$PWD" -DPROGRAM="$work/$arch/Orvand.exe" -DARCH="$arch" \
            -DOUTPUT="$work/$arch/$package" -P cmake/Msi.cmake || exit 1
        sign "$work/$arch/$package" "$work/$arch/msi/$package"
    fi
done
cmake -DSOURCE_DIR="$PWD" -DBUILD_DIR="$work" -DOUTPUT_DIR="$out.new" -P cmake/Dist.cmake || exit 1
rm -rf "$out.old"
if [ -e "$out" ]; then mv "$out" "$out.old" || exit 1; fi
mv "$out.new" "$out" && rm -rf "$out.old"
