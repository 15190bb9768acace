// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The mounted file systems, read from the kernel's mount table, and the test whether a
// file lies on a local, non-removable disk. The table and the block-device folder are
// read afresh on every question (mounts come and go) and their paths can be changed, so
// tests hand in tables of their own.
class MountTable {
public:
    struct Mount {
        QString mountPoint;
        QString fsType;
        QString source;
    };

    explicit MountTable(QString mountInfoPath = QStringLiteral("/proc/self/mountinfo"),
                        QString sysBlockPath = QStringLiteral("/sys/block"));

    // The lines of a mountinfo table, in order.
    static QList<Mount> parse(const QByteArray& mountInfo);
    // A network file system by its type or its source ("host:/path", "//host/share").
    static bool isNetwork(const Mount& mount);

    // The mount that holds `path` (symbolic links resolved when the file exists).
    std::optional<Mount> mountOf(const QString& path) const;
    // Whether a block device ("/dev/sdb1") is, or lies on, removable media.
    bool isRemovableDevice(const QString& source) const;
    // A local file system on a non-removable device. Anything that cannot be told is not.
    bool isFixedLocalDisk(const QString& path) const;

private:
    bool isRemovableBlock(const QString& name, int depth) const;

    QString m_mountInfoPath;
    QString m_sysBlockPath;
};
