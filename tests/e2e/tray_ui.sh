#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The ways in through the tray icon: a click opens the menu beside the icon, a double-click
# opens the main window on the calendar and leaves no menu, a notification area that goes is
# told and one that comes takes the icon, and "Unload Plumora" answered Yes ends the process
# and takes the icon away. Menu entries and buttons are clicked where
# the screen shows them (found over the accessibility bus).
E2E_OWN_BUS=1 source "$(dirname "$0")/lib.sh"
exe=$1 template=$2 help=$3 E2E_READER=$4

e2e_start_desktop
# The panel's strip at the foot of the screen is outside the work area, as a desktop with a
# window manager reports it.
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, 1280, 776"
program=$(e2e_program_folder "$exe" "$template" "$help")

# The program's clock starts shortly before a full minute, so its first tick, which sees the
# notification area, comes while the clicks below are made.
tick_lead=25
e2e_clock_before_minute $tick_lead
started=$(date +%s)
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 env "${E2E_CLOCK[@]}" "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
plumora=$!
E2E_PIDS+=($plumora)

# wait_for runs its command again each time: the checks are functions, never $(...) arguments.
icons_docked() { [ "$(tray_icon_count)" -eq "$1" ]; }
menu_open() { is_visible '^Plumora Menu$'; }
menu_closed() { ! menu_open; }
ended() { ! kill -0 "$plumora" 2>/dev/null; }

wait_for 15 icons_docked 1 || fail "no tray icon appeared"
e2e_wait_tray_icon
icon=$E2E_ICON
eval "$(xdotool getwindowgeometry --shell "$icon")"
icon_x=$X icon_y=$Y

# A click on the icon: the menu opens beside it, its bottom at the panel.
xdotool mousemove --window "$icon" 8 8 click 1
wait_for 10 menu_open || fail "a click on the tray icon opened no menu"
eval "$(xdotool getwindowgeometry --shell "$(visible '^Plumora Menu$')")"
menu_x=$X menu_y=$Y menu_w=$WIDTH menu_h=$HEIGHT
[ $((icon_x + 8)) -ge "$menu_x" ] && [ $((icon_x + 8)) -le $((menu_x + menu_w + 1280 / 36)) ] ||
    fail "menu at x $menu_x..$((menu_x + menu_w)) is not beside the icon at x $icon_x"
[ $((menu_y + menu_h)) -ge "$icon_y" ] && [ $((menu_y + menu_h)) -le 800 ] ||
    fail "menu bottom $((menu_y + menu_h)) is not at the panel (icon at y $icon_y)"
xdotool key Escape
wait_for 20 menu_closed || fail "the menu did not close"

# A double-click: the main window with the calendar, and no menu left open. The pause keeps
# its first click from pairing with the click that opened the menu.
sleep 1
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click opened no main window"
sleep 1
menu_closed || fail "a menu stayed open after the double-click (main window: $(visible "^Plumora$"))"
# The window manager gives the new window the keyboard.
wait_for 10 has_keyboard '^Plumora$' || fail "the main window came up without the keyboard"
# The Help menu's "Content" opens the topic of the tool in front: the calendar's.
a11y_click "menu item" "Help"
a11y_click "menu item" "Content"
wait_for 10 is_visible '^Plumora Help - Personal Calendar$' ||
    fail "the main window does not show the calendar (help: $(xdotool search --name '^Plumora Help' getwindowname 2>/dev/null))"

# The notification area going away after the first tick: the next one tells so, and a new
# area takes the icon back by itself.
rest=$((started + tick_lead + 5 - $(date +%s)))
[ "$rest" -le 0 ] || sleep "$rest"
kill "$E2E_TRAY"
wait "$E2E_TRAY" 2>/dev/null || true
wait_for 10 tray_gone || fail "the notification area did not go"
loss_told() {
    grep -q "The notification area that held Plumora's icon is gone" <<<"$(a11y_dump showing)"
}
wait_for 70 loss_told || fail "no notice told within a minute that the notification area went"
a11y_click "push button" "OK"
e2e_start_tray || fail "no new notification area: $(cat "$E2E_DIR/trayer.log")"
wait_for 15 icons_docked 1 || fail "the icon did not come back to the new notification area"
e2e_wait_tray_icon
icon=$E2E_ICON

# The menu again, then "Unload Plumora" answered Yes.
xdotool mousemove --window "$icon" 8 8 click 1
wait_for 10 menu_open || fail "the menu did not open a second time"
a11y_click "menu item" "Unload Plumora"
wait_for 10 is_visible '^Confirm$' || fail "Unload Plumora asked no question"
a11y_click "push button" "Yes"
wait_for 10 ended || fail "Plumora still runs after Unload (question open: $(visible "^Confirm$"))"
wait "$plumora" || fail "Plumora ended with status $?"
wait_for 20 icons_docked 0 || fail "the tray icon stayed after Unload"
[ "$(sql_value "$program/data.plm" 'SELECT winWidth > 0 FROM System')" = 1 ] ||
    fail "the main window's placement was not stored when Plumora ended"
echo "tray_ui: 1 passed, 0 failed"
