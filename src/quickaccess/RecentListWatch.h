// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// Tells when the recent-files list may have changed, from the kernel's notices: the file
// written in place, or replaced, made or removed in its folder (as desktops write it).
class RecentListWatch final : public QObject {
    Q_OBJECT
public:
    explicit RecentListWatch(QString listPath, QObject* parent = nullptr);
    // Whether the notices come; false where the folder cannot be watched.
    bool watching() const { return m_watching; }

Q_SIGNALS:
    void changed();

private:
    void renew();

    QString m_path;
    QFileSystemWatcher m_watcher;
    bool m_watching = false;
};
