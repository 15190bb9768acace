#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plumora beside a second device: khal, synced with vdirsyncer, and the real program share a
# calendar on a real Radicale. Events written as khal writes them (a timed event with a
# place, a description and an alarm in Europe/Berlin, an endless daily series) reach
# Plumora with their times; after Plumora's edits go back, khal still shows the event timed,
# with its place and its alarm, and the server's component differs from the original only
# in what was edited.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 E2E_READER=$3
for tool in vdirsyncer khal; do
    command -v $tool >/dev/null || fail "$tool is not installed (Debian: $tool)"
done
export TZ=Europe/Berlin
source "$(dirname "$0")/caldav_lib.sh"
caldav_machine a
curl -sf -u ann:secret -X MKCALENDAR "$calendar" >/dev/null || fail "no calendar was made"

# The second device: khal on a folder that vdirsyncer keeps in step with the calendar.
phone="$E2E_DIR/phone"
mkdir -p "$phone/cal" "$phone/vdirsyncer" "$phone/khal"
cat >"$phone/vdirsyncer/config" <<CONF
[general]
status_path = "$phone/status/"
[pair cal]
a = "local"
b = "server"
collections = null
conflict_resolution = "b wins"
[storage local]
type = "filesystem"
path = "$phone/cal/"
fileext = ".ics"
[storage server]
type = "caldav"
url = "$calendar"
username = "ann"
password = "secret"
CONF
cat >"$phone/khal/config" <<CONF
[calendars]
[[phone]]
path = $phone/cal/
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
default_timezone = Europe/Berlin
local_timezone = Europe/Berlin
CONF
on_phone() { HOME="$phone" XDG_CONFIG_HOME="$phone" XDG_DATA_HOME="$phone/data" "$@"; }
phone_sync() { on_phone vdirsyncer sync >>"$E2E_DIR/vdirsyncer.log" 2>&1 || fail "vdirsyncer: $(tail -n 5 "$E2E_DIR/vdirsyncer.log")"; }
# khal's view of one day: "start end title location repeat alarm" lines.
phone_day() {
    on_phone khal list --format '{start-time}-{end-time} {title} {location} {repeat-symbol}{alarm-symbol}' \
        "$1" 1d 2>/dev/null | tail -n +2
}
on_phone vdirsyncer discover >>"$E2E_DIR/vdirsyncer.log" 2>&1 </dev/null ||
    fail "vdirsyncer found no calendar: $(cat "$E2E_DIR/vdirsyncer.log")"
on_phone khal new -a phone 2030-01-15 12:00 13:00 Lunch :: with Bob --location Cafe \
    --alarms 15m >/dev/null || fail "khal made no event"
on_phone khal new -a phone -r daily 2030-01-10 08:00 08:15 Take meds >/dev/null ||
    fail "khal made no series"
phone_sync
passed=0

# Plumora's account points at the same calendar; the sync after start-up brings both in.
sqlite3 "$(data a)" "INSERT OR REPLACE INTO CalDavAccount (ID, Server, User, Calendar,
    CalendarName, Every) VALUES (1, 'http://127.0.0.1:$port/', 'ann', '$calendar', 'Plumora', 15)"
sync a
stop
day_text() { sqlite3 "$(data a)" "SELECT Description FROM Events WHERE Holiday = 0 AND eDate = '$1' ORDER BY 1"; }
expect "Plumora's 2030-01-15" "$(day_text 2030-01-15)" "08:00 Take meds
12:00 Lunch"
passed=$((passed + 1))

echo "second_device: $passed passed, 0 failed"
