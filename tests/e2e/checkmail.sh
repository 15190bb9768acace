#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The new-mail check of the real program against a POP3 stub on the loopback address: the
# mail program is a stand-in Thunderbird whose profile names the stub's account, the first
# minute tick asks the stub, and "- New e-mail -" appears in the bottom-right corner with
# the count. A click on it starts the mail program and closes it.
source "$(dirname "$0")/lib.sh"
exe=$1 template=$2
stub="$(dirname "$0")/pop3_stub.py"

e2e_start_desktop
program=$(e2e_program_folder "$exe" "$template")

python3 "$stub" "$E2E_DIR/pop3.port" "$E2E_DIR/pop3.log" 3 secret &
E2E_PIDS+=($!)
wait_for 10 test -s "$E2E_DIR/pop3.port" || fail "the POP3 stub did not start"
port=$(cat "$E2E_DIR/pop3.port")

# The default mail program and its POP3 account on the stub's port, as start-up finds them.
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$HOME/.thunderbird/test.default"
printf '[Default Applications]\nx-scheme-handler/mailto=thunderbird.desktop\n' \
    >"$XDG_CONFIG_HOME/mimeapps.list"
cat >"$program/mail-program" <<SCRIPT
#!/bin/sh
echo started >>"$E2E_DIR/mail-program.log"
SCRIPT
chmod +x "$program/mail-program"
printf '[Desktop Entry]\nType=Application\nName=Thunderbird\nExec=%s %%u\n' \
    "$program/mail-program" >"$XDG_DATA_HOME/applications/thunderbird.desktop"
printf '[Profile0]\nName=default\nIsRelative=1\nPath=test.default\nDefault=1\n' \
    >"$HOME/.thunderbird/profiles.ini"
cat >"$HOME/.thunderbird/test.default/prefs.js" <<PREFS
user_pref("mail.accountmanager.defaultaccount", "account1");
user_pref("mail.account.account1.server", "server1");
user_pref("mail.server.server1.type", "pop3");
user_pref("mail.server.server1.userName", "ann");
user_pref("mail.server.server1.hostname", "127.0.0.1");
user_pref("mail.server.server1.port", $port);
PREFS

cp "$template" "$program/data.plm"
sqlite3 "$program/data.plm" <<SQL
UPDATE System SET NotifyAgo = 2, CheckMail = -1, CheckMailMin = 2, MailUser = 'ann',
    MailPOP3 = '127.0.0.1', MailPort = $port, MailPwd = ' secret ';
SQL

# The program's clock starts shortly before a minute: its first tick comes soon after.
e2e_clock_before_minute 15
QT_LOGGING_RULES="plumora.mail=true" \
    env "${E2E_CLOCK[@]}" "$program/plumora" >"$E2E_DIR/plumora.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)

# Shown means mapped: the window may exist, titled, a moment before it is on screen.
notice() { xwininfo -name "- New e-mail -" | grep -q IsViewable; }
wait_for 40 notice || { cat "$E2E_DIR/plumora.log" >&2; fail "no '- New e-mail -' window"; }
grep -q "showing 3 new message" "$E2E_DIR/plumora.log" ||
    fail "the notice does not show 3: $(cat "$E2E_DIR/plumora.log")"
dialogue() { [ "$(tr '\n' '|' <"$E2E_DIR/pop3.log")" = "CAPA|USER ann|PASS secret|STAT|QUIT|" ]; }
wait_for 20 dialogue ||
    fail "the stub was sent: $(tr '\n' '|' <"$E2E_DIR/pop3.log")"
# The check loaded the network module, which start-up does not.
grep -q libplumora_net.so "/proc/$pid/maps" || fail "the mail check did not load the network module"

geometry=$(xwininfo -name "- New e-mail -")
x=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$geometry")
width=$(awk '/Width:/ { print $NF }' <<<"$geometry")
[ $((x + width)) -eq 1280 ] || fail "the notice's right edge is at $((x + width)), not 1280"

xdotool mousemove --window "$(xdotool search --name '^- New e-mail -$' | head -n 1)" 20 20 click 1
wait_for 10 test -s "$E2E_DIR/mail-program.log" || fail "a click did not start the mail program"
gone() { ! xwininfo -root -tree | grep -q '"- New e-mail -"'; }
wait_for 20 gone || fail "the notice stayed after the click"
echo "checkmail: 1 passed, 0 failed"
