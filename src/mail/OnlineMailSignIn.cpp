// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/OnlineMailSignIn.h"

#include <QCoreApplication>

#include "mail/MailCheck.h"
#include "mail/MailDialogue.h"
#include "platform/Registry.h"

namespace {

const QString ChosenName = QStringLiteral("MailOnlineAccount");
// Set to the chosen id once its disappearance was reported.
const QString GoneName = QStringLiteral("MailOnlineAccountGone");

QString goneText() {
    return QCoreApplication::translate(
        "OnlineMailSignIn", "the chosen account was removed from GNOME Online Accounts or its mail "
                            "was switched off; choose an account in Options");
}

} // namespace

OnlineMailSignIn::OnlineMailSignIn(OnlineAccounts& accounts, Registry& registry, QObject* parent)
    : QObject(parent), m_accounts(accounts), m_registry(registry) {}

QString OnlineMailSignIn::chosenIn(const Registry& registry) {
    return registry.readString(RegistryKeys::CurrentUser, RegistryKeys::Plumora, ChosenName);
}

void OnlineMailSignIn::choose(const QString& id) {
    m_registry.writeString(RegistryKeys::CurrentUser, RegistryKeys::Plumora, ChosenName, id);
    m_registry.writeString(RegistryKeys::CurrentUser, RegistryKeys::Plumora, GoneName, QString());
}

std::optional<MailAccount> OnlineMailSignIn::toMailAccount(const OnlineMailAccount& online,
                                                           QString* why) {
    if (!safeMailArgument(online.imapHost.toUtf8()) ||
        !safeMailArgument(online.imapUser.toUtf8())) {
        if (why)
            *why = tr("the server or user name from GNOME Online Accounts holds a "
                      "line break or NUL");
        return std::nullopt;
    }
    MailAccount a;
    a.type = QStringLiteral("imap");
    a.user = online.imapUser.isEmpty() ? online.emailAddress : online.imapUser;
    a.server = online.imapHost;
    // The host may carry its port ("imap.example.org:1143").
    const qsizetype colon = a.server.lastIndexOf(QLatin1Char(':'));
    bool numeric = false;
    const int port = colon > 0 ? a.server.mid(colon + 1).toInt(&numeric) : 0;
    if (numeric && port > 0 && port <= 65535) {
        a.port = port;
        a.server.truncate(colon);
    } else {
        a.port = 0;
    }
    a.security = online.imapUseSsl   ? MailSecurity::Tls
                 : online.imapUseTls ? MailSecurity::StartTls
                                     : MailSecurity::None;
    return a;
}

void OnlineMailSignIn::fetch(QObject* receiver, Ready done) {
    m_current.reset();
    m_renewed = false;
    const QString id = chosen();
    if (id.isEmpty())
        return done(std::nullopt, tr("no account of GNOME Online Accounts is chosen"));
    const QString gone =
        m_registry.readString(RegistryKeys::CurrentUser, RegistryKeys::Plumora, GoneName);
    if (gone == id)
        return done(std::nullopt, goneText());
    if (!m_accounts.available())
        return done(std::nullopt, tr("GNOME Online Accounts is not available"));
    const std::optional<QList<OnlineMailAccount>> accounts = m_accounts.mailAccounts();
    // A listing that failed says nothing about the account: the next check asks again.
    if (!accounts)
        return done(std::nullopt, tr("GNOME Online Accounts did not list its "
                                     "accounts"));
    for (const OnlineMailAccount& a : *accounts) {
        if (a.id == id)
            m_current = a;
    }
    if (!m_current) {
        m_registry.writeString(RegistryKeys::CurrentUser, RegistryKeys::Plumora, GoneName, id);
        qCWarning(lcMail) << "the chosen online account" << id << "is gone";
        return done(std::nullopt, goneText());
    }
    askSecret(receiver, std::move(done));
}

void OnlineMailSignIn::askSecret(QObject* receiver, Ready done) {
    QString why;
    const std::optional<MailAccount> account = toMailAccount(*m_current, &why);
    if (!account)
        return done(std::nullopt, why);
    const bool token = m_current->oauth2;
    auto answer = [account = *account, token, done](std::optional<QString> secret,
                                                    const QString& error) {
        if (!secret)
            return done(std::nullopt, tr("GNOME Online Accounts gave no %1 (%2)")
                                          .arg(token ? tr("access token") : tr("password"), error));
        if (secret->isEmpty())
            return done(std::nullopt, tr("GNOME Online Accounts gave an empty %1")
                                          .arg(token ? tr("access token") : tr("password")));
        done(Credentials{account, *secret, token}, QString());
    };
    if (token)
        m_accounts.accessToken(m_current->id, receiver, answer);
    else
        m_accounts.imapPassword(m_current->id, receiver, answer);
}

bool OnlineMailSignIn::renew(QObject* receiver, Ready done) {
    if (!m_current || !m_current->oauth2 || m_renewed)
        return false;
    m_renewed = true;
    const QString id = m_current->id;
    m_accounts.ensureCredentials(id, receiver, [this, receiver, done](const QString& error) {
        if (!error.isEmpty())
            return done(std::nullopt, tr("GNOME Online Accounts could not renew the sign-in (%1); "
                                         "sign in again in the desktop's Settings")
                                          .arg(error));
        askSecret(receiver, done);
    });
    return true;
}
