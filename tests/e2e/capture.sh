#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screen Capture in the real program, worked as a user does: clicks on what is visible
# (found over the accessibility bus), the Tools menu entry by its caption, keys to the
# window that has the focus. "New Capture" hides the main window and the frozen screen
# comes up with its box of choices on top; "Full Screen" stores a picture of the screen's
# size and the main window comes back with the description ready to type; then, after an
# area is dragged on the frozen screen, Return stores that area.
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 reader=$3
E2E_READER=$reader
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

is_gone() { ! is_visible "$1"; }
icon_docked() { [ "$(tray_icon_count)" -eq 1 ]; }
rows() { sql_value "$program/data.plm" 'SELECT count(*) FROM SCapture'; }
has_rows() { [ "$(rows)" -eq "$1" ]; }
titled() { [ "$(sql_value "$program/data.plm" "SELECT Title FROM SCapture WHERE rowid = $1")" = "$2" ]; }
# The width and height of a stored picture, from its PNG header (two big-endian words).
picture_size() {
    sqlite3 "$program/data.plm" "SELECT writefile('$E2E_DIR/picture.png', CapImg) FROM SCapture WHERE rowid = $1" >/dev/null
    [ "$(od -An -tx1 -N8 "$E2E_DIR/picture.png" | tr -d ' \n')" = 89504e470d0a1a0a ] || { echo "not a PNG"; return; }
    local b
    read -ra b < <(od -An -tu1 -j16 -N8 "$E2E_DIR/picture.png")
    echo "$(((b[0] << 24) + (b[1] << 16) + (b[2] << 8) + b[3]))x$(((b[4] << 24) + (b[5] << 16) + (b[6] << 8) + b[7]))"
}
# shows ROLE NAME: an object of that role and name is on the screen.
shows() { "$reader" Plumora centre "$1" "$2" >/dev/null 2>&1; }
# Takes a capture from the Screen Capture page: the box of choices must be on top of the
# frozen screen, so its buttons are where the user sees them.
take_capture() {
    a11y_click "push button" "New Capture"
    wait_for 10 is_gone '^Plumora$' || fail "New Capture left the main window on the screen"
    wait_for 10 shows "push button" "Full Screen" ||
        fail "no box of choices over the frozen screen: $(tail -5 "$E2E_DIR/plumora.log")"
}

wait_for 15 icon_docked || fail "no tray icon appeared"
e2e_wait_tray_icon
xdotool mousemove --window "$E2E_ICON" 8 8 click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click opened no main window"
wait_for 10 shows "push button" "Go Today" || fail "the calendar is not shown"
# The Tools menu, and its entry chosen by caption.
a11y_click "menu item" "Tools"
a11y_click "menu item" "Screen Capture"
wait_for 10 shows "push button" "New Capture" || fail "the Tools menu did not show Screen Capture"

# Full Screen, clicked where the box shows it: a box hidden under the frozen screen would
# let the click start an area instead.
take_capture
# A small tool box: the window manager offers no minimise or maximise for it, and its frame
# lies wholly on the screen.
box=$(visible '^Action$')
actions=$(xprop -id "$box" _NET_WM_ALLOWED_ACTIONS)
grep -q CLOSE <<<"$actions" || fail "the window manager has not managed the box: $actions"
! grep -q -e MINIMIZE -e MAXIMIZE <<<"$actions" || fail "the box can be minimised or maximised: $actions"
read -r X Y WIDTH HEIGHT <<<"$(xwininfo -id "$box" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
         /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')"
read -r left right top bottom <<<"$(xprop -id "$box" _NET_FRAME_EXTENTS | tr -dc '0-9 ')"
[ $((X - left)) -ge 0 ] && [ $((Y - top)) -ge 0 ] && [ $((X + WIDTH + right)) -le 1280 ] &&
    [ $((Y + HEIGHT + bottom)) -le 800 ] ||
    fail "the box's frame ($((X - left)),$((Y - top)) $((WIDTH + left + right))x$((HEIGHT + top + bottom))) is not wholly on the 1280x800 screen"
a11y_click "push button" "Full Screen"
wait_for 10 has_rows 1 || fail "Full Screen stored no row"
wait_for 10 is_visible '^Plumora$' || fail "the main window did not come back"
wait_for 20 is_gone '^Action$' || fail "the box of choices stayed"
[ "$(picture_size 1)" = 1280x800 ] || fail "the stored screen is $(picture_size 1), not 1280x800"
titled 1 "New Screen Image" || fail "the new row is not titled New Screen Image"
# The description is being edited in the window that came back: type it.
sleep 0.5
xdotool type --delay 20 'Desk shot'
xdotool key Return
wait_for 10 titled 1 "Desk shot" || fail "the typed description was not stored: $(sql_value "$program/data.plm" 'SELECT Title FROM SCapture')"

# Selected Area: drag on the frozen screen from the bottom-right corner to the top-left,
# then Return, which now keeps the area.
take_capture
xdotool mousemove 400 250 mousedown 1 mousemove 300 200 mousemove 100 50 mouseup 1
sleep 0.3
shows "push button" "Selected Area" || fail "the box of choices went under the frozen screen"
xdotool key Return
wait_for 10 has_rows 2 || fail "Return after a drag stored no row"
[ "$(picture_size 2)" = 300x200 ] || fail "the selected area is $(picture_size 2), not 300x200"
wait_for 10 is_visible '^Plumora$' || fail "the main window did not come back after Selected Area"
echo "capture: 1 passed, 0 failed"
