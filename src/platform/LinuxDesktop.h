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

// Online by NetworkManager's state when it runs, else by the kernel's default route
// (NetworkReach); asked only when a job needs the network.
class LinuxNetworkStatus final : public NetworkStatus {
public:
    bool isOnline() override;
};
