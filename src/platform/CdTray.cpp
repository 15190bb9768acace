// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CdTray.h"

#include <QFile>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool trayRequest(const QString& device, unsigned long request) {
    // O_NONBLOCK lets the device open with no disc in the drive.
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::ioctl(fd, request, 0) == 0;
    ::close(fd);
    return ok;
}

} // namespace

namespace CdTray {

bool eject(const QString& device) {
    return trayRequest(device, CDROMEJECT);
}
bool close(const QString& device) {
    return trayRequest(device, CDROMCLOSETRAY);
}

} // namespace CdTray
