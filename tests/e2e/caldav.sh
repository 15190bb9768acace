#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Calendar sync of two copies of the real program ("machines" A and B, each with its own
# HOME, data file and GNOME Keyring holding the password) through a real Radicale on
# 127.0.0.1. The copies run one after the other; each syncs shortly after start-up (its
# clock, timers included, runs ten times fast from seconds before a minute, so that the
# second tick comes within seconds) and is stopped
# once the data file records the sync's result. Checked in the data files and on the
# server: A's event reaches B, B's edit reaches A, A's deletion leaves B, edits on both
# sides keep both versions, an event PUT by another client reaches both, and a server
# killed during a sync loses and duplicates nothing once the next sync has run.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2

command -v radicale >/dev/null || fail "radicale is not installed (Debian: radicale)"
e2e_start_desktop
libfaketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$libfaketime" ] || fail "libfaketime is not installed (Debian: faketime)"

# Radicale with one user and an empty calendar, on a port free at run time.
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
curl -sf -u ann:secret -X MKCALENDAR "$calendar" >/dev/null || fail "no calendar on the server"
# The events on the server, one "UID|SUMMARY" line each, sorted.
server_events() {
    cat "$storage"/collection-root/ann/plumora/*.ics 2>/dev/null | tr -d '\r' |
        awk -F: '/^UID:/ { uid = $2 } /^SUMMARY:/ { sub(/^SUMMARY:/, ""); print uid "|" $0 }' | sort
}

# A data file and HOME per machine; the account points at the calendar.
for m in a b; do
    mkdir -p "$E2E_DIR/$m/home" "$E2E_DIR/$m/program"
    cp "$exe" "$E2E_DIR/$m/program/"
    cp "$template" "$E2E_DIR/$m/program/data.plm"
    sqlite3 "$E2E_DIR/$m/program/data.plm" "INSERT OR REPLACE INTO CalDavAccount (ID, Server, User,
        Calendar, CalendarName, Every) VALUES (1, 'http://127.0.0.1:$port/', 'ann', '$calendar',
        'plumora', 15)"
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

# A session bus with no services started on demand: only the keyring started here answers.
e2e_bare_session_conf "$E2E_DIR/session.conf"

# start MACHINE: the program with its keyring holding the password, seconds before a minute.
# Each run starts two minutes after the one before: a data file handles each minute once,
# and the first tick must find a minute of its own.
pidfile="$E2E_DIR/plumora.pid"
run_minute=$(($(date +%s) / 60))
start() {
    local m=$1 at
    run_minute=$((run_minute + 2))
    at=$(date -d "@$((run_minute * 60 - 4))" +'%Y-%m-%d %H:%M:%S')
    rm -f "$pidfile"
    # A fresh keyring each run, holding only the password stored below.
    rm -rf "$E2E_DIR/$m/home/.local/share/keyrings"
    HOME="$E2E_DIR/$m/home" XDG_CONFIG_HOME="$E2E_DIR/$m/home/.config" \
        XDG_DATA_HOME="$E2E_DIR/$m/home/.local/share" QT_LOGGING_RULES="plumora.calendar=true" \
        dbus-run-session --config-file="$E2E_DIR/session.conf" -- sh -c "
            printf test | gnome-keyring-daemon --foreground --unlock --components=secrets \
                >>'$E2E_DIR/$m/keyring.log' 2>&1 &
            for i in \$(seq 50); do
                printf secret | secret-tool store --label=caldav server Plumora user caldav \
                    type plaintext 2>/dev/null && break
                sleep 0.2
            done
            echo \$\$ >'$pidfile'
            exec env LD_PRELOAD='$libfaketime' FAKETIME='@$at x10' FAKETIME_NO_CACHE=1 \
                '$E2E_DIR/$m/program/plumora'" >>"$E2E_DIR/$m/plumora.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 20 test -s "$pidfile" || fail "$m: the program did not start"
}
stop() {
    local pid
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || true
    wait_for 10 sh -c "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true
}
last_sync() { sqlite3 "$(data "$1")" "SELECT ifnull(LastSync, '') || '|' || LastResult FROM CalDavAccount"; }
# sync MACHINE [EXPECT]: one run of the program until its sync has recorded a result that
# matches EXPECT ("sent" by default: a sync that completed).
sync() {
    local m=$1 expect=${2:-sent} before
    before=$(last_sync "$m")
    start "$m"
    synced() { local now; now=$(last_sync "$m"); [ "$now" != "$before" ] && grep -q "$expect" <<<"$now"; }
    wait_for 40 synced || {
        cat "$E2E_DIR/$m/plumora.log" >&2
        fail "$m: no sync ended with '$expect' (last: $(last_sync "$m"))"
    }
    stop
}
expect() { # WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: got
$2
expected
$3"
}
passed=0

# An event made on A appears on B.
add_event a dentist 2026-03-12 Dentist
add_event a party 2026-03-20 Party
sync a
sync b
expect "A's events on B" "$(events b)" "dentist|Dentist
party|Party"
passed=$((passed + 1))

# An edit on B reaches A; a deletion on A leaves B.
edit_event b dentist "Dentist at 9"
sync b
delete_event a party
sync a
expect "B's edit on A" "$(events a)" "dentist|Dentist at 9"
sync b
expect "A's deletion on B" "$(events b)" "dentist|Dentist at 9"
passed=$((passed + 2))

# Edits on both sides: the server keeps B's, A keeps its own as a new event.
edit_event b dentist "Dentist at 10"
edit_event a dentist "Dentist at 11"
sync b
sync a
texts() { sqlite3 "$(data "$1")" "SELECT Description FROM Events WHERE Holiday = 0 ORDER BY 1"; }
conflicts=$(texts a)
expect "both versions on A" "$conflicts" "Dentist at 10
Dentist at 11 (edited on this computer)"
sync b
expect "both versions on B" "$(texts b)" "$conflicts"
passed=$((passed + 1))

# Another client's event reaches both.
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:phone\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260402\r\nSUMMARY:From the phone\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
    >"$E2E_DIR/phone.ics"
curl -sf -u ann:secret -T "$E2E_DIR/phone.ics" -H 'Content-Type: text/calendar' \
    "${calendar}phone.ics" >/dev/null || fail "the third client's PUT failed"
sync a
sync b
for m in a b; do
    grep -qx "phone|From the phone" <<<"$(events $m)" || fail "$m lacks the third client's event"
done
passed=$((passed + 1))

# The server killed during A's sync of many new events, then restarted: the next sync
# completes it, and each event is once on the server and once on B.
many=250
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
failed() { local now; now=$(last_sync a); [ "$now" != "$before" ]; }
wait_for 40 failed || fail "A's interrupted sync did not end"
stop
radicale_start
sync a
sync b
expect "events on the server after the interrupted sync" "$(server_events | cut -d'|' -f1 | sort | uniq -d)" ""
expect "bulk events on the server" "$(on_server)" "$many"
expect "A's events" "$(events a | sort)" "$(server_events)"
expect "B's events" "$(events b | sort)" "$(server_events)"
passed=$((passed + 1))

echo "caldav: $passed passed, 0 failed (the server was killed after $cut_at of $many events)"
