#pragma once

#include <QString>
#include <QStringList>

// Just enough of the freedesktop desktop-entry and mime-apps standards to find and
// start the user's default handler of a URI scheme (mailto) without a shell.
namespace DesktopEntries {

struct Entry {
    QString id;       // "thunderbird.desktop"
    QString name;     // Name=
    QStringList exec; // Exec= split into program and arguments, field codes removed
    bool valid = false;
};

// The desktop-file id of the default application for a MIME type ("x-scheme-handler/mailto"),
// from mimeapps.list in the configuration and data folders in their order of precedence.
QString defaultApplication(const QString& mimeType, const QStringList& configDirs,
                           const QStringList& dataDirs);
// Same, with the folders of the XDG environment.
QString defaultApplication(const QString& mimeType);

// Reads applications/<id> from the data folders.
Entry find(const QString& id, const QStringList& dataDirs);
Entry find(const QString& id);

// Splits an Exec value into arguments as desktop files quote them, dropping field
// codes (%u, %f, ...) and keeping %% as a percent sign.
QStringList splitExec(const QString& exec);

} // namespace DesktopEntries
