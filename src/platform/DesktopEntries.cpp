#include "platform/DesktopEntries.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace DesktopEntries {
namespace {

QStringList xdgList(const char* var, const QString& fallback) {
    const QString v = qEnvironmentVariable(var);
    return (v.isEmpty() ? fallback : v).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QStringList configDirsFromEnv() {
    QStringList dirs{QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)};
    dirs << xdgList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    return dirs;
}

QStringList dataDirsFromEnv() {
    QStringList dirs{QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)};
    dirs << xdgList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    return dirs;
}

// Values of one key in one group of an INI-like file (desktop files are not QSettings-safe:
// they use ";" lists and unescaped characters).
QString groupValue(const QString& path, const QString& group, const QString& key) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&f);
    bool inGroup = false;
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        if (!inGroup)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

} // namespace

QString defaultApplication(const QString& mimeType, const QStringList& configDirs,
                           const QStringList& dataDirs) {
    QStringList lists;
    for (const QString& d : configDirs)
        lists << d + QStringLiteral("/mimeapps.list");
    for (const QString& d : dataDirs)
        lists << d + QStringLiteral("/applications/mimeapps.list");
    for (const QString& list : lists) {
        const QString value = groupValue(list, QStringLiteral("Default Applications"), mimeType);
        for (const QString& id : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (find(id.trimmed(), dataDirs).valid)
                return id.trimmed();
        }
    }
    return {};
}

QString defaultApplication(const QString& mimeType) {
    return defaultApplication(mimeType, configDirsFromEnv(), dataDirsFromEnv());
}

Entry find(const QString& id, const QStringList& dataDirs) {
    Entry e;
    if (id.isEmpty() || id.contains(QLatin1Char('/')))
        return e;
    for (const QString& d : dataDirs) {
        const QString path = d + QStringLiteral("/applications/") + id;
        if (!QFile::exists(path))
            continue;
        const QString group = QStringLiteral("Desktop Entry");
        e.id = id;
        e.name = groupValue(path, group, QStringLiteral("Name"));
        e.exec = splitExec(groupValue(path, group, QStringLiteral("Exec")));
        e.valid = !e.exec.isEmpty();
        return e;
    }
    return e;
}

Entry find(const QString& id) {
    return find(id, dataDirsFromEnv());
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
