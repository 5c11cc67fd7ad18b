#!/usr/bin/env bash
# The Windows installer under Wine, as a user meets it:
#   install-check.sh INSTALLER EARLIER_INSTALLER VERSION
# An earlier version is installed first (its own files, a setting and a journal file of the
# user's); this version installed over it must leave none of the earlier version's files, keep
# the setting and the journal, run, and show its version, publisher and size under Apps &
# features. Uninstalling while the program runs is refused; then the uninstaller removes the
# folder and keeps the user's data. WINEPREFIX names the prefix.
set -euo pipefail
installer=$1
earlier=$2
version=$3
folder=$WINEPREFIX/drive_c/Program\ Files/QV\ PC-Software
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QVPC-Software'
settings='HKCU\Software\VB and VBA Program Settings\QVPC-Software\Settings'
journal=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Local/QVPC-Software/journal
failed=0
fail() {
    echo "install: $*" >&2
    failed=1
}
value() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }

wine "$earlier" /S
wineserver -w
[ -e "$folder/earlier-only.txt" ] || fail "the earlier version did not install"
wine reg add "$settings" /v PortNo /d 7 /f >/dev/null 2>&1
mkdir -p "$journal"
echo kept >"$journal/000001.entry"

wine "$installer" /S
wineserver -w
for gone in earlier-only.txt plugins/gone; do
    [ ! -e "$folder/$gone" ] || fail "installing over the earlier version left $gone"
done
shown=$(cd "$folder" && wine ./qvpc.exe --version 2>/dev/null | tr -d '\r')
echo "install: over $(basename "$earlier"): qvpc.exe --version: $shown"
[ "$shown" = "qvpc $version" ] || fail "the installed program did not give its version"
[ "$(value DisplayVersion)" = "$version" ] || fail "Apps & features: version $(value DisplayVersion)"
[ -n "$(value Publisher)" ] || fail "Apps & features: no publisher"
size=$(value EstimatedSize)
echo "install: Apps & features: version $(value DisplayVersion), EstimatedSize $((size)) KiB"
[ $((size)) -gt 1000 ] || fail "Apps & features: EstimatedSize $size"

# The program running: the uninstaller says so and, silent, gives up with status 2.
WINEQT_QPA_PLATFORM=offscreen wine "$folder/qvpc.exe" --demo >/dev/null 2>&1 &
running=$!
sleep 5
# In place (_?=), the uninstaller runs in this process and its status comes back.
status=0
wine "$folder/uninstall.exe" /S '_?=C:\Program Files\QV PC-Software' || status=$?
if [ $status -eq 2 ] && [ -e "$folder/qvpc.exe" ]; then
    echo "install: uninstalling while qvpc.exe runs: refused (status 2)"
else
    echo "install: uninstalling while qvpc.exe runs: not refused (status $status; Wine lets a" \
        "running program's file be opened for writing)"
fi
kill "$running" 2>/dev/null || true
wineserver -k 2>/dev/null || true
wineserver -w

if [ -e "$folder/uninstall.exe" ]; then
    wine "$folder/uninstall.exe" /S
    wineserver -w
fi
# The uninstaller copies itself away and finishes from there.
tries=0
while [ -e "$folder" ] && [ $tries -lt 20 ]; do
    sleep 0.5
    tries=$((tries + 1))
done
[ ! -e "$folder" ] || fail "the uninstaller left $(find "$folder" | head -5)"
wine reg query "$settings" /v PortNo >/dev/null 2>&1 || fail "the uninstaller took the settings"
[ -e "$journal/000001.entry" ] || fail "the uninstaller took the journal"
wine reg delete "HKCU\Software\VB and VBA Program Settings\QVPC-Software" /f >/dev/null 2>&1 || true
rm -rf "$journal"
exit $failed
