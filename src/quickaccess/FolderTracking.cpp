// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/FolderTracking.h"

#include "platform/MountTable.h"
#include "platform/RegularFile.h"
#include "quickaccess/QuickAccessLog.h"
#include "quickaccess/QuickAccessStore.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

Q_LOGGING_CATEGORY(lcQuickAccess, "plumora.quickaccess", QtCriticalMsg)

namespace {

// Folder identity ignores letter case, non-ASCII letters included.
QString identity(const QString& folder) {
    return folder.toCaseFolded();
}

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

bool isUnder(const QString& folder, const QString& mountPoint) {
    if (mountPoint == QLatin1String("/"))
        return true;
    return folder == mountPoint || folder.startsWith(mountPoint + u'/');
}

} // namespace

namespace FolderTracking {

QStringList floppyMountPoints(const QByteArray& mountInfo) {
    QStringList points;
    for (const MountTable::Mount& mount : MountTable::parse(mountInfo)) {
        const QString& source = mount.source;
        if (source.startsWith(QLatin1String("/dev/fd")) && source.size() > 7 && source[7].isDigit())
            points.append(mount.mountPoint);
    }
    return points;
}

QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return path;
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

Changes plan(const QList<RecentFiles::Entry>& entries, const QDate& today, const QList<Row>& rows,
             const Exclusions& exclusions, const std::function<bool(const QString&)>& isDirectory) {
    Changes changes;
    // The day each known folder was last counted, and its row (-1 for one added now).
    struct Known {
        qint64 rowId;
        QDate day;
    };
    QHash<QString, Known> known;
    known.reserve(rows.size());
    for (const Row& row : rows) {
        const QString key = identity(row.fullPath);
        if (!known.contains(key)) // the first row of a folder is the one that counts
            known.insert(key, {row.rowId, row.qaDate});
    }

    const QString desktop = identity(withoutTrailingSlash(exclusions.desktopFolder));
    // Today in local time as a span of instants, so that no stamp needs converting.
    const qint64 dayStart = today.startOfDay().toMSecsSinceEpoch();
    const qint64 dayEnd = today.addDays(1).startOfDay().toMSecsSinceEpoch();
    for (const RecentFiles::Entry& entry : entries) {
        const qint64 stamp = entry.modified.isValid() ? entry.modified.toMSecsSinceEpoch() : -1;
        if (stamp < dayStart || stamp >= dayEnd || entry.path.isEmpty())
            continue;
        // The recorded type settles it; the file system is asked only when there is none.
        if (entry.mimeType.isEmpty() ? isDirectory && isDirectory(entry.path)
                                     : entry.mimeType == QLatin1String("inode/directory"))
            continue;
        const QString folder = folderOf(entry.path);
        const QString key = identity(folder);
        if (!desktop.isEmpty() && key == desktop)
            continue;
        bool onFloppy = false;
        for (const QString& mountPoint : exclusions.floppyMountPoints)
            onFloppy = onFloppy || isUnder(folder, mountPoint);
        if (onFloppy)
            continue;

        const auto it = known.find(key);
        if (it == known.end()) {
            changes.added.append({-1, folder, 1, today});
            known.insert(key, {-1, today});
        } else if (!it->day.isValid() || it->day < today) {
            // A row whose date cannot be read is counted like an old one, not frozen.
            changes.counted.append(it->rowId);
            it->day = today;
        }
    }

    if (!entries.isEmpty()) {
        const QSet<qint64> counted(changes.counted.cbegin(), changes.counted.cend());
        for (const Row& row : rows) {
            if (row.qaDate.isValid() && row.qaDate.daysTo(today) > KeepDays &&
                !counted.contains(row.rowId))
                changes.removed.append(row.rowId);
        }
    }
    return changes;
}

} // namespace FolderTracking

FolderTracker::FolderTracker(Sources sources)
    : m_sources(std::move(sources)), m_listName(QFile::encodeName(m_sources.recentList)),
      m_dataName(QFile::encodeName(m_sources.dataFile)) {}

FolderTracker::Outcome FolderTracker::run(const QDate& today) {
    return run(today, fileState(m_dataName));
}

FolderTracker::Outcome FolderTracker::run(const QDate& today, const FileState& data) {
    const FileState list = fileState(m_listName);
    if (today == m_lastDay && list == m_list && data == m_data)
        return Outcome::Idle;
    m_dataBefore = data;
    const auto remember = [&](const FileState& dataAfter) {
        m_lastDay = today;
        m_list = list;
        m_data = dataAfter;
    };

    const std::optional<QList<RecentFiles::Entry>> read =
        m_reader.read(m_sources.recentList, {list.inode, list.size, list.modifiedNs});
    if (!read)
        return Outcome::Reading;
    const QList<RecentFiles::Entry>& entries = *read;
    if (entries.isEmpty()) {
        remember(data);
        return Outcome::Unchanged;
    }
    FolderTracking::Exclusions exclusions{m_sources.desktopFolder, {}};
    if (const auto mounts = RegularFile::read(m_sources.mountInfo, 16 * 1024 * 1024))
        exclusions.floppyMountPoints = FolderTracking::floppyMountPoints(*mounts);

    QuickAccessStore store(m_sources.dataFile, m_sources.changes);
    QList<FolderTracking::Row> rows;
    if (!store.allRows(rows))
        return Outcome::Failed;
    const FolderTracking::Changes changes =
        FolderTracking::plan(entries, today, rows, exclusions,
                             [](const QString& path) { return QFileInfo(path).isDir(); });
    if (changes.isEmpty()) {
        remember(data);
        return Outcome::Unchanged;
    }
    if (!store.apply(changes, today))
        return Outcome::Failed;
    remember(fileState(m_dataName));
    return Outcome::Written;
}
