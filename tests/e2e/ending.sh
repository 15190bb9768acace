#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Ended from outside, Plumora ends as "Unload Plumora" does: SIGTERM half a second after
# typing into a note leaves every typed word in the data file, SIGTERM with an entry
# marked for deletion in the Power Scheduler deletes it, and both end with status 0.
# Tools menu entries are clicked where the screen shows them (found over the accessibility
# bus); keys go to the window the window manager gave the keyboard.
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 E2E_READER=$3

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")

icons_docked() { [ "$(tray_icon_count)" -eq "$1" ]; }

# start_with SQL: a fresh data file with SQL applied, the program started, its main window
# opened by a double-click on the tray icon; sets $plumora.
start_with() {
    cp "$template" "$program/data.plm"
    sqlite3 "$program/data.plm" "UPDATE System SET NotifyAgo = 2; $1"
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" >>"$E2E_DIR/plumora.log" 2>&1 &
    plumora=$!
    E2E_PIDS+=($plumora)
    wait_for 15 icons_docked 1 || fail "no tray icon appeared"
    e2e_wait_tray_icon
    xdotool mousemove --window "$E2E_ICON" 8 8 click --repeat 2 --delay 120 1
    wait_for 10 is_visible '^Plumora$' || fail "a double-click on the tray icon opened no main window"
    # The window manager gives the window the keyboard as it comes up, as the user sees it.
    wait_for 10 has_keyboard '^Plumora$' || fail "the main window came up without the keyboard"
}

# show_tool CAPTION ROLE NAME: the tool chosen from the Tools menu, and that object of its
# page on the screen (the page has the keyboard then).
show_tool() {
    a11y_click "menu item" "Tools"
    a11y_click "menu item" "$1"
    wait_for 10 a11y_shows "$2" "$3" || fail "the Tools menu did not show $1"
}

# stop_with_sigterm: SIGTERM, then the exit status, which must be 0.
stop_with_sigterm() {
    kill -TERM "$plumora"
    local status=0
    wait "$plumora" || status=$?
    [ "$status" -eq 0 ] || fail "$1: Plumora ended with status $status after SIGTERM"
    wait_for 20 icons_docked 0 || fail "$1: the tray icon stayed after the end"
}

# Typing, then SIGTERM before the autosave's pause has passed.
start_with "INSERT INTO QNotes (nID, nLeft, nTop, nWidth, nHeight, ZOrder, CDate, Frequency)
    VALUES (1, 1500, 1500, 3600, 2700, 1, date('now'), 0);"
show_tool "Quick Notes" "push button" "Spelling"
# A click into the note, where the screen shows it, then the words.
a11y_click text "Note of $(LC_ALL=C date '+%B %d, %Y')"
xdotool type --delay 40 "every word typed here"
sleep 0.5
stop_with_sigterm "notes"
content=$(sql_value "$program/data.plm" "SELECT coalesce(Content, '') FROM QNotes WHERE nID = 1")
grep -q "every word typed here" <<<"$content" || fail "the typed words were lost: $content"

# An entry marked for deletion, not yet applied by leaving the page.
start_with "INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) VALUES
    (1, '/bin/true', '2031-01-01 10:00', 1), (1, '/bin/false', '2031-01-02 10:00', 1);"
show_tool "Power Scheduler" table "Scheduled actions"
xdotool key Delete
wait_for 10 a11y_shows cell "Marked for deletion" || fail "Delete marked no entry"
stop_with_sigterm "schedule"
left=$(sql_value "$program/data.plm" 'SELECT COUNT(*) FROM Schedule')
[ "$left" = 1 ] || fail "the marked entry was not deleted at the end: $left entries left"
echo "ending: 2 passed, 0 failed"
