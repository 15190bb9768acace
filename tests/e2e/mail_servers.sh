#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The mail check of the real program against a real Dovecot on the loopback address, all
# cases on one server: POP3 and IMAP, each on TLS from the start and with STARTTLS (the
# IMAP one found through the profile of the Flatpak mail program, not a leftover one), a
# wrong password (the pop-up asks for it), and a certificate the system does not trust
# (told; Dovecot saw no login). Then the keyring: with GNOME Keyring in a private session
# bus the password leaves the data file and the check still logs in; with no Secret
# Service at all it stays in the file.
# The program trusts the test CA through a private mount namespace over /etc/ssl/certs,
# and starts a few seconds before a minute boundary (libfaketime) so that its first tick,
# which starts the check, comes at once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dovecot.sh"
exe=$1 template=$2 certs=$3
trap 'dovecot_stop; e2e_cleanup' EXIT

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")
dovecot_start "$certs"

# The test CA as the only authority the program knows.
cadir=$E2E_DIR/cacerts
mkdir -p "$cadir" && cp "$certs/ca.pem" "$cadir/plumora-test-ca.pem" && openssl rehash "$cadir"

# A session bus with no services to start on demand, so that nothing but what the test
# starts answers as a keyring.
e2e_bare_session_conf "$E2E_DIR/session.conf"

# Preloaded rather than through faketime(1), which would stand between the test and the
# program's process id.
libfaketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1)
passed=0
log=$E2E_DIR/plumora.log
pidfile=$E2E_DIR/plumora.pid

# account TYPE PORT SSL PASSWORD [MailAuto]: a fresh data file checking every 2 minutes.
account() {
    cp "$template" "$program/data.plm"
    sqlite3 "$program/data.plm" <<SQL
UPDATE System SET NotifyAgo = 2, CheckMail = -1, CheckMailMin = 2, MailUser = 'ann',
    MailPOP3 = '127.0.0.1', MailType = '$1', MailPort = $2, MailSSL = $3, MailPwd = '$4',
    MailAuto = ${5:-0};
SQL
}

# start [trusted|untrusted] [keyring|nokeyring|nobus]: the program, seconds before a minute.
start() {
    local trust=$1 bus=${2:-nokeyring} at
    at=$(date +'%Y-%m-%d %H:%M:57')
    : >"$log"
    rm -f "$pidfile"
    local mount='exec "$@"'
    [ "$trust" = trusted ] && mount='mount --bind "$CADIR" /etc/ssl/certs && exec "$@"'
    local inner="echo \$\$ >'$pidfile'; exec unshare --mount --propagation private sh -c '$mount' sh env LD_PRELOAD='$libfaketime' FAKETIME='@$at' '$program/plumora'"
    case $bus in
    nobus) CADIR=$cadir QT_LOGGING_RULES="plumora.mail=true" sh -c "$inner" >"$log" 2>&1 & ;;
    nokeyring)
        CADIR=$cadir QT_LOGGING_RULES="plumora.mail=true" \
            dbus-run-session --config-file="$E2E_DIR/session.conf" -- sh -c "$inner" >"$log" 2>&1 & ;;
    keyring)
        CADIR=$cadir QT_LOGGING_RULES="plumora.mail=true" \
            dbus-run-session --config-file="$E2E_DIR/session.conf" -- sh -c "
                printf test | gnome-keyring-daemon --foreground --unlock --components=secrets \
                    >'$E2E_DIR/keyring.log' 2>&1 &
                echo \$! >'$E2E_DIR/keyring.pid'
                sleep 1
                $inner" >"$log" 2>&1 & ;;
    esac
    E2E_PIDS+=($!)
    wait_for 10 test -s "$pidfile" || fail "the program did not start"
}

stop() {
    local pid
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || true
    wait_for 10 sh -c "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true
    [ -f "$E2E_DIR/keyring.pid" ] && { kill "$(cat "$E2E_DIR/keyring.pid")" 2>/dev/null || true; rm -f "$E2E_DIR/keyring.pid"; }
    wait_for 5 sh -c "! xwininfo -root -tree | grep -q '\"- New e-mail -\"\|\"- Plumora -\"'" || true
}

notice() { xwininfo -name "- New e-mail -" | grep -q IsViewable; }
popup() { xwininfo -name "- Plumora -" | grep -q IsViewable; }
logins() { grep -c "Login: user=<ann>" "$DOVECOT_LOG" || true; }

# expect_count CASE COUNT: the notice shows COUNT after a login over TLS.
expect_count() {
    local name=$1 count=$2 before=$3
    wait_for 30 notice || { cat "$log" >&2; tail -5 "$DOVECOT_LOG" >&2; fail "$name: no notice"; }
    grep -q "showing $count new message" "$log" || fail "$name: the notice does not show $count: $(cat "$log")"
    [ "$(logins)" -gt "$before" ] || fail "$name: Dovecot saw no login"
    tail -n 20 "$DOVECOT_LOG" | grep "Login: user=<ann>" | tail -n 1 | grep -q "TLS" ||
        fail "$name: the login was not over TLS"
    passed=$((passed + 1))
}

