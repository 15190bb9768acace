#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# iCalendar from the real program: a second start with --import hands a file to the running
# copy, which imports it and shows its summary; the user presses OK there and the program
# goes on. A second start's exit status says whether the file was imported. A subscription
# served by a local HTTP server is refreshed by the real tick. The program runs in a time
# zone that puts its wall clock a few seconds before a full minute, so the first tick comes
# soon.
# The summary's OK button is found over the accessibility bus of this script's session bus.
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 E2E_READER=$3

e2e_need_network

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")

calendar() { # UID SUMMARY DATE
    printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//e2e//e2e//EN\r\nBEGIN:VEVENT\r\n'
    printf 'UID:%s\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:%s\r\n' "$1" "$3"
    printf 'SUMMARY:%s\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' "$2"
}
site="$E2E_DIR/site"
mkdir -p "$site"
calendar team-1@e2e "Team offsite" 20300704 >"$site/team.ics"
calendar mine-1@e2e "Dentist, at noon" 20300705 >"$E2E_DIR/my calendar.ics"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$E2E_DIR/http.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 grep -q "Serving HTTP" "$E2E_DIR/http.log" || fail "the web server did not start"
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$E2E_DIR/http.log" | head -n 1)

# A fixed offset east of UTC that puts the local wall clock at hh:mm:35.
lead=25
now=$(date -u +%s)
offset=$(((60 - lead - now % 60 + 60) % 60))
export TZ=$(printf 'PLM-0:00:%02d' "$offset")

cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" "INSERT INTO Subscriptions (Name, Url, Every)
    VALUES ('Team', 'webcal://127.0.0.1:$port/team.ics', 1440);"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
plumora=$!
E2E_PIDS+=($plumora)
docked() { [ "$(tray_icon_count)" -ge 1 ]; }
wait_for 20 docked ||
    fail "the running copy did not come up: $(cat "$E2E_DIR/plumora.log")"

row() { sql_value "$program/data.plm" "SELECT eDate || '|' || Description || '|' || Subscription
    FROM Events WHERE UID = '$1'"; }
is() { [ "$(row "$1")" = "$2" ]; }

# A second start with --import ends once the running copy has imported the file, with
# status 0.
timeout 10 "$program/plumora" --import "$E2E_DIR/my calendar.ics" >"$E2E_DIR/second.log" 2>&1 ||
    fail "the second start failed or did not end: $(cat "$E2E_DIR/second.log")"
grep -q "handed the files to import and imported them" "$E2E_DIR/second.log" ||
    fail "the second start did not hand the file over: $(cat "$E2E_DIR/second.log")"
is mine-1@e2e "2030-07-05|Dentist, at noon|0" ||
    fail "the running copy had not imported the file when the second start ended: $(row mine-1@e2e)"

# The summary shows in the running copy; the user presses its OK, and the program goes on:
# it still answers a later start.
alive() { kill -0 "$plumora" 2>/dev/null; }
a11y_click "push button" "OK"
wait_for 10 sh -c "! '$E2E_READER' Plumora showing 'push button' OK" ||
    fail "the summary did not close"
sleep 1
alive || fail "the running copy ended after OK on the import summary: $(cat "$E2E_DIR/plumora.log")"

# A file that cannot be read is refused by the second start itself, with the reason; one
# the running copy refuses gives the summary's first line. Both end with a non-zero status.
status=0
timeout 10 "$program/plumora" --import "$E2E_DIR/missing.ics" >"$E2E_DIR/missing.log" 2>&1 ||
    status=$?
[ $status = 1 ] && grep -q "missing.ics" "$E2E_DIR/missing.log" ||
    fail "a missing file gave status $status: $(cat "$E2E_DIR/missing.log")"
printf 'not a calendar\n' >"$E2E_DIR/broken.ics"
status=0
timeout 10 "$program/plumora" --import "$E2E_DIR/broken.ics" >"$E2E_DIR/broken.log" 2>&1 ||
    status=$?
[ $status = 1 ] && grep -q "^Nothing was imported from broken.ics" "$E2E_DIR/broken.log" ||
    fail "a refused file gave status $status: $(cat "$E2E_DIR/broken.log")"
a11y_click "push button" "OK"
sleep 1
alive || fail "the running copy ended after OK on a refusal: $(cat "$E2E_DIR/plumora.log")"

# The first tick refreshes the subscription, which was never refreshed.
wait_for $((lead + 30)) is team-1@e2e "2030-07-04|Team offsite|1" ||
    fail "the subscription was not refreshed (at $(date +%T)): $(cat "$E2E_DIR/http.log")"
grep -q '"GET /team.ics HTTP/1.1" 200' "$E2E_DIR/http.log" || fail "no download logged"
[ -n "$(sql_value "$program/data.plm" "SELECT LastRefresh FROM Subscriptions")" ] ||
    fail "the refresh was not recorded"
echo "icalendar: 1 passed, 0 failed"
