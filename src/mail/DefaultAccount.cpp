#include "mail/DefaultAccount.h"

#include "core/DataFile.h"
#include "core/Settings.h"

#include "platform/IniFile.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>

namespace {

// Thunderbird's own files are read only when they are regular files of sensible size: a
// pipe or device put in their place must never hold up start-up.
constexpr qint64 MaxPrefsSize = 16 * 1024 * 1024;

// The default profile is the one named by an [Install...] section (newer releases) or the
// [Profile...] marked Default=1.
QString defaultProfileFolder(const QString& tbRoot) {
    const IniFile ini = IniFile::read(tbRoot + QStringLiteral("/profiles.ini"));
    const QStringList& groups = ini.groups();
    auto resolve = [&](const QString& path, bool relative) -> QString {
        if (path.isEmpty())
            return {};
        return relative ? QDir(tbRoot).filePath(path) : path;
    };
    const auto isRelative = [&](const QString& group) {
        const QString v = ini.value(group, QStringLiteral("IsRelative"));
        return v.isEmpty() || v.toInt() != 0;
    };
    for (const QString& g : groups) {
        if (!g.startsWith(QLatin1String("Install")))
            continue;
        const QString path = ini.value(g, QStringLiteral("Default"));
        // Install sections name the path only; a matching profile says whether it is relative.
        for (const QString& p : groups) {
            if (p.startsWith(QLatin1String("Profile")) &&
                ini.value(p, QStringLiteral("Path")) == path)
                return resolve(path, isRelative(p));
        }
        if (!path.isEmpty())
            return resolve(path, !QDir::isAbsolutePath(path));
    }
    QString first;
    for (const QString& g : groups) {
        if (!g.startsWith(QLatin1String("Profile")))
            continue;
        const QString path = resolve(ini.value(g, QStringLiteral("Path")), isRelative(g));
        if (ini.value(g, QStringLiteral("Default")).toInt() == 1)
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
    const std::optional<QByteArray> text = RegularFile::read(path, MaxPrefsSize);
    if (!text)
        return prefs;
    static const QRegularExpression line(QStringLiteral(
        R"re(^\s*user_pref\(\s*"((?:[^"\\]|\\.)*)"\s*,\s*("(?:[^"\\]|\\.)*"|[^)]*?)\s*\)\s*;)re"));
    static const QRegularExpression escape(QStringLiteral(R"(\\(.))"));
    for (const QByteArray& raw : text->split('\n')) {
        if (raw.size() > 64 * 1024)
            continue;
        const QString textLine = QString::fromUtf8(raw);
        const QRegularExpressionMatch m = line.match(textLine);
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
