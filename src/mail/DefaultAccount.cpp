// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/DefaultAccount.h"

#include "data/DataFile.h"
#include "data/Settings.h"

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

QStringList thunderbirdRoots(const QString& home, const QString& desktopId) {
    QStringList roots{home + QStringLiteral("/.thunderbird"),
                      home + QStringLiteral("/.var/app/org.mozilla.Thunderbird/.thunderbird"),
                      home + QStringLiteral("/snap/thunderbird/common/.thunderbird")};
    // The Flatpak's id, and the Snap's "thunderbird_thunderbird.desktop".
    int first = 0;
    if (desktopId.startsWith(QLatin1String("org.mozilla.Thunderbird"), Qt::CaseInsensitive))
        first = 1;
    else if (desktopId.startsWith(QLatin1String("thunderbird_"), Qt::CaseInsensitive))
        first = 2;
    roots.move(first, 0);
    return roots;
}

quint16 defaultMailPort(const QString& type, MailSecurity security) {
    const bool imap = type == QLatin1String("imap");
    if (security == MailSecurity::Tls)
        return imap ? 993 : 995;
    return imap ? 143 : 110;
}

MailSecurity mailSecurity(int code) {
    switch (code) {
    case int(MailSecurity::StartTls):
        return MailSecurity::StartTls;
    case int(MailSecurity::Tls):
        return MailSecurity::Tls;
    default:
        // 0, and the retired 1 ("STARTTLS when offered"), which None does anyway.
        return MailSecurity::None;
    }
}

MailAccount readThunderbirdAccount(const QString& home, const QString& desktopId) {
    QString profile;
    for (const QString& root : thunderbirdRoots(home, desktopId)) {
        profile = defaultProfileFolder(root);
        if (!profile.isEmpty())
            break;
    }
    if (profile.isEmpty())
        return {{}, {}};
    const QHash<QString, QString> prefs = readPrefs(profile + QStringLiteral("/prefs.js"));
    const QString account = prefs.value(QStringLiteral("mail.accountmanager.defaultaccount"));
    if (account.isEmpty())
        return {{}, {}};
    const QString server =
        prefs.value(QStringLiteral("mail.account.") + account + QStringLiteral(".server"));
    if (server.isEmpty())
        return {{}, {}};
    const QString prefix = QStringLiteral("mail.server.") + server + QLatin1Char('.');
    MailAccount found;
    found.type = prefs.value(prefix + QStringLiteral("type"));
    if (found.type != QLatin1String("pop3") && found.type != QLatin1String("imap"))
        return {{}, {}};
    found.user = prefs.value(prefix + QStringLiteral("userName"));
    found.server = prefs.value(prefix + QStringLiteral("hostname"));
    found.security = mailSecurity(prefs.value(prefix + QStringLiteral("socketType")).toInt());
    // Thunderbird's authMethod 10 is its OAuth2 sign-in.
    found.oauth2 = prefs.value(prefix + QStringLiteral("authMethod")).toInt() == 10;
    // The mail program writes the port only when it is not the usual one.
    bool ok = false;
    const int port = prefs.value(prefix + QStringLiteral("port")).toInt(&ok);
    found.port =
        ok && port > 0 && port <= 65535 ? port : defaultMailPort(found.type, found.security);
    return found;
}

MailAccount storedAccount(const Settings& s) {
    return {s.mailUser, s.mailServer, s.mailType, s.mailPort, mailSecurity(s.mailSecurity)};
}

quint16 accountPort(const MailAccount& account) {
    if (account.port > 0 && account.port <= 65535)
        return quint16(account.port);
    return defaultMailPort(account.type, account.security);
}

bool syncDefaultAccount(DataFile& db, Settings& settings, const std::optional<MailAccount>& found) {
    Settings updated = settings;
    const MailAccount stored = storedAccount(settings);
    if (!found) {
        // No mail program whose settings can be read: the account is the user's to keep and
        // to edit.
        updated.mailDiscovered = false;
    } else if (found->server.isEmpty() && !settings.mailDiscovered) {
        // The mail program has no account to check; one the user typed stays.
    } else {
        // A port of 0 was stored before ports were kept: the account was checked on its
        // usual port, and the mail program's port is no news.
        const bool sameLogin = found->user == stored.user && found->server == stored.server &&
                               (stored.port == 0 || found->port == stored.port) &&
                               found->type == stored.type;
        updated.mailUser = found->user;
        updated.mailServer = found->server;
        updated.mailType = found->type;
        updated.mailPort = found->port;
        updated.mailSecurity = int(found->security);
        updated.mailDiscovered = !found->server.isEmpty();
        // A password is never sent to a server, port or user it was not typed for.
        if (!sameLogin) {
            updated.mailPassword = QString();
            updated.mailPasswordInKeyring = false;
        }
    }
    if (updated == settings)
        return true;
    if (!SettingsStore::save(db, settings, updated))
        return false;
    settings = updated;
    return true;
}
