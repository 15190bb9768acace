// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/MailCheck.h"
#include "mail/MailPassword.h"
#include "mail/OnlineMailSignIn.h"
#include "shell/AppContext.h"

#include <QList>
#include <QWidget>

class QLabel;

// The mail notice "- New e-mail -". Loading it asks the stored account's POP3 or IMAP server
// whether mail waits (MailCheck keeps the time: 45 seconds for the whole dialogue, 15 seconds on
// screen once the count is known). It stays hidden and untitled until a count arrives; then
// it takes its title and stands in the bottom-right corner, above the reminder when that is
// open. A click opens the mail program. It closes itself when the check ends and deletes
// itself when closed.
class CheckMail : public QWidget {
    Q_OBJECT
public:
    static constexpr double Opacity = 220 / 255.0;

    explicit CheckMail(AppContext& context, QWidget* parent = nullptr);

    // Reads the account from the data file and starts the check. False when there is no
    // server to ask; the window has then closed.
    bool load();
    MailCheck& check() { return m_check; }
    // The check's result is known (checked() was emitted); the notice may still show.
    bool hasReported() const { return m_reported; }

    // A click on the window or one of the EMLB labels.
    void clicked();

Q_SIGNALS:
    // The count has just been shown: time for the sound.
    void shown();
    // The server refused the stored password.
    void passwordRequested();
    // Something the user must act on (a refused certificate, no secure connection).
    void problem(const QString& text);
    // Once per load, after any of the signals above: the check got through (`failure`
    // empty; `count` messages wait) or failed for `failure`.
    void checked(const QString& failure, int count);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void announce(int count);
    void report(const QString& failure, int count = 0);
    // Ends a load that could not start a check.
    void giveUp(const QString& failure);
    // The check of an account of the desktop's online accounts service.
    void startOnline(std::optional<OnlineMailSignIn::Credentials> credentials,
                     const QString& failure);

    AppContext& m_context;
    MailCheck m_check;
    MailPassword m_password;
    OnlineMailSignIn m_online;
    QList<QLabel*> m_emlb;
    bool m_onlineAccount = false; // this load checks an account of the online accounts service
    QString m_onlineUser;
    bool m_done = false;
    bool m_reported = false;
};
