# SPDX-License-Identifier: GPL-3.0-or-later
# Calendar sync machines for end-to-end tests, sourced after lib.sh: a real Radicale on
# 127.0.0.1 with user "ann", and copies of the real program ("machines"), each with its own
# HOME, data file and GNOME Keyring, started one at a time in a session bus of their own
# and reached by a screen reader. Needs `exe`, `template` and `E2E_READER` set; sourcing it
# starts the desktop and Radicale.

e2e_start_desktop
# Radicale with one user and no calendar yet, on a port free at run time.
storage="$E2E_DIR/radicale"
e2e_start_radicale "$storage"
port=$E2E_RADICALE_PORT
radicale_pid=$E2E_RADICALE_PID
# Radicale again at the same address, after it was killed.
radicale_start() {
    e2e_start_radicale "$storage" "$port"
    radicale_pid=$E2E_RADICALE_PID
}
calendar="http://127.0.0.1:$port/ann/plumora/"
# The events on the server, one "UID|SUMMARY" line each, sorted.
server_events() {
    cat "$storage"/collection-root/ann/plumora/*.ics 2>/dev/null | tr -d '\r' |
        awk -F: '/^UID:/ { uid = $2 } /^SUMMARY:/ { sub(/^SUMMARY:/, ""); print uid "|" $0 }' | sort
}

# caldav_machine M: a data file and HOME for machine M; no account yet.
caldav_machine() {
    mkdir -p "$E2E_DIR/$1/home" "$E2E_DIR/$1/program"
    e2e_copy_program "$exe" "$E2E_DIR/$1/program"
    cp "$template" "$E2E_DIR/$1/program/data.plm"
}
data() { echo "$E2E_DIR/$1/program/data.plm"; }
# The user's events of machine M, one "UID|text" line each, sorted.
events() { sqlite3 "$(data "$1")" "SELECT UID || '|' || Description FROM Events WHERE Holiday = 0 ORDER BY 1"; }
add_event() { # MACHINE UID DATE TEXT
    sqlite3 "$(data "$1")" "INSERT INTO Events (eDate, Description, Frequency, UID, LastModified)
        VALUES ('$3', '$4', 1, '$2', strftime('%Y-%m-%dT%H:%M:%SZ', 'now'))"
}
edit_event() { # MACHINE UID TEXT
    sqlite3 "$(data "$1")" "UPDATE Events SET Description = '$3',
        LastModified = strftime('%Y-%m-%dT%H:%M:%SZ', 'now') WHERE UID = '$2'"
}
delete_event() { # MACHINE UID
    sqlite3 "$(data "$1")" "DELETE FROM Events WHERE UID = '$2';
        INSERT OR REPLACE INTO EventTombstones VALUES ('$2', strftime('%Y-%m-%dT%H:%M:%SZ', 'now'))"
}

# A session bus with no services started on demand but the accessibility bus: only the
# keyring started here answers for secrets, and the screen reader reaches the program.
e2e_a11y_session_conf "$E2E_DIR/session.conf"

# start MACHINE [typed|nokeyring]: the program in a session of its own, with a fresh keyring
# holding the password, or holding nothing when the user is to type it ("typed"), or with no
# keyring at all ("nokeyring": the password is in the data file).
pidfile="$E2E_DIR/plumora.pid" busfile="$E2E_DIR/bus"
start() {
    local m=$1 store=1 keyring=1
    [ "${2:-}" = typed ] && store=0
    [ "${2:-}" = nokeyring ] && keyring=0
    rm -f "$pidfile" "$busfile"
    rm -rf "$E2E_DIR/$m/home/.local/share/keyrings"
    HOME="$E2E_DIR/$m/home" XDG_CONFIG_HOME="$E2E_DIR/$m/home/.config" \
        XDG_DATA_HOME="$E2E_DIR/$m/home/.local/share" QT_LOGGING_RULES="plumora.calendar=true" \
        dbus-run-session --config-file="$E2E_DIR/session.conf" -- sh -c "
            dbus-update-activation-environment XDG_RUNTIME_DIR HOME XDG_CONFIG_HOME \
                XDG_DATA_HOME DISPLAY
            [ $keyring = 1 ] && printf test |
                gnome-keyring-daemon --foreground --unlock --components=secrets \
                >>'$E2E_DIR/$m/keyring.log' 2>&1 &
            for i in \$(seq 50); do
                [ $keyring = 0 ] && break
                [ $store = 0 ] && dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
                    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
                    grep -q true && break
                [ $store = 1 ] && printf secret | secret-tool store --label=caldav server Plumora \
                    user caldav type plaintext 2>/dev/null && break
                sleep 0.2
            done
            echo \$DBUS_SESSION_BUS_ADDRESS >'$busfile'
            echo \$\$ >'$pidfile'
            exec env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 '$E2E_DIR/$m/program/plumora'" \
        >>"$E2E_DIR/$m/plumora.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 20 test -s "$pidfile" || fail "$m: the program did not start"
    # The screen reader speaks to this machine's session.
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(cat "$busfile")
}
stop() { e2e_stop_pidfile "$pidfile"; }
last_sync() { sqlite3 "$(data "$1")" "SELECT ifnull(LastSync, '') || '|' || LastResult FROM CalDavAccount"; }
# synced MACHINE BEFORE EXPECT: a sync has recorded a result since BEFORE that matches EXPECT.
synced() { local now; now=$(last_sync "$1"); [ "$now" != "$2" ] && grep -q "$3" <<<"$now"; }
# wait_sync MACHINE BEFORE [EXPECT]: waits for the sync running or about to ("sent" by
# default: one that completed).
wait_sync() {
    wait_for 40 synced "$1" "$2" "${3:-sent}" || {
        cat "$E2E_DIR/$1/plumora.log" >&2
        fail "$1: no sync ended with '${3:-sent}' (last: $(last_sync "$1"))"
    }
}
# sync MACHINE: one run of the program until the sync after start-up has ended.
sync() {
    local before
    before=$(last_sync "$1")
    start "$1"
    wait_sync "$1" "$before"
}
# The Options window through the tray menu, as the user opens it.
menu_open() { xdotool search --onlyvisible --name '^Plumora Menu$' >/dev/null 2>&1; }
open_options() {
    e2e_wait_tray_icon
    xdotool mousemove --window "$E2E_ICON" 8 8 click 1
    wait_for 20 menu_open || fail "a click on the tray icon opened no menu"
    a11y_click "menu item" "Options"
    wait_for 20 a11y_shows "push button" "Sync now" || fail "Options show no \"Sync now\""
    # The calendar sync group is at the foot of the page.
    a11y_scroll_to "push button" "Sync now"
}
# The status line of calendar sync, as a screen reader reads it.
status_line() { a11y_description "Sync status"; }
status_says() { status_line | grep -q -e "$1"; }
wait_status() { # TEXT
    wait_for 40 status_says "$1" || fail "the status line does not say '$1' but '$(status_line)'"
}
# click_sync MACHINE [EXPECT]: "Sync now" in the open Options, until the status line tells
# the sync's end; prints the status line.
click_sync() {
    local before
    before=$(last_sync "$1")
    a11y_click "push button" "Sync now"
    wait_sync "$1" "$before" "${2:-sent}"
    wait_status "^Last sync: "
    status_line
}
expect() { # WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: got
$2
expected
$3"
}
