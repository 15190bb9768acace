#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two monitors side by side on one X screen of 3840 x 1080 (two RandR monitors of 1920 x
# 1080, the server kept alive between clients so they stay): "Full Screen" stores the whole
# desktop, red on the left monitor and blue on the right; an area dragged across their edge
# is stored whole; a monitor removed while the main window and a note card sit on it brings
# both onto the one left, and the main window saved there opens on it after a restart with
# nothing written back; with the left monitor scaled 1.5, the picture still holds every
# device pixel and an area across the edge is still what the user dragged over. One X server for every case.
E2E_SCREEN=3840x1080x24
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 reader=$3
E2E_READER=$reader
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
command -v xrandr >/dev/null || fail "xrandr is not installed (Debian: x11-xserver-utils)"

e2e_start_desktop
right_monitor() { xrandr --setmonitor right 1920/508x1080/286+1920+0 none >/dev/null; }
# The left one takes the output, so the whole screen is no monitor of its own.
xrandr --setmonitor left 1920/508x1080/286+0+0 screen >/dev/null
right_monitor
[ "$(xrandr --listmonitors | head -n 1)" = "Monitors: 2" ] || fail "no two monitors: $(xrandr --listmonitors)"
# The desktop itself red on the left monitor and blue on the right: a bitmap the width of
# the screen, its left half set.
python3 - "$E2E_DIR/halves.xbm" <<'PY'
import sys
w, h = 3840, 1080
row = ", ".join(["0xff"] * (w // 16) + ["0x00"] * (w // 16))
with open(sys.argv[1], "w") as f:
    f.write(f"#define halves_width {w}\n#define halves_height {h}\nstatic char halves_bits[] = {{\n")
    f.write(",\n".join([row] * h))
    f.write("};\n")
PY
xsetroot -bitmap "$E2E_DIR/halves.xbm" -fg red -bg blue

program=$(e2e_program_folder "$exe" "$template")
cp "$template" "$program/data.plm"
# The main window was closed on the right monitor; a note lies near its top left corner.
sqlite3 "$program/data.plm" "UPDATE System SET winLeft = 39000, winTop = 1500, winWidth = 15000,
    winHeight = 12000, winMax = 0;
    INSERT INTO QNotes (nLeft, nTop, nWidth, nHeight, ZOrder, CDate, Frequency)
        VALUES (1500, 1500, 3600, 2700, 1, '2026-03-05', 0);"

start_plumora() {
    env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@" "$program/plumora" >>"$E2E_DIR/plumora.log" 2>&1 &
    plumora=$!
    E2E_PIDS+=($plumora)
    wait_for 15 icon_docked || fail "no tray icon appeared"
    e2e_wait_tray_icon
}
stop_plumora() {
    kill "$plumora"
    wait "$plumora" 2>/dev/null || true
}
is_gone() { ! is_visible "$1"; }
icon_docked() { [ "$(tray_icon_count)" -eq 1 ]; }
shows() { "$reader" Plumora centre "$1" "$2" >/dev/null 2>&1; }
rows() { sql_value "$program/data.plm" 'SELECT count(*) FROM SCapture'; }
has_rows() { [ "$(rows)" -eq "$1" ]; }
# The picture of row N: "WIDTHxHEIGHT", then "R,G,B" at each X Y pair given.
picture() {
    local row=$1
    shift
    sqlite3 "$program/data.plm" "SELECT writefile('$E2E_DIR/picture.png', CapImg) FROM SCapture WHERE rowid = $row" >/dev/null
    python3 - "$E2E_DIR/picture.png" "$@" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
pos, idat = 8, b""
while pos < len(data):
    size, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + size]
    if kind == b"IHDR":
        w, h, depth, colour = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat += body
    pos += 12 + size
bpp = {2: 3, 6: 4}[colour]
raw, stride, rows, prev = zlib.decompress(idat), w * bpp, [], bytearray(w * bpp)
for y in range(h):
    f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        b, c = prev[i], prev[i - bpp] if i >= bpp else 0
        p = a + b - c
        pred = [0, a, b, (a + b) // 2,
                a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c][f]
        line[i] = (line[i] + pred) & 255
    rows.append(line)
    prev = line
out = [f"{w}x{h}"]
for x, y in zip(sys.argv[2::2], sys.argv[3::2]):
    px = rows[int(y)][int(x) * bpp:int(x) * bpp + 3]
    out.append(",".join(map(str, px)))
print(" ".join(out))
PY
}
# The frame of the visible window named NAME: "LEFT TOP RIGHT BOTTOM" (right and bottom
# exclusive), its window manager's frame included.
frame_of() {
    local id x y w h l r t b
    id=$(visible "$1") || return 1
    read -r x y w h <<<"$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $NF }
        /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { print x, y, w, h }')"
    read -r l r t b <<<"$(xprop -id "$id" _NET_FRAME_EXTENTS | tr -dc '0-9 ')"
    echo "$((x - ${l:-0})) $((y - ${t:-0})) $((x + w + ${r:-0})) $((y + h + ${b:-0}))"
}
on_left_monitor() {
    local left top right bottom
    read -r left top right bottom <<<"$(frame_of '^Plumora$')"
    [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le 1920 ] && [ "$bottom" -le 1080 ]
}
open_main_window() {
    xdotool mousemove --window "$E2E_ICON" 8 8 click --repeat 2 --delay 120 1
    wait_for 10 is_visible '^Plumora$' || fail "a double-click opened no main window"
}
tool() {
    a11y_click "menu item" "Tools"
    a11y_click "menu item" "$1"
}
full_screen_capture() {
    a11y_click "push button" "New Capture"
    wait_for 10 is_gone '^Plumora$' || fail "New Capture left the main window on the screen"
    wait_for 10 shows "push button" "Full Screen" || fail "no box of choices over the frozen desktop"
}

# Full Screen: the whole desktop, each monitor where it stands.
start_plumora
open_main_window
tool "Screen Capture"
wait_for 10 shows "push button" "New Capture" || fail "the Tools menu did not show Screen Capture"
full_screen_capture
a11y_click "push button" "Full Screen"
wait_for 10 has_rows 1 || fail "Full Screen stored no row"
read -r size left right <<<"$(picture 1 100 100 3000 100)"
[ "$size" = 3840x1080 ] || fail "the desktop was stored as $size, not 3840x1080"
[ "$left" = 255,0,0 ] && [ "$right" = 0,0,255 ] ||
    fail "the left monitor shows $left and the right $right, not red and blue"
wait_for 10 is_visible '^Plumora$' || fail "the main window did not come back"
sleep 0.5
xdotool key Return

# An area dragged across the monitors' edge is stored whole.
full_screen_capture
xdotool mousemove 1500 300 mousedown 1 mousemove 2000 450 mousemove 2500 600 mouseup 1
sleep 0.3
shows "push button" "Selected Area" || fail "the box of choices went under the frozen desktop"
xdotool key Return
wait_for 10 has_rows 2 || fail "Return after a drag across the edge stored no row"
read -r size <<<"$(picture 2)"
[ "$size" = 1000x300 ] || fail "the area across the edge was stored as $size, not 1000x300"
wait_for 10 is_visible '^Plumora$' || fail "the main window did not come back after the area"
sleep 0.5
xdotool key Return

# The right monitor goes while the main window and a note card sit on it.
tool "Quick Notes"
note="Note of March 05, 2026"
wait_for 10 shows text "$note" || fail "no note card in Quick Notes"
read -r x _ <<<"$("$reader" Plumora centre text "$note")"
[ "$x" -ge 1920 ] || fail "the note card is not on the right monitor (x $x)"
xrandr --delmonitor right
wait_for 10 on_left_monitor || fail "the main window stayed off the left monitor: $(frame_of '^Plumora$')"
card_on_left() {
    local x
    read -r x _ <<<"$("$reader" Plumora centre text "$note")"
    [ "$x" -lt 1920 ]
}
wait_for 10 card_on_left || fail "the note card stayed on the monitor that went"
stop_plumora
[ "$(sql_value "$program/data.plm" 'SELECT winLeft = 39000 FROM System')" = 1 ] ||
    fail "the place on the right monitor was written over: $(sql_value "$program/data.plm" 'SELECT winLeft FROM System')"

# Started again with the left monitor only, the main window saved on the right opens on it.
start_plumora
open_main_window
sleep 0.5
on_left_monitor || fail "the main window opened off the left monitor: $(frame_of '^Plumora$')"
stop_plumora

# The right monitor back and the left one scaled 1.5, which leaves a gap between them on the
# desktop: the picture still holds every device pixel. (The main window opens on the right
# monitor, where the desktop's pixels are the screen's, so clicks land where it is read.)
right_monitor
start_plumora QT_SCREEN_SCALE_FACTORS="1.5;1"
open_main_window
tool "Screen Capture"
full_screen_capture
a11y_click "push button" "Full Screen"
wait_for 10 has_rows 3 || fail "Full Screen stored no row at mixed scales"
read -r size left right <<<"$(picture 3 100 100 3000 100)"
[ "$size" = 3840x1080 ] || fail "at mixed scales the desktop was stored as $size, not 3840x1080"
[ "$left" = 255,0,0 ] && [ "$right" = 0,0,255 ] ||
    fail "at mixed scales the left monitor shows $left and the right $right, not red and blue"
# The frozen desktop shows each monitor's own pixels, so a drag across the edge at mixed
# scales keeps the area the user saw (to a pixel of rounding).
wait_for 10 is_visible '^Plumora$' || fail "the main window did not come back at mixed scales"
sleep 0.5
xdotool key Return
full_screen_capture
xdotool mousemove 1500 300 mousedown 1 mousemove 2000 450 mousemove 2500 600 mouseup 1
sleep 0.3
xdotool key Return
wait_for 10 has_rows 4 || fail "Return after a drag at mixed scales stored no row"
read -r size <<<"$(picture 4)"
case $size in 999x300 | 1000x300 | 1001x300) ;;
*) fail "the area across the edge at mixed scales was stored as $size, not 1000x300" ;;
esac
stop_plumora
echo "monitors: 1 passed, 0 failed"
