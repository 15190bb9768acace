#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The calendar as a screen reader finds it, read over the accessibility bus: the notice
# about the missing tray can be answered by pressing its button, every control of the main
# window has a name, and the month grid tells the selected day with its events.
if [ -z "${PLUMORA_E2E_SESSION:-}" ]; then
    exec dbus-run-session -- env PLUMORA_E2E_SESSION=1 bash "$0" "$@"
fi
session_bus=$DBUS_SESSION_BUS_ADDRESS
source "$(dirname "$0")/lib.sh"
# The accessibility bus is reached through the session bus this script runs in.
export DBUS_SESSION_BUS_ADDRESS=$session_bus
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

program=$(e2e_program_folder "$exe" "$template")
cp -r "$help" "$program/help"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

tree() { "$reader" Plumora dump 2>/dev/null; }
# has ROLE NAME: an object of that role and name is on the bus.
has() { tree | awk -F'\t' -v r="$1" -v n="$2" '$2 == r && $3 == n { f = 1 } END { exit !f }'; }

wait_for 30 has "push button" "OK" || fail "the notice about the tray never reached the bus"
"$reader" Plumora press "push button" OK || fail "the notice's OK button could not be pressed"
wait_for 30 has "push button" "Go Today" ||
    fail "the calendar did not open after the notice was answered: $(tree | cut -f1-3 | head -20)"
sleep 1
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

# The month grid names the selected day (today) and tells its events.
today=$(LC_ALL=C date '+%A, %-d %B %Y')
grep -q -P "^Plumora\t[^\t]*\t\Q$today\E\t(Events: .+|No events\.)\t" "$E2E_DIR/tree.txt" ||
    fail "the month grid does not tell the selected day $today: $(grep -i -e event -e 20 "$E2E_DIR/tree.txt")"
# Tool buttons pressed the way a screen reader does show their tools, as a click does: the
# status bar names the tool shown. (Every
# button's press is the main window's unit test; reading the whole tree over the bus after
# each one would take minutes here.)
shown() { tree | awk -F'\t' -v n="$1" '$2 == "label" && $3 == n && $5 ~ /S/ { f = 1 } END { exit !f }'; }
press_tool() {
    local role
    # The toolbar's button of that name, whatever role the bridge gives a checkable one.
    role=$(tree | awk -F'\t' -v n="$1" '$1 == "Plumora" && $3 == n && $5 ~ /A/ &&
        $2 ~ /^(check box|toggle button|push button)$/ { print $2; exit }') || true
    [ -n "$role" ] && "$reader" Plumora press "$role" "$1" ||
        fail "no tool button $1: $(grep -P "\t\Q$1\E\t" "$E2E_DIR/tree.txt")"
}
for tool in "Quick Notes" "Quick Access"; do
    press_tool "$tool"
    wait_for 10 shown "$tool" || fail "pressing $tool did not show it"
done
echo "accessible: $(wc -l <"$E2E_DIR/tree.txt") objects read"
