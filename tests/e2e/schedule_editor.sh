#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Power Scheduler used from the keyboard on the real windows: an entry made in the
# editor for the coming minute starts its script (whose path holds blanks) at that minute;
# marked with Delete, the entry is gone from the table once the user leaves the page.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2
# A known date format, so the date picker has a known number of sections to tab through.
export LC_ALL=C

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
tool="$program/my tools/mark it.sh"
mkdir -p "$program/my tools"
cat >"$tool" <<SCRIPT
#!/bin/sh
date +%H:%M >>"$program/marker"
SCRIPT
chmod +x "$tool"

"$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
is_visible() { [ -n "$(visible "$1")" ]; }
is_gone() { ! is_visible "$1"; }
icons_docked() { [ "$(tray_icon_count)" -eq "$1" ]; }
focus_on() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.3
}
entries() { sql_value "$program/data.plm" 'SELECT COUNT(*) FROM Schedule'; }
no_entries() { [ "$(entries)" = 0 ]; }

wait_for 15 icons_docked 1 || fail "no tray icon appeared"
icon=$(xwininfo -tree -id "$(tray_panel)" | awk '/\("plumora" "Plumora"\)/ { print $1; exit }')
# The window manager has framed and placed the tray's icon a moment after it docked.
sleep 1
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click on the tray icon opened no main window"
main=$(visible '^Plumora$')

# The editor opens on the current minute and one step up makes the entry due at the next:
# leave it half a minute for the keys, and no minute 59, whose step up would not carry.
ready() { [ "$(date +%-S)" -lt 30 ] && [ "$(date +%-M)" -ne 59 ]; }
wait_for 100 ready || fail "no usable minute came"
due=$(date -d '+1 minute' '+%Y-%m-%d %H:%M')

# Tools > Power Scheduler, then Enter on the first (empty) line.
focus_on "$main"
xdotool key --window "$main" alt+t Down Down Return
sleep 0.5
xdotool key Return
wait_for 10 is_visible '^- Edit Schedule -$' || fail "Enter on the list opened no editor"
editor=$(visible '^- Edit Schedule -$')

# From "Launch Program" to the program button, which opens the program chooser.
focus_on "$editor"
xdotool key Tab space
wait_for 10 is_visible '^Select a Program$' || fail "the program button opened no file dialog"
chooser=$(visible '^Select a Program$')
focus_on "$chooser"
xdotool type --delay 20 "$tool"
# The first Enter may only take the completion the dialog offers.
accept_file() {
    is_visible '^Select a Program$' || return 0
    xdotool key Return
    sleep 0.5
    is_gone '^Select a Program$'
}
wait_for 10 accept_file || fail "the file dialog did not take $tool"

# Through the date's three sections and the hour to the minute, one up, and OK.
focus_on "$editor"
xdotool key Tab Tab Tab Tab Tab Up Return
wait_for 10 is_gone '^- Edit Schedule -$' || fail "OK did not close the editor"
saved=$(sql_value "$program/data.plm" \
    "SELECT SchType || '|' || Launch || '|' || SchDT || '|' || Frequency FROM Schedule")
[ "$saved" = "1|$tool|$due|2" ] || fail "the editor saved '$saved', not a daily launch at $due"

wait_for 75 test -s "$program/marker" || fail "the scheduled script did not start"
[ "$(cat "$program/marker")" = "${due#* }" ] ||
    fail "the script started at $(cat "$program/marker"), not at ${due#* }"

# Delete marks the line (the list has the focus again); Tools > Personal Calendar shows
# another tool and keeps the mark; closing the main window deletes the marked entry.
focus_on "$main"
xdotool key Delete
xdotool key --window "$main" alt+t Return
sleep 1
[ "$(entries)" = 1 ] || fail "showing another tool deleted the marked entry"
xdotool key alt+F4
wait_for 10 no_entries || fail "closing the main window left $(entries) entries"
echo "schedule_editor: 1 passed, 0 failed"
