#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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
# The network code is a module loaded at the first download, sync or mail check: the
# started program maps none of QtNetwork, its TLS or its Kerberos libraries.
! grep -qE 'libQt6Network|libgssapi|libplumora_net' "/proc/$first/maps" ||
    fail "the network libraries are mapped at start-up"
[ "$(sql_value "$program/data.plm" 'SELECT NotifyAgo FROM System')" = 2 ] ||
    fail "NotifyAgo is not 2 after the first start"
mode=$(stat -c %a "$program/data.plm")
[ "$mode" = 600 ] || fail "data.plm is readable by others (mode $mode)"

# A second start ends within a second, says why, and the first copy shows its main window.
main_window() { xdotool search --onlyvisible --name '^Plumora$'; }
! main_window >/dev/null 2>&1 || fail "the main window is open before the second start"
begin=$(date +%s%N)
timeout 20 "$program/plumora" >"$E2E_DIR/second.log" 2>&1 || fail "second start failed ($?)"
elapsed=$((($(date +%s%N) - begin) / 1000000))
[ "$elapsed" -lt 1000 ] || fail "second start took $elapsed ms"
grep -q "already running" "$E2E_DIR/second.log" || fail "the second start did not say why it ended"
wait_for 10 main_window || fail "the first copy did not show its main window"
[ "$(tray_icon_count)" -eq 1 ] || fail "expected one tray icon, found $(tray_icon_count)"
kill -0 "$first" || fail "the first copy ended"

# A damaged lock (empty, as a kill while writing it leaves) never keeps Plumora from starting.
kill "$first"
wait "$first" 2>/dev/null || true
: >"$program/plumora.lock"
"$program/plumora" >"$E2E_DIR/third.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 15 one_icon || fail "no start over an empty lock file"
echo "startup: 1 passed, 0 failed"
