#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plumora on a sway desktop: a headless sway run by an ordinary user with XWayland, Plumora
# on XWayland with a bare tray host on its session bus. The wallpaper rotation of start-up
# puts the picture on sway's background; the reminder of start-up leaves the keyboard with
# the window that had it; the menu opens where the host's ContextMenu and Activate name, and
# closes when another window takes the keyboard.
# Skipped (77) when sway is not installed: it is not among the packages of every test run.
if [ -z "${PLUMORA_E2E_SESSION:-}" ]; then
    for tool in sway swaymsg swaybg Xwayland grim; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool is not installed (Debian: sway grim): skipped"
            exit 77
        fi
    done
    exec dbus-run-session -- env PLUMORA_E2E_SESSION=1 bash "$0" "$@"
fi
session_bus=$DBUS_SESSION_BUS_ADDRESS
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
export DBUS_SESSION_BUS_ADDRESS=$session_bus
exe=$1 template=$2

# sway refuses root: it runs as nobody, who must reach its runtime folder and the pictures.
chmod 755 "$E2E_DIR"
sway_run="$E2E_DIR/sway-run"
mkdir -m 700 "$sway_run"
chown nobody:nogroup "$sway_run"
cat >"$E2E_DIR/sway.conf" <<CONF
xwayland enable
output HEADLESS-1 mode 1280x800 position 0 0 bg #000000 solid_color
output HEADLESS-2 mode 640x480 position 1280 0 bg #000000 solid_color
for_window [title="^Anchor$"] floating enable
CONF
as_nobody() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$PATH" HOME="$sway_run" \
        XDG_RUNTIME_DIR="$sway_run" "$@"
}
setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$PATH" HOME="$sway_run" \
    XDG_RUNTIME_DIR="$sway_run" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$E2E_DIR/sway.conf" >"$E2E_DIR/sway.log" 2>&1 &
E2E_PIDS+=($!)
sway_socket() { ls "$sway_run"/sway-ipc.*.sock 2>/dev/null | head -n 1 | grep .; }
wait_for 20 sway_socket || fail "sway did not start: $(cat "$E2E_DIR/sway.log")"
export SWAYSOCK WAYLAND_DISPLAY="$sway_run/wayland-1"
SWAYSOCK=$(sway_socket)
wait_for 10 swaymsg -t get_outputs || fail "sway does not answer: $(cat "$E2E_DIR/sway.log")"
# XWayland's display, as sway hands it to the programs it starts; it lets in nobody but
# sway's user until that user lets root in.
swaymsg exec "xhost +si:localuser:root && echo \$DISPLAY >'$sway_run/display'" >/dev/null
wait_for 10 test -s "$sway_run/display" || fail "sway told no X display"
export DISPLAY
DISPLAY=$(cat "$sway_run/display")
wait_for 20 xdpyinfo || fail "XWayland did not answer on $DISPLAY: $(xdpyinfo 2>&1 | head -n 3)"
export XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland

# The name of the window sway gives the keyboard.
focused() {
    swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("focused"):
        print(node.get("name"))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
geometry() { eval "$(xdotool getwindowgeometry --shell "$(visible "$1")")"; }
# The colour of one pixel of the output, as "R G B".
pixel() {
    as_nobody WAYLAND_DISPLAY=wayland-1 grim -g "$1,$2 1x1" -t ppm - | tail -c 3 | od -An -tu1 |
        xargs
}

# A window that has the keyboard before Plumora starts.
xmessage -title Anchor "The keyboard stays here" >/dev/null 2>&1 &
E2E_PIDS+=($!)
has_anchor_focus() { [ "$(focused)" = Anchor ]; }
wait_for 10 has_anchor_focus || fail "the first window did not get the keyboard: $(focused)"

# The tray host: its watcher on the session bus.
/usr/bin/python3 "$here/fake_sni_watcher.py" "$E2E_DIR/items" 2>"$E2E_DIR/watcher.log" &
E2E_PIDS+=($!)
watcher_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher | grep -q true
}
wait_for 10 watcher_up || fail "the watcher did not start: $(cat "$E2E_DIR/watcher.log")"

