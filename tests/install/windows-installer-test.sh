#!/usr/bin/env bash
# The Windows installer under Wine, as a user without administrator rights meets it: an older
# Varnok is installed, the MSI replaces it, the installed varnok.exe and varnok-cli.exe run from
# their installed place, the Start-menu entry and the uninstall entry are there; uninstalling
# leaves nothing of the program but the user's msmap.dat and settings, untouched.
# Usage: windows-installer-test.sh MSI STAGE_FOLDER VERSION (WINEPREFIX set by the caller);
# STAGE_FOLDER holds what the MSI was built from, for an older version of the same programs.
set -euo pipefail
msi=$1
stage=$2
version=$3
work=$(mktemp -d)
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-},winemenubuilder.exe="
fail() {
    echo "FAILED: $*"
    exit 1
}
unix_folder() { winepath -u "$(wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
local_appdata=$(unix_folder LOCALAPPDATA)
appdata=$(unix_folder APPDATA)
program_folder="$local_appdata/Programs/Varnok"
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Varnok.lnk"
data_folder="$appdata/brelmoth/varnok"
settings_key='HKCU\Software\brelmoth\varnok\Settings'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
[ -e "$program_folder" ] && fail "Varnok is installed in this Wine prefix already: $program_folder"

# The user's own files, which no installing or uninstalling may touch.
kept_map=""
if [ ! -e "$data_folder/msmap.dat" ]; then
    mkdir -p "$data_folder"
    head -c 85 /dev/urandom >"$data_folder/msmap.dat"
    kept_map="$data_folder/msmap.dat"
fi
cp "$data_folder/msmap.dat" "$work/msmap.before"
wine reg add "$settings_key" /v keynum /t REG_DWORD /d 4 /f >/dev/null 2>&1
# Wine copies the Start-menu entry into this machine's desktop menu, from a service that may
# have started before the override above, and leaves the copy when the program is uninstalled:
# the copy that starts this prefix goes with the test.
desktop_entry="${XDG_DATA_HOME:-$HOME/.local/share}/applications/wine/Programs/Varnok.desktop"
menu_entry="${XDG_CONFIG_HOME:-$HOME/.config}/menus/applications-merged/wine-Programs-Varnok.menu"
cleanup() {
    wine msiexec /x "$msi" /qn >/dev/null 2>&1 || true
    if grep -qsF "WINEPREFIX=\"$WINEPREFIX\"" "$desktop_entry"; then
        rm -f "$desktop_entry" "$menu_entry"
    fi
    [ -n "$kept_map" ] && rm -f "$kept_map"
    wine reg delete "$settings_key" /v keynum /f >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# An older version first, built from the same files.
(cd "$stage" && wixl -a x64 -D Version=0.9 -o "$work/varnok-0.9-x64.msi" varnok.wxs) \
    || fail "no older installer"
wine msiexec /i "$work/varnok-0.9-x64.msi" /qn || fail "the older version did not install"
wine msiexec /i "$msi" /qn || fail "msiexec /i ended with $?"

for exe in varnok.exe varnok-cli.exe; do
    [ -f "$program_folder/$exe" ] || fail "no $program_folder/$exe"
done
[ -f "$shortcut" ] || fail "no Start-menu entry $shortcut"
strings -e l "$shortcut" | grep -qi 'Programs\\Varnok\\varnok.exe' \
    || strings "$shortcut" | grep -qi 'Programs\\Varnok\\varnok.exe' \
    || fail "the Start-menu entry does not start the installed varnok.exe"
entries=$(wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | grep -A30 'DisplayName *REG_SZ *Varnok$' || true)
[ "$(grep -c 'DisplayName *REG_SZ *Varnok$' <<<"$entries")" = 1 ] \
    || fail "not exactly one uninstall entry for Varnok: $entries"
grep -q "DisplayVersion *REG_SZ *$version\$" <<<"$entries" || fail "uninstall entry: $entries"
grep -q 'Publisher *REG_SZ *The Varnok authors$' <<<"$entries" || fail "uninstall entry: $entries"

# The installed program, started from where it was installed.
for exe in varnok.exe varnok-cli.exe; do
    said=$(wine "$program_folder/$exe" --version 2>&1 | tr -d '\r')
    [ "$said" = "Varnok $version" ] || fail "installed $exe --version said: $said"
done

wine msiexec /x "$msi" /qn || fail "msiexec /x ended with $?"
[ -e "$program_folder" ] && fail "left behind: $(find "$program_folder")"
[ -e "$shortcut" ] && fail "left behind: $shortcut"
wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | grep -q 'DisplayName *REG_SZ *Varnok$' \
    && fail "the uninstall entry stayed"
cmp -s "$work/msmap.before" "$data_folder/msmap.dat" || fail "msmap.dat was changed or removed"
wine reg query "$settings_key" /v keynum 2>/dev/null | tr -d '\r' | grep -q 'keynum *REG_DWORD *0x4' \
    || fail "the settings were removed"
echo "passed"
