#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Power Scheduler used on the real windows as a user does: clicks where the screen shows
# a control (found over the accessibility bus), keys to the window the window manager gave
# the keyboard. An entry made in the editor for the coming minute starts its script (whose
# path holds blanks) at that minute; marked with Delete, the entry is gone from the table
# once the user leaves the page.
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 E2E_READER=$3
# A known time format in the editor.
export LC_ALL=C

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
tool="$program/my tools/mark it.sh"
mkdir -p "$program/my tools"
cat >"$program/my tools/mark it.sh" <<SCRIPT
#!/bin/sh
date +%H:%M >>"$program/marker"
SCRIPT
chmod +x "$tool"

# The program's clock runs LEAD seconds before a full minute that is not hh:00: the editor
# opens on the minute before it, one step up makes the entry due then, and that step up
# carries no hour. The clock is shifted (not set), so the script it starts shares it.
lead=45
lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$lib" ] || fail "libfaketime is not installed (Debian: faketime)"
now=$(date +%s)
minute=$(((now / 60 + 1) * 60))
[ "$(date -d "@$minute" +%M)" != 00 ] || minute=$((minute + 60))
due=$(date -d "@$minute" '+%Y-%m-%d %H:%M')
env LD_PRELOAD="$lib" FAKETIME="$(printf '%+d' $((minute - lead - now)))" \
    FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_NO_CACHE=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

is_gone() { ! is_visible "$1"; }
icons_docked() { [ "$(tray_icon_count)" -eq "$1" ]; }
entries() { sql_value "$program/data.plm" 'SELECT COUNT(*) FROM Schedule'; }
no_entries() { [ "$(entries)" = 0 ]; }

wait_for 15 icons_docked 1 || fail "no tray icon appeared"
e2e_wait_tray_icon
icon=$E2E_ICON
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click on the tray icon opened no main window"

# Tools > Power Scheduler, then Enter on the first (empty) line, which has the keyboard.
a11y_click "menu item" "Tools"
a11y_click "menu item" "Power Scheduler"
wait_for 10 a11y_shows table "Scheduled actions" || fail "the Tools menu did not show the Power Scheduler"
wait_for 10 has_keyboard '^Plumora$' || fail "the main window does not have the keyboard"
xdotool key Return
wait_for 10 is_visible '^- Edit Schedule -$' || fail "Enter on the list opened no editor"

# The program button opens the program chooser; the path typed there is taken.
a11y_click "push button" "Choose the program"
wait_for 10 has_keyboard '^Select a Program$' || fail "the program button opened no file dialog"
xdotool type --delay 20 "$tool"
# The first Enter may only take the completion the dialog offers.
accept_file() {
    is_visible '^Select a Program$' || return 0
    xdotool key Return
    sleep 0.5
    is_gone '^Select a Program$'
}
wait_for 10 accept_file || fail "the file dialog did not take $tool"

# The time's minute one step up (Home: the hour, Tab: the minute), then OK.
wait_for 10 has_keyboard '^- Edit Schedule -$' || fail "the editor did not get the keyboard back"
a11y_click "spin box" "From time"
xdotool key Home Tab Up
a11y_click "push button" "OK"
wait_for 10 is_gone '^- Edit Schedule -$' || fail "OK did not close the editor"
saved=$(sql_value "$program/data.plm" \
    "SELECT SchType || '|' || Launch || '|' || SchDT || '|' || Frequency FROM Schedule")
# A chosen path with blanks is kept quoted, so arguments typed after it stay apart.
[ "$saved" = "1|\"$tool\"|$due|2" ] || fail "the editor saved '$saved', not a daily launch at $due"

wait_for 75 test -s "$program/marker" || fail "the scheduled script did not start"
[ "$(cat "$program/marker")" = "${due#* }" ] ||
    fail "the script started at $(cat "$program/marker"), not at ${due#* }"

# Delete marks the line (the list has the keyboard again); Tools > Personal Calendar shows
# another tool and keeps the mark; closing the main window deletes the marked entry.
wait_for 10 has_keyboard '^Plumora$' || fail "the main window did not get the keyboard back"
xdotool key Delete
wait_for 10 a11y_shows cell "Marked for deletion" || fail "Delete marked no entry"
a11y_click "menu item" "Tools"
a11y_click "menu item" "Personal Calendar"
wait_for 10 a11y_shows "push button" "Go Today" || fail "the Tools menu did not show the calendar"
[ "$(entries)" = 1 ] || fail "showing another tool deleted the marked entry"
wait_for 10 has_keyboard '^Plumora$' || fail "the main window does not have the keyboard"
xdotool key alt+F4
wait_for 10 no_entries || fail "closing the main window left $(entries) entries"
echo "schedule_editor: 1 passed, 0 failed"
