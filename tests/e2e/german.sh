#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plumora in German (LANG=de_DE.UTF-8) on 5 December 2026, read as a screen reader reads it:
# the month view's heading in German, the help's line saying its pages are English, then
# the German captions of the tray menu, of a toolbar button and of an Options group.
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 help=$3 E2E_READER=$4

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template" "$help")
[ -f "$program/translations/plumora_de.qm" ] || fail "the German translation was not built"

lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$lib" ] || fail "libfaketime is not installed (Debian: faketime)"
env LANG=de_DE.UTF-8 LD_PRELOAD="$lib" FAKETIME="@2026-12-05 10:00:00" \
    FAKETIME_DONT_FAKE_MONOTONIC=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
E2E_PIDS+=($!)

icons_docked() { [ "$(tray_icon_count)" -eq "$1" ]; }
# Every object of that role and name, shown or not (a group scrolled away counts).
a11y_has() {
    "$E2E_READER" Plumora dump 2>/dev/null |
        awk -F'\t' -v role="$1" -v name="$2" '$2 == role && $3 == name { found = 1 } END { exit !found }'
}
names() { "$E2E_READER" Plumora dump showing 2>/dev/null | cut -f2,3 | sort -u | tr '\n' ';'; }
expect_shown() { # ROLE NAME WHAT
    wait_for 10 a11y_shows "$1" "$2" || fail "$3 does not read \"$2\" (shown: $(names))"
}

wait_for 15 icons_docked 1 || fail "no tray icon appeared"
e2e_wait_tray_icon
icon=$E2E_ICON

# The main window opens on the calendar: its heading names the month as German writes it
# standing alone.
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click opened no main window"
expect_shown label "Dezember 2026" "the month view's heading"

# F1 opens the help, whose first line says in German that the pages are in English.
wait_for 10 has_keyboard '^Plumora$' || fail "the main window came up without the keyboard"
xdotool key F1
expect_shown label "Die Hilfeseiten gibt es vorerst nur auf Englisch." "the help's first line"
xdotool key Escape

# A toolbar button's tip.
expect_shown "push button" "Erinnerung" "the toolbar's Reminder button"

# The tray menu's entries.
xdotool mousemove --window "$icon" 8 8 click 1
for caption in Schnellnotizen Energieplaner Schnellzugriff; do
    expect_shown "menu item" "$caption" "the tray menu"
done

# Options, from the tray menu: the calendar's group.
a11y_click "menu item" "Einstellungen"
wait_for 10 a11y_has panel "Kalender" || fail "Options show no group \"Kalender\" (shown: $(names))"
echo "german: 1 passed, 0 failed"
