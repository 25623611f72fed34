#!/bin/bash
# The installer package in a copy of the test prefix, per user and for all users: a silent
# install places the program and its shortcut, the installer service knows one product with the
# program's name, version, publisher and icon, the program starts from the shortcut, installing
# again keeps one entry, the other scope is refused, another build of the version replaces the
# program, upgrading keeps one entry, and removal leaves nothing. First the packages' tables as
# msitools read them back. Needs DISPLAY and WINEPREFIX.
# Usage: install-msi.sh <win32|win64> work-folder msi_products.exe orvand.ico package.msi
#        "name|version|publisher" newer.msi "name|newer version|publisher" rebuilt.msi (another
#        build of package.msi's version) second.msi second.exe (yet another build, and its program)
set -u -o pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"
arch=$1 work=$2 products=$3 icon=$4 package=$5 entry=$6 newer=$7 newer_entry=$8 rebuilt=$9
second=${10} second_program=${11}
loader=$(orvand_wine_loader "$arch") || exit 2
template=$WINEPREFIX
# The copy has a Wine server of its own; the template's, which other tests share, runs on.
# No menu entries on the Linux desktop for the shortcuts.
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe="
ends() { wineserver -k 2>/dev/null; timeout 60 wineserver -w; }
# A run that was stopped (by CTest's timeout, say) leaves its work folder, perhaps with its Wine
# server and an installer still running: they go first.
[ ! -d "$WINEPREFIX" ] || ends
rm -rf "$work" && mkdir -p "$work" || exit 2
trap 'ends; rm -rf "$work"' EXIT
# The copy links the system folders, which nothing here writes, instead of copying 1 GB. The
# running server replaces a registry file by renaming a new one over it: those are copied on
# their own (a whole old or a whole new file), the rest without the temporary folders.
mkdir "$WINEPREFIX" && (cd "$template" && tar -c --exclude=./drive_c/windows/sys{tem32,wow64} \
    --exclude='./*.reg' --exclude='./reg*.tmp' --exclude='./drive_c/windows/temp/*' \
    --exclude='./drive_c/users/*/AppData/Local/Temp/*' .) | tar -x -C "$WINEPREFIX" &&
    cp "$template"/*.reg "$WINEPREFIX/" || exit 2
for system in "$template"/drive_c/windows/sys{tem32,wow64}; do
    [ ! -d "$system" ] || cp -al "$system" "$WINEPREFIX/drive_c/windows/" || exit 2
done
for home in "$WINEPREFIX"/drive_c/users/*; do [ "${home##*/}" = Public ] || break; done
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orvand.lnk"

