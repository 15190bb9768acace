// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AppContext.h"
#include "mail/MailPassword.h"

#include <QObject>
#include <QPointer>

#include <functional>

class ChimePlayer;
class CheckMail;

// The program's one reference to the mail notice. The mail check job loads it; while one is
// loaded a second load does nothing. It plays the reminder sound when the notice shows, and
// passes a refused password on as a pop-up message that opens Options, as it does, once, a
// trouble the user must act on (a refused certificate, no secure connection).
class MailWatch : public QObject {
    Q_OBJECT
public:
    // Shows the pop-up message (Notices::showPopMessage).
    using PopMessage = std::function<void(const QString& text, const QString& action)>;

    // The environment variable that points the check at another port, whatever the
    // account's (end-to-end tests).
    static constexpr char PortVariable[] = "PLUMORA_POP3_PORT";

    MailWatch(AppContext& context, PopMessage popMessage, QObject* parent = nullptr);
    ~MailWatch() override;

    void load();
    CheckMail* checkMail() const;
    // A password in the data file goes to the keyring (start-up, and before each check).
    void movePasswordToKeyring();

    static QString passwordRequestText(const QString& programName);
    // The port PLUMORA_POP3_PORT names when it is a valid one, else 0: the account's own.
    static quint16 portOverride();

private:
    AppContext& m_context;
    PopMessage m_popMessage;
    ChimePlayer* m_chime;
    QPointer<CheckMail> m_checkMail;
    MailPassword m_password;
    // The last trouble the user was told about; cleared by a check that gets through.
    QString m_toldProblem;
};
