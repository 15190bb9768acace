#!/usr/bin/env bash
# Screen Capture in the real program: "New Capture" hides the main window, the frozen screen
# and its box of choices come up, "Full Screen" stores a picture of the screen's size and
# the main window comes back with the description ready to type; then an area dragged on
# the frozen screen is stored with "Selected Area".
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
"$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
is_visible() { [ -n "$(visible "$1")" ]; }
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
focus() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.3
}
# Takes a capture from the Screen Capture page, which has the keyboard focus on its list.
take_capture() {
    local main
    main=$(visible '^Plumora$')
    focus "$main"
    xdotool key --window "$main" Tab space # " New Capture"
    wait_for 10 is_gone '^Plumora$' || fail "New Capture left the main window on the screen"
    wait_for 10 is_visible '^Action$' || fail "no box of choices over the frozen screen: $(tail -5 "$E2E_DIR/plumora.log")"
}

wait_for 15 icon_docked || fail "no tray icon appeared"
icon=$(xwininfo -tree -id "$(tray_panel)" | awk '/\("plumora" "Plumora"\)/ { print $1; exit }')
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click opened no main window"
main=$(visible '^Plumora$')
focus "$main"
# Tools menu: Personal Calendar, Quick Notes, Power Scheduler, Quick Access, Screen Capture.
xdotool key --window "$main" alt+t Down Down Down Down Return
sleep 0.5

# Full Screen: the Return key takes the box's default choice.
take_capture
focus "$(visible '^Action$')"
xdotool key Return
wait_for 10 has_rows 1 || fail "Full Screen stored no row"
wait_for 10 is_visible '^Plumora$' || fail "the main window did not come back"
wait_for 5 is_gone '^Action$' || fail "the box of choices stayed"
[ "$(picture_size 1)" = 1280x800 ] || fail "the stored screen is $(picture_size 1), not 1280x800"
titled 1 "New Screen Image" || fail "the new row is not titled New Screen Image"
# The description is being edited: type it.
main=$(visible '^Plumora$')
focus "$main"
xdotool type --window "$main" --delay 20 'Desk shot'
xdotool key --window "$main" Return
wait_for 10 titled 1 "Desk shot" || fail "the typed description was not stored: $(sql_value "$program/data.plm" 'SELECT Title FROM SCapture')"

# Selected Area: drag on the frozen screen from the bottom-right corner to the top-left.
take_capture
xdotool mousemove 400 250 mousedown 1 mousemove 300 200 mousemove 100 50 mouseup 1
sleep 0.3
focus "$(visible '^Action$')"
xdotool key Tab space # "Selected Area"
wait_for 10 has_rows 2 || fail "Selected Area stored no row"
[ "$(picture_size 2)" = 300x200 ] || fail "the selected area is $(picture_size 2), not 300x200"
wait_for 10 is_visible '^Plumora$' || fail "the main window did not come back after Selected Area"
echo "capture: 1 passed, 0 failed"
