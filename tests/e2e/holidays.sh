#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The holiday list from the real program: the first start merges the shipped list, and the
# tick at minute 0, more than 60 days after Lastupdate, downloads the web site's list from a
# local HTTP server and merges it. The program is run in a time zone chosen so that its
# wall clock stands half a minute before a full hour, so that tick comes within seconds.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 shipped=$3 web=$4

e2e_need_network

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
cp "$shipped" "$program/"

# The web site: the built list with one record more, so the downloaded list can be told
# from the shipped one.
site="$E2E_DIR/site"
mkdir -p "$site/plm4"
head -c -1 "$web/plm4/events.plm" >"$site/plm4/events.plm"
[ "$(tail -c 1 "$web/plm4/events.plm")" = "^" ] || fail "the built web list has no end mark"
printf '"Plumora Test Day","07/04/2030","5","I"\r\n^' >>"$site/plm4/events.plm"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$E2E_DIR/http.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 grep -q "Serving HTTP" "$E2E_DIR/http.log" || fail "the web server did not start"
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$E2E_DIR/http.log" | head -n 1)
export PLUMORA_WEBSITE="http://127.0.0.1:$port"

# A fixed offset east of UTC that puts the local wall clock at hh:59:30.
lead=30
now=$(date -u +%s)
offset=$(((3600 - lead - now % 3600 + 3600) % 3600))
export TZ=$(printf 'PLM-0:%02d:%02d' $((offset / 60)) $((offset % 60)))
[ "$(date +%M)" = 59 ] || fail "time zone $TZ does not give minute 59: $(date +%T)"
last=$(date -d '-61 days' +%F)

cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" "UPDATE System SET NotifyAgo = 2, Lastupdate = '$last';"
shipped_count=$(grep -c . "$shipped")

"$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

holidays() { sql_value "$program/data.plm" "SELECT count(*) FROM Events WHERE Holiday <> 0"; }
last_update() { sql_value "$program/data.plm" "SELECT Lastupdate FROM System"; }
test_day() {
    sql_value "$program/data.plm" "SELECT eDate || '|' || Frequency || '|' || Holiday FROM Events
        WHERE Description = 'Plumora Test Day'"
}
# is FUNCTION VALUE: the function's output is VALUE (evaluated anew on every poll).
is() { [ "$("$1")" = "$2" ]; }

wait_for 20 is holidays "$shipped_count" ||
    fail "the shipped list was not merged at the first start: $(holidays) of $shipped_count"
is last_update "$last" ||
    fail "the shipped list stamped Lastupdate"
[ "$(date +%M)" = 59 ] || fail "the program started too late for the tick at minute 0"

wait_for $((lead + 30)) is test_day "2030-07-04|1|5" ||
    fail "the downloaded list was not merged (at $(date +%T)): $(cat "$E2E_DIR/http.log")"
grep -q '"GET /plm4/events.plm HTTP/1.1" 200' "$E2E_DIR/http.log" || fail "no download logged"
wait_for 20 is last_update "$(date +%F)" ||
    fail "Lastupdate was not stamped"
[ "$(holidays)" = $((shipped_count + 1)) ] || fail "holidays merged twice: $(holidays)"
[ ! -e "$program/events.plm" ] || fail "events.plm was left behind"
echo "holidays: 1 passed, 0 failed"
