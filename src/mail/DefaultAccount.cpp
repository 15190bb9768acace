#include "mail/DefaultAccount.h"

#include "core/DataFile.h"
#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSettings>

namespace {

// profiles.ini is plain INI, which QSettings reads; the default profile is the one named by
// an [Install...] section (newer releases) or the [Profile...] marked Default=1.
QString defaultProfileFolder(const QString& tbRoot) {
    const QString ini = tbRoot + QStringLiteral("/profiles.ini");
    if (!QFileInfo(ini).isFile())
        return {};
    QSettings s(ini, QSettings::IniFormat);
    const QStringList groups = s.childGroups();
    auto resolve = [&](const QString& path, bool relative) -> QString {
        if (path.isEmpty())
            return {};
        return relative ? QDir(tbRoot).filePath(path) : path;
    };
    for (const QString& g : groups) {
        if (!g.startsWith(QLatin1String("Install")))
            continue;
        const QString path = s.value(g + QStringLiteral("/Default")).toString();
        // Install sections name the path only; a matching profile says whether it is relative.
        for (const QString& p : groups) {
            if (p.startsWith(QLatin1String("Profile")) &&
                s.value(p + QStringLiteral("/Path")).toString() == path)
                return resolve(path, s.value(p + QStringLiteral("/IsRelative"), 1).toInt() != 0);
        }
        if (!path.isEmpty())
            return resolve(path, !QDir::isAbsolutePath(path));
    }
    QString first;
    for (const QString& g : groups) {
        if (!g.startsWith(QLatin1String("Profile")))
            continue;
        const QString path = resolve(s.value(g + QStringLiteral("/Path")).toString(),
                                     s.value(g + QStringLiteral("/IsRelative"), 1).toInt() != 0);
        if (s.value(g + QStringLiteral("/Default")).toInt() == 1)
            return path;
        if (first.isEmpty())
            first = path;
    }
    // A single profile without a Default mark is still the one Thunderbird opens.
    return first;
}

// user_pref("name", value); lines of prefs.js; string values unescaped, others as written.
QHash<QString, QString> readPrefs(const QString& path) {
    QHash<QString, QString> prefs;
    QFile f(path);
    constexpr qint64 MaxPrefsSize = 16 * 1024 * 1024;
    if (f.size() > MaxPrefsSize || !f.open(QIODevice::ReadOnly))
        return prefs;
    static const QRegularExpression line(QStringLiteral(
        R"re(^\s*user_pref\(\s*"((?:[^"\\]|\\.)*)"\s*,\s*("(?:[^"\\]|\\.)*"|[^)]*?)\s*\)\s*;)re"));
    static const QRegularExpression escape(QStringLiteral(R"(\\(.))"));
    while (!f.atEnd()) {
        const QString text = QString::fromUtf8(f.readLine(64 * 1024));
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch())
            continue;
        QString value = m.captured(2);
        if (value.startsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2).replace(escape, QStringLiteral("\\1"));
        QString name = m.captured(1);
        prefs.insert(name.replace(escape, QStringLiteral("\\1")), value);
    }
    return prefs;
}

} // namespace

MailAccount readThunderbirdAccount(const QString& home) {
    const QString profile = defaultProfileFolder(home + QStringLiteral("/.thunderbird"));
    if (profile.isEmpty())
        return {};
    const QHash<QString, QString> prefs = readPrefs(profile + QStringLiteral("/prefs.js"));
    const QString account = prefs.value(QStringLiteral("mail.accountmanager.defaultaccount"));
    if (account.isEmpty())
        return {};
    const QString server =
        prefs.value(QStringLiteral("mail.account.") + account + QStringLiteral(".server"));
    if (server.isEmpty())
        return {};
    const QString prefix = QStringLiteral("mail.server.") + server + QLatin1Char('.');
    if (prefs.value(prefix + QStringLiteral("type")) != QLatin1String("pop3"))
        return {};
    return {prefs.value(prefix + QStringLiteral("userName")),
            prefs.value(prefix + QStringLiteral("hostname"))};
}

bool syncDefaultAccount(DataFile& db, Settings& settings, const MailAccount& found) {
    if (found.user == settings.mailUser && found.server == settings.mailServer)
        return true;
    Settings updated = settings;
    updated.mailUser = found.user;
    updated.mailServer = found.server;
    updated.mailPassword = QString();
    if (!SettingsStore::save(db, settings, updated))
        return false;
    settings = updated;
    return true;
}
