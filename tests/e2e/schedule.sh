#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Scheduled actions fire from the real program: a Schedule row for the coming minute
# starts a script (its path holds a blank), and the shut-down rows start the ShutDown
# helper of the program folder with "0" (hibernate) and "1" (power off). A stand-in
# ShutDown records its argument instead of touching the machine.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
cat >"$program/ShutDown" <<SCRIPT
#!/bin/sh
echo "\$1" >>"$program/shutdown.log"
SCRIPT
mkdir -p "$program/my tools"
cat >"$program/my tools/mark it.sh" <<SCRIPT
#!/bin/sh
echo "\$#" >>"$program/marker"
SCRIPT
chmod +x "$program/ShutDown" "$program/my tools/mark it.sh"

# The program's clock starts shortly before a minute: its first tick comes soon after.
e2e_clock_before_minute 15
due=$E2E_DUE
cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" <<SQL
UPDATE System SET NotifyAgo = 2;
INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) VALUES
    (1, '$program/my tools/mark it.sh', '$due', 1),
    (2, 'H', '$due', 1),
    (2, '', '$due', 2),
    (2, 'H', '2000-01-01 00:00', 0);
SQL

env "${E2E_CLOCK[@]}" "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

wait_for 40 test -s "$program/marker" || fail "the scheduled program did not start"
# wait_for runs its command anew each time: the count is read in a function, not as an argument.
shutdowns() { [ "$(wc -l <"$program/shutdown.log")" -eq "$1" ]; }
wait_for 20 shutdowns 2 || fail "ShutDown was not started twice: $(tr '\n' ' ' <"$program/shutdown.log")"
[ "$(cat "$program/marker")" = 0 ] || fail "the program got arguments: $(cat "$program/marker")"
[ "$(sort "$program/shutdown.log" | tr '\n' ' ')" = "0 1 " ] ||
    fail "ShutDown got: $(tr '\n' ' ' <"$program/shutdown.log")"
echo "schedule: 1 passed, 0 failed"
