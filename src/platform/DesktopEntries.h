// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Just enough of the freedesktop desktop-entry and MIME-applications standards to find and
// start the user's default handler of a URI scheme (mailto) without a shell. Every file is
// another program's: read only when it is a regular file of sensible size.
namespace DesktopEntries {

struct Entry {
    QString id;       // "thunderbird.desktop"
    QString name;     // Name=
    QStringList exec; // Exec= split into program and arguments, field codes removed
    bool valid = false;
};

// Where the lookup looks, most important first.
struct Folders {
    QStringList config;   // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    QStringList data;     // $XDG_DATA_HOME, then $XDG_DATA_DIRS
    QStringList desktops; // $XDG_CURRENT_DESKTOP's names, lower case, in order

    static Folders fromEnvironment();
};

// The desktop-file id of the default application for a MIME type ("x-scheme-handler/mailto"):
// the first installed entry under [Default Applications] of the lists in order (for each
// config folder, then each data folder's applications/: $desktop-mimeapps.list for each
// current desktop, mimeapps.list, and in data folders the older defaults.list); failing
// that, the first installed entry of [Added Associations] in the same order, then of each
// data folder's mimeinfo.cache, leaving out what a [Removed Associations] of an earlier
// list removed. "" when nothing is installed for it.
QString defaultApplication(const QString& mimeType, const Folders& folders);
QString defaultApplication(const QString& mimeType);

// Reads the entry with desktop-file id `id` from the data folders (applications/<id>, or
// a subfolder for an id such as "kde4-kmail.desktop"). Not valid when it is missing, hidden
// or has nothing to run.
Entry find(const QString& id, const QStringList& dataDirs);
Entry find(const QString& id);

// Splits an Exec value into arguments as desktop files quote them, dropping field
// codes (%u, %f, ...) and keeping %% as a percent sign.
QStringList splitExec(const QString& exec);

} // namespace DesktopEntries
