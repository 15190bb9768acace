#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Events the server no longer lists, against a real Radicale on 127.0.0.1: after a sync of
# 12 events the test empties the calendar through Radicale's storage folder. The sync after
# start-up then deletes nothing: it pauses and asks in the pop-up message, whose click opens
# Options. There the user answers "Keep them and send them back" (the events go to the
# server again); emptied once more, "Sync now" asks again and "Delete them here too"
# deletes them, with a copy that the restore button puts back and sends.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 E2E_READER=$3

source "$(dirname "$0")/caldav_lib.sh"
curl -sf -u ann:secret -X MKCALENDAR "$calendar" >/dev/null || fail "the calendar was not made"
on_server() { find "$storage/collection-root/ann/plumora" -maxdepth 1 -name '*.ics' | wc -l; }
empty_server() { find "$storage/collection-root/ann/plumora" -maxdepth 1 -name '*.ics' -delete; }

# The account with its password in the data file (no keyring in this session), syncing
# every 15 minutes: the one sync in each run is the one after start-up, then those asked.
caldav_machine a
data=$(data a)
sqlite3 "$data" "INSERT OR REPLACE INTO CalDavAccount (ID, Server, User, Calendar, CalendarName,
    Every, Password) VALUES (1, 'http://127.0.0.1:$port/', 'ann', '$calendar', 'Plumora', 15, 'secret')"
values=$(seq 12 | awk '{ printf "%s(\x272026-05-%02d\x27, \x27Event %d\x27, 1, \x27ev-%d\x27, \x272026-03-01T00:00:00Z\x27)", (NR > 1 ? "," : ""), $1, $1, $1 }')
sqlite3 "$data" "INSERT INTO Events (eDate, Description, Frequency, UID, LastModified) VALUES $values"
count() { sqlite3 "$data" "SELECT COUNT(*) FROM Events WHERE Holiday = 0"; }
question="The server no longer lists 12 of your 12 events. Delete them here too, or keep them and send them back?"
said() { grep -qF "$1" <<<"$(a11y_dump showing)"; }

before=$(last_sync a)
start a nokeyring
wait_sync a "$before" "12 events sent, 0 received"
stop
expect "events on the server after the first sync" "$(on_server)" 12

# Emptied on the server: the sync after start-up pauses and tells the user.
empty_server
before=$(last_sync a)
start a nokeyring
wait_sync a "$before" "Paused: the server no longer lists 12 of your 12 events"
wait_for 20 said "$question" || fail "no pop-up message asked: $("$E2E_READER" Plumora dump showing)"
expect "events here while the sync pauses" "$(count)" 12

# A click on the pop-up message opens Options; there, "Keep them and send them back".
notice=$(xdotool search --onlyvisible --name '^- Plumora -$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$notice")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
wait_for 20 a11y_shows "push button" "Sync now" || fail "a click on the pop-up message opened no Options"
a11y_scroll_to "push button" "Keep them and send them back"
before=$(last_sync a)
a11y_click "push button" "Keep them and send them back"
wait_sync a "$before" "12 events sent, 0 received"
expect "events on the server after keep" "$(on_server)" 12
expect "events here after keep" "$(count)" 12

# Emptied again; "Sync now" asks again, and "Delete them here too" deletes them.
empty_server
before=$(last_sync a)
a11y_scroll_to "push button" "Sync now"
a11y_click "push button" "Sync now"
wait_sync a "$before" "Paused"
before=$(last_sync a)
a11y_scroll_to "push button" "Delete them here too"
a11y_click "push button" "Delete them here too"
wait_sync a "$before" "0 events sent, 12 received"
expect "events here after delete" "$(count)" 0
expect "events on the server after delete" "$(on_server)" 0

# The kept copy: the restore button puts them back, and the sync sends them.
restore=$(awk -F'\t' '$2 == "push button" && $3 ~ /^Restore the 12 events/ { print $3; exit }' <<<"$(a11y_dump showing)")
[ -n "$restore" ] || fail "Options show no restore button"
before=$(last_sync a)
a11y_scroll_to "push button" "$restore"
a11y_click "push button" "$restore"
wait_sync a "$before" "12 events sent, 0 received"
expect "events here after restore" "$(count)" 12
expect "events on the server after restore" "$(on_server)" 12
stop
echo "caldav_removals: 3 passed, 0 failed"