# A picture of one colour, changed to at every start; an event today for the reminder.
program=$(e2e_program_folder "$exe" "$template")
chmod 755 "$program"
mkdir -m 755 "$E2E_DIR/pictures"
picture="$E2E_DIR/pictures/rose.ppm"
{
    printf 'P6\n64 64\n255\n'
    for _ in $(seq 4096); do printf '\310\050\132'; done
} >"$picture"
cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" "
    INSERT INTO WPaper (wpFile) VALUES ('$picture');
    UPDATE System SET NotifyAgo = 2, WallOpt = 2, CurWall = '';
    INSERT INTO Events (eDate, Description, Frequency, Holiday)
        VALUES (date('now', 'localtime'), 'Team meeting', 1, 0);" ||
    fail "the data file could not be prepared"

"$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
plumora=$!
E2E_PIDS+=("$plumora")

# 1. The wallpaper: sway's background shows the picture on the second output, where no
# window stands.
rose() { [ "$(pixel 1500 200)" = "200 40 90" ]; }
wait_for 30 rose || fail "the background is $(pixel 1500 200), not the picture:
$(cat "$E2E_DIR/plumora.log" "$E2E_DIR/sway.log")"

# 2. The reminder of start-up shows, and the keyboard stays with the window that had it.
wait_for 20 is_visible '^- Reminder -$' ||
    fail "no reminder at start-up: $(cat "$E2E_DIR/plumora.log")"
sleep 1
has_anchor_focus || fail "the reminder took the keyboard from the window that had it: $(focused)"

# 3. The host's calls: the menu opens beside the place each names.
item_registered() { test -s "$E2E_DIR/items"; }
wait_for 15 item_registered ||
    fail "the item did not register with the watcher: $(cat "$E2E_DIR/plumora.log")"
item=$(head -n 1 "$E2E_DIR/items")
call_item() {
    dbus-send --session --print-reply --dest="$item" /StatusNotifierItem \
        "org.kde.StatusNotifierItem.$1" "int32:$2" "int32:$3" >/dev/null ||
        fail "the item refused $1"
}
# The menu's window stands beside (X, Y): the point is on it or within a few pixels.
menu_beside() {
    local x=$1 y=$2 X Y WIDTH HEIGHT WINDOW SCREEN
    is_visible '^Plumora Menu$' || return 1
    geometry '^Plumora Menu$'
    echo "$X $Y ${WIDTH}x$HEIGHT" >"$E2E_DIR/menu-at"
    [ "$x" -ge $((X - 30)) ] && [ "$x" -le $((X + WIDTH + 30)) ] &&
        [ "$y" -ge $((Y - 30)) ] && [ "$y" -le $((Y + HEIGHT + 30)) ]
}
call_item ContextMenu 1100 40
wait_for 10 menu_beside 1100 40 ||
    fail "ContextMenu(1100, 40) showed no menu beside it: $(cat "$E2E_DIR/menu-at" 2>/dev/null)"
call_item Activate 200 700
wait_for 10 menu_beside 200 700 ||
    fail "Activate(200, 700) showed no menu beside it: $(cat "$E2E_DIR/menu-at" 2>/dev/null)"
# The menu, out of the compositor's hands, still closes when another window takes the keyboard.
swaymsg '[title="^Anchor$"] focus' >/dev/null
wait_for 10 sh -c '! xdotool search --onlyvisible --name "^Plumora Menu$"' ||
    fail "the menu stayed open with the keyboard on another window"
kill -0 "$plumora" || fail "Plumora ended: $(cat "$E2E_DIR/plumora.log")"
echo "sway: 1 passed, 0 failed"
