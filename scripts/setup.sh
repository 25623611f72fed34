#!/bin/bash
# Installs what building and testing need on Debian 12, when something is missing.
# Sourced by run.sh and test.sh.

# fonts-wine is only a recommendation of Wine, which --no-install-recommends skips, but the
# windows need its fonts: "MS Sans Serif" for the dialogs, "Marlett" for the caption buttons.
# Both architectures: the 32-bit program needs wine32 (from the i386 architecture), the 64-bit
# one wine64; a machine that cannot execute 32-bit code still installs both. wixl and msitools
# build the installer packages; osslsigncode (2.5 from Debian 12 is enough) and openssl sign a
# release and check signatures, and give the packages the layout that signing leaves; unzip
# reads a release back. With zlib and libpng the native tests read back the icon's PNG.
ORVAND_PACKAGES="cmake make g++ libgtest-dev googletest g++-mingw-w64-i686 binutils-mingw-w64-i686
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine xvfb
    xdotool xclip x11-utils imagemagick locales zip unzip clang libclang-rt-14-dev wixl msitools
    osslsigncode openssl zlib1g-dev libpng-dev"

orvand_missing_packages() {
    local missing="" p
    for p in $ORVAND_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
    done
    echo "$missing"
}

orvand_install_packages() {
    local missing
    missing=$(orvand_missing_packages)
    [ -z "$missing" ] && return 0
    echo "== Installing with apt-get (about a minute for all of them):$missing"
    if [ "$(id -u)" != 0 ]; then
        echo "Missing packages:$missing. Run this script as root (it installs them with apt-get)." >&2
        return 1
    fi
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 || return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || return 1
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null || return 1
}
