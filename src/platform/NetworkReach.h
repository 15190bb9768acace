// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

// Whether the machine is online, from what the system already knows: NetworkManager's
// state when it runs, else whether the kernel has a default route (what the desktop's own
// network monitor goes by). Read on demand, so a session whose jobs never need the network
// loads no network-information backend at all.
namespace NetworkReach {

// NetworkManager's NMState: online for a connection to the internet or to a site, offline
// for any other known state, nothing when it does not know (0, or a value it may add).
std::optional<bool> fromManagerState(uint state);

// Whether a routing table as /proc/net/route or /proc/net/ipv6_route shows it holds a
// default route that is up, on an interface other than loopback and not a refusal.
bool hasDefaultRoute(const QByteArray& ipv4Table, const QByteArray& ipv6Table);

} // namespace NetworkReach
