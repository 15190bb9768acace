#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages one make command needs, and only when one of them is
# missing (so repeated builds stay offline).
#
#   install-deps.sh [run|package|test]   installs the set of that command (run by default)
#   install-deps.sh --list SET           prints the packages of SET, one a line, and the
#                                        servers among them after "services:"; installs nothing
#
# run:     what building and running Plumora need (make run, make build)
# package: run, and what makes the Debian package (make package)
# test:    run, and the tools and servers the tests start (make test, make bench, make sanitize)
#
# The test servers (Dovecot, Radicale) are installed with their system services kept from
# starting, and left disabled: the tests start their own instances on 127.0.0.1.
set -euo pipefail

# Building and running.
run_packages=(
    build-essential cmake pkg-config python3
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6sql6-sqlite qt6-qpa-plugins
    libgl-dev libvulkan-dev libx11-dev libxcb1-dev libsqlite3-dev
    libhunspell-dev hunspell-en-us
    libical-dev qtkeychain-qt6-dev
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    xdg-utils
)
# The Debian package.
package_packages=(dpkg-dev)
# The tests' tools: a private X server with a window manager and trays (XEmbed and D-Bus), a
# fake clock, a keyring, the fuzzing compiler, the benchmark library and valgrind (the bench
# counts an idle minute under callgrind), a second calendar device (khal with vdirsyncer) and
# what the scripts call.
test_packages=(
    libbenchmark-dev valgrind jq clang libclang-rt-14-dev
    xvfb xauth openbox trayer xfce4-panel xdotool x11-utils x11-xserver-utils sqlite3 dbus-daemon
    at-spi2-core
    desktop-file-utils appstream libglib2.0-bin
    faketime openssl curl python3-icalendar python3-dbus python3-gi python3-dbusmock
    gnome-keyring libsecret-tools vdirsyncer khal
)
# Servers the tests start on loopback; Debian would start and enable their services.
service_packages=(dovecot-pop3d dovecot-imapd radicale)
# The system services those packages bring.
services=(dovecot radicale)

set_packages() {
    case $1 in
    run) packages=("${run_packages[@]}") ;;
    package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}"
        "${service_packages[@]}") ;;
    *)
        echo "install-deps.sh: unknown set '$1' (run, package or test)" >&2
        exit 2
        ;;
    esac
}

if [ "${1:-}" = --list ]; then
    set_packages "${2:-run}"
    printf '%s\n' "${packages[@]}"
    for p in "${packages[@]}"; do
        [[ " ${service_packages[*]} " == *" $p "* ]] && echo "services: $p"
    done
    exit 0
fi
set_packages "${1:-run}"

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

# A server among them: its service must not start during the install (a policy-rc.d that
# denies every start, honoured by invoke-rc.d and deb-systemd-invoke), and stays disabled.
new_server=0
for p in "${missing[@]}"; do
    [[ " ${service_packages[*]} " == *" $p "* ]] && new_server=1
done
policy=${PLUMORA_POLICY_RC_D:-/usr/sbin/policy-rc.d} # another place: the script's own test
own_policy=0
if [ $new_server = 1 ] && [ ! -e "$policy" ]; then
    printf '#!/bin/sh\n# Written by Plumora'"'"'s install-deps.sh during an install.\nexit 101\n' |
        "${sudo_cmd[@]}" tee "$policy" >/dev/null
    "${sudo_cmd[@]}" chmod 755 "$policy"
    own_policy=1
fi
remove_policy() {
    [ $own_policy = 1 ] && "${sudo_cmd[@]}" rm -f "$policy"
    own_policy=0
}
trap remove_policy EXIT

"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
remove_policy

if [ $new_server = 1 ]; then
    for s in "${services[@]}"; do
        # With systemd running, stopped too; without it, disabled for the next boot.
        if [ -d /run/systemd/system ]; then
            "${sudo_cmd[@]}" systemctl disable --now "$s.service" >/dev/null 2>&1 || true
        elif command -v systemctl >/dev/null; then
            "${sudo_cmd[@]}" systemctl disable "$s.service" >/dev/null 2>&1 || true
        fi
        if [ -x "/etc/init.d/$s" ]; then
            "${sudo_cmd[@]}" update-rc.d "$s" disable >/dev/null 2>&1 || true
        fi
    done
    echo "The test servers' services (${services[*]}) are disabled; the tests start their own."
fi
