// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MailClient.h"
#include "platform/OnlineAccounts.h"

#include <QObject>

#include <functional>
#include <optional>

class Registry;

// The mail watch's sign-in through an account of the desktop's online accounts service
// instead of a stored password. The chosen account's id is kept in the registry file, never
// its secrets. Each check asks the service for a fresh access token (or, for a
// password-based account, its IMAP password); when the server refuses a token the service
// is asked to renew the credentials and the check runs once more. A chosen account that is
// gone (removed, or mail switched off) is reported once; no check runs after that until the
// user chooses an account again.
class OnlineMailSignIn : public QObject {
    Q_OBJECT
public:
    OnlineMailSignIn(OnlineAccounts& accounts, Registry& registry, QObject* parent = nullptr);

    // The chosen account's id; empty when the watch uses the typed or discovered account.
    QString chosen() const { return chosenIn(m_registry); }
    static QString chosenIn(const Registry& registry);
    // Chooses an account (empty: none) and lets a watch stopped for a gone account go on.
    void choose(const QString& id);

    // The account a check connects to, from the service's settings; nullopt, with the
    // reason, when a host or user name holds a line break or NUL.
    static std::optional<MailAccount> toMailAccount(const OnlineMailAccount& online,
                                                    QString* why = nullptr);

    // What to check with: the account and its secret, or why there is none.
    struct Credentials {
        MailAccount account;
        QString secret;
        bool isToken = false;
    };
    // `failure` is empty with credentials. A gone account gives the same failure at every
    // check without asking the service again, so it is told once (MailCheckState).
    using Ready =
        std::function<void(std::optional<Credentials> credentials, const QString& failure)>;
    // Finds the chosen account and asks for its secret.
    void fetch(QObject* receiver, Ready done);
    // The server refused the token of the last fetch: true when a renewal is worth trying
    // (once per check); `done` then gets a fresh token after EnsureCredentials.
    bool renew(QObject* receiver, Ready done);

private:
    void askSecret(QObject* receiver, Ready done);

    OnlineAccounts& m_accounts;
    Registry& m_registry;
    std::optional<OnlineMailAccount> m_current;
    bool m_renewed = false;
};
