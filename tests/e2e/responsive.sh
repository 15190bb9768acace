#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window stays responsive while a heavy subscription is refreshed: 100 events that repeat
# every second for a million seconds, 100 rules walked from 1970 until given up and 20,000
# cancelled events (about a second of reading, which makes only 1,200 rows), served by a
# local HTTP server and refreshed by the real minute tick. Throughout, the tray icon is pinged over X as a window
# manager does; the program answers from its event loop, and its slowest answer must stay
# under 250 ms. The refresh must have stored the calendar.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 x_ping=$3
e2e_need_network

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")

site="$E2E_DIR/site"
mkdir -p "$site"
python3 - "$site/heavy.ics" "$(date +%Y%m%d)" <<'EOF'
import sys
path, today = sys.argv[1], sys.argv[2]
out = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//e2e//e2e//EN"]
def event(uid, summary, start, *more):
    out.extend(["BEGIN:VEVENT", f"UID:{uid}", "DTSTAMP:20260101T000000Z",
                f"DTSTART:{start}", f"SUMMARY:{summary}", *more, "END:VEVENT"])
for i in range(100):
    event(f"sec{i}@e2e", f"Every second {i}", f"{today}T000000Z", "RRULE:FREQ=SECONDLY;COUNT=1000000")
# Rules walked from 1970 until given up, and cancelled events: read, but never stored.
for i in range(100):
    event(f"dense{i}@e2e", f"Dense {i}", "19700101T090000Z", "RRULE:FREQ=WEEKLY;BYDAY=MO,TH;COUNT=100000")
for i in range(20000):
    event(f"off{i}@e2e", f"Cancelled {i}", f"{today}T090000Z", "STATUS:CANCELLED")
out.append("END:VCALENDAR")
open(path, "w").write("\r\n".join(out) + "\r\n")
EOF
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$E2E_DIR/http.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 grep -q "Serving HTTP" "$E2E_DIR/http.log" || fail "the web server did not start"
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$E2E_DIR/http.log" | head -n 1)

cp "$template" "$program/data.plm"
# Not a first run: the first start opens the help window just after the icon docks, and the
# window's building is not what is measured here.
sqlite3 "$program/data.plm" "INSERT INTO Subscriptions (Name, Url, Every)
    VALUES ('Heavy', 'webcal://127.0.0.1:$port/heavy.ics', 1440);
    UPDATE System SET NotifyAgo = 2;"

# The minute tick, which refreshes the subscription, comes a few seconds after the start.
lead=8
e2e_clock_before_minute $lead
started=$SECONDS
env "${E2E_CLOCK[@]}" "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_tray_icon

# Pinged from now until well after the refresh.
"$x_ping" "$E2E_ICON" $((lead - (SECONDS - started) + 12)) >"$E2E_DIR/ping.log" 2>&1 ||
    fail "the program did not answer: $(cat "$E2E_DIR/ping.log")"
read -r _ slowest _ pings < <(tail -n 1 "$E2E_DIR/ping.log")
rows=$(sql_value "$program/data.plm" "SELECT COUNT(*) FROM Events WHERE Subscription = 1")
echo "slowest answer ${slowest} ms of $pings pings, $rows rows stored; the tick at ${lead} s"
events=$(sql_value "$program/data.plm" "SELECT COUNT(DISTINCT UID) FROM Events
    WHERE Subscription = 1 AND UID LIKE 'sec%'")
[ "$events" = 100 ] && [ "$rows" = 1200 ] ||
    fail "the subscription was not refreshed ($rows rows): $(cat "$E2E_DIR/plumora.log")"
[ "$slowest" -lt 250 ] || fail "the window did not answer for $slowest ms: $(cat "$E2E_DIR/ping.log")"
echo "responsive: 1 passed, 0 failed"
