#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Mail accounts that take no password, against a real Dovecot on 127.0.0.1 that checks
# access tokens itself (its oauth2 passdb asks a token-introspection endpoint the test serves
# on loopback) and refuses every password with "Basic authentication is disabled.".
# 1. A stand-in online accounts service on the program's private session bus holds one
#    OAuth2 mail account. Options lists it; the user chooses it, mail is delivered and
#    "Check now" runs: the first token is refused, the program asks the service to renew
#    the credentials, and the second token counts the unread mail. No token reaches the data
#    file, the registry file or the log (every plumora.* category on).
# 2. A typed IMAP account with a password: the refusal gives the notice that the account
#    needs a sign-in through GNOME Online Accounts, not the password request.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dovecot.sh"
exe=$1 template=$2 certs=$3 E2E_READER=$4
here=$(cd "$(dirname "$0")" && pwd)
trap 'stop_goa; dovecot_stop; e2e_cleanup' EXIT
stop_goa() {
    [ -s "$E2E_DIR/goa.pid" ] && kill "$(cat "$E2E_DIR/goa.pid")" 2>/dev/null
    rm -f "$E2E_DIR/goa.pid"
}

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
data=$program/data.plm
registry=$XDG_CONFIG_HOME/plumora/registry.ini

python3 "$here/token_endpoint.py" "$E2E_DIR/introspection.port" ann &
E2E_PIDS+=($!)
wait_for 10 test -s "$E2E_DIR/introspection.port" || fail "the introspection endpoint did not start"
introspection=http://127.0.0.1:$(cat "$E2E_DIR/introspection.port")/introspect

# Tokens through the oauth2 passdb; every password refused as providers without basic
# authentication do (a reason with spaces needs the checkpassword passdb's environment).
dovecot_auth() {
    cat >"$DOVECOT_DIR/oauth2.conf.ext" <<EXT
introspection_mode = post
introspection_url = $introspection
username_attribute = username
active_attribute = active
active_value = true
EXT
    printf '#!/bin/sh\nnologin=y reason="Basic authentication is disabled." EXTRA="nologin reason" exec "$@"\n' \
        >"$DOVECOT_DIR/no-passwords"
    chmod 755 "$DOVECOT_DIR/no-passwords"
    cat <<AUTH
auth_mechanisms = plain xoauth2 oauthbearer
passdb {
  driver = oauth2
  mechanisms = xoauth2 oauthbearer
  args = $DOVECOT_DIR/oauth2.conf.ext
}
passdb {
  driver = checkpassword
  mechanisms = plain login
  args = $DOVECOT_DIR/no-passwords
}
AUTH
}
dovecot_start "$certs"
cadir=$E2E_DIR/cacerts
mkdir -p "$cadir" && cp "$certs/ca.pem" "$cadir/plumora-test-ca.pem" && openssl rehash "$cadir"

mkdir -p "$E2E_DIR/services"
cp /usr/share/dbus-1/services/org.a11y.Bus.service "$E2E_DIR/services/" ||
    fail "the accessibility bus is not installed (Debian: at-spi2-core)"
e2e_bare_session_conf "$E2E_DIR/session.conf"
sed -i "s|</busconfig>|  <servicedir>$E2E_DIR/services</servicedir>\n</busconfig>|" "$E2E_DIR/session.conf"

log=$E2E_DIR/plumora.log pidfile=$E2E_DIR/plumora.pid busfile=$E2E_DIR/bus calls=$E2E_DIR/goa.calls
# start [goa]: the program in a private session, seconds before a minute, trusting the test
# CA; with the stand-in service on the bus when asked (Debian's python3, which has the
# python3-dbus and python3-gi packages).
start() {
    local goa=
    [ "${1:-}" = goa ] && goa="/usr/bin/python3 '$here/fake_goa.py' '$calls' '127.0.0.1:$IMAPS_PORT' ann &
        echo \$! >'$E2E_DIR/goa.pid'
        for i in \$(seq 50); do
            dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
                org.freedesktop.DBus.NameHasOwner string:org.gnome.OnlineAccounts 2>/dev/null |
                grep -q true && break
            sleep 0.2
        done"
    e2e_clock_before_minute 3
    local clock
    clock=$(printf "'%s' " "${E2E_CLOCK[@]}")
    rm -f "$pidfile" "$busfile"
    CADIR=$cadir QT_LOGGING_RULES="plumora.*=true" \
        dbus-run-session --config-file="$E2E_DIR/session.conf" -- sh -c "
            dbus-update-activation-environment XDG_RUNTIME_DIR HOME XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY
            $goa
            echo \$DBUS_SESSION_BUS_ADDRESS >'$busfile'
            echo \$\$ >'$pidfile'
            exec unshare --mount --propagation private sh -c 'mount --bind \"\$CADIR\" /etc/ssl/certs && exec \"\$@\"' \
                sh env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 $clock '$program/plumora'" \
        >>"$log" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 20 test -s "$pidfile" || fail "the program did not start"
    DBUS_SESSION_BUS_ADDRESS=$(cat "$busfile")
    export DBUS_SESSION_BUS_ADDRESS
}
stop() {
    local pid
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || true
    wait_for 10 sh -c "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true
    stop_goa
}
passed=0

