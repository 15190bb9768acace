// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/RecentListWatch.h"

#include "quickaccess/QuickAccessLog.h"

#include <QFileInfo>

RecentListWatch::RecentListWatch(QString listPath, QObject* parent)
    : QObject(parent), m_path(std::move(listPath)) {
    renew();
    if (!m_watching)
        qCWarning(lcQuickAccess)
            << "the recent-files folder cannot be watched; looked at each minute";
    const auto noticed = [this] {
        renew();
        Q_EMIT changed();
    };
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, noticed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, noticed);
}

void RecentListWatch::renew() {
    // The folder's notices catch a list made or replaced, the file's one written in place.
    // Until the folder is made, the nearest one above it that exists is watched instead.
    QString watched = QFileInfo(m_path).absolutePath();
    while (!QFileInfo(watched).isDir()) {
        const QString up = QFileInfo(watched).path();
        if (up == watched)
            break;
        watched = up;
    }
    if (!m_watcher.directories().contains(watched)) {
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        m_watching = m_watcher.addPath(watched);
    }
    // A replaced file is a new one: its watch went with the old.
    if (m_watching && !m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
}
