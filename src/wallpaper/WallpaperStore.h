// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataStore.h"
#include "wallpaper/WallpaperLog.h"

#include <QString>
#include <QStringList>

#include <optional>

// The WPaper table of one data file: the full paths of the images in the rotation, in
// table order. Each call opens the file, runs its statements and closes it again.
class WallpaperStore : public DataStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    explicit WallpaperStore(QString dataFile, ChangeHub* changes = nullptr)
        : DataStore(std::move(dataFile), lcWallpaper, changes) {}

    // Every wpFile in table order; nothing when the table cannot be read.
    std::optional<QStringList> files();
    // Replaces every row with one per path, in order, all or nothing.
    bool replace(const QStringList& paths);

private:
};

// How the list names a stored path: the file name shown, the folder kept apart.
namespace WallpaperFiles {

struct Parts {
    QString folder;
    QString name;
};

// Splits a path at its last "/". A path without one (never written by Plumora) is all
// name with no folder, and joins back to itself.
Parts split(const QString& path);
QString join(const QString& folder, const QString& name);

// The file patterns offered for the rotation, matched without regard to case.
QStringList nameFilters();
// The image files of a folder by name; nothing when the folder cannot be read.
std::optional<QStringList> imagesIn(const QString& folder);

} // namespace WallpaperFiles
