#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Calendar sync of two copies of the real program ("machines" A and B, each with its own
# HOME, data file and GNOME Keyring) through a real Radicale on 127.0.0.1. The copies run
# one after the other. On A the user sets the account up in Options (server, user name and
# password typed, the calendars looked for, "Plumora" made) and clicks "Sync now", reading
# the status line as a screen reader does; later runs sync shortly after start-up, and
# some click "Sync now" once more after a change. Checked in the data files and on the
# server: A's event reaches B, B's edit reaches A, A's deletion leaves B, edits on both
# sides keep both versions, an event PUT by another client reaches both, and a server
# killed during a sync loses and duplicates nothing once the next sync has run.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 E2E_READER=$3

command -v radicale >/dev/null || fail "radicale is not installed (Debian: radicale)"
e2e_start_desktop
# Radicale with one user and no calendar yet, on a port free at run time.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
storage="$E2E_DIR/radicale"
printf 'ann:secret\n' >"$E2E_DIR/users"
radicale_pid=
radicale_start() {
    radicale --server-hosts "127.0.0.1:$port" --storage-filesystem-folder "$storage" \
        --auth-type htpasswd --auth-htpasswd-filename "$E2E_DIR/users" \
        --auth-htpasswd-encryption plain --logging-level warning >>"$E2E_DIR/radicale.log" 2>&1 &
    radicale_pid=$!
    E2E_PIDS+=($radicale_pid)
    wait_for 20 curl -sf -u ann:secret -X PROPFIND -H 'Depth: 0' "http://127.0.0.1:$port/ann/" ||
        fail "radicale did not answer: $(cat "$E2E_DIR/radicale.log")"
}
radicale_start
calendar="http://127.0.0.1:$port/ann/plumora/"
# The events on the server, one "UID|SUMMARY" line each, sorted.
server_events() {
    cat "$storage"/collection-root/ann/plumora/*.ics 2>/dev/null | tr -d '\r' |
        awk -F: '/^UID:/ { uid = $2 } /^SUMMARY:/ { sub(/^SUMMARY:/, ""); print uid "|" $0 }' | sort
}

# A data file and HOME per machine; no account yet.
for m in a b; do
    mkdir -p "$E2E_DIR/$m/home" "$E2E_DIR/$m/program"
    cp "$exe" "$E2E_DIR/$m/program/"
    cp "$template" "$E2E_DIR/$m/program/data.plm"
done
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
mkdir -p "$E2E_DIR/services"
cp /usr/share/dbus-1/services/org.a11y.Bus.service "$E2E_DIR/services/" ||
    fail "the accessibility bus is not installed (Debian: at-spi2-core)"
e2e_bare_session_conf "$E2E_DIR/session.conf"
sed -i "s|</busconfig>|  <servicedir>$E2E_DIR/services</servicedir>\n</busconfig>|" "$E2E_DIR/session.conf"

# start MACHINE [typed]: the program in a session of its own, with a fresh keyring holding
# the password, or holding nothing when the user is to type it ("typed").
pidfile="$E2E_DIR/plumora.pid" busfile="$E2E_DIR/bus"
start() {
    local m=$1 store=1
    [ "${2:-}" = typed ] && store=0
    rm -f "$pidfile" "$busfile"
    rm -rf "$E2E_DIR/$m/home/.local/share/keyrings"
    HOME="$E2E_DIR/$m/home" XDG_CONFIG_HOME="$E2E_DIR/$m/home/.config" \
        XDG_DATA_HOME="$E2E_DIR/$m/home/.local/share" QT_LOGGING_RULES="plumora.calendar=true" \
        dbus-run-session --config-file="$E2E_DIR/session.conf" -- sh -c "
            dbus-update-activation-environment XDG_RUNTIME_DIR HOME XDG_CONFIG_HOME \
                XDG_DATA_HOME DISPLAY
            printf test | gnome-keyring-daemon --foreground --unlock --components=secrets \
                >>'$E2E_DIR/$m/keyring.log' 2>&1 &
            for i in \$(seq 50); do
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
stop() {
    local pid
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || true
    wait_for 10 sh -c "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true
}
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
status_line() {
    "$E2E_READER" Plumora dump showing 2>/dev/null | awk -F'\t' '$3 == "Sync status" { print $4; exit }'
}
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
passed=0

# A's account set up in Options: the server's address, user name and password typed, the
# calendars looked for (none yet), "Plumora" made, syncs only when asked; then "Sync now"
# sends A's events.
add_event a dentist 2026-03-12 Dentist
add_event a party 2026-03-20 Party
start a typed
open_options
type_into() { # FIELD TEXT
    a11y_click text "$1"
    xdotool key ctrl+a type --delay 20 "$2"
}
type_into "Server address" "http://127.0.0.1:$port/"
type_into "User name" ann
type_into "Password" secret
# Only when asked: no minute tick syncs behind the user's back.
a11y_click "combo box" "Every 15 minutes"
a11y_click "list item" "Only when I click Sync now"
a11y_click "push button" "Find calendars"
wait_status 'Create "Plumora"'
a11y_click "push button" 'Create "Plumora"'
wait_status '"Plumora" is ready'
said=$(click_sync a)
grep -q "^Last sync: .*2 events sent, 0 received\.$" <<<"$said" || {
    cat "$E2E_DIR/a/plumora.log" >&2
    fail "A's status line after Sync now: $said (events: $(events a | tr '\n' ' '))"
}
stop
expect "A's account" "$(sqlite3 "$(data a)" "SELECT Server || '|' || User || '|' || Calendar || '|' || Every FROM CalDavAccount")" \
    "http://127.0.0.1:$port/|ann|$calendar|0"
expect "A's events on the server" "$(server_events)" "dentist|Dentist
party|Party"
grep -rqs secret "$(data a)" && fail "the password was written to A's data file"
# Synced only when asked, A syncs nothing at start-up; from here on it syncs by itself.
before=$(last_sync a)
start a
sleep 6
[ "$(last_sync a)" = "$before" ] || fail "A synced at start-up though only asked to by hand"
stop
sqlite3 "$(data a)" "UPDATE CalDavAccount SET Every = 15"
passed=$((passed + 1))

# B, set up alike, gets A's events at start-up; B's edit goes out by "Sync now".
sqlite3 "$(data b)" "INSERT OR REPLACE INTO CalDavAccount (ID, Server, User, Calendar,
    CalendarName, Every) VALUES (1, 'http://127.0.0.1:$port/', 'ann', '$calendar', 'Plumora', 15)"
sync b
expect "A's events on B" "$(events b)" "dentist|Dentist
party|Party"
passed=$((passed + 1))
edit_event b dentist "Dentist at 9"
open_options
said=$(click_sync b)
grep -q "1 event sent, 0 received" <<<"$said" || fail "B's status line after Sync now: $said"
stop

# B's edit reaches A; A's deletion leaves B.
delete_event a party
sync a
stop
expect "B's edit on A" "$(events a)" "dentist|Dentist at 9"
sync b
expect "A's deletion on B" "$(events b)" "dentist|Dentist at 9"
passed=$((passed + 2))

# Edits on both sides: the server keeps B's, A keeps its own as a new event. Meanwhile a
# third client PUTs an event of its own.
edit_event b dentist "Dentist at 10"
open_options
click_sync b >/dev/null
stop
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:phone\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260402\r\nSUMMARY:From the phone\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
    >"$E2E_DIR/phone.ics"
curl -sf -u ann:secret -T "$E2E_DIR/phone.ics" -H 'Content-Type: text/calendar' \
    "${calendar}phone.ics" >/dev/null || fail "the third client's PUT failed"
edit_event a dentist "Dentist at 11"
sync a
stop
texts() { sqlite3 "$(data "$1")" "SELECT Description FROM Events WHERE Holiday = 0 ORDER BY 1"; }
expect "both versions and the third client's event on A" "$(texts a)" "Dentist at 10
Dentist at 11 (edited on this computer)
From the phone"
sync b
stop
expect "both versions and the third client's event on B" "$(texts b)" "$(texts a)"
passed=$((passed + 2))

# The server killed during A's sync of many new events, then restarted: the next sync
# completes it, and each event is once on the server and once on B.
many=120
values=$(seq $many | awk '{ printf "%s(\x272026-05-%02d\x27, \x27Bulk %d\x27, 1, \x27bulk-%d\x27, \x272026-03-01T00:00:00Z\x27)", (NR > 1 ? "," : ""), $1 % 28 + 1, $1, $1 }')
sqlite3 "$(data a)" "INSERT INTO Events (eDate, Description, Frequency, UID, LastModified) VALUES $values"
before=$(last_sync a)
start a
on_server() { ls "$storage"/collection-root/ann/plumora/ | grep -c '^bulk' || true; }
wait_for 40 sh -c "[ \$(ls '$storage'/collection-root/ann/plumora/ | grep -c '^bulk') -ge 20 ]" ||
    fail "A's sync of $many events did not start sending"
{ kill -9 "$radicale_pid" && wait "$radicale_pid"; } 2>/dev/null || true
cut_at=$(on_server)
[ "$cut_at" -lt $many ] || fail "the server was killed only after all $many events were sent"
wait_sync a "$before" Stopped
radicale_start
open_options
said=$(click_sync a)
grep -q "events sent, 0 received" <<<"$said" || fail "A's status line after the restart: $said"
stop
sync b
stop
expect "events on the server after the interrupted sync" "$(server_events | cut -d'|' -f1 | sort | uniq -d)" ""
expect "bulk events on the server" "$(on_server)" "$many"
expect "A's events" "$(events a | sort)" "$(server_events)"
expect "B's events" "$(events b | sort)" "$(server_events)"
passed=$((passed + 1))

echo "caldav: $passed passed, 0 failed (the server was killed after $cut_at of $many events)"
