#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared set-up for end-to-end tests: a private X server with a tray host, a temporary
# program folder and HOME, and clean-up of everything started.
set -euo pipefail

# E2E_OWN_BUS=1, set for the sourcing of this file: the script runs in a session bus of its
# own (it starts again under dbus-run-session), whose accessibility bus a screen reader
# reaches (see e2e_session_bus).
if [ -n "${E2E_OWN_BUS:-}" ] && [ -z "${PLUMORA_E2E_SESSION:-}" ]; then
    exec dbus-run-session -- env PLUMORA_E2E_SESSION=1 bash "$0" "$@"
fi
e2e_own_bus=${E2E_OWN_BUS:+$DBUS_SESSION_BUS_ADDRESS}

E2E_PIDS=()
E2E_DIR=$(mktemp -d)
export HOME="$E2E_DIR/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_RUNTIME_DIR="$E2E_DIR/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Without a session bus Qt docks its tray icon through XEmbed, which trayer hosts. An unset
# address would let libdbus start a bus of its own on the X display (dbus-x11), with a
# keyring whose first-use prompt takes the pointer; an address where nothing listens
# keeps the test's desktop as bare as it says. A test that wants a bus sets its own.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_DIR/no-session-bus"
unset QT_QPA_PLATFORM
# English texts and the C locale's dates and times on any machine; a test that wants another
# language sets its own after this file.
unset LANGUAGE LC_ALL LC_MESSAGES LC_TIME
export LANG=C.UTF-8

e2e_cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Starts Xvfb on a display it picks itself (so parallel runs never share one), openbox as
# the window manager (stacking, focus and frames are as users have them) and trayer as the
# notification area.
# One try at a private X server with a window manager and a tray; false (all stopped) when
# any of them did not come up.
e2e_try_desktop() {
    local fdfile="$E2E_DIR/display" xvfb trayer openbox
    rm -f "$fdfile"
    # E2E_SCREEN: another size. No reset when the last client leaves: the check below is the
    # first client, and a window manager connecting while the server resets after it may find
    # no display.
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x800x24}" -noreset -nolisten tcp \
        3>"$fdfile" >"$E2E_DIR/xvfb.log" 2>&1 &
    xvfb=$!
    E2E_PIDS+=($xvfb)
    if wait_for 10 test -s "$fdfile"; then
        export DISPLAY=":$(head -n 1 "$fdfile")"
        if wait_for 10 xdpyinfo; then
            openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
            openbox=$!
            E2E_PIDS+=($openbox)
            if ! wait_for 10 window_manager_running; then
                kill "$openbox" 2>/dev/null || true
                kill "$xvfb" 2>/dev/null || true
                wait "$xvfb" 2>/dev/null || true
                return 1
            fi
            # E2E_NO_TRAY: the test starts its own notification area, or none.
            [ -z "${E2E_NO_TRAY:-}" ] && e2e_start_tray && return 0
            [ -n "${E2E_NO_TRAY:-}" ] && return 0
            trayer=$E2E_TRAY
            kill "$trayer" "$openbox" 2>/dev/null || true
        fi
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    return 1
}

# The notification area (trayer) on the running X server; E2E_TRAY is its process.
e2e_start_tray() {
    trayer --edge bottom --align right --widthtype request --height 24 \
        >>"$E2E_DIR/trayer.log" 2>&1 &
    E2E_TRAY=$!
    E2E_PIDS+=($E2E_TRAY)
    wait_for 10 tray_panel
}

# A fresh notification area, in place of the one started with the desktop.
e2e_restart_tray() {
    kill "$E2E_TRAY" 2>/dev/null || true
    wait "$E2E_TRAY" 2>/dev/null || true
    wait_for 10 tray_gone || fail "the notification area did not go"
    e2e_start_tray || fail "the notification area did not come back: $(cat "$E2E_DIR/trayer.log")"
}

# A private X server with a tray. On a busy machine the tray has now and then failed to
# open a display that had just answered; a fresh server then does.
e2e_start_desktop() {
    local attempt
    for attempt in 1 2 3; do
        e2e_try_desktop && return 0
        echo "desktop try $attempt failed:" >&2
        cat "$E2E_DIR/xvfb.log" "$E2E_DIR/openbox.log" "$E2E_DIR/trayer.log" >&2 2>/dev/null ||
            true
    done
    fail "no X server with a tray could be started"
}

# The program into FOLDER with the modules it loads at first use and its translations, found
# beside it as in the build folder.
e2e_copy_program() {
    cp "$1" "$(dirname "$1")"/libplumora_*.so "$2/"
    if [ -d "$(dirname "$1")/translations" ]; then cp -r "$(dirname "$1")/translations" "$2/"; fi
}

