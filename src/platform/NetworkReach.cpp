// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NetworkReach.h"

#include <QList>

namespace {

constexpr uint RouteUp = 0x0001;     // RTF_UP
constexpr uint RouteReject = 0x0200; // RTF_REJECT

bool usable(uint flags, const QByteArray& interface) {
    return (flags & RouteUp) && !(flags & RouteReject) && interface != "lo";
}

// /proc/net/route: "Iface Destination Gateway Flags RefCnt Use Metric Mask ...", a header
// line first, numbers in hexadecimal.
bool ipv4Default(const QByteArray& table) {
    const QList<QByteArray> lines = table.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].simplified().split(' ');
        if (f.size() < 8)
            continue;
        bool ok = false;
        const uint flags = f[3].toUInt(&ok, 16);
        if (ok && f[1].toUInt(nullptr, 16) == 0 && f[7].toUInt(nullptr, 16) == 0 &&
            f[1].size() == 8 && usable(flags, f[0]))
            return true;
    }
    return false;
}

// /proc/net/ipv6_route: "dest prefix source prefix next-hop metric refs use flags iface",
// no header.
bool ipv6Default(const QByteArray& table) {
    static const QByteArray Anywhere(32, '0');
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 10 || f[0] != Anywhere || f[1] != "00")
            continue;
        bool ok = false;
        const uint flags = f[8].toUInt(&ok, 16);
        if (ok && usable(flags, f[9]))
            return true;
    }
    return false;
}

} // namespace

std::optional<bool> NetworkReach::fromManagerState(uint state) {
    switch (state) {
    case 60: // NM_STATE_CONNECTED_SITE
    case 70: // NM_STATE_CONNECTED_GLOBAL
        return true;
    case 10: // asleep
    case 20: // disconnected
    case 30: // disconnecting
    case 40: // connecting
    case 50: // connected, but only to the local network
        return false;
    default:
        return std::nullopt;
    }
}

bool NetworkReach::hasDefaultRoute(const QByteArray& ipv4Table, const QByteArray& ipv6Table) {
    return ipv4Default(ipv4Table) || ipv6Default(ipv6Table);
}
