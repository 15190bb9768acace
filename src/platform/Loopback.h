// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a URL's host names this computer: "localhost", or a loopback address (127.0.0.0/8,
// ::1, or an IPv4 loopback address written as IPv6).
bool isLoopbackHost(const QString& host);
