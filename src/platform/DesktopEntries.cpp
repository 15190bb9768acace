// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopEntries.h"

#include "platform/IniFile.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace DesktopEntries {
namespace {

QStringList xdgList(const char* var, const QString& fallback) {
    const QString v = qEnvironmentVariable(var);
    return (v.isEmpty() ? fallback : v).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QStringList ids(const QString& value) {
    QStringList out;
    for (const QString& id : value.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!id.trimmed().isEmpty())
            out << id.trimmed();
    return out;
}

// One MIME list, and whether it may add and remove associations (the desktop-specific
// lists only name defaults).
struct MimeList {
    IniFile file;
    bool associations = false;
};

QList<MimeList> mimeLists(const Folders& f) {
    QList<MimeList> lists;
    const auto addFolder = [&](const QString& folder, bool dataFolder) {
        for (const QString& desktop : f.desktops)
            lists.append(
                {IniFile::read(folder + u'/' + desktop + QStringLiteral("-mimeapps.list")), false});
        lists.append({IniFile::read(folder + QStringLiteral("/mimeapps.list")), true});
        if (dataFolder)
            lists.append({IniFile::read(folder + QStringLiteral("/defaults.list")), false});
    };
    for (const QString& d : f.config)
        addFolder(d, false);
    for (const QString& d : f.data)
        addFolder(d + QStringLiteral("/applications"), true);
    return lists;
}

// applications/<id> or, for "a-b.desktop", applications/a/b.desktop and so on.
QString entryPath(const QString& folder, const QString& id, int depth = 0) {
    const QString direct = folder + u'/' + id;
    if (QFileInfo(direct).isFile())
        return direct;
    if (depth >= 3)
        return {};
    for (qsizetype dash = id.indexOf(u'-'); dash > 0; dash = id.indexOf(u'-', dash + 1)) {
        const QString sub = folder + u'/' + id.left(dash);
        if (QFileInfo(sub).isDir()) {
            const QString found = entryPath(sub, id.mid(dash + 1), depth + 1);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

} // namespace

Folders Folders::fromEnvironment() {
    Folders f;
    f.config << QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
             << xdgList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    f.data << QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           << xdgList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& name : xdgList("XDG_CURRENT_DESKTOP", QString()))
        f.desktops << name.toLower();
    return f;
}

QString defaultApplication(const QString& mimeType, const Folders& folders) {
    const QList<MimeList> lists = mimeLists(folders);
    const auto installed = [&](const QString& id) { return find(id, folders.data).valid; };

    for (const MimeList& list : lists) {
        for (const QString& id :
             ids(list.file.value(QStringLiteral("Default Applications"), mimeType)))
            if (installed(id))
                return id;
    }

    QStringList removed;
    for (const MimeList& list : lists) {
        if (!list.associations)
            continue;
        for (const QString& id :
             ids(list.file.value(QStringLiteral("Added Associations"), mimeType)))
            if (!removed.contains(id) && installed(id))
                return id;
        removed << ids(list.file.value(QStringLiteral("Removed Associations"), mimeType));
    }

    for (const QString& d : folders.data) {
        const IniFile cache = IniFile::read(d + QStringLiteral("/applications/mimeinfo.cache"));
        for (const QString& id : ids(cache.value(QStringLiteral("MIME Cache"), mimeType)))
            if (!removed.contains(id) && installed(id))
                return id;
    }
    return {};
}

QString defaultApplication(const QString& mimeType) {
    return defaultApplication(mimeType, Folders::fromEnvironment());
}

Entry find(const QString& id, const QStringList& dataDirs) {
    Entry e;
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.startsWith(u'.'))
        return e;
    for (const QString& d : dataDirs) {
        const QString path = entryPath(d + QStringLiteral("/applications"), id);
        if (path.isEmpty())
            continue;
        // The first folder that has the id decides, even when its entry hides it.
        const IniFile file = IniFile::read(path);
        const QString group = QStringLiteral("Desktop Entry");
        e.id = id;
        e.name = file.value(group, QStringLiteral("Name"));
        e.exec = splitExec(file.value(group, QStringLiteral("Exec")));
        e.valid = !e.exec.isEmpty() &&
                  file.value(group, QStringLiteral("Hidden")) != QLatin1String("true");
        return e;
    }
    return e;
}

Entry find(const QString& id) {
    return find(id, Folders::fromEnvironment().data);
}

QStringList splitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool quoted = false;
    bool hasToken = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                current += exec.at(++i);
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                current += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            hasToken = true;
        } else if (c.isSpace()) {
            if (hasToken)
                args << current;
            current.clear();
            hasToken = false;
        } else if (c == QLatin1Char('%') && i + 1 < exec.size()) {
            const QChar code = exec.at(++i);
            if (code == QLatin1Char('%')) {
                current += code;
                hasToken = true;
            }
            // Other field codes stand for files or URLs we do not pass: dropped.
        } else {
            current += c;
            hasToken = true;
        }
    }
    if (hasToken)
        args << current;
    return args;
}

} // namespace DesktopEntries