# POP3 on TLS from the start: all three messages wait.
account pop3 "$POP3S_PORT" 3 secret
n=$(logins); start trusted
expect_count "POP3 SSL/TLS" 3 "$n"; stop

# POP3 with STARTTLS.
account pop3 "$POP3_PORT" 2 secret
n=$(logins); start trusted
expect_count "POP3 STARTTLS" 3 "$n"; stop

# IMAP on TLS from the start, as the profile of the mail program the user runs describes it
# (the Flatpak Thunderbird, beside a leftover ~/.thunderbird of another account): two unread.
flatpak=$HOME/.var/app/org.mozilla.Thunderbird/.thunderbird
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$flatpak/t.default" "$HOME/.thunderbird/o.default"
printf '[Default Applications]\nx-scheme-handler/mailto=org.mozilla.Thunderbird.desktop\n' \
    >"$XDG_CONFIG_HOME/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=Thunderbird\nExec=true\n' \
    >"$XDG_DATA_HOME/applications/org.mozilla.Thunderbird.desktop"
profile() { # ROOT FOLDER HOST
    printf '[Profile0]\nName=default\nIsRelative=1\nPath=%s\nDefault=1\n' "$2" >"$1/profiles.ini"
    cat >"$1/$2/prefs.js" <<PREFS
user_pref("mail.accountmanager.defaultaccount", "account1");
user_pref("mail.account.account1.server", "server1");
user_pref("mail.server.server1.type", "imap");
user_pref("mail.server.server1.userName", "ann");
user_pref("mail.server.server1.hostname", "$3");
user_pref("mail.server.server1.port", $IMAPS_PORT);
user_pref("mail.server.server1.socketType", 3);
PREFS
}
profile "$flatpak" t.default 127.0.0.1
profile "$HOME/.thunderbird" o.default old.example.org
account pop3 110 0 secret -1
sqlite3 "$program/data.plm" "UPDATE System SET MailType = 'imap', MailPort = $IMAPS_PORT, MailSSL = 3"
n=$(logins); start trusted
expect_count "IMAP SSL/TLS (discovered)" 2 "$n"
[ "$(sql_value "$program/data.plm" 'SELECT MailPwd FROM System')" = secret ] ||
    fail "discovery of the same account cleared its password"
stop
rm -rf "$HOME/.thunderbird" "$HOME/.var" "$XDG_CONFIG_HOME/mimeapps.list"

# IMAP with STARTTLS.
account imap "$IMAP_PORT" 2 secret
n=$(logins); start trusted
expect_count "IMAP STARTTLS" 2 "$n"; stop

# A wrong password: the pop-up asks for it.
account imap "$IMAP_PORT" 2 wrong
start trusted
wait_for 30 popup || { cat "$log" >&2; fail "wrong password: no pop-up"; }
grep -q "refused the password" "$log" || fail "wrong password: not refused as such: $(cat "$log")"
! notice || fail "wrong password: a notice came up"
passed=$((passed + 1)); stop

# A certificate the system does not trust: told once, and nothing after the handshake.
account imap "$IMAPS_PORT" 3 secret
lines=$(wc -l <"$DOVECOT_LOG"); n=$(logins)
start untrusted
wait_for 30 popup || { cat "$log" >&2; fail "untrusted certificate: no pop-up"; }
grep -q 'certificate of "127.0.0.1" refused' "$log" || fail "untrusted certificate: not logged: $(cat "$log")"
sleep 1
since=$(tail -n +"$((lines + 1))" "$DOVECOT_LOG")
[ "$(logins)" -eq "$n" ] || fail "untrusted certificate: Dovecot saw a login"
# Dovecot names a disconnection before any credentials "no auth attempts" or, when it comes
# during the handshake, "before auth was ready".
no_credentials='no auth attempts|before auth was ready'
! grep -qE "auth|LOGIN|PASS" <<<"$(grep -vE "$no_credentials" <<<"$since")" ||
    fail "untrusted certificate: Dovecot saw credentials: $since"
grep -qE "$no_credentials" <<<"$since" || fail "untrusted certificate: no connection seen: $since"
passed=$((passed + 1)); stop

# The keyring: the password leaves the data file, and the check still logs in.
account pop3 "$POP3S_PORT" 3 secret
n=$(logins); start trusted keyring
moved() { [ "$(sql_value "$program/data.plm" 'SELECT MailPwd || MailKeyring FROM System')" = "-1" ]; }
wait_for 20 moved || { cat "$log" "$E2E_DIR/keyring.log" >&2; fail "keyring: the password stayed in the data file"; }
expect_count "keyring" 3 "$n"; stop

# No Secret Service: the password stays in the data file, and the check logs in.
account pop3 "$POP3S_PORT" 3 secret
n=$(logins); start trusted nokeyring
expect_count "no keyring" 3 "$n"
[ "$(sql_value "$program/data.plm" 'SELECT MailPwd || MailKeyring FROM System')" = "secret0" ] ||
    fail "no keyring: the password did not stay in the data file"
grep -q "stays in the data file" "$log" || fail "no keyring: not logged: $(cat "$log")"
stop

echo "mail_servers: $passed passed, 0 failed"
