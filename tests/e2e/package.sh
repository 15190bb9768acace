#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: built with CPack, it holds the program, the helper, the resources and
# the desktop integration; the desktop entry and AppStream data pass their validators.
set -euo pipefail
build=$1 source=$2 appid=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$source/dist/$appid.desktop"
else
    echo "desktop-file-validate missing (Debian: desktop-file-utils): not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$source/dist/$appid.metainfo.xml"
else
    echo "appstreamcli missing (Debian: appstream): not validated"
fi

if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
    echo "dpkg-deb or dpkg-shlibdeps missing (Debian: dpkg-dev): no package built"
    exit 77
fi
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >cpack.log 2>&1) ||
    { cat "$work/cpack.log" >&2; echo "FAIL: cpack failed"; exit 1; }
deb=$(ls "$work"/*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/plumora ./usr/libexec/plumora/ShutDown ./usr/libexec/plumora/libplumora_ical.so \
    ./usr/libexec/plumora/libplumora_keychain.so ./usr/libexec/plumora/libplumora_net.so \
    ./usr/share/plumora/data.src \
    ./usr/share/plumora/reminder.wav ./usr/share/plumora/holidays.plm \
    ./usr/share/plumora/help/index.htm ./usr/share/plumora/Icons/Default.icl \
    ./usr/share/plumora/translations/plumora_de.qm \
    "./usr/share/applications/$appid.desktop" "./usr/share/metainfo/$appid.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$appid.svg" \
    "./usr/share/icons/hicolor/256x256/apps/$appid.png" ./usr/share/man/man1/plumora.1 \
    ./usr/share/doc/plumora/copyright; do
    grep -q " $f\$" <<<"$contents" || { echo "FAIL: the package lacks $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
# The modules' libraries count too, though the program does not link them.
for d in libqt6widgets6 libqt6sql6-sqlite libqt6network6 hunspell-en-us libical3 libqt6keychain1; do
    grep -q "$d" <<<"$depends" || { echo "FAIL: the package does not depend on $d"; exit 1; }
done
# One version everywhere: the package, AppStream and the program.
version=$(dpkg-deb -f "$deb" Version)
[ "$version" = 4.3.0 ] || { echo "FAIL: the package says version $version"; exit 1; }
grep -q '<release version="4.3.0"' "$source/dist/$appid.metainfo.xml" ||
    { echo "FAIL: AppStream names another version"; exit 1; }
echo "package: 1 passed, 0 failed"
