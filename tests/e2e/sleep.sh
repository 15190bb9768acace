#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Before the computer sleeps, what was typed into a note is saved, and only then is the
# sleep lock let go; after the wake the lock is taken again. A stand-in login manager on a
# private bus, given to the program as its system bus, logs the order. The note is reached
# through the Tools menu, clicked where the screen shows it (found over the accessibility
# bus).
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 E2E_READER=$3
here=$(dirname "$0")

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
bus="unix:path=$E2E_DIR/system_bus"
dbus-daemon --session --address="$bus" --nofork --nopidfile >"$E2E_DIR/dbus.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 test -S "$E2E_DIR/system_bus" || fail "the private bus did not start"
log="$E2E_DIR/logind.log"
cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" "UPDATE System SET NotifyAgo = 2;
    INSERT INTO QNotes (nID, nLeft, nTop, nWidth, nHeight, ZOrder, CDate, Frequency)
    VALUES (1, 1500, 1500, 3600, 2700, 1, date('now'), 0);"
# The Debian interpreter, which has the Debian D-Bus and GLib bindings.
/usr/bin/python3 "$here/fake_logind.py" "$bus" "$log" "$program/data.plm" 2>"$E2E_DIR/logind.err" &
E2E_PIDS+=($!)
wait_for 10 grep -q ready "$log" || fail "the stand-in login manager did not start: $(cat "$E2E_DIR/logind.err")"

DBUS_SYSTEM_BUS_ADDRESS=$bus QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" \
    >"$E2E_DIR/plumora.log" 2>&1 &
plumora=$!
E2E_PIDS+=($plumora)
locks() { [ "$(grep -c '^inhibit sleep Plumora delay$' "$log")" -eq "$1" ]; }
wait_for 15 locks 1 || fail "no delay lock for sleep was taken: $(cat "$log")"

icons_docked() { [ "$(tray_icon_count)" -eq 1 ]; }
wait_for 15 icons_docked || fail "no tray icon appeared"
e2e_wait_tray_icon
icon=$E2E_ICON
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click on the tray icon opened no main window"
# The window manager gives the window the keyboard as it comes up.
wait_for 10 has_keyboard '^Plumora$' || fail "the main window came up without the keyboard"
a11y_click "menu item" "Tools"
a11y_click "menu item" "Quick Notes"
wait_for 10 a11y_shows "push button" "Spelling" || fail "the Tools menu did not show Quick Notes"
# A click into the note, where the screen shows it, then the words.
a11y_click text "Note of $(LC_ALL=C date '+%B %d, %Y')"
xdotool type --delay 40 "typed just before sleep"

sleep_signal() {
    dbus-send --bus="$bus" --type=method_call --dest=org.freedesktop.login1 \
        /org/freedesktop/login1 plumora.test.FakeLogind.Sleep "boolean:$1"
}
sleep_signal true
wait_for 10 grep -q '^released' "$log" || fail "the lock was not let go before the sleep: $(cat "$log")"
grep '^released' "$log" | grep -q "typed just before sleep" ||
    fail "the lock went before the note was saved: $(grep '^released' "$log")"
sleep_signal false
wait_for 10 locks 2 || fail "the lock was not taken again after the wake: $(cat "$log")"
kill -0 "$plumora" || fail "Plumora ended"
echo "sleep: 1 passed, 0 failed"
