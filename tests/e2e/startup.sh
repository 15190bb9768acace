#!/usr/bin/env bash
# First start from a fresh program folder: the data file appears with its first-run
# settings, one icon docks in the tray, and a second start ends at once.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")

"$program/plumora" >"$E2E_DIR/first.log" 2>&1 &
first=$!
E2E_PIDS+=($first)

wait_for 15 test -f "$program/data.plm" || fail "data.plm was not created"
one_icon() { [ "$(tray_icon_count)" -eq 1 ]; }
wait_for 15 one_icon || fail "no tray icon appeared"
[ "$(sql_value "$program/data.plm" 'SELECT NotifyAgo FROM System')" = 2 ] ||
    fail "NotifyAgo is not 2 after the first start"
mode=$(stat -c %a "$program/data.plm")
[ "$mode" = 600 ] || fail "data.plm is readable by others (mode $mode)"

start=$SECONDS
timeout 20 "$program/plumora" >"$E2E_DIR/second.log" 2>&1 || fail "second start failed ($?)"
[ $((SECONDS - start)) -lt 10 ] || fail "second start did not end at once"
sleep 0.5
[ "$(tray_icon_count)" -eq 1 ] || fail "expected one tray icon, found $(tray_icon_count)"
kill -0 "$first" || fail "the first copy ended"
echo "startup: 1 passed, 0 failed"
