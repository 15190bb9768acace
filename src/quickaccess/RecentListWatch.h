// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QuietReadNotifier;

// Tells when the recent-files list may have changed, from the kernel's notices on its
// folder: the list written in place, or made, replaced or removed there (desktops write it
// beside and rename it over). Until the folder is made, the nearest one above it that
// exists is watched instead, for the folders made on the way.
class RecentListWatch final : public QObject {
    Q_OBJECT
public:
    explicit RecentListWatch(QString listPath, QObject* parent = nullptr);
    ~RecentListWatch() override;
    // Whether the notices come; false where the folder cannot be watched.
    bool watching() const { return m_watch >= 0; }

Q_SIGNALS:
    void changed();

private:
    // Watches the list's folder, or the nearest one above it; true when that changed.
    bool renew();
    void readNotices();

    QString m_path;
    QByteArray m_name; // the list's file name, as the kernel's notices give it
    int m_inotify = -1;
    int m_watch = -1;
    QString m_watched;     // the folder watched
    bool m_atList = false; // whether that is the list's own folder
    QuietReadNotifier* m_notifier = nullptr;
};
