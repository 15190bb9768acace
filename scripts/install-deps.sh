#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Plumora needs to build, run and test,
# and only when one of them is missing (so repeated builds stay offline).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6sql6-sqlite qt6-qpa-plugins
    libgl-dev libvulkan-dev
    libhunspell-dev hunspell-en-us
    libbenchmark-dev libx11-dev jq
    clang libclang-rt-14-dev
    xvfb xauth trayer xdotool x11-utils sqlite3 libsqlite3-dev dbus-daemon at-spi2-core
    desktop-file-utils appstream dpkg-dev
    libical-dev qtkeychain-qt6-dev
    openbox faketime openssl curl python3-icalendar python3-dbus python3-gi
    dovecot-pop3d dovecot-imapd gnome-keyring libsecret-tools radicale vdirsyncer khal
)

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
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
