#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An installed copy: installed into a temporary DESTDIR and started with a fresh HOME, it
# keeps its data in $XDG_DATA_HOME/plumora (owner-only), finds its resources in the share
# folder, and writes the autostart entry once.
source "$(dirname "$0")/lib.sh"
build=$1 appid=$2

DESTDIR="$E2E_DIR/root" cmake --install "$build" --prefix /usr >"$E2E_DIR/install.log" ||
    { cat "$E2E_DIR/install.log" >&2; fail "cmake --install failed"; }
root="$E2E_DIR/root/usr"
for f in bin/plumora libexec/plumora/ShutDown libexec/plumora/libplumora_sound.so \
    libexec/plumora/libplumora_print.so libexec/plumora/libplumora_keychain.so \
    libexec/plumora/libplumora_ical.so share/plumora/data.src share/plumora/help/index.htm \
    share/plumora/Icons/Default.icl share/plumora/translations/plumora_de.qm \
    "share/applications/$appid.desktop" "share/metainfo/$appid.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$appid.svg" \
    "share/icons/hicolor/48x48/apps/$appid.png" share/man/man1/plumora.1 share/doc/plumora/copyright; do
    [ -e "$root/$f" ] || fail "not installed: $f"
done

# --help and --version answer without a display.
(unset DISPLAY WAYLAND_DISPLAY && "$root/bin/plumora" --version) | grep -qx "Plumora 4.3.0" ||
    fail "--version gave no version 4.3.0 without a display"
(unset DISPLAY WAYLAND_DISPLAY && "$root/bin/plumora" --help) | grep -q -- "--version" ||
    fail "--help gave no help without a display"
help=$("$root/bin/plumora" --help)
for said in PLUMORA_HOME 'QT_LOGGING_RULES="plumora.*=true"'; do
    printf '%s' "$help" | grep -qF -- "$said" || fail "--help does not mention $said"
done
# A wrong option is told, with the exit code of a usage error, not a crash.
bogus_rc=0
bogus=$(unset DISPLAY WAYLAND_DISPLAY && "$root/bin/plumora" --bogus 2>&1) || bogus_rc=$?
[ "$bogus_rc" = 1 ] && printf '%s' "$bogus" | grep -q "Unknown option 'bogus'" ||
    fail "--bogus without a display: exit $bogus_rc, said: $bogus"

e2e_start_desktop
data="$XDG_DATA_HOME/plumora"
autostart="$XDG_CONFIG_HOME/autostart/$appid.desktop"
start() {
    QT_LOGGING_RULES="plumora.startup.info=true" "$root/bin/plumora" >"$E2E_DIR/$1.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 15 test -f "$data/data.plm" || { cat "$E2E_DIR/$1.log" >&2; fail "no data.plm"; }
    one_icon() { [ "$(tray_icon_count)" -eq 1 ]; }
    wait_for 15 one_icon || fail "no tray icon appeared"
}

start first
[ "$(stat -c %a "$data/data.plm")" = 600 ] || fail "data.plm is not owner-only"
[ "$(stat -c %a "$data")" = 700 ] || fail "the data folder is not owner-only"
[ ! -e "$root/bin/data.plm" ] || fail "data was written beside the installed program"
for resource in help Icons data.src; do
    grep -q "$resource from: \"$root/share/plumora/$resource\"" "$E2E_DIR/first.log" ||
        { cat "$E2E_DIR/first.log" >&2; fail "$resource not found in the share folder"; }
done
for helper in ShutDown libplumora_sound.so libplumora_print.so libplumora_keychain.so \
    libplumora_ical.so; do
    grep -q "$helper from: \"$root/libexec/plumora/$helper\"" "$E2E_DIR/first.log" ||
        fail "$helper is not found in libexec"
done
wait_for 20 test -f "$autostart" || fail "no autostart entry after the first start"
grep -q "^Exec=.*plumora" "$autostart" || fail "the autostart entry does not start Plumora"

# Switched off by the user (as Options does): a later start leaves it off.
kill "${E2E_PIDS[-1]}"
wait_for 10 sh -c "[ \"\$(xwininfo -tree -id $(tray_panel) | grep -c Plumora)\" -eq 0 ]"
rm "$autostart"
# In German this time: the translation comes from the share folder.
LANG=de_DE.UTF-8 start second
sleep 1
[ ! -e "$autostart" ] || fail "the autostart entry was written again"
grep -q "plumora_de.qm from: \"$root/share/plumora/translations/plumora_de.qm\"" \
    "$E2E_DIR/second.log" || { cat "$E2E_DIR/second.log" >&2; fail "no German from the share folder"; }
echo "install: 1 passed, 0 failed"
