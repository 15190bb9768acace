#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The D-Bus tray as desktops show it today: a real xfce4-panel at the top of the screen hosts
# Plumora's StatusNotifierItem. With the real mouse on the panel's icon: a click opens the
# menu beside the icon, a middle click and a double-click open the calendar, a right click
# shows the exported menu whose "Unload Plumora" ends the program; the reminder stands at
# the top right, under the panel. Then a tray that comes later: Plumora started with no
# panel gets its icon into one started after it.
if [ -z "${PLUMORA_E2E_SESSION:-}" ]; then
    exec dbus-run-session -- env PLUMORA_E2E_SESSION=1 bash "$0" "$@"
fi
session_bus=$DBUS_SESSION_BUS_ADDRESS
source "$(dirname "$0")/lib.sh"
export DBUS_SESSION_BUS_ADDRESS=$session_bus
exe=$1 template=$2
command -v xfce4-panel >/dev/null || fail "xfce4-panel is not installed (Debian: xfce4-panel)"

E2E_NO_TRAY=1 e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
# A reminder for today, shown at start-up.
cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" \
    "INSERT INTO Events (eDate, Description, Frequency, Holiday) VALUES (date('now', 'localtime'), 'Team meeting', 1, 0);" ||
    fail "no event could be added"

# One panel across the top with the notification area at its right end.
panel_conf="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
mkdir -p "$panel_conf"
cat >"$panel_conf/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="26"/>
      <property name="icon-size" type="uint" value="16"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
      <property name="style" type="uint" value="0"/>
    </property>
    <property name="plugin-2" type="string" value="systray"/>
  </property>
</channel>
XML

# The panel's settings service is started by the bus, which must hand it this HOME.
dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_RUNTIME_DIR DISPLAY

panel_pid=
start_panel() {
    xfce4-panel --disable-wm-check >>"$E2E_DIR/panel.log" 2>&1 &
    panel_pid=$!
    E2E_PIDS+=("$panel_pid")
    wait_for 20 watcher_up || fail "the panel started no tray watcher: $(cat "$E2E_DIR/panel.log")"
}
stop_panel() {
    kill "$panel_pid" 2>/dev/null || true
    wait "$panel_pid" 2>/dev/null || true
    wait_for 10 sh -c '! xdotool search --class xfce4-panel >/dev/null' || true
}
watcher_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher | grep -q true
}
# The items the panel's watcher holds.
registered_items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null
}
registered() { registered_items | grep -q "org.kde.StatusNotifierItem-$1-"; }
not_registered() { ! registered "$1"; }
hidden() { ! is_visible "$1"; }
ended() { ! kill -0 "$1" 2>/dev/null; }
geometry() { eval "$(xdotool getwindowgeometry --shell "$(visible "$1")")"; }
# A window of the GTK menu the panel pops up.
panel_menu() {
    # The notification area runs in the panel's plug-in process.
    xdotool search --onlyvisible --class 'xfce4-panel|wrapper-2.0' 2>/dev/null | while read -r w; do
        xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && echo "$w"
    done | head -n 1
}
panel_menu_open() { [ -n "$(panel_menu)" ]; }
# A click on the title bar the window manager draws above a window: it takes the keyboard,
# as a user gives it.
click_title() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    geometry "$1"
    xdotool mousemove $((X + WIDTH / 2)) $((Y - 8)) click 1
    wait_for 10 has_keyboard "$1" || fail "a click on its title bar left '$1' without the keyboard"
}
close_main_window() {
    click_title '^Plumora$'
    xdotool key --clearmodifiers alt+F4
    wait_for 10 hidden '^Plumora$' || fail "the main window did not close"
}

start_panel
"$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
plumora=$!
E2E_PIDS+=("$plumora")
wait_for 15 registered "$plumora" || fail "the item was not registered: $(registered_items)"
# The exported menu's entries get their pictures once the icon is up.
menu_pictures() {
    gdbus call --session --dest "org.kde.StatusNotifierItem-$plumora-1" --object-path /MenuBar \
        --method com.canonical.dbusmenu.GetLayout -- 0 -1 '[]' 2>/dev/null | grep -o "'icon-data'" | wc -l
}
has_menu_pictures() { [ "$(menu_pictures)" -ge 5 ]; }
wait_for 10 has_menu_pictures || fail "the exported menu has $(menu_pictures) pictures"

