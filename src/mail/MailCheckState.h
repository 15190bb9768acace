// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

// What the last new-mail check found, as the Options mail group shows it ("Last check 10:42:
// could not connect to mail.example.org:993 (connection refused)"), and the rule for telling
// a failure of a background check: once per streak of the same failure, again only after a
// check got through or the failure changed. A failure of a check the user started is shown
// in Options and counts as told.
class MailCheckState : public QObject {
    Q_OBJECT
public:
    enum class Origin { Background, User };

    using QObject::QObject;

    // A check got through: `count` messages wait (0: none).
    void recordSuccess(const QDateTime& at, int count, bool imap);
    // A check failed for `failure` ("could not connect to ..."); true when the user is to
    // get a notice of it.
    bool recordFailure(const QDateTime& at, const QString& failure, Origin origin);

    // "Last check 10:42: no new mail"; empty before the first check of this run.
    QString line() const;
    bool failing() const { return m_failing; }

    // Starts a check the user asked for; false when none could start (one is running). Set
    // by the mail watch.
    std::function<bool()> checkNow;

Q_SIGNALS:
    void changed();

private:
    QDateTime m_at;
    QString m_result;
    bool m_failing = false;
    QString m_told; // the failure the user was last told of; empty once a check got through
};

// The words of the mail notice and of the check's results.
namespace MailTexts {
// "new e-mail" (POP3), "unread message" or "unread messages" (IMAP).
QString noticeWhat(int count, bool imap);
// The notice as a screen reader reads it: "1 unread message", "3 messages waiting".
QString noticeSpoken(int count, bool imap);
// What a check that got through found: "no new mail", "1 new message", "2 unread messages".
QString found(int count, bool imap);
// "could not connect to HOST:PORT (REASON)".
QString notConnected(const QString& server, quint16 port, const QString& reason);
// The notice for a server that takes no passwords: the account needs a sign-in through
// GNOME Online Accounts.
QString passwordsDisabled(const QString& server);
// The mail program's account signs in through its provider's own page (OAuth2).
QString providerSignIn(const QString& server);
// A check's failure as a notice that leads to Options.
QString failureNotice(const QString& failure);
} // namespace MailTexts
