#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plumora reached from outside its windows, as a user does: actions typed in a shell go to
# the running copy, and a key chosen in Options opens the area selector from any window,
# whatever the state of Num Lock. A key another X client holds is reported in Options.
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 reader=$3 grabber=$4
E2E_READER=$reader
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_start_desktop
# openbox's own configuration takes Print (and Alt+Print) for a screenshot program, as many
# desktops do: this desktop leaves the key free.
sed '/<keybind key="Print">/,/<\/keybind>/d; /<keybind key="A-Print">/,/<\/keybind>/d' \
    /etc/xdg/openbox/rc.xml >"$E2E_DIR/rc.xml"
wm_check() { xprop -root _NET_SUPPORTING_WM_CHECK; }
first_wm=$(wm_check)
openbox --replace --sm-disable --config-file "$E2E_DIR/rc.xml" >>"$E2E_DIR/openbox.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep 'window id' | grep -vqx '$first_wm'" ||
    fail "openbox did not start again without its Print key"
program=$(e2e_program_folder "$exe" "$template")
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

is_gone() { ! is_visible "$1"; }
icon_docked() { [ "$(tray_icon_count)" -eq 1 ]; }
shows() { "$reader" Plumora centre "$1" "$2" >/dev/null 2>&1; }
note_text() { sql_value "$program/data.plm" "SELECT count(*) FROM QNotes WHERE Content LIKE '%$1%'"; }
has_note() { [ "$(note_text "$1")" -ge 1 ]; }
stored_key() { [ "$(sql_value "$program/data.plm" 'SELECT CaptureKey FROM KeySettings')" = "$1" ]; }
num_lock() { xset q | grep -q "Num Lock: *$1"; }
# The area selector: the frozen screen with its box of choices on top.
selector_open() { shows "push button" "Full Screen"; }
# Esc on the frozen screen ends the capture; the main window comes back.
close_selector() {
    xdotool key Escape
    wait_for 10 sh -c "! \"$reader\" Plumora centre 'push button' 'Full Screen'" ||
        fail "Esc left the selector open"
}

wait_for 15 icon_docked || fail "no tray icon appeared"

# A note from the shell: the command ends with 0 once the note is on the screen, and its
# text is in the data file.
"$program/plumora" --new-note "Buy milk" || fail "--new-note ended with $?"
wait_for 10 is_visible '^Plumora$' || fail "--new-note showed no window"
wait_for 10 has_note "Buy milk" || fail "the note's text is not in the data file"
wait_for 10 shows "text" "" || true

# A tool by its name; an unknown name is refused with the list of the valid ones.
"$program/plumora" --show calendar || fail "--show calendar ended with $?"
wait_for 10 shows "push button" "Go Today" || fail "--show calendar did not show the calendar"
"$program/plumora" --show notes || fail "--show notes ended with $?"
wait_for 10 sh -c "! \"$reader\" Plumora centre 'push button' 'Go Today'" ||
    fail "--show notes left the calendar on show"
wait_for 10 shows "push button" "New" || fail "--show notes did not show Quick Notes"
if "$program/plumora" --show mail 2>"$E2E_DIR/refusal.txt"; then fail "--show mail was taken"; fi
grep -q "calendar, notes, scheduler, quick-access, capture, wallpaper, options" "$E2E_DIR/refusal.txt" ||
    fail "the refusal does not list the tools: $(cat "$E2E_DIR/refusal.txt")"

# Print chosen for capturing an area, by clicking the editor and pressing the key.
"$program/plumora" --show options || fail "--show options ended with $?"
a11y_scroll_to "text" "Capture an area shortcut"
a11y_click "text" "Capture an area shortcut"
sleep 0.3
xdotool key Print
wait_for 10 stored_key Print || fail "the chosen key was not stored: $(sql_value "$program/data.plm" 'SELECT * FROM KeySettings')"
# From any window, Num Lock off and on.
num_lock off || xdotool key Num_Lock
xdotool key Print
wait_for 10 selector_open || fail "Print with Num Lock off opened no selector: $(tail -5 "$E2E_DIR/plumora.log")"
close_selector
xdotool key Num_Lock
wait_for 5 num_lock on || fail "Num Lock did not come on"
xdotool key Print
wait_for 10 selector_open || fail "Print with Num Lock on opened no selector"
close_selector
xdotool key Num_Lock

# Another program holds Print first: Options says so, and the key stays unbound.
"$program/plumora" --show options
a11y_scroll_to "push button" "Capture an area: no shortcut"
a11y_click "push button" "Capture an area: no shortcut"
wait_for 10 stored_key "" || fail "None left the key stored"
print_code=$(xmodmap -pke | awk '$4 == "Print" && !found { print $2; found = 1 }')
"$grabber" "$print_code" >"$E2E_DIR/grabber.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 grep -q grabbed "$E2E_DIR/grabber.log" || fail "the second client could not grab Print"
a11y_click "text" "Capture an area shortcut"
sleep 0.3
xdotool key Print
wait_for 10 a11y_shows "label" "Print is already used by another program" ||
    fail "Options did not say Print is taken: $("$reader" Plumora dump showing | grep -i print)"
xdotool key Tab
xdotool key Print
sleep 1
selector_open && fail "a key another program holds opened the selector"
echo "keys: 1 passed, 0 failed"