# e2e_program_folder EXE TEMPLATE [HELP]: a program folder holding only the program, its
# modules and its data template, and the help pages when HELP is given.
e2e_program_folder() {
    local exe=$1 template=$2 help=${3:-}
    local dir="$E2E_DIR/program"
    mkdir -p "$dir"
    e2e_copy_program "$exe" "$dir"
    cp "$template" "$dir/"
    if [ -n "$help" ]; then cp -r "$help" "$dir/help"; fi
    echo "$dir"
}

# The window manager has claimed the screen (its check window is on the root).
window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"
}

tray_panel() {
    xwininfo -root -tree | awk '/\("panel" "trayer"\)/ { print $1; found=1 } END { exit !found }'
}

tray_gone() {
    ! tray_panel >/dev/null
}

# Number of Plumora icons docked in the tray.
tray_icon_count() {
    xwininfo -tree -id "$(tray_panel)" | grep -c '("plumora" "Plumora")' || true
}

# The tray icon's window once the panel has laid it out (mapped, at its full size), so a
# click on it lands on the icon; false before.
tray_icon_ready() {
    local icon
    icon=$(xwininfo -tree -id "$(tray_panel)" 2>/dev/null |
        awk '/\("plumora" "Plumora"\)/ { print $1; exit }')
    [ -n "$icon" ] || return 1
    xwininfo -id "$icon" 2>/dev/null | awk '/Map State: IsViewable/ { v = 1 }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { exit !(v && w >= 16 && h >= 16) }' ||
        return 1
    echo "$icon"
}

# Sets E2E_ICON to the tray icon's window once the panel shows it. trayer now and then
# lays a new icon out off its panel (unmapped, at a negative place), where no click reaches
# it; a fresh trayer then shows it, as the program docks again with a new tray.
e2e_wait_tray_icon() {
    if ! wait_for 5 tray_icon_ready; then
        echo "the tray icon is not on the panel: starting the panel again" >&2
        e2e_restart_tray
        wait_for 10 tray_icon_ready || fail "the panel did not show the tray icon"
    fi
    E2E_ICON=$(tray_icon_ready)
}

