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

source "$(dirname "$0")/caldav_lib.sh"
caldav_machine a
caldav_machine b

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
