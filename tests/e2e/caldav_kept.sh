#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Events another client wrote survive an edit here: a real Radicale on 127.0.0.1 holds a
# phone's weekly event with an alarm, a timed Berlin event with location, categories,
# description, attendee and alarm, a khal daily series and a three-day event. The real
# program receives them at start-up; the rows are then edited as the editor leaves them
# (a rename, a new time, one date of the series deleted and another's text changed, day 1
# of the three renamed), and the next start sends them back. Each event on the server is
# compared with the server's copy of what the other client wrote: only the intended
# properties differ, SEQUENCE rises; khal, synced by vdirsyncer as a second device, shows
# the edits with their alarms.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 fixtures=$3

for tool in vdirsyncer khal; do
    command -v $tool >/dev/null || fail "$tool is not installed (Debian: $tool)"
done
e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
export TZ=Europe/Berlin

e2e_start_radicale "$E2E_DIR/radicale"
port=$E2E_RADICALE_PORT
calendar="http://127.0.0.1:$port/ann/phone/"
dav() { curl -sf -u ann:secret "$@"; }
dav -X MKCALENDAR "$calendar" >/dev/null || fail "the calendar could not be made"
names=(phone_weekly berlin_lunch khal_daily_count three_days)
for n in "${names[@]}"; do
    dav -X PUT -H 'Content-Type: text/calendar' --data-binary "@$fixtures/$n.ics" \
        "$calendar$n.ics" >/dev/null || fail "$n could not be stored"
done

