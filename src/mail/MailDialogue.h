// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/OAuthSasl.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// One new-mail check as a state machine with no socket of its own: the driver feeds it the
// bytes it receives and carries out the Step it returns. POP3 and IMAP share this shape.
class MailDialogue {
public:
    enum class Outcome {
        Running,
        NoMail,            // nothing waits; silent
        NewMail,           // count() > 0 was announced
        Refused,           // a negative reply before the password was sent; silent
        PasswordRefused,   // the password was refused: ask the user for it
        TlsUnavailable,    // the account requires STARTTLS and the server does not offer it
        PasswordsDisabled, // the server takes no password at all: an OAuth2 sign-in is needed
        TokenRefused,      // the OAuth2 access token was refused (a fresh one may work)
        OAuthUnavailable,  // an OAuth2 sign-in was asked for and the server offers none
        Failed,            // anything else went wrong; silent
    };

    // What the driver does next, in this order.
    struct Step {
        QByteArray send;       // write these bytes (possibly several commands)
        bool startTls = false; // upgrade the connection, then call tlsReady() or tlsFailed()
        bool announce = false; // count() > 0 just became known: show the notice now
        bool finished = false; // close the connection; outcome() is final
    };

    // Nothing the server sends is kept beyond this many bytes: a longer reply ends the check.
    static constexpr int MaxBufferedBytes = 64 * 1024;

    virtual ~MailDialogue() = default;

    virtual Step received(QByteArrayView bytes) = 0;
    // The TLS upgrade asked for by a Step has completed.
    virtual Step tlsReady() = 0;
    Step tlsFailed();
    // The connection dropped or failed.
    virtual Step connectionLost();

    Outcome outcome() const { return m_outcome; }
    bool isFinished() const { return m_outcome != Outcome::Running; }
    // The password or access token has gone out.
    bool passwordSent() const { return m_passwordSent; }
    // The count the server reported (0 until it arrived).
    int count() const { return m_count; }

protected:
    // Ends the dialogue. Once a count is on screen, a server that hangs up or babbles before
    // the goodbye does not take the news back.
    void finish(Outcome outcome, Step& step);
    virtual void finished() {}

    // Set when the account signs in with an access token rather than a password.
    std::optional<OAuthLogin> m_oauth;
    OAuthSasl::Mechanism m_mechanism = OAuthSasl::Mechanism::XOAuth2;
    Outcome m_outcome = Outcome::Running;
    bool m_passwordSent = false;
    int m_count = 0;
};

// CR, LF or NUL inside a user name or password would end the command early and let the
// rest pass as a command of its own.
bool safeMailArgument(const QByteArray& value);
