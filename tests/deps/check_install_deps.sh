#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/install-deps.sh: `make run` gets no test server or test tool, `make test` gets
# them, and a test server is installed with its service denied every start and disabled
# afterwards. apt-get, dpkg-query, systemctl and update-rc.d are stand-ins that log.
set -euo pipefail
script=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

list() { bash "$script" --list "$1" | grep -v '^services: '; }
run=$(list run) test=$(list test) package=$(list package)

# What only the tests need.
for p in dovecot-pop3d dovecot-imapd radicale clang xvfb openbox trayer faketime gnome-keyring \
    xdotool libbenchmark-dev; do
    grep -qx "$p" <<<"$run" && fail "make run would install $p"
    grep -qx "$p" <<<"$package" && fail "make package would install $p"
    grep -qx "$p" <<<"$test" || fail "make test would not install $p"
done
# What building and running need, in every set.
for p in build-essential cmake qt6-base-dev libical-dev qtkeychain-qt6-dev libqt6sql6-sqlite \
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n; do
    for set in run package test; do
        grep -qx "$p" <<<"$(list $set)" || fail "make $set would not install $p"
    done
done
grep -qx dpkg-dev <<<"$package" || fail "make package would not install dpkg-dev"
[ "$(bash "$script" --list test | sed -n 's/^services: //p' | sort | tr '\n' ' ')" = \
    "dovecot-imapd dovecot-pop3d radicale " ] || fail "the servers of the test set are not marked"
bash "$script" --list nonsense >/dev/null 2>&1 && fail "an unknown set was accepted"

# An install with stand-ins: nothing is installed yet.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/bin"
export PLUMORA_POLICY_RC_D=$dir/policy-rc.d LOG=$dir/log
cat >"$dir/bin/dpkg-query" <<'SH'
#!/bin/sh
exit 1
SH
cat >"$dir/bin/apt-get" <<'SH'
#!/bin/sh
echo "apt-get $*" >>"$LOG"
# What the maintainer scripts would be told about starting a service.
if [ "$1" = install ]; then
    if [ -x "$PLUMORA_POLICY_RC_D" ]; then
        "$PLUMORA_POLICY_RC_D" dovecot start; echo "policy $?" >>"$LOG"
    else
        echo "policy none" >>"$LOG"
    fi
fi
SH
for tool in systemctl update-rc.d id sudo; do
    printf '#!/bin/sh\necho "%s $*" >>"$LOG"\n' "$tool" >"$dir/bin/$tool"
done
# As root, so that no sudo is asked for.
printf '#!/bin/sh\necho 0\n' >"$dir/bin/id"
chmod +x "$dir/bin/"*
install_set() {
    : >"$LOG"
    PATH="$dir/bin:$PATH" bash "$script" "$1" >/dev/null
}

install_set run
grep -q "^apt-get install .*build-essential" "$LOG" || fail "run: nothing installed: $(cat "$LOG")"
grep -qE "dovecot|radicale|xvfb" "$LOG" && fail "run: a test package or service touched: $(cat "$LOG")"
grep -qx "policy none" "$LOG" || fail "run: a start policy was left in place: $(cat "$LOG")"

install_set test
grep -q "^apt-get install .*dovecot-imapd.*radicale" "$LOG" || fail "test: servers not installed: $(cat "$LOG")"
grep -qx "policy 101" "$LOG" || fail "test: service starts were not denied during the install: $(cat "$LOG")"
[ -e "$PLUMORA_POLICY_RC_D" ] && fail "test: the start policy stayed after the install"
for s in dovecot radicale; do
    grep -q "^systemctl disable.* $s.service" "$LOG" || fail "test: $s.service not disabled: $(cat "$LOG")"
done

# A start policy of the system's own stays as it was.
printf '#!/bin/sh\nexit 0\n' >"$PLUMORA_POLICY_RC_D" && chmod +x "$PLUMORA_POLICY_RC_D"
install_set test
grep -qx "policy 0" "$LOG" || fail "an existing start policy was replaced: $(cat "$LOG")"
[ -e "$PLUMORA_POLICY_RC_D" ] || fail "an existing start policy was removed"
echo "install_deps: all passed"
