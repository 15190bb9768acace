// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/OnlineAccounts.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcOnlineAccounts)

// OnlineAccounts through org.gnome.OnlineAccounts on the session bus: its ObjectManager
// lists the accounts; those with the Mail interface are mail accounts.
class GoaOnlineAccounts final : public OnlineAccounts {
public:
    bool available() const override;
    std::optional<QList<OnlineMailAccount>> mailAccounts() const override;
    void accessToken(const QString& id, QObject* receiver, Answer done) override;
    void imapPassword(const QString& id, QObject* receiver, Answer done) override;
    void ensureCredentials(const QString& id, QObject* receiver,
                           std::function<void(const QString& error)> done) override;
};
