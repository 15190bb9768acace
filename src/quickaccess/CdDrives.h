// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MountTable.h"
#include "quickaccess/LaunchCommand.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The CD drives the kernel knows, where their discs are mounted, and what a disc asks to
// run when the user chooses "AutoPlay".
namespace CdDrives {

struct Drive {
    QString device; // "/dev/sr0"
    bool canOpenTray = true;
    bool canCloseTray = true;
};

// The drives of a /proc/sys/dev/cdrom/info text, in device-name order.
QList<Drive> parse(const QByteArray& info);
// The same from a file; none when it is missing (no CD driver loaded).
QList<Drive> list(const QString& infoPath = QStringLiteral("/proc/sys/dev/cdrom/info"));

// Where `device` is mounted, "" when it is not.
QString mountPointOf(const QString& device, const QList<MountTable::Mount>& mounts);

// The "open=" value of the "[autorun]" section of an autorun.inf text (names in any
// letter case, surrounding quotes removed), "" when there is none.
QString autorunInfOpen(const QByteArray& inf);

// The program a disc mounted at `mountPoint` starts: autorun.inf's "open=" (a path inside
// the disc), else the first of ".autorun", "autorun", "autorun.sh" (run by /bin/sh when
// it is not executable). Invalid when the disc has none.
LaunchCommand autorunOf(const QString& mountPoint);

} // namespace CdDrives
