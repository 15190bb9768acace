// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/OnlineAccounts.h"

#include <QStringList>

// The online accounts service as a test sets it up. Secrets are handed out in order from
// `tokens` (one per GetAccessToken); an empty list answers with an error. Answers come at
// once unless `hold` is set: then they wait in `held` for the test to run them.
class FakeOnlineAccounts final : public OnlineAccounts {
public:
    bool running = false;
    QList<OnlineMailAccount> accounts;
    QStringList tokens;
    QString password;
    QString ensureError;
    QString tokenError = QStringLiteral("no token");
    bool hold = false;
    QList<std::function<void()>> held;
    QStringList calls; // "GetAccessToken id", "EnsureCredentials id", "GetPassword id"

    bool available() const override { return running; }
    bool listFails = false; // running, but the listing gets no answer
    std::optional<QList<OnlineMailAccount>> mailAccounts() const override {
        if (!running || listFails)
            return std::nullopt;
        return accounts;
    }
    void accessToken(const QString& id, QObject*, Answer done) override {
        calls << QStringLiteral("GetAccessToken ") + id;
        if (tokens.isEmpty())
            return answer([done, e = tokenError] { done(std::nullopt, e); });
        answer([done, t = tokens.takeFirst()] { done(t, QString()); });
    }
    void imapPassword(const QString& id, QObject*, Answer done) override {
        calls << QStringLiteral("GetPassword ") + id;
        answer([done, p = password] { done(p, QString()); });
    }
    void ensureCredentials(const QString& id, QObject*,
                           std::function<void(const QString&)> done) override {
        calls << QStringLiteral("EnsureCredentials ") + id;
        answer([done, e = ensureError] { done(e); });
    }

private:
    void answer(std::function<void()> f) {
        if (hold)
            held << std::move(f);
        else
            f();
    }
};
