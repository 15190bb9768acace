#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The calendar as a screen reader finds it, read over the accessibility bus: the notice
# about the missing tray can be answered by pressing its button, every control of the main
# window has a name, the month grid tells the selected day with its events, the open
# Export and Quick Access menus are in the tree, and every toolbar button pressed the way
# a screen reader does shows its tool (or its window).
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 help=$3 reader=$4

# An X server with a window manager but no notification area: Plumora says so, then opens
# the calendar.
fdfile="$E2E_DIR/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fdfile" >"$E2E_DIR/xvfb.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 test -s "$fdfile" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$fdfile")"
wait_for 10 xdpyinfo || fail "Xvfb did not answer"
# On a busy machine a client now and then fails to open a display that just answered.
for attempt in 1 2 3; do
    openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 10 window_manager_running && break
    [ $attempt -lt 3 ] || fail "openbox did not start: $(cat "$E2E_DIR/openbox.log")"
done

program=$(e2e_program_folder "$exe" "$template" "$help")
# A folder used on two days, so Quick Access has a list to open its menu on, and one
# scheduled entry.
cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" "INSERT INTO QAccess (FullPath, Hits, qaDate) VALUES ('$HOME', 2, date('now'));
    INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) VALUES (1, '/bin/true', '2031-01-02 10:00', 1);"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

# Only what shows is read: the hidden pages are left out, so each look is quick.
tree() { "$reader" Plumora dump showing 2>/dev/null; }
# shows ROLE NAME: an object of that role (or roles, "a|b") and name is on the screen.
shows() { "$reader" Plumora showing "$1" "$2" >/dev/null 2>&1; }
gone() { ! shows "$1" "$2"; }
window_shows() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

wait_for 30 shows "push button" "OK" || fail "the notice about the tray never reached the bus"
"$reader" Plumora press "push button" OK || fail "the notice's OK button could not be pressed"
wait_for 30 shows "push button" "Go Today" ||
    fail "the calendar did not open after the notice was answered: $(tree | cut -f1-3 | head -20)"
# The month grid names the selected day (today) once the calendar is laid out.
today=$(LC_ALL=C date '+%A, %-d %B %Y')
wait_for 10 shows filler "$today" || fail "the month grid does not name today, $today"
tree >"$E2E_DIR/tree.txt"

# Every control of the main window a user can reach or operate carries a name.
unnamed=$(awk -F'\t' '$1 == "Plumora" && $5 ~ /S/ && $3 == "" &&
    ($5 ~ /F/ || $2 ~ /^(push button|toggle button|check box|radio button|combo box|text|entry|spin button|menu item|table|list|slider|link|page tab)$/)' \
    "$E2E_DIR/tree.txt")
[ -z "$unnamed" ] || fail "$(cat "$E2E_DIR/tree.txt")
controls without a name:
$unnamed"
for control in "Search Events" "Previous month" "Next month" "Previous year" "Next year" \
    "Find Next" "Edit Events..." "Export Events" "Go Today"; do
    grep -q -P "^Plumora\t[^\t]*\t\Q$control\E\t" "$E2E_DIR/tree.txt" ||
        fail "no control named $control: $(cut -f2,3 "$E2E_DIR/tree.txt")"
done

# The month grid tells the selected day's events.
grep -q -P "^Plumora\t[^\t]*\t\Q$today\E\t(Events: .+|No events\.)\t" "$E2E_DIR/tree.txt" ||
    fail "the month grid does not tell the selected day $today: $(grep -i -e event -e 20 "$E2E_DIR/tree.txt")"

# The Export menu, open, is in the tree with its entries.
"$reader" Plumora press "push button" "Export Events" || fail "Export Events could not be pressed"
wait_for 10 shows "menu item" "Selected date" ||
    fail "the open Export menu is not in the tree: $(tree | cut -f2,3 | grep -i menu)"
xdotool key Escape
wait_for 20 gone "menu item" "Selected date" || fail "Escape left the Export menu open"

# Every tool button, pressed as a screen reader does, shows its tool as a click does: an
# object only that tool's page has shows, and the page shown before is gone.
marks=("Personal Calendar" "push button" "Go Today"
    "Quick Notes" "push button" "Spelling"
    "Power Scheduler" "table" "Scheduled actions"
    "Quick Access" "table" "Frequently used folders"
    "Screen Capture" "push button" "New Capture"
    "Wallpaper Changer" "push button" "Change now!"
    "Options" "push button" "Backup data to ...")
last=0 # the calendar, shown first
for step in 1 2 3 4 5 6 0; do
    tool=${marks[step * 3]} role=${marks[step * 3 + 1]} name=${marks[step * 3 + 2]}
    "$reader" Plumora press "check box" "$tool" || fail "no tool button $tool to press"
    wait_for 10 shows "$role" "$name" ||
        fail "pressing $tool did not show it: $(tree | cut -f2,3 | head -40)"
    gone "${marks[last + 1]}" "${marks[last + 2]}" || fail "pressing $tool left ${marks[last]} on the screen"
    if [ "$tool" = "Power Scheduler" ]; then
        # The entry's line reads out its columns, and nothing of the line's position.
        wait_for 10 shows cell "/bin/true" || fail "the scheduled entry is not read out: $(tree | cut -f2,3 | grep -P "^cell\t.")"
        ! shows cell "0" || fail "the schedule grid reads out a line's position"
    fi
    if [ "$tool" = "Quick Access" ]; then
        # Its context menu, opened on the list, is in the tree with "Clear List".
        at=$("$reader" Plumora centre "$role" "$name") || fail "the list of folders has no place"
        xdotool mousemove ${at% *} ${at#* } click 3
        wait_for 10 shows "menu item" "Clear List" ||
            fail "the open Quick Access menu is not in the tree: $(tree | cut -f2,3 | grep -i menu)"
        xdotool key Escape
        wait_for 20 gone "menu item" "Clear List" || fail "Escape left the Quick Access menu open"
    fi
    last=$((step * 3))
done
# The two command buttons open their windows: the help of the tool in front, and (with no
# event coming) the message that says so in place of the reminder.
"$reader" Plumora press "push button" "Help" || fail "no Help button to press"
wait_for 10 window_shows '^Plumora Help - Personal Calendar$' || fail "the Help button showed no help on the calendar"
"$reader" Plumora press "push button" "Reminder" || fail "no Reminder button to press"
wait_for 10 window_shows '^- Plumora -$' || fail "the Reminder button showed no word on the coming events"
echo "accessible: $(wc -l <"$E2E_DIR/tree.txt") objects read, 9 toolbar buttons pressed"