# Skips the test (status 77) when no network interface but loopback is up: the program
# asks whether it is online before it downloads anything.
e2e_need_network() {
    local state
    for state in /sys/class/net/*/operstate; do
        [ "$(dirname "$state")" = /sys/class/net/lo ] || ! grep -qx up "$state" || return 0
    done
    echo "no network interface is up: skipped"
    exit 77
}

# Runs the program's clock (through libfaketime) from LEAD seconds before a full minute, so
# the minute tick comes within seconds instead of up to a minute later. Sets E2E_DUE, that
# minute as "YYYY-MM-DD HH:MM", and E2E_CLOCK, the environment to start the program with:
#   env "${E2E_CLOCK[@]}" "$program/plumora" &
# Only the clock moves: timers keep the real monotonic time.
e2e_clock_before_minute() {
    local lead=$1 minute lib
    minute=$((($(date +%s) / 60 + 1) * 60))
    lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
    [ -n "$lib" ] || fail "libfaketime is not installed (Debian: faketime)"
    E2E_DUE=$(date -d "@$minute" '+%Y-%m-%d %H:%M')
    E2E_CLOCK=("LD_PRELOAD=$lib" "FAKETIME=@$(date -d "@$((minute - lead))" '+%Y-%m-%d %H:%M:%S')"
        FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_NO_CACHE=1)
}

# Writes to FILE a session bus configuration with no services started on demand, so that
# nothing but what the test starts answers on it (a keyring, say).
e2e_bare_session_conf() {
    cat >"$1" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$XDG_RUNTIME_DIR</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
}

# Writes to FILE a session bus configuration like e2e_bare_session_conf's whose one service
# started on demand is the accessibility bus, for a screen reader (E2E_READER).
e2e_a11y_session_conf() {
    local services="$E2E_DIR/a11y-services"
    mkdir -p "$services"
    cp /usr/share/dbus-1/services/org.a11y.Bus.service "$services/" ||
        fail "the accessibility bus is not installed (Debian: at-spi2-core)"
    e2e_bare_session_conf "$1"
    sed -i "s|</busconfig>|  <servicedir>$services</servicedir>\n</busconfig>|" "$1"
}

# Ends the process whose id PIDFILE holds: asked first, killed after 10 s.
e2e_stop_pidfile() {
    local pid
    pid=$(cat "$1")
    kill "$pid" 2>/dev/null || true
    wait_for 10 sh -c "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true
}

# e2e_start_radicale STORAGE [PORT]: a Radicale CalDAV server on 127.0.0.1 (at a free port
# unless PORT is given, so that a restart keeps its address) with the one user "ann",
# password "secret", keeping its calendars in the folder STORAGE. Sets E2E_RADICALE_PORT
# and E2E_RADICALE_PID once it answers.
e2e_start_radicale() {
    command -v radicale >/dev/null || fail "radicale is not installed (Debian: radicale)"
    E2E_RADICALE_PORT=${2:-$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')}
    printf 'ann:secret\n' >"$E2E_DIR/radicale.users"
    radicale --server-hosts "127.0.0.1:$E2E_RADICALE_PORT" --storage-filesystem-folder "$1" \
        --auth-type htpasswd --auth-htpasswd-filename "$E2E_DIR/radicale.users" \
        --auth-htpasswd-encryption plain --logging-level warning >>"$E2E_DIR/radicale.log" 2>&1 &
    E2E_RADICALE_PID=$!
    E2E_PIDS+=($E2E_RADICALE_PID)
    wait_for 20 curl -sf -u ann:secret -X PROPFIND -H 'Depth: 0' \
        "http://127.0.0.1:$E2E_RADICALE_PORT/ann/" ||
        fail "radicale did not answer: $(cat "$E2E_DIR/radicale.log")"
}

# Reads one value with SQL from a data file.
sql_value() {
    sqlite3 "$1" "$2"
}

# For a script run by dbus-run-session, after this file: ADDRESS is that session bus. The
# accessibility bus it starts keeps its socket in this run's private folder (not in /tmp,
# where a clean-up of another program may take it away in the middle of a run).
e2e_session_bus() {
    export DBUS_SESSION_BUS_ADDRESS=$1
    dbus-update-activation-environment XDG_RUNTIME_DIR HOME XDG_CONFIG_HOME XDG_DATA_HOME ||
        fail "the session bus did not take the environment"
}
if [ -n "$e2e_own_bus" ]; then e2e_session_bus "$e2e_own_bus"; fi

# Acting on what the screen shows, found over the accessibility bus: set E2E_READER to the
# reader (atspi_tree) and start the program with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 in a
# script run by dbus-run-session.
# a11y_shows ROLE NAME: an object of that role and name is on the screen.
a11y_shows() {
    "$E2E_READER" Plumora showing "$1" "$2" >/dev/null 2>&1
}
# a11y_click ROLE NAME [BUTTON]: a click on the middle of the part of that object in view,
# once it shows. A menu that has just opened reads as showing a moment before it has its
# place on the screen, so the place is asked for until it has one.
a11y_click() {
    local at deadline=$((SECONDS + 10))
    wait_for 10 a11y_shows "$1" "$2" || fail "no $1 '$2' on the screen"
    until at=$("$E2E_READER" Plumora centre "$1" "$2" 2>/dev/null); do
        [ $SECONDS -lt $deadline ] || fail "$1 '$2' is out of view"
        sleep 0.1
    done
    xdotool mousemove ${at% *} ${at#* } click "${3:-1}"
}
# a11y_in_view ROLE NAME: some of that object is in view, not scrolled away.
a11y_in_view() {
    "$E2E_READER" Plumora centre "$1" "$2" >/dev/null 2>&1
}
# a11y_scroll_to ROLE NAME: turns the mouse wheel over the page's scroll bar until some of
# that object is in view, as a user scrolls down to it (over the bar, the wheel cannot
# change a box it passes).
a11y_scroll_to() {
    local bar turns
    for turns in $(seq 30); do
        a11y_in_view "$1" "$2" && return 0
        bar=$("$E2E_READER" Plumora centre "scroll bar" "") || fail "no scroll bar to reach $1 '$2'"
        xdotool mousemove ${bar% *} ${bar#* } click 5
        sleep 0.2
    done
    fail "$1 '$2' stayed out of view after $turns turns of the wheel"
}

# a11y_dump [showing]: the reader's list of the objects (see atspi_tree). Search it as a
# whole (`grep -q … <<<"$(a11y_dump)"`), not through a pipe: a search that stops at its
# first match can end the reader by SIGPIPE before its last write, and pipefail then fails
# the search that had found what it looked for.
a11y_dump() {
    "$E2E_READER" Plumora dump "$@" 2>/dev/null
}
# a11y_description NAME: what the screen reader reads out for the showing object of that
# name (its description, such as a status line's text).
a11y_description() {
    awk -F'\t' -v name="$1" '$3 == name { print $4; exit }' <<<"$(a11y_dump showing)"
}
# The window manager has given the keyboard to the visible window whose name matches.
# The first shown window titled as the pattern says (none: empty), and whether there is one.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
is_visible() { [ -n "$(visible "$1")" ]; }
has_keyboard() {
    local active
    active=$(xdotool getactivewindow 2>/dev/null) || return 1
    xdotool getwindowname "$active" 2>/dev/null | grep -q -e "$1"
}
