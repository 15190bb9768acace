// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/MailDialogue.h"
#include "platform/MailClient.h"

#include <QString>

// The POP3 new-mail check: greeting, CAPA; when the server offers STLS the connection is
// upgraded to TLS before USER, and a failed upgrade ends the check without the password
// ever being sent in clear text. An account that requires STARTTLS ends the check before
// USER when the server does not offer STLS; on a connection that is TLS from the start,
// STLS is not asked for. Then USER, PASS, STAT and QUIT. Replies are read line by line, so
// a reply split over several reads counts once and two replies in one read count twice.
// With an access token instead of a password it signs in by AUTH OAUTHBEARER where CAPA's
// SASL line lists it, else AUTH XOAUTH2, sending the token after the server's go-ahead; an
// error challenge gets the mechanism's closing response and the token counts as refused.
// A refusal saying "Basic authentication is disabled" means no password can work.
class Pop3Dialogue final : public MailDialogue {
public:
    // A reply line longer than this ends the check.
    static constexpr int MaxLineBytes = 4096;

    Pop3Dialogue(const QString& user, const QString& password,
                 MailSecurity security = MailSecurity::None);
    Pop3Dialogue(const OAuthLogin& login, MailSecurity security);

    Step received(QByteArrayView bytes) override;
    Step tlsReady() override;

private:
    enum class State {
        Greeting,
        Capa,
        CapaList,
        Stls,
        TlsWait,
        User,
        Pass,
        AuthWait,   // AUTH sent: waiting for the go-ahead
        OAuthSent,  // the token is out
        OAuthError, // the error challenge was answered: the -ERR follows
        Stat,
        Quit,
        Done
    };

    void reply(const QByteArray& line, Step& step);
    void login(Step& step);
    void sendUser(Step& step);
    void oauth(const QByteArray& line, Step& step);
    void sendCredential(const char* command, const QByteArray& value, State next, Step& step);
    void finished() override;

    QByteArray m_user;
    QByteArray m_password;
    QByteArray m_buffer;
    MailSecurity m_security;
    State m_state = State::Greeting;
    bool m_offersStls = false;
    bool m_listsSasl = false; // CAPA had a SASL line
    bool m_offersXOAuth2 = false;
    bool m_offersOAuthBearer = false;
};
