// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The desktop's list of recently used files (the freedesktop recently-used.xbel that
// GTK and most toolkits write): each bookmark of a local file with the time it was last
// touched. Other schemes are left out. A missing, unreadable or damaged list gives the
// entries read before the damage, never an error.
namespace RecentFiles {

inline constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

struct Entry {
    QString path;       // local path, percent-encoding decoded
    QDateTime modified; // the later of "modified" and "visited", in UTC
    QString mimeType;   // "inode/directory" for folders; empty when not recorded
};

// $XDG_DATA_HOME/recently-used.xbel (by default ~/.local/share/).
QString defaultPath();

QList<Entry> parse(const QByteArray& xbel);
QList<Entry> read(const QString& path);

} // namespace RecentFiles
