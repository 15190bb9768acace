#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A disk that fills up under an open note, with Plumora run by an ordinary user: its data
# folder is a 1 MB file system (as root; otherwise a folder made read-only). The user types
# into a note, the autosave that fails says so in a pop-up message naming the file and the
# reason, "Unload Plumora" chosen from the tray menu offers "Quit anyway" or "Stay", and
# after "Stay" the typed text is still in its note: once there is room again it is saved.
# Everything is done as a user does: clicks where the screen shows a control (found over
# the accessibility bus), menu entries by caption.
set -euo pipefail
exe=$1 template=$2 reader=$3
E2E_READER=$reader

if [ "$(id -u)" = 0 ] && [ -z "${PLUMORA_E2E_DISK:-}" ]; then
    # Root makes the small file system, owned by the user who runs the rest.
    disk=$(mktemp -d)
    chmod 755 "$disk"
    mount -t tmpfs -o size=1m,uid=65534,gid=65534,mode=0700 tmpfs "$disk" ||
        { echo "FAIL: no 1 MB file system could be mounted" >&2; exit 1; }
    trap 'umount -l "$disk"; rmdir "$disk"' EXIT
    status=0
    setpriv --reuid=65534 --regid=65534 --clear-groups \
        env PLUMORA_E2E_DISK="$disk" bash "$0" "$@" || status=$?
    exit $status
fi
if [ -z "${PLUMORA_E2E_SESSION:-}" ]; then
    exec dbus-run-session -- env PLUMORA_E2E_SESSION=1 bash "$0" "$@"
fi
session_bus=$DBUS_SESSION_BUS_ADDRESS
source "$(dirname "$0")/lib.sh"
# The accessibility bus is reached through the session bus this script runs in.
export DBUS_SESSION_BUS_ADDRESS=$session_bus
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
data=${PLUMORA_E2E_DISK:-$E2E_DIR/data}
mkdir -p "$data"
cp "$template" "$data/data.plm"
sqlite3 "$data/data.plm" "UPDATE System SET NotifyAgo = 2;
    INSERT INTO QNotes (nID, nLeft, nTop, nWidth, nHeight, ZOrder, CDate, Frequency)
    VALUES (1, 1500, 1500, 3600, 2700, 1, date('now'), 0);"

# The disk refuses writes: filled up, or (without the mount) the folder made read-only.
refuse() {
    if [ -n "${PLUMORA_E2E_DISK:-}" ]; then
        dd if=/dev/zero of="$data/filler" bs=4k 2>/dev/null || true
        head -c 4096 /dev/zero >>"$data/filler" 2>/dev/null || true
    else
        chmod 0555 "$data"
    fi
}
allow() {
    if [ -n "${PLUMORA_E2E_DISK:-}" ]; then rm -f "$data/filler"; else chmod 0755 "$data"; fi
}
# A read-only folder left behind could not be removed.
trap 'allow; e2e_cleanup' EXIT

PLUMORA_HOME=$data QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" \
    >"$E2E_DIR/plumora.log" 2>&1 &
plumora=$!
E2E_PIDS+=($plumora)

running() { kill -0 "$plumora" 2>/dev/null; }
icon_docked() { [ "$(tray_icon_count)" -eq 1 ]; }
content() { sql_value "$data/data.plm" "SELECT coalesce(Content, '') FROM QNotes WHERE nID = 1"; }
saved() { content | grep -q -- "$1"; }
# What a screen reader finds: the names of the objects on the screen.
screen_says() { grep -qF -- "$1" <<<"$(a11y_dump)"; }
shows() { "$reader" Plumora centre "$1" "$2" >/dev/null 2>&1; }
# choose CAPTION: the tray menu, opened by a click on the icon, and its entry by caption.
choose() {
    xdotool mousemove --window "$E2E_ICON" 8 8 click 1
    a11y_click "menu item" "$1"
}

# The pop-up message over the tray goes with a click on it, as the user makes it go.
notice_gone() { [ -z "$(visible '^- Plumora -$')" ]; }
dismiss_notice() {
    local win
    win=$(visible '^- Plumora -$')
    [ -n "$win" ] || return 0
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
    wait_for 20 notice_gone || fail "a click on the pop-up message did not close it"
}
note_name() { awk -F'\t' '$2 == "text" && $3 ~ /^Note/ { print $3; exit }' <<<"$(a11y_dump)"; }
has_note() { [ -n "$(note_name)" ]; }

wait_for 15 icon_docked || fail "no tray icon appeared"
e2e_wait_tray_icon
choose "Quick Notes"
wait_for 10 has_note || fail "Quick Notes shows no note"
note=$(note_name)
a11y_click text "$note"
sleep 0.3
xdotool type --delay 30 "Milk and eggs"
wait_for 10 saved "Milk and eggs" || fail "the typing was not saved while the disk had room"

refuse
xdotool type --delay 30 " and bread"
failed="The notes could not be saved to $data/data.plm"
wait_for 15 screen_says "$failed" ||
    fail "no message said the autosave failed: $(tail -3 "$E2E_DIR/plumora.log")"
dismiss_notice

choose "Unload Plumora"
a11y_click "push button" "Yes"
wait_for 10 shows "push button" "Quit anyway" || fail "Unload Plumora offered no \"Quit anyway\""
screen_says "$failed" || fail "the choice does not say what could not be saved"
a11y_click "push button" "Stay"
sleep 1
running || fail "Plumora ended although the user chose to stay"

# The text stayed in its note: with room again, autosave stores all of it and says so.
allow
wait_for 15 saved "Milk and eggs and bread" ||
    fail "the text typed onto the full disk was lost: $(content)"
wait_for 10 screen_says "The notes are saved to $data/data.plm again." ||
    fail "no message said saving works again"
echo "full_disk: 1 passed, 0 failed"
