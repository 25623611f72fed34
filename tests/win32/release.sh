#!/bin/bash
# The release that scripts/dist.sh signs with a certificate made here, checked against its CA,
# without its signatures, signed again and with a wrong password. Leaves the signed programs in
# work-folder/<arch>/ and the release in work-folder/signed/. Usage: release.sh work-folder
set -u -o pipefail
root=$(cd "$(dirname "$0")/../.." && pwd) work=$1
[ -f "$root/build/win32/Orvand.exe" ] && [ -f "$root/build/win64/Orvand.exe" ] ||
    { echo "the release needs both programs built: skipped" && exit 77; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=CA -keyout ca.key -out ca.pem \
    -addext basicConstraints=critical,CA:TRUE 2>/dev/null &&
    openssl req -new -newkey rsa:2048 -nodes -subj /CN=Test -keyout key.pem 2>/dev/null |
    openssl x509 -req -CA ca.pem -CAkey ca.key -days 2 -out signer.pem \
        -extfile <(echo extendedKeyUsage=codeSigning) 2>/dev/null &&
    echo "secret-$RANDOM$RANDOM" >password && echo wrong >wrong &&
    openssl pkcs12 -export -inkey key.pem -in signer.pem -out signer.p12 -passout file:password || exit 2
failed=0
check() { if "${@:2}"; then echo "ok: $1"; else failed=$((failed + 1)) && echo "FAILED: $1"; fi; }
dist() { ORVAND_SIGN_PKCS12=signer.p12 ORVAND_SIGN_PASSWORD_FILE=$1 "$root/scripts/dist.sh" --no-build \
    "$2" &>"$2.log" || ! cat "$2.log"; }
check "a signed release" dist password signed
check "signed again: the same bytes" eval 'dist password again && cmp signed/SHA256SUMS again/SHA256SUMS'
check "SHA256SUMS lists the four files" eval '(cd signed && sha256sum -c SHA256SUMS) && [ $(wc -l <signed/SHA256SUMS) = 4 ]'
for arch in win32 win64; do
    unzip -q signed/Orvand-*-$arch.zip Orvand.exe -d $arch && cmake -DSOURCE_DIR="$root" \
        -DPROGRAM="$PWD/$arch/Orvand.exe" -DARCH=$arch -DOUTPUT="$PWD/$arch/package.msi" \
        -P "$root/cmake/Msi.cmake" || exit 2
    for file in $arch/Orvand.exe signed/Orvand-*-$arch.msi; do
        osslsigncode verify -CAfile ca.pem -in "$file" >verify.log 2>&1
        check "$file verified with SHA-256, the name and the address" grep -qzE \
            "algorithm *: SHA256.*URL description: mailto:.*Text description: Orvand.*verification: ok" verify.log
        osslsigncode remove-signature -in "$file" -out "$arch/unsigned.${file##*.}" >/dev/null
    done
    # The package without its signature is the package of the signed program.
    check "$arch program and package without their signatures: the unsigned builds" eval \
        'cmp $arch/unsigned.exe "$root/build/$arch/Orvand.exe" && cmp $arch/unsigned.msi $arch/package.msi'
done
check "a wrong password: dist.sh names it, the release stays" eval '! dist wrong signed &&
    grep -q "wrong password" signed.log && (cd signed && sha256sum -c --quiet SHA256SUMS) &&
    cmp signed/SHA256SUMS again/SHA256SUMS && [ ! -e signed.new ]'
check "the password in no output" eval '! grep -qF "$(cat password)" ./*.log'
[ "$failed" = 0 ]
