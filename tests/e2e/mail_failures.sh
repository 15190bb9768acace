#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Mail failures the user hears of, against the real Dovecot of the mail tests on 127.0.0.1,
# in one run of the program with GNOME Keyring in its session: with no password stored the
# first check asks for one and sends nothing (Dovecot sees no connection, let alone a
# login); Options says why; a password typed there goes to the keyring when the field is
# left, and the data file never holds it; "Check now" then logs in and Options shows the
# count; and on a port where nothing listens Options shows "could not connect to ...
# (connection refused)". Options is read and worked as a screen reader and a user do.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dovecot.sh"
exe=$1 template=$2 certs=$3 E2E_READER=$4
trap 'dovecot_stop; e2e_cleanup' EXIT

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
data=$program/data.plm
dovecot_start "$certs"
cadir=$E2E_DIR/cacerts
mkdir -p "$cadir" && cp "$certs/ca.pem" "$cadir/plumora-test-ca.pem" && openssl rehash "$cadir"
closed=$(dovecot_free_ports 1)

# A typed POP3 account on TLS, checked every 2 minutes, with no password anywhere.
cp "$template" "$data"
sqlite3 "$data" "UPDATE System SET NotifyAgo = 2, CheckMail = -1, CheckMailMin = 2,
    MailUser = 'ann', MailPOP3 = '127.0.0.1', MailType = 'pop3', MailPort = $POP3S_PORT,
    MailSSL = 3, MailPwd = '', MailKeyring = 0, MailAuto = 0"

# The session: only the keyring started here answers for secrets, and the accessibility bus
# lets the screen reader in.
mkdir -p "$E2E_DIR/services"
cp /usr/share/dbus-1/services/org.a11y.Bus.service "$E2E_DIR/services/" ||
    fail "the accessibility bus is not installed (Debian: at-spi2-core)"
e2e_bare_session_conf "$E2E_DIR/session.conf"
sed -i "s|</busconfig>|  <servicedir>$E2E_DIR/services</servicedir>\n</busconfig>|" "$E2E_DIR/session.conf"

# The program trusts the test CA (a private mount over /etc/ssl/certs) and starts seconds
# before a minute, whose tick starts the first check.
e2e_clock_before_minute 3
clock=$(printf "'%s' " "${E2E_CLOCK[@]}")
log=$E2E_DIR/plumora.log pidfile=$E2E_DIR/plumora.pid busfile=$E2E_DIR/bus
dovecot_lines=$(wc -l <"$DOVECOT_LOG")
CADIR=$cadir QT_LOGGING_RULES="plumora.mail=true" \
    dbus-run-session --config-file="$E2E_DIR/session.conf" -- sh -c "
        dbus-update-activation-environment XDG_RUNTIME_DIR HOME XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY
        printf test | gnome-keyring-daemon --foreground --unlock --components=secrets \
            >'$E2E_DIR/keyring.log' 2>&1 &
        for i in \$(seq 50); do
            dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
                org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
                grep -q true && break
            sleep 0.2
        done
        echo \$DBUS_SESSION_BUS_ADDRESS >'$busfile'
        echo \$\$ >'$pidfile'
        exec unshare --mount --propagation private sh -c 'mount --bind \"\$CADIR\" /etc/ssl/certs && exec \"\$@\"' \
            sh env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 $clock '$program/plumora'" \
    >"$log" 2>&1 &
E2E_PIDS+=($!)
wait_for 20 test -s "$pidfile" || fail "the program did not start"
DBUS_SESSION_BUS_ADDRESS=$(cat "$busfile")
export DBUS_SESSION_BUS_ADDRESS

# What the data file's password column holds, sampled all along.
while :; do sqlite3 "$data" "SELECT 'pwd=' || MailPwd FROM System" 2>/dev/null; sleep 0.1; done \
    >"$E2E_DIR/samples" &
E2E_PIDS+=($!)
passed=0

# No password: the pop-up asks for it, and nothing reached Dovecot.
popup() { xwininfo -name "- Plumora -" | grep -q IsViewable; }
wait_for 30 popup || { cat "$log" >&2; fail "no password: no pop-up asked for it"; }
grep -q "no password is stored" "$log" || fail "no password: not logged: $(cat "$log")"
since=$(tail -n +"$((dovecot_lines + 1))" "$DOVECOT_LOG")
! grep -qE "pop3-login|imap-login|auth" <<<"$since" || fail "no password: Dovecot saw: $since"
passed=$((passed + 1))

# A click on the pop-up opens Options, where the mail group's status says why.
xdotool mousemove --window "$(xdotool search --onlyvisible --name '^- Plumora -$' | head -n 1)" 20 20 click 1
wait_for 20 a11y_shows "push button" "Check now" || fail "the pop-up opened no Options with \"Check now\""
a11y_scroll_to "push button" "Check now"
status_line() { a11y_description "Mail check status"; }
status_says() { status_line | grep -q -e "$1"; }
wait_status() {
    wait_for 40 status_says "$1" || fail "the mail status does not say '$1' but '$(status_line)'"
}
wait_status "^Last check [0-9:]*: no password is stored"

# The password typed and the field left: in the keyring, never in the data file.
a11y_click text "Account password"
xdotool type --delay 20 secret
xdotool key Tab
in_keyring() { [ "$(sqlite3 "$data" 'SELECT MailPwd || MailKeyring FROM System')" = "-1" ]; }
wait_for 20 in_keyring || { cat "$log" "$E2E_DIR/keyring.log" >&2; fail "the typed password did not reach the keyring"; }
wait_for 10 a11y_shows label "Stored in the desktop's keyring" ||
    fail "Options do not say the password is in the keyring"
passed=$((passed + 1))

# "Check now" logs in with it.
logins() { grep -c "Login: user=<ann>" "$DOVECOT_LOG" || true; }
n=$(logins)
a11y_click "push button" "Check now"
wait_status "^Last check [0-9:]*: 3 new messages$"
[ "$(logins)" -gt "$n" ] || fail "Check now: Dovecot saw no login"
passed=$((passed + 1))

# Nothing listening on the port typed.
a11y_click "spin box" "Port"
xdotool key ctrl+a type --delay 20 "$closed"
a11y_click "push button" "Check now"
wait_status "^Last check [0-9:]*: could not connect to 127.0.0.1:$closed (connection refused)$"
passed=$((passed + 1))

kill "$(cat "$pidfile")"
wait_for 10 sh -c "! kill -0 $(cat "$pidfile")" || true
grep -q "pwd=secret" "$E2E_DIR/samples" && fail "the data file held the typed password"
grep -rqs secret "$program" && fail "the typed password was written to the program's folder"
grep -q "pwd=" "$E2E_DIR/samples" || fail "the data file was never sampled"
echo "mail_failures: $passed passed, 0 failed"
