#!/usr/bin/env bash
# package_test.sh RELEASES VERSION FILE_VERSION NEXT_VERSION ICON LICENSE
# The release files that release_test.sh left in RELEASES, as msiinfo shows
# them, then one cycle in a fresh Wine prefix with the user's settings stored
# and an older Quillfrost.scr copied into System32 by hand: a silent install
# of the signed build over it, the installed saver showing snow, the unsigned
# build of the same version over it, the next release over that, the older
# release refused, and a silent uninstall that leaves the user's settings
# and no folder of Nubrisk in Program Files.
# Run by ctest from scripts/test, which provides the display.
set -euo pipefail
releases=$1 version=$2 file_version=$3 next_version=$4 icon=$5 licence=$6
msi=$releases/unsigned/Quillfrost-$version-x64.msi
signed_msi=$releases/signed/Quillfrost-$version-x64.msi
next_msi=$releases/next/Quillfrost-$next_version-x64.msi

export QF_WINEPREFIX="$PWD/wineprefix"
source "$(dirname "$0")/../../scripts/lib/common.sh"
source "$(dirname "$0")/../support/snow_check.sh"

upgrade_code='{FBA0D617-94C2-416D-9E79-1A500E1605D4}' # the same in every release
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
settings_key='HKCU\Software\Nubrisk\Quillfrost'
installed="$WINEPREFIX/drive_c/windows/system32/Quillfrost.scr"

source "$(dirname "$0")/../support/checks.sh"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# A row's column of an msiinfo table export, looked up by the first column.
msi_column() { # msi table key column
    msiinfo export "$1" "$2" | tr -d '\r' | awk -F'\t' -v k="$3" -v c="$4" '$1 == k { print $c }'
}
property() { msi_column "$1" Property "$2" 2; }
summary() { msiinfo suminfo "$1" | sed -n "s/^$2: //p"; }

# The uninstall entries named Quillfrost, by key name. Ends the test when
# the key cannot be read, so that no entry means none is there.
quillfrost_entries() {
    local listing
    listing=$(wine reg query "$uninstall" /s) || fail "reg query $uninstall failed"
    tr -d '\r' <<<"$listing" |
        awk '/^HKEY/ { key = $0; sub(/.*\\/, "", key) }
             $1 == "DisplayName" && $3 == "Quillfrost" { print key }'
}
entry_value() { # key name
    wine reg query "$uninstall\\$1" /v "$2" | tr -d '\r' | awk -v n="$2" '$1 == n { print $3 }'
}

# --- The files as built ---------------------------------------------------
expect "summary Author" "$(summary "$msi" Author)" Nubrisk
expect "summary Template" "$(summary "$msi" Template)" 'x64;1033'
expect ProductName "$(property "$msi" ProductName)" Quillfrost
expect ProductVersion "$(property "$msi" ProductVersion)" "$version"
expect Manufacturer "$(property "$msi" Manufacturer)" Nubrisk
expect "ALLUSERS (per machine)" "$(property "$msi" ALLUSERS)" 1
expect UpgradeCode "$(property "$msi" UpgradeCode)" "$upgrade_code"
expect "next release UpgradeCode" "$(property "$next_msi" UpgradeCode)" "$upgrade_code"
icon_name=$(property "$msi" ARPPRODUCTICON)
component=$(msi_column "$msi" File QuillfrostScr 2)
expect "file name" "$(msi_column "$msi" File QuillfrostScr 3)" Quillfrost.scr
expect "file version" "$(msi_column "$msi" File QuillfrostScr 5)" "$file_version"
expect "folder of the file" "$(msi_column "$msi" Component "$component" 3)" System64Folder

# Each package's saver, as its zip holds it.
for build in unsigned signed next; do
    unzip -p "$releases/$build/"Quillfrost-*-win-x64.zip Quillfrost.scr >"$build.scr"
done
! cmp -s unsigned.scr signed.scr || fail "the signed build's saver has the unsigned one's bytes"

# --- A fresh prefix with the user's settings already stored ---------------
if [ -z "${DISPLAY:-}" ]; then
    fail "no DISPLAY; run the tests through scripts/test"
fi
saver_pid=""
passed=0
cleanup() {
    [ -z "$saver_pid" ] || kill "$saver_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    # The prefix of a failed run stays for a look; a passing one goes.
    if [ "$passed" -eq 1 ]; then
        wineserver -w 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
}
trap cleanup EXIT
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
wineserver -w
echo "prefix made at ${SECONDS}s"
wine reg add "$settings_key" /v Quantity /t REG_DWORD /d 80 /f >/dev/null
wine reg add "$settings_key" /v Speed /t REG_DWORD /d 50 /f >/dev/null
wine reg add "$settings_key" /v FractalWind /t REG_DWORD /d 1 /f >/dev/null
settings=$(wine reg query "$settings_key" | tr -d '\r')
grep -q 'Quantity *REG_DWORD *0x50' <<<"$settings" || fail "settings not stored: $settings"