# The events as the server holds them before this program touches them (it writes them in
# its own form, which is what another device reads).
stored="$E2E_DIR/radicale/collection-root/ann/phone"
mkdir -p "$E2E_DIR/original"
cp "$stored"/*.ics "$E2E_DIR/original/"

data="$program/data.plm"
cp "$template" "$data"
sqlite3 "$data" "INSERT OR REPLACE INTO CalDavAccount (ID, Server, User, Calendar, CalendarName,
    Every, Password) VALUES (1, 'http://127.0.0.1:$port/', 'ann', '$calendar', 'Phone', 15, 'secret')"
result() { sql_value "$data" "SELECT LastResult FROM CalDavAccount"; }
# run EXPECT: one start of the program until its sync after start-up ended with EXPECT.
run() {
    sqlite3 "$data" "UPDATE CalDavAccount SET LastResult = ''"
    "$program/plumora" >>"$E2E_DIR/plumora.log" 2>&1 &
    local pid=$!
    E2E_PIDS+=($pid)
    wait_for 30 sh -c "sqlite3 '$data' 'SELECT LastResult FROM CalDavAccount' | grep -q '$1'" || {
        cat "$E2E_DIR/plumora.log" >&2
        fail "no sync ended with '$1' (last: $(result))"
    }
    kill "$pid"
    wait_for 10 sh -c "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true
}
run "0 events sent, 4 received"
rows() { sql_value "$data" "SELECT COUNT(*) FROM Events WHERE UID = '$1'"; }
[ "$(rows meds-count@khal)" = 6 ] || fail "the series arrived as $(rows meds-count@khal) rows"
[ "$(sql_value "$data" "SELECT COUNT(*) FROM KeptEvents")" = 4 ] || fail "not every event was kept"

sqlite3 "$data" "
    UPDATE Events SET Description = 'Choir rehearsal' WHERE UID LIKE '%PHONE-WEEKLY';
    UPDATE Events SET Description = '12:30 Lunch with Ann' WHERE UID = 'lunch-5b1f@khal';
    DELETE FROM Events WHERE UID = 'meds-count@khal' AND eDate = '2026-03-12';
    UPDATE Events SET Description = '08:00 Take meds with food' WHERE UID = 'meds-count@khal'
        AND eDate = '2026-03-13';
    UPDATE Events SET Description = 'Summit' WHERE UID = 'conference-3d@phone'
        AND eDate = '2026-03-20';"
run "4 events sent, 0 received"

# Each event on the server against the fixture: the names of the properties that differ,
# per VEVENT (the series, or "RECURRENCE-ID" for an override), and whether SEQUENCE rose.
compare() { # NAME
    python3 - "$E2E_DIR/original/$1.ics" "$stored/$1.ics" <<'EOF'
import sys

def events(path):
    text = open(path, encoding="utf-8").read().replace("\r\n", "\n").replace("\n ", "")
    out, current, depth = {}, None, 0
    for line in text.split("\n"):
        if line == "BEGIN:VEVENT":
            current, depth = [], 0
        elif line == "END:VEVENT":
            rid = [l for l in current if l.startswith("RECURRENCE-ID")]
            out["RECURRENCE-ID" if rid else "series"] = current
            current = None
        elif current is not None:
            # Sub-components (alarms) count as one property each, their lines in any order
            # (the server sorts them).
            if line.startswith("BEGIN:"):
                depth += 1
                current.append([line])
            elif depth:
                current[-1].append(line)
                depth -= line.startswith("END:")
                if not depth:
                    current[-1] = "|".join(sorted(current[-1]))
            else:
                current.append(line)
    return out

def props(lines):
    found = {}
    for l in lines:
        name = l.split(":")[0].split(";")[0]
        # One CATEGORIES line of several values is the same as a line per value.
        if name == "CATEGORIES":
            head, values = l.split(":", 1)
            found.setdefault(name, set()).update(head + ":" + v for v in values.split(","))
        else:
            found.setdefault(name, set()).add(l)
    return found

before, after = events(sys.argv[1]), events(sys.argv[2])
old = props(before["series"])
for key in sorted(after):
    new = props(after[key])
    changed = sorted(n for n in set(old) | set(new) if old.get(n) != new.get(n))
    seq = lambda p: int(next(iter(p.get("SEQUENCE", {"SEQUENCE:0"}))).split(":")[1])
    print(key, " ".join(changed), "raised" if seq(new) > seq(old) else "same")
EOF
}
stamps="DTSTAMP LAST-MODIFIED SEQUENCE"
check() { # NAME EXPECTED
    local got
    got=$(compare "$1")
    [ "$got" = "$2" ] || fail "$1 on the server differs from the original in: $got
expected: $2
$(cat "$stored/$1.ics")"
}
check phone_weekly "series DTSTAMP LAST-MODIFIED SEQUENCE SUMMARY raised"
check berlin_lunch "series DTEND DTSTAMP DTSTART LAST-MODIFIED SEQUENCE SUMMARY raised"
# The changed occurrence: an override of its date alone, with the series' alarm, against
# the series it came from.
check khal_daily_count "RECURRENCE-ID DTEND DTSTAMP DTSTART LAST-MODIFIED RECURRENCE-ID RRULE SEQUENCE SUMMARY raised
series DTSTAMP EXDATE LAST-MODIFIED SEQUENCE raised"
check three_days "series DTSTAMP LAST-MODIFIED SEQUENCE SUMMARY raised"
grep -q "EXDATE;TZID=Europe/Berlin:20260312T080000" \
    "$stored/khal_daily_count.ics" || fail "no EXDATE"

# khal, synced by vdirsyncer, as the user's second device: the edits with the alarms.
mkdir -p "$E2E_DIR/khal/cal" "$E2E_DIR/khal/status"
cat >"$E2E_DIR/khal/vdirsyncer" <<EOF
[general]
status_path = "$E2E_DIR/khal/status/"
[pair phone]
a = "server"
b = "local"
collections = null
[storage server]
type = "caldav"
url = "$calendar"
username = "ann"
password = "secret"
[storage local]
type = "filesystem"
path = "$E2E_DIR/khal/cal/"
fileext = ".ics"
EOF
cat >"$E2E_DIR/khal/khal" <<EOF
[calendars]
[[phone]]
path = $E2E_DIR/khal/cal/
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
default_timezone = Europe/Berlin
local_timezone = Europe/Berlin
EOF
{ vdirsyncer -c "$E2E_DIR/khal/vdirsyncer" discover phone </dev/null &&
    vdirsyncer -c "$E2E_DIR/khal/vdirsyncer" sync; } >"$E2E_DIR/vdirsyncer.log" 2>&1 ||
    fail "vdirsyncer could not sync: $(cat "$E2E_DIR/vdirsyncer.log")"
shown=$(khal -c "$E2E_DIR/khal/khal" list 2026-03-10 7d \
    --format "{start-time}-{end-time} {title} [{location}] {alarm-symbol}" 2>&1 | sed 's/  */ /g; s/ $//')
for line in "- Choir rehearsal [] ⏰" "12:30-13:30 Lunch with Ann [Café Einstein, Unter den Linden] ⏰" \
    "08:00-08:15 Take meds with food [] ⏰"; do
    grep -qF -- "$line" <<<"$shown" || fail "khal does not show '$line':
$shown"
done
[ "$(grep -c "08:00-08:15 Take meds \[" <<<"$shown")" = 4 ] || fail "khal shows the series as:
$shown"
echo "caldav_kept: 5 passed, 0 failed"
