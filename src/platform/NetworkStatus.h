// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the machine can reach the network at all; asked only by work that is due.
class NetworkStatus {
public:
    virtual ~NetworkStatus() = default;
    virtual bool isOnline() = 0;
};
