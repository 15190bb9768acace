# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by end-to-end tests: a private Dovecot on 127.0.0.1, started as root with its own
# configuration in a temporary folder, on free high ports. Its one user "ann" (password
# "secret") has three messages in INBOX, one of them read. Needs lib.sh and the test CA
# (tests/data/mail).
#
# dovecot_start DATA_DIR: starts it and sets DOVECOT_DIR, DOVECOT_LOG and the ports
# IMAP_PORT (STARTTLS), IMAPS_PORT, POP3_PORT (STLS) and POP3S_PORT. A test may define
# dovecot_auth, which prints the auth_mechanisms line and passdb blocks to use instead of
# the password file (DOVECOT_DIR is set when it runs).

dovecot_free_ports() {
    python3 - "$1" <<'PY'
import socket, sys
socks = [socket.socket() for _ in range(int(sys.argv[1]))]
for s in socks:
    s.bind(("127.0.0.1", 0))
print(" ".join(str(s.getsockname()[1]) for s in socks))
PY
}

dovecot_start() {
    local certs=$1 uid=65534 gid=65534
    # Outside the test's private folder, which the mail user could not enter.
    DOVECOT_DIR=$(mktemp -d /tmp/plumora-dovecot.XXXXXX)
    chmod 755 "$DOVECOT_DIR"
    DOVECOT_LOG=$DOVECOT_DIR/dovecot.log
    read -r IMAP_PORT IMAPS_PORT POP3_PORT POP3S_PORT <<<"$(dovecot_free_ports 4)"
    install -m 0644 "$certs/server.pem" "$DOVECOT_DIR/server.pem"
    install -m 0600 "$certs/server.key" "$DOVECOT_DIR/server.key"
    printf 'ann:{PLAIN}secret::::::\n' >"$DOVECOT_DIR/passwd"

    local box=$DOVECOT_DIR/home/ann/Maildir i
    mkdir -p "$box/cur" "$box/new" "$box/tmp"
    for i in 1 2 3; do
        printf 'From: bob@example.org\r\nTo: ann@example.org\r\nSubject: note %s\r\n' "$i" \
            >"$box/new/1700000000.M$i.plumora"
        printf 'Date: Mon, 7 Dec 2026 10:00:00 +0000\r\n\r\nHello %s.\r\n' "$i" \
            >>"$box/new/1700000000.M$i.plumora"
    done
    # The first one has been read.
    mv "$box/new/1700000000.M1.plumora" "$box/cur/1700000000.M1.plumora:2,S"
    chown -R "$uid:$gid" "$DOVECOT_DIR/home"

    local auth="auth_mechanisms = plain
passdb {
  driver = passwd-file
  args = scheme=PLAIN $DOVECOT_DIR/passwd
}"
    if declare -F dovecot_auth >/dev/null; then auth=$(dovecot_auth); fi
    cat >"$DOVECOT_DIR/dovecot.conf" <<CONF
base_dir = $DOVECOT_DIR/run
state_dir = $DOVECOT_DIR/state
instance_name = plumora-test-$$
log_path = $DOVECOT_LOG
protocols = imap pop3
listen = 127.0.0.1
ssl = yes
ssl_cert = <$DOVECOT_DIR/server.pem
ssl_key = <$DOVECOT_DIR/server.key
disable_plaintext_auth = yes
$auth
auth_verbose = yes
login_trusted_networks =
mail_location = maildir:~/Maildir
pop3_uidl_format = %f
userdb {
  driver = static
  args = uid=$uid gid=$gid home=$DOVECOT_DIR/home/%u
}
service imap-login {
  inet_listener imap {
    port = $IMAP_PORT
  }
  inet_listener imaps {
    port = $IMAPS_PORT
    ssl = yes
  }
}
service pop3-login {
  inet_listener pop3 {
    port = $POP3_PORT
  }
  inet_listener pop3s {
    port = $POP3S_PORT
    ssl = yes
  }
}
service anvil {
  chroot =
}
service stats {
  unix_listener stats-reader {
    mode = 0600
  }
  unix_listener stats-writer {
    mode = 0666
  }
}
CONF
    dovecot -F -c "$DOVECOT_DIR/dovecot.conf" >>"$DOVECOT_LOG" 2>&1 &
    E2E_PIDS+=($!)
    dovecot_listening() {
        local port
        for port in $IMAP_PORT $IMAPS_PORT $POP3_PORT $POP3S_PORT; do
            (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || return 1
        done
    }
    wait_for 15 dovecot_listening || { cat "$DOVECOT_LOG" >&2; fail "Dovecot did not start"; }
}

dovecot_stop() {
    [ -n "${DOVECOT_DIR:-}" ] || return 0
    doveadm -c "$DOVECOT_DIR/dovecot.conf" stop >/dev/null 2>&1 || true
    rm -rf "$DOVECOT_DIR"
}
