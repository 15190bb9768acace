// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// A mail account the desktop's online accounts service (GNOME Online Accounts) holds: its
// IMAP settings and how it signs in.
struct OnlineMailAccount {
    QString id; // the service's account id, stable across restarts
    QString emailAddress;
    QString imapHost;
    QString imapUser;
    bool imapUseSsl = false; // TLS from the start
    bool imapUseTls = false; // STARTTLS
    bool oauth2 = false;     // signs in with an access token, else with a password
    bool operator==(const OnlineMailAccount&) const = default;
};

// The desktop's online accounts service on the session bus. Every answer comes later, on
// the receiver's thread, and never after the receiver is gone; a service that does not
// answer within 30 seconds gives an error. Secrets handed out here are never logged.
class OnlineAccounts {
public:
    static constexpr int TimeoutMs = 30000;

    virtual ~OnlineAccounts() = default;

    // The service runs (or can be started) on the session bus.
    virtual bool available() const = 0;
    // The accounts with mail enabled; nullopt when the service could not be asked.
    virtual std::optional<QList<OnlineMailAccount>> mailAccounts() const = 0;

    // A secret (access token or password), or why there is none.
    using Answer = std::function<void(std::optional<QString> secret, const QString& error)>;
    // A fresh OAuth2 access token of the account.
    virtual void accessToken(const QString& id, QObject* receiver, Answer done) = 0;
    // The IMAP password of a password-based account.
    virtual void imapPassword(const QString& id, QObject* receiver, Answer done) = 0;
    // Asks the service to check and renew the account's credentials; `done` gets an empty
    // error when they are valid now.
    virtual void ensureCredentials(const QString& id, QObject* receiver,
                                   std::function<void(const QString& error)> done) = 0;
};
