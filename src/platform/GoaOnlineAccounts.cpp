// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/GoaOnlineAccounts.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QPointer>

Q_LOGGING_CATEGORY(lcOnlineAccounts, "plumora.onlineaccounts", QtWarningMsg)

namespace {

const QString Service = QStringLiteral("org.gnome.OnlineAccounts");
const QString Root = QStringLiteral("/org/gnome/OnlineAccounts");
const QString AccountIface = QStringLiteral("org.gnome.OnlineAccounts.Account");
const QString MailIface = QStringLiteral("org.gnome.OnlineAccounts.Mail");
const QString OAuth2Iface = QStringLiteral("org.gnome.OnlineAccounts.OAuth2Based");
const QString PasswordIface = QStringLiteral("org.gnome.OnlineAccounts.PasswordBased");
// Listing is quick when the service runs; a hung one must not hold Options for long.
constexpr int ListTimeoutMs = 5000;

struct Managed {
    QString path;
    OnlineMailAccount account;
};

std::optional<QList<Managed>> managedMailAccounts() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, Root, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
        QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, ListTimeoutMs);
    QList<Managed> out;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCWarning(lcOnlineAccounts).noquote()
            << "the online accounts could not be listed:" << reply.errorMessage();
        return std::nullopt;
    }
    const QDBusArgument arg = reply.arguments().constFirst().value<QDBusArgument>();
    arg.beginMap();
    while (!arg.atEnd()) {
        QDBusObjectPath path;
        QMap<QString, QVariantMap> interfaces;
        arg.beginMapEntry();
        arg >> path >> interfaces;
        arg.endMapEntry();
        if (!interfaces.contains(MailIface) || !interfaces.contains(AccountIface))
            continue;
        const QVariantMap& account = interfaces[AccountIface];
        const QVariantMap& mail = interfaces[MailIface];
        if (account.value(QStringLiteral("MailDisabled")).toBool())
            continue;
        OnlineMailAccount a;
        a.id = account.value(QStringLiteral("Id")).toString();
        a.emailAddress = mail.value(QStringLiteral("EmailAddress")).toString();
        a.imapHost = mail.value(QStringLiteral("ImapHost")).toString();
        a.imapUser = mail.value(QStringLiteral("ImapUserName")).toString();
        a.imapUseSsl = mail.value(QStringLiteral("ImapUseSsl")).toBool();
        a.imapUseTls = mail.value(QStringLiteral("ImapUseTls")).toBool();
        a.oauth2 = interfaces.contains(OAuth2Iface);
        if (!a.id.isEmpty())
            out.append({path.path(), a});
    }
    arg.endMap();
    return out;
}

QString pathOf(const QString& id) {
    for (const Managed& m : managedMailAccounts().value_or(QList<Managed>())) {
        if (m.account.id == id)
            return m.path;
    }
    return {};
}

// Calls `method` on the account's object and hands the reply to `done` on the receiver.
void callAccount(const QString& id, const QString& iface, const QString& method,
                 const QVariantList& args, QObject* receiver,
                 std::function<void(const QDBusMessage& reply, const QString& error)> done) {
    const QString path = pathOf(id);
    if (path.isEmpty()) {
        done({}, QCoreApplication::translate("GoaOnlineAccounts",
                                             "the account is no longer in GNOME Online Accounts"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, path, iface, method);
    call.setArguments(args);
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, OnlineAccounts::TimeoutMs), receiver);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, receiver,
                     [watcher, method, done = std::move(done)] {
                         watcher->deleteLater();
                         const QDBusMessage reply = watcher->reply();
                         if (reply.type() == QDBusMessage::ReplyMessage)
                             return done(reply, QString());
                         const QString why =
                             watcher->error().type() == QDBusError::NoReply ||
                                     watcher->error().type() == QDBusError::Timeout
                                 ? QCoreApplication::translate("GoaOnlineAccounts",
                                                               "GNOME Online Accounts did not "
                                                               "answer within %1 seconds")
                                       .arg(OnlineAccounts::TimeoutMs / 1000)
                                 : watcher->error().message();
                         qCWarning(lcOnlineAccounts).noquote() << method << "failed:" << why;
                         done({}, why);
                     });
}

void credentialCall(const QString& id, const QString& iface, const QString& method,
                    const QVariantList& args, QObject* receiver, OnlineAccounts::Answer done) {
    callAccount(id, iface, method, args, receiver,
                [done = std::move(done)](const QDBusMessage& reply, const QString& error) {
                    if (!error.isEmpty())
                        return done(std::nullopt, error);
                    if (reply.arguments().isEmpty())
                        return done(std::nullopt, QCoreApplication::translate("GoaOnlineAccounts",
                                                                              "an empty answer"));
                    done(reply.arguments().constFirst().toString(), QString());
                });
}

} // namespace

bool GoaOnlineAccounts::available() const {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return false;
    if (bus->isServiceRegistered(Service))
        return true;
    const QDBusReply<QStringList> names = bus->call(QStringLiteral("ListActivatableNames"));
    return names.isValid() && names.value().contains(Service);
}

std::optional<QList<OnlineMailAccount>> GoaOnlineAccounts::mailAccounts() const {
    if (!available())
        return std::nullopt;
    const std::optional<QList<Managed>> managed = managedMailAccounts();
    if (!managed)
        return std::nullopt;
    QList<OnlineMailAccount> out;
    for (const Managed& m : *managed)
        out.append(m.account);
    return out;
}

void GoaOnlineAccounts::accessToken(const QString& id, QObject* receiver, Answer done) {
    credentialCall(id, OAuth2Iface, QStringLiteral("GetAccessToken"), {}, receiver,
                   std::move(done));
}

void GoaOnlineAccounts::imapPassword(const QString& id, QObject* receiver, Answer done) {
    credentialCall(id, PasswordIface, QStringLiteral("GetPassword"),
                   {QStringLiteral("imap-password")}, receiver, std::move(done));
}

void GoaOnlineAccounts::ensureCredentials(const QString& id, QObject* receiver,
                                          std::function<void(const QString& error)> done) {
    callAccount(
        id, AccountIface, QStringLiteral("EnsureCredentials"), {}, receiver,
        [done = std::move(done)](const QDBusMessage&, const QString& error) { done(error); });
}
