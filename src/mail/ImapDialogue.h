// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/ImapReader.h"
#include "mail/MailDialogue.h"
#include "platform/MailClient.h"

#include <QString>

// The IMAP new-mail check: CAPABILITY; STARTTLS when the server offers it (required when
// the account says so, not asked for on a connection that is TLS from the start), then
// CAPABILITY again; LOGIN, or AUTHENTICATE PLAIN when the server disables LOGIN or the
// credentials are not plain ASCII; STATUS INBOX (UNSEEN) and LOGOUT. The count is the
// number of unseen messages in INBOX.
class ImapDialogue final : public MailDialogue {
public:
    ImapDialogue(const QString& user, const QString& password,
                 MailSecurity security = MailSecurity::None);

    Step received(QByteArrayView bytes) override;
    Step tlsReady() override;
    Step connectionLost() override;

private:
    enum class State {
        Greeting,
        Capability,
        StartTls,
        TlsWait,
        Login,
        AuthContinue,
        Status,
        Logout,
        Done,
    };

    void response(const ImapResponse& r, Step& step);
    void untagged(const ImapResponse& r, Step& step);
    void tagged(const ImapResponse& r, Step& step);
    void send(const QByteArray& command, State next, Step& step);
    void afterCapability(Step& step);
    void login(Step& step);
    void finished() override;

    QByteArray m_user;
    QByteArray m_password;
    MailSecurity m_security;
    ImapReader m_reader{MaxBufferedBytes};
    State m_state = State::Greeting;
    QByteArray m_tag;
    int m_tags = 0;
    bool m_secured = false;
    bool m_offersStartTls = false;
    bool m_loginDisabled = false;
    bool m_offersPlain = false;
    bool m_saslIr = false;
    bool m_haveCount = false;
};