# The icon stands at the right end of the panel.
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --class xfce4-panel | head -n 1)")"
panel_y=$Y panel_h=$HEIGHT
screen_w=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
icon_x=$((screen_w - panel_h / 2 - 2)) icon_y=$((panel_y + panel_h / 2))

# The reminder of start-up: the top right corner of the work area, under the panel.
wait_for 20 is_visible '^- Reminder -$' || fail "no reminder at start-up"
geometry '^- Reminder -$'
[ $((X + WIDTH)) -eq "$screen_w" ] && [ "$Y" -ge $((panel_y + panel_h - 1)) ] &&
    [ "$Y" -le $((panel_y + panel_h + 40)) ] ||
    fail "the reminder at $X,$Y (${WIDTH}x$HEIGHT) is not at the top right under the panel"
# A notification, which the window manager never hands the keyboard.
xprop -id "$(visible '^- Reminder -$')" _NET_WM_WINDOW_TYPE | grep -q NOTIFICATION ||
    fail "the reminder is not a notification window"
[ "$(xdotool getactivewindow 2>/dev/null)" != "$(visible '^- Reminder -$')" ] ||
    fail "the reminder took the keyboard"

# A left click: Plumora's menu hangs under the icon.
sleep 1
xdotool mousemove "$icon_x" "$icon_y" click 1
wait_for 10 is_visible '^Plumora Menu$' || fail "a click on the icon opened no menu"
geometry '^Plumora Menu$'
[ "$icon_x" -ge "$X" ] && [ "$icon_x" -le $((X + WIDTH + screen_w / 36)) ] &&
    [ "$Y" -ge $((panel_y + panel_h - 1)) ] && [ "$Y" -le $((panel_y + panel_h + 40)) ] ||
    fail "the menu at $X,$Y (${WIDTH}x$HEIGHT) is not under the icon at $icon_x,$icon_y"
xdotool key Escape
wait_for 10 hidden '^Plumora Menu$' || fail "the menu did not close"

# A middle click: the calendar.
sleep 1
xdotool mousemove "$icon_x" "$icon_y" click 2
wait_for 10 is_visible '^Plumora$' || fail "a middle click opened no main window"
close_main_window

# A double-click: the calendar, and the first click's menu gone.
sleep 1
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 120 1
wait_for 10 is_visible '^Plumora$' || fail "a double-click opened no main window"
sleep 1
hidden '^Plumora Menu$' || fail "a menu stayed open after the double-click"
close_main_window

# A right click: the panel shows the exported menu; its last entry is Unload Plumora.
sleep 1
xdotool mousemove "$icon_x" "$icon_y" click 3
wait_for 10 panel_menu_open || fail "a right click showed no exported menu: $(cat "$E2E_DIR/panel.log")"
hidden '^Plumora Menu$' || fail "a right click opened Plumora's own menu as well"
xdotool key Up Return
wait_for 10 is_visible '^Confirm$' || fail "Unload Plumora from the exported menu asked no question"
click_title '^Confirm$'
xdotool key Return
wait_for 10 ended "$plumora" || fail "Plumora still runs after Unload"
wait "$plumora" || fail "Plumora ended with status $?"
wait_for 10 not_registered "$plumora" || fail "the watcher still holds the item after Unload"

# A tray that comes later: no panel at the start, one a little after.
stop_panel
"$program/plumora" >"$E2E_DIR/plumora-late.log" 2>&1 &
late=$!
E2E_PIDS+=("$late")
sleep 3
kill -0 "$late" || fail "Plumora without a tray ended: $(cat "$E2E_DIR/plumora-late.log")"
start_panel
wait_for 70 registered "$late" || fail "the icon did not come to the later tray: $(registered_items)"
echo "tray_sni: 1 passed, 0 failed"