msiexec() { timeout 120 "$loader" msiexec.exe "$1" "Z:${2//\//\\}" "${@:3}" /qn </dev/null &>/dev/null; }
# The installer service knows exactly one product, $1, and keeps the program's icon for it.
one_product() {
    local known cached
    known=$(timeout 60 "${0%/*}/../../scripts/wine-run.sh" "$arch" "$products" 2>/dev/null | tr -d '\r')
    cached=${known##*|} && cached=${cached#?:\\}
    [ "${known%|*}" = "$1" ] && cmp -s "$icon" "$WINEPREFIX/drive_c/${cached//\\//}" && return
    echo "    the installer service knows: ${known:-no product}" && return 1
}
# The program, started from its shortcut, shows its window; then every process ends.
shows_window() {
    local i shown=1
    timeout 30 "$loader" start.exe /unix "$shortcut" </dev/null >/dev/null 2>&1
    for i in $(seq 100); do
        xdotool search --onlyvisible --name '^Orvand$' >/dev/null 2>&1 && shown=0 && break
        sleep 0.2
    done
    ends; return $shown
}
# Files and folders named after the program, and registry lines (saved as the server ends).
traces() {
    ends
    find "$WINEPREFIX/drive_c" -iname '*orvand*' && grep -hi orvand "$WINEPREFIX"/*.reg
}
before=$(traces)

passed=0 failed=0
check() {
    if "${@:2}"; then passed=$((passed + 1)) && echo "ok: $1"; else
        failed=$((failed + 1)) && echo "FAILED: $1"; fi
}

# A table of a package as msiinfo reads it back, without its three header lines; a property.
rows() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }
property() { rows "$1" Property | sed -n "s/^$2\t//p"; }
same() { [ "$(property "$package" "$1")" = "$(property "$rebuilt" "$1")" ]; }
echo "== the packages' tables"
check "another build of this version is another product" \
    eval 'same ProductVersion && same UpgradeCode && ! same ProductCode'
# Its upgrade row for other builds of its version: its upgrade code, its version as minimum,
# included (attributes 256), up to the next build number.
check "${package##*/} replaces other builds of its version" awk -F'\t' \
    -v row="$(property "$package" UpgradeCode)|$(property "$package" ProductVersion)" \
    '$1 "|" $2 == row && $3 != "" && $5 == 256 { found = 1 } END { exit !found }' \
    <(rows "$package" Upgrade)
check "registry values under HKMU (-1): HKCU per user, HKLM for all users" \
    [ "$(rows "$package" Registry | cut -f2 | sort -u)" = -1 ]
hklm_type=0 # in HKLM the 64-bit package reads the 64-bit registry (type 16)
[ "$arch" = win32 ] || hklm_type=16
check "the remembered folder searched in HKCU (1) and HKLM (2)" \
    [ "$(rows "$package" RegLocator | cut -f2,5 | sort | tr '\t\n' ': ')" = "1:0 2:$hklm_type " ]
# The old product goes first: no upgrade then leans on component rules an older package broke.
check "RemoveExistingProducts right after InstallValidate" [ "$(rows "$package" InstallExecuteSequence |
    sort -t$'\t' -k3n | sed -n '/^InstallValidate\t/{n;p}' | cut -f1)" = RemoveExistingProducts ]
version=${entry#*|} && version=${version%|*}
check "the program's File row carries its version $version" \
    [ "$(rows "$package" File | awk -F'\t' '$3 == "Orvand.exe" { print $5 }')" = "$version" ]
# Secure: passed from the user interface to an elevated installation.
check "every property that AppSearch sets is secure" eval '! rows "$package" AppSearch | cut -f1 |
    grep -vxFf <(property "$package" SecureCustomProperties | tr ";" "\n")'
# The package again with the Start menu's values in HKCU, where older versions kept them.
source=${0%/*}/../.. && sed 's/Root="HKMU"/Root="HKCU"/' "$source/installer/Orvand.wxs" >"$work/hkcu.wxs" &&
    cmake -DSOURCE_DIR="$source" -DPROGRAM="$second_program" -DARCH="$arch" -DWXS="$work/hkcu.wxs" \
        -DOUTPUT="$work/hkcu.msi" -P "$source/cmake/Msi.cmake" || exit 2
codes() { rows "$1" Component | cut -f1,2 | sort; }
check "a component's code follows its key path: only the Start menu's changes with HKCU" \
    [ "$(join -t$'\t' <(codes "$package") <(codes "$work/hkcu.msi") | awk '$2 != $3 { print $1 }')" = Startmenue ]
# The program's folder remembered in $1.reg (user or system) alone, as the server last saved.
remembered_in() { [ "$(grep -l '^"Programmordner"=' "$WINEPREFIX"/*.reg)" = "$WINEPREFIX/$1.reg" ]; }
for how in "" ALLUSERS=1; do
    folder="$home/AppData/Local/Programs/Orvand" hive=user other=ALLUSERS=1
    [ -z "$how" ] || folder="$WINEPREFIX/drive_c/Program Files/Orvand" hive=system other=""
    # (Wine 8 keeps the user's Start menu also for all users, where Windows takes the common one.)
    echo "== ${how:-per user}"
    check "silent install of ${package##*/}" msiexec /i "$package" $how
    check "the program in ${folder#"$WINEPREFIX/"}" test -f "$folder/Orvand.exe"
    check "the shortcut ${shortcut#"$WINEPREFIX/"}" test -f "$shortcut"
    check "one product $entry, the program's icon" one_product "$entry"
    check "the installed program shows its window" shows_window
    check "the program's folder remembered in $hive.reg only" remembered_in $hive
    check "the same package again" msiexec /i "$package" $how
    check "one product $entry" one_product "$entry"
    check "the other scope (${other:-per user}) refused" eval '! msiexec /i "$package" $other'
    check "another build, ${second#"${second%/*/*}/"}, replaces the program" \
        eval 'msiexec /i "$second" $how && cmp "$second_program" "$folder/Orvand.exe"'
    check "upgrade to ${newer##*/}" msiexec /i "$newer" $how
    check "one product $newer_entry" one_product "$newer_entry"
    # (Windows removes a product in the scope it was installed in; Wine 8 must be told.)
    check "removal" msiexec /x "$newer" $how
    check "no file, shortcut or registry value left" [ "$(traces)" = "$before" ]
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