# 1. No account typed or found: only the service's account can be checked.
cp "$template" "$data"
sqlite3 "$data" "UPDATE System SET NotifyAgo = 2, CheckMail = -1, CheckMailMin = 2,
    MailUser = '', MailPOP3 = '', MailPwd = '', MailKeyring = 0, MailAuto = 0"
start goa
menu_open() { xdotool search --onlyvisible --name '^Plumora Menu$' >/dev/null 2>&1; }
e2e_wait_tray_icon
xdotool mousemove --window "$E2E_ICON" 8 8 click 1
wait_for 20 menu_open || fail "a click on the tray icon opened no menu"
a11y_click "menu item" "Options"
wait_for 20 a11y_shows "push button" "Check now" || fail "Options show no \"Check now\""
a11y_scroll_to "push button" "Check now"
# A screen reader names a combo box by its current text.
wait_for 10 a11y_shows "combo box" "The account and password above" ||
    { cat "$log" >&2; fail "Options offer no choice of the service's account"; }
a11y_scroll_to "combo box" "The account and password above"
a11y_click "combo box" "The account and password above"
# The service's account is the second choice.
sleep 0.5
xdotool key Down Return
chosen() { grep -q "MailOnlineAccount=account_1700000000_0" "$registry"; }
wait_for 10 chosen || fail "choosing the service's account was not kept: $(cat "$registry" 2>&1)"
passed=$((passed + 1))

# One more unread message delivered: three.
box=$DOVECOT_DIR/home/ann/Maildir
printf 'From: bob@example.org\r\nTo: ann@example.org\r\nSubject: later\r\n\r\nHi.\r\n' \
    >"$box/new/1700000100.M9.plumora"
chown 65534:65534 "$box/new/1700000100.M9.plumora"
status_line() { a11y_description "Mail check status"; }
status_says() { status_line | grep -q -e "$1"; }
a11y_click "push button" "Check now"
wait_for 40 status_says "^Last check [0-9:]*: 3 unread messages$" ||
    { cat "$log" >&2; tail -5 "$DOVECOT_LOG" >&2; fail "Check now: the status says '$(status_line)'"; }
[ "$(tr '\n' ' ' <"$calls")" = "GetAccessToken EnsureCredentials GetAccessToken " ] ||
    fail "the service was asked: $(cat "$calls")"
grep -q "Login: user=<ann>, method=OAUTHBEARER" "$DOVECOT_LOG" ||
    fail "Dovecot saw no token sign-in: $(tail -5 "$DOVECOT_LOG")"
passed=$((passed + 1))
stop

for file in "$data" "$registry" "$log"; do
    ! grep -aq -e stale-token -e fresh-token "$file" || fail "a token was written to $file"
done
grep -q "plumora\." "$log" || fail "the log holds no lines of the plumora categories"
passed=$((passed + 1))

# 2. A typed account with a password, no service account chosen: the first tick's check.
sed -i '/MailOnlineAccount/d' "$registry"
sqlite3 "$data" "UPDATE System SET MailUser = 'ann', MailPOP3 = '127.0.0.1', MailType = 'imap',
    MailPort = $IMAPS_PORT, MailSSL = 3, MailPwd = 'secret'"
: >"$log"
start
popup() { xwininfo -name "- Plumora -" | grep -q IsViewable; }
told() { grep -q "takes no passwords" "$log"; }
wait_for 30 told || fail "no passwords: not told as such: $(cat "$log")"
wait_for 10 popup || { cat "$log" >&2; fail "no passwords: no pop-up"; }
! grep -q "refused the password" "$log" || fail "no passwords: taken for a wrong password"
[ "$(grep -c 'method=PLAIN' "$DOVECOT_LOG")" = 1 ] || fail "no passwords: Dovecot was asked more than once"
passed=$((passed + 1))
stop

echo "mail_oauth: $passed passed, 0 failed"
