#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A note's alarm opens Quick Notes with the keyboard in the due note. What is typed there
# reaches the data file a few seconds after typing stops, so a process killed outright
# loses at most the last seconds of typing.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")

# The program's clock starts shortly before a minute: its first tick comes soon after.
e2e_clock_before_minute 15
due=$E2E_DUE
today=${due% *}
cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" <<SQL
UPDATE System SET NotifyAgo = 2;
INSERT INTO QNotes (nID, nLeft, nTop, nWidth, nHeight, ZOrder, CDate, Frequency, SchDT)
    VALUES (1, 1500, 1500, 3600, 2700, 2, '$today', 1, '$due'),
           (2, 6000, 1500, 3600, 2700, 1, '$today', 0, NULL);
SQL

env "${E2E_CLOCK[@]}" "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
plumora=$!
E2E_PIDS+=($plumora)

content() { sql_value "$program/data.plm" "SELECT coalesce(Content, '') FROM QNotes WHERE nID = $1"; }
saved() { content "$1" | grep -q -- "$2"; }

wait_for 40 is_visible '^Plumora$' || fail "the note's alarm did not open Quick Notes"
main=$(visible '^Plumora$')
# The window comes up with the keyboard, as the window manager gives it: the user types.
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; }
wait_for 10 active || fail "Quick Notes came up without the keyboard"
sleep 0.5
xdotool type --delay 40 "first words typed"
# Saved once typing has paused for a few seconds, while the program runs on.
wait_for 20 saved 1 "first words typed" ||
    fail "typing was not saved a few seconds after it stopped (note 1: $(content 1))"
kill -0 "$plumora" || fail "Plumora ended on its own"

xdotool type --delay 40 " and more"
sleep 4
xdotool type --delay 40 " at the end"
kill -9 "$plumora"
wait "$plumora" 2>/dev/null || true
saved 1 "first words typed and more" || fail "the words before the last pause were lost: $(content 1)"
[ -z "$(content 2)" ] || fail "the other note changed: $(content 2)"
echo "notes: 1 passed, 0 failed"
