// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MountTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The kernel writes blanks, tabs, newlines and backslashes in paths as \ooo.
QString unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

bool isNetworkType(const QString& type) {
    static const QStringList exact = {
        QStringLiteral("nfs"),       QStringLiteral("nfs4"),   QStringLiteral("cifs"),
        QStringLiteral("smb3"),      QStringLiteral("smbfs"),  QStringLiteral("ncpfs"),
        QStringLiteral("9p"),        QStringLiteral("afs"),    QStringLiteral("ceph"),
        QStringLiteral("glusterfs"), QStringLiteral("lustre"), QStringLiteral("coda"),
        QStringLiteral("davfs"),     QStringLiteral("sshfs"),  QStringLiteral("ftpfs")};
    // FUSE file systems that reach other machines (GVfs serves remote shares too).
    static const QStringList fuse = {QStringLiteral("sshfs"),    QStringLiteral("davfs2"),
                                     QStringLiteral("rclone"),   QStringLiteral("s3fs"),
                                     QStringLiteral("gcsfuse"),  QStringLiteral("glusterfs"),
                                     QStringLiteral("cephfs"),   QStringLiteral("curlftpfs"),
                                     QStringLiteral("smbnetfs"), QStringLiteral("gvfsd-fuse")};
    if (exact.contains(type))
        return true;
    if (type.startsWith(QLatin1String("fuse.")))
        return fuse.contains(type.mid(5));
    return false;
}

bool isUnder(const QString& path, const QString& folder) {
    if (folder == QLatin1String("/"))
        return path.startsWith(u'/');
    return path == folder || path.startsWith(folder + u'/');
}

} // namespace

MountTable::MountTable(QString mountInfoPath, QString sysBlockPath)
    : m_mountInfoPath(std::move(mountInfoPath)), m_sysBlockPath(std::move(sysBlockPath)) {}

QList<MountTable::Mount> MountTable::parse(const QByteArray& mountInfo) {
    QList<Mount> mounts;
    for (const QByteArray& line : mountInfo.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super
        const QList<QByteArray> f = line.simplified().split(' ');
        const qsizetype dash = f.indexOf("-", 6);
        if (f.size() < 6 || dash < 0 || dash + 2 >= f.size())
            continue;
        mounts.append({unescape(f[4]), unescape(f[dash + 1]), unescape(f[dash + 2])});
    }
    return mounts;
}

bool MountTable::isNetwork(const Mount& mount) {
    if (isNetworkType(mount.fsType))
        return true;
    const QString& src = mount.source;
    return src.startsWith(QLatin1String("//")) ||
           (!src.startsWith(u'/') && src.contains(QLatin1String(":/")));
}

std::optional<MountTable::Mount> MountTable::mountOf(const QString& path) const {
    QFile file(m_mountInfoPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QFileInfo info(path);
    const QString resolved =
        info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());

    std::optional<Mount> best;
    for (const Mount& m : parse(file.readAll())) {
        // Later lines are mounted over earlier ones at the same place.
        if (isUnder(resolved, m.mountPoint) &&
            (!best || m.mountPoint.size() >= best->mountPoint.size()))
            best = m;
    }
    return best;
}

bool MountTable::isRemovableDevice(const QString& source) const {
    if (!source.startsWith(QLatin1String("/dev/")))
        return false;
    // /dev/disk/by-label/..., /dev/mapper/... are links to the kernel's own name.
    const QFileInfo dev(source);
    const QString real = dev.exists() ? dev.canonicalFilePath() : source;
    return isRemovableBlock(QFileInfo(real).fileName(), 0);
}

bool MountTable::isRemovableBlock(const QString& name, int depth) const {
    if (name.isEmpty() || depth > 4)
        return false;
    const QDir block(m_sysBlockPath);
    if (block.exists(name)) {
        QFile flag(block.filePath(name + QStringLiteral("/removable")));
        if (flag.open(QIODevice::ReadOnly) && flag.readAll().trimmed() == "1")
            return true;
        // A mapped or RAID device lies on removable media when any of its parts does.
        const QDir slaves(block.filePath(name + QStringLiteral("/slaves")));
        const QStringList parts = slaves.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        return std::any_of(parts.begin(), parts.end(),
                           [&](const QString& part) { return isRemovableBlock(part, depth + 1); });
    }
    // A partition is listed inside its disk's folder.
    const QStringList disks = block.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& disk : disks) {
        if (QFileInfo::exists(block.filePath(disk + u'/' + name)))
            return isRemovableBlock(disk, depth + 1);
    }
    return false;
}

bool MountTable::isFixedLocalDisk(const QString& path) const {
    const std::optional<Mount> mount = mountOf(path);
    if (!mount || isNetwork(*mount))
        return false;
    if (isUnder(mount->mountPoint, QStringLiteral("/media")) ||
        isUnder(mount->mountPoint, QStringLiteral("/run/media")))
        return false;
    return !isRemovableDevice(mount->source);
}
