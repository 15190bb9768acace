// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/MailCheckState.h"
#include "mail/MailPassword.h"
#include "shell/AppContext.h"

#include <QObject>
#include <QPointer>

#include <functional>

class ChimePlayer;
class OptionsGroup;
class CheckMail;

// The program's one reference to the mail notice. The mail check job and Options' "Check
// now" load it; while one is loaded a second load does nothing. It plays the reminder sound
// when the notice shows and keeps each check's result for Options (state()). A failed
// background check is told as a pop-up message that opens Options, once per streak of the
// same failure (MailCheckState): a refused or missing password asks for it, a refused
// certificate or a server without a secure connection says so, other failures say why.
class MailWatch : public QObject {
    Q_OBJECT
public:
    // Shows the pop-up message (Notices::showPopMessage).
    using PopMessage = std::function<void(const QString& text, const QString& action)>;

    MailWatch(AppContext& context, PopMessage popMessage, QObject* parent = nullptr);
    ~MailWatch() override;

    // Starts a check; false when one is running. A check the user asks for closes a notice
    // whose count is known.
    bool load(MailCheckState::Origin origin = MailCheckState::Origin::Background);
    CheckMail* checkMail() const;
    MailCheckState& state() { return m_state; }
    // A password in the data file goes to the keyring (start-up, and before each check).
    void movePasswordToKeyring();
    // The mail group of Options, with this watch's results and "Check now".
    OptionsGroup* makeOptionsGroup(QWidget* parent);

    static QString passwordRequestText(const QString& programName);

private:
    AppContext& m_context;
    PopMessage m_popMessage;
    ChimePlayer* m_chime;
    QPointer<CheckMail> m_checkMail;
    MailPassword m_password;
    MailCheckState m_state;
};