# --- Install over an older copy put there by hand -------------------------
perl "$(dirname "$0")/older_version.pl" unsigned.scr "$installed"
wine msiexec /i "$(winpath "$signed_msi")" /qn || fail "msiexec /i exited $?"
cmp -s "$installed" signed.scr || fail "system32\\Quillfrost.scr is not the signed build's"
echo "ok: installed system32\\Quillfrost.scr is the signed build's"
tr -d '\r' <"$WINEPREFIX/drive_c/Program Files/Nubrisk/Quillfrost/LICENSE.txt" | cmp -s - "$licence" ||
    fail "Program Files\\Nubrisk\\Quillfrost\\LICENSE.txt is not LICENSE"
echo "ok: Program Files\\Nubrisk\\Quillfrost\\LICENSE.txt is LICENSE"
product_code=$(property "$msi" ProductCode)
entries=$(quillfrost_entries)
expect "uninstall entries named Quillfrost" "$entries" "$product_code"
expect DisplayVersion "$(entry_value "$product_code" DisplayVersion)" "$version"
expect Publisher "$(entry_value "$product_code" Publisher)" Nubrisk
expect "Contact (ARPCONTACT)" "$(entry_value "$product_code" Contact)" support@nubrisk.example
expect "NoModify (no Change button)" "$(entry_value "$product_code" NoModify)" 0x1
cmp -s "$WINEPREFIX/drive_c/windows/Installer/$product_code/$icon_name" "$icon" ||
    fail "the product icon is not resources/snowflake_133.ico"
echo "ok: product icon (ARPPRODUCTICON $icon_name) is resources/snowflake_133.ico"

# --- The installed saver, full screen --------------------------------------
xdotool mousemove 100 100
wine 'C:\windows\system32\Quillfrost.scr' /s &
saver_pid=$!
started=$SECONDS
window=""
while [ -z "$window" ] && [ $((SECONDS - started)) -lt 20 ]; do
    kill -0 "$saver_pid" 2>/dev/null || fail "the saver ended before showing a window"
    window=$(xdotool search --onlyvisible --pid "$saver_pid" 2>/dev/null | tail -n 1 || true)
    sleep 0.2
done
[ -n "$window" ] || fail "no window of the saver within 20 s"
shown=$SECONDS
while [ $((SECONDS - shown)) -lt 24 ]; do
    kill -0 "$saver_pid" 2>/dev/null || fail "the saver ended on its own"
    sleep 0.5
done
import -window root package_snow.png
echo "snow $((SECONDS - started)) s after the start:"
snow_check "screen" package_snow.png "$(identify -format '%wx%h+0+0' package_snow.png)" 50 ||
    fail "no snow on the screen"
echo "ok: snow on a mostly black screen (package_snow.png)"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Escape
for _ in $(seq 1 150); do
    kill -0 "$saver_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$saver_pid" 2>/dev/null && fail "the saver did not end within 15 s of a key"
code=0
wait "$saver_pid" || code=$?
saver_pid=""
expect "saver exit code" "$code" 0

# --- The unsigned build of the same version over it ------------------------
# The same product: a repair, or nothing (1638 on Windows), never a second
# entry.
code=0
wine msiexec /i "$(winpath "$msi")" /qn || code=$?
[ "$code" -eq 0 ] || [ "$code" -eq 1638 ] || fail "msiexec /i of the unsigned build exited $code"
expect "uninstall entries after a build of the same version" "$(quillfrost_entries)" "$product_code"

# --- The next release over it ----------------------------------------------
wine msiexec /i "$(winpath "$next_msi")" /qn || fail "msiexec /i of the next release exited $?"
next_code=$(property "$next_msi" ProductCode)
entries=$(quillfrost_entries)
expect "uninstall entries after the upgrade" "$entries" "$next_code"
expect "DisplayVersion after the upgrade" "$(entry_value "$next_code" DisplayVersion)" "$next_version"
cmp -s "$installed" next.scr || fail "system32\\Quillfrost.scr is not the next release's"
echo "ok: installed system32\\Quillfrost.scr is the next release's"

# --- The older release refused -----------------------------------------------
! wine msiexec /i "$(winpath "$msi")" /qn || fail "msiexec /i of the older release succeeded"
expect "uninstall entries after the refused downgrade" "$(quillfrost_entries)" "$next_code"
cmp -s "$installed" next.scr || fail "the refused downgrade changed system32\\Quillfrost.scr"
echo "ok: the older release refused, the next one left as it was"

# --- Uninstall ---------------------------------------------------------------
wine msiexec /x "$(winpath "$next_msi")" /qn || fail "msiexec /x exited $?"
[ ! -e "$installed" ] || fail "system32\\Quillfrost.scr is still there"
echo "ok: system32\\Quillfrost.scr removed"
[ ! -e "$WINEPREFIX/drive_c/Program Files/Nubrisk" ] || fail "Program Files\\Nubrisk is still there"
echo "ok: Program Files\\Nubrisk removed"
entries=$(quillfrost_entries)
expect "uninstall entries after the uninstall" "$entries" ""
expect "the user's settings" "$(wine reg query "$settings_key" | tr -d '\r')" "$settings"
passed=1
echo "all checks passed in ${SECONDS}s"
