// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/WallpaperStore.h"

#include "data/DataFile.h"
#include "wallpaper/WallpaperLog.h"

#include <QDir>
#include <QFileInfo>

std::optional<QStringList> WallpaperStore::files() {
    QStringList paths;
    DataFile db = open();
    if (!db.forEach(QStringLiteral("SELECT wpFile FROM WPaper ORDER BY rowid"), {},
                    [&](DataFile::Row q) {
                        paths.append(q.value(0).toString());
                        return true;
                    })) {
        fail(QStringLiteral("reading the wallpaper list"), db.lastError());
        return std::nullopt;
    }
    m_error.clear();
    return paths;
}

bool WallpaperStore::replace(const QStringList& paths) {
    DataFile db = open();
    Transaction t(db);
    if (!t.isActive() || !db.exec(QStringLiteral("DELETE FROM WPaper")))
        return fail(QStringLiteral("writing the wallpaper list"), db.lastError());
    for (const QString& path : paths) {
        if (!db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES (?)"), {path}))
            return fail(QStringLiteral("writing the wallpaper list"), db.lastError());
    }
    if (!t.commit())
        return fail(QStringLiteral("writing the wallpaper list"), db.lastError());
    m_error.clear();
    return true;
}

namespace WallpaperFiles {

Parts split(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {QString(), path};
    // A file of the root folder keeps "/" as its folder.
    return {slash == 0 ? QStringLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

QString join(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

QStringList nameFilters() {
    return {QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
            QStringLiteral("*.gif"), QStringLiteral("*.png")};
}

std::optional<QStringList> imagesIn(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return std::nullopt;
    QDir dir(folder);
    return dir.entryList(nameFilters(), QDir::Files,
                         QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

} // namespace WallpaperFiles

SchemaPart WallpaperStore::tables() {
    SchemaPart part;
    part.create = {QStringLiteral("CREATE TABLE WPaper ("
                                  " wpFile TEXT NOT NULL)")};
    return part;
}
