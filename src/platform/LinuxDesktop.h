// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DesktopShell.h"
#include "platform/NetworkStatus.h"

// Opening addresses with xdg-open, starting programs without a shell, and the XDG user
// folders.
class LinuxDesktopShell final : public DesktopShell {
public:
    bool openUrl(const QString& address) override;
    bool startProgram(const QString& program, const QStringList& arguments,
                      const QString& workingFolder = {}) override;
    QString specialFolderPath(SpecialFolder folder) const override;
};

// Reachability from the system's network backend when one loads, else whether a
// non-loopback interface is up with an address.
class LinuxNetworkStatus final : public NetworkStatus {
public:
    bool isOnline() override;
};
