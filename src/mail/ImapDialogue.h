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
// number of unseen messages in INBOX. With an access token instead of a password it signs
// in by AUTHENTICATE OAUTHBEARER where the server lists it, else XOAUTH2; to an error
// challenge it gives the mechanism's closing response and reports the token refused.
// A login refused as "Basic authentication is disabled", or LOGINDISABLED without
// AUTH=PLAIN on a secured connection, means the server takes no passwords at all.
class ImapDialogue final : public MailDialogue {
public:
    ImapDialogue(const QString& user, const QString& password,
                 MailSecurity security = MailSecurity::None);
    ImapDialogue(const OAuthLogin& login, MailSecurity security);

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
        OAuthContinue, // AUTHENTICATE sent without its response: waiting for the go-ahead
        OAuthSent,     // the token is out
        OAuthError,    // the server's error challenge was answered; its NO follows
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
    void oauthLogin(Step& step);
    void continuation(Step& step);
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
    bool m_offersXOAuth2 = false;
    bool m_offersOAuthBearer = false;
    bool m_saslIr = false;
    bool m_haveCount = false;
};
