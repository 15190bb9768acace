// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ImapDialogue.h"

#include <algorithm>

namespace {

using Kind = ImapToken::Kind;

bool plainAscii(const QByteArray& value) {
    for (char c : value) {
        if (uchar(c) < 0x20 || uchar(c) > 0x7e)
            return false;
    }
    return true;
}

QByteArray quoted(QByteArray value) {
    value.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + value + '"';
}

// "UNSEEN n" inside the attribute list of a STATUS response; -1 when missing or unusable.
int unseenCount(const QList<ImapToken>& tokens) {
    for (qsizetype i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Atom || tokens[i].text.toUpper() != "UNSEEN")
            continue;
        const QByteArray& digits = tokens[i + 1].text;
        if (tokens[i + 1].kind != Kind::Atom || digits.isEmpty() || digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return -1;
        return digits.toInt();
    }
    return -1;
}

// The words of a tagged response after its status ("NO [ALERT] Basic ...").
QByteArray responseText(const ImapResponse& r) {
    QByteArray text;
    for (const ImapToken& t : r.tokens)
        text += t.text + ' ';
    return text;
}

} // namespace

ImapDialogue::ImapDialogue(const QString& user, const QString& password, MailSecurity security)
    : m_user(user.trimmed().toUtf8()), m_password(password.trimmed().toUtf8()),
      m_security(security), m_secured(security == MailSecurity::Tls) {}

ImapDialogue::ImapDialogue(const OAuthLogin& login, MailSecurity security)
    : m_user(login.user), m_security(security), m_secured(security == MailSecurity::Tls) {
    m_oauth = login;
}

MailDialogue::Step ImapDialogue::received(QByteArrayView bytes) {
    Step step;
    if (isFinished() || m_state == State::TlsWait)
        return step;
    QList<ImapResponse> responses;
    const bool ok = m_reader.feed(bytes, responses);
    for (const ImapResponse& r : responses) {
        if (isFinished() || m_state == State::TlsWait)
            break;
        response(r, step);
    }
    if (!ok && !isFinished())
        finish(Outcome::Failed, step);
    // Whatever followed the server's go-ahead for TLS came in clear text and could have been
    // put there by anyone on the way: it is not read as part of the secured session.
    if (m_state == State::TlsWait)
        m_reader.clear();
    return step;
}

void ImapDialogue::response(const ImapResponse& r, Step& step) {
    if (r.tag == "*")
        return untagged(r, step);
    if (r.tag == "+") {
        if (m_state == State::OAuthContinue || m_state == State::OAuthSent)
            return continuation(step);
        if (m_state != State::AuthContinue)
            return finish(Outcome::Failed, step);
        const QByteArray plain = QByteArray(1, '\0') + m_user + '\0' + m_password;
        step.send += plain.toBase64() + "\r\n";
        m_passwordSent = true;
        m_state = State::Login;
        return;
    }
    if (r.tag != m_tag || m_tag.isEmpty())
        return finish(Outcome::Failed, step);
    tagged(r, step);
}

void ImapDialogue::untagged(const ImapResponse& r, Step& step) {
    const QByteArray word = r.word();
    if (m_state == State::Greeting) {
        if (word == "OK") {
            send("CAPABILITY", State::Capability, step);
        } else if (word == "PREAUTH") {
            // Logged in without a password; on a connection that had to be secured first,
            // nothing the server says can be trusted.
            if (!m_secured && m_security == MailSecurity::StartTls)
                return finish(Outcome::TlsUnavailable, step);
            send("STATUS INBOX (UNSEEN)", State::Status, step);
        } else {
            finish(Outcome::Refused, step);
        }
        return;
    }
    if (word == "CAPABILITY" && m_state == State::Capability) {
        for (qsizetype i = 1; i < r.tokens.size(); ++i) {
            const QByteArray cap = r.tokens[i].text.toUpper();
            m_offersStartTls |= cap == "STARTTLS";
            m_loginDisabled |= cap == "LOGINDISABLED";
            m_offersPlain |= cap == "AUTH=PLAIN";
            m_saslIr |= cap == "SASL-IR";
            m_offersXOAuth2 |= cap == "AUTH=XOAUTH2";
            m_offersOAuthBearer |= cap == "AUTH=OAUTHBEARER";
        }
    } else if (word == "STATUS" && m_state == State::Status) {
        const int n = unseenCount(r.tokens);
        if (n < 0)
            return finish(Outcome::Failed, step);
        m_count = n;
        m_haveCount = true;
    } else if (word == "BYE" && m_state != State::Logout) {
        finish(Outcome::Failed, step);
    }
}

void ImapDialogue::tagged(const ImapResponse& r, Step& step) {
    const QByteArray word = r.word();
    const bool ok = word == "OK";
    switch (m_state) {
    case State::Capability:
        if (!ok)
            return finish(Outcome::Failed, step);
        return afterCapability(step);
    case State::StartTls:
        // It offered TLS and then refused it: never fall back to sending the password openly.
        if (!ok)
            return finish(Outcome::Failed, step);
        step.startTls = true;
        m_state = State::TlsWait;
        return;
    case State::Login:
    case State::AuthContinue:
        if (word == "NO" && OAuthSasl::passwordsDisabled(responseText(r)))
            return finish(Outcome::PasswordsDisabled, step);
        if (!ok)
            return finish(word == "NO" ? Outcome::PasswordRefused : Outcome::Failed, step);
        return send("STATUS INBOX (UNSEEN)", State::Status, step);
    case State::OAuthContinue:
    case State::OAuthSent:
    case State::OAuthError:
        if (!ok)
            return finish(word == "NO" ? Outcome::TokenRefused : Outcome::Failed, step);
        return send("STATUS INBOX (UNSEEN)", State::Status, step);
    case State::Status:
        if (!ok || !m_haveCount)
            return finish(Outcome::Failed, step);
        step.announce = m_count > 0;
        return send("LOGOUT", State::Logout, step);
    case State::Logout:
        return finish(m_count > 0 ? Outcome::NewMail : Outcome::NoMail, step);
    case State::Greeting:
    case State::TlsWait:
    case State::Done:
        return;
    }
}

void ImapDialogue::afterCapability(Step& step) {
    if (!m_secured && m_offersStartTls)
        return send("STARTTLS", State::StartTls, step);
    if (!m_secured && m_security == MailSecurity::StartTls)
        return finish(Outcome::TlsUnavailable, step);
    login(step);
}

void ImapDialogue::login(Step& step) {
    if (m_oauth)
        return oauthLogin(step);
    if (!safeMailArgument(m_user) || !safeMailArgument(m_password))
        return finish(Outcome::Failed, step);
    const bool plainLogin = !m_loginDisabled && plainAscii(m_user) && plainAscii(m_password);
    if (plainLogin) {
        send("LOGIN " + quoted(m_user) + ' ' + quoted(m_password), State::Login, step);
        m_passwordSent = true;
        return;
    }
    // No password can go out on a secured connection: the server wants another sign-in.
    if (!m_offersPlain)
        return finish(m_loginDisabled && m_secured ? Outcome::PasswordsDisabled : Outcome::Failed,
                      step);
    if (m_saslIr) {
        const QByteArray plain = QByteArray(1, '\0') + m_user + '\0' + m_password;
        send("AUTHENTICATE PLAIN " + plain.toBase64(), State::Login, step);
        m_passwordSent = true;
        return;
    }
    send("AUTHENTICATE PLAIN", State::AuthContinue, step);
}

void ImapDialogue::oauthLogin(Step& step) {
    if (!OAuthSasl::refusal(*m_oauth).isEmpty())
        return finish(Outcome::Failed, step);
    if (!m_offersOAuthBearer && !m_offersXOAuth2)
        return finish(Outcome::OAuthUnavailable, step);
    m_mechanism =
        m_offersOAuthBearer ? OAuthSasl::Mechanism::OAuthBearer : OAuthSasl::Mechanism::XOAuth2;
    const QByteArray command = "AUTHENTICATE " + OAuthSasl::name(m_mechanism);
    if (!m_saslIr)
        return send(command, State::OAuthContinue, step);
    send(command + ' ' + OAuthSasl::initialResponse(m_mechanism, *m_oauth).toBase64(),
         State::OAuthSent, step);
    m_passwordSent = true;
}

void ImapDialogue::continuation(Step& step) {
    if (m_state == State::OAuthContinue) {
        step.send += OAuthSasl::initialResponse(m_mechanism, *m_oauth).toBase64() + "\r\n";
        m_passwordSent = true;
        m_state = State::OAuthSent;
        return;
    }
    // An error challenge (base64 JSON with the reason): the client's closing response lets
    // the server end the exchange with its NO.
    step.send += OAuthSasl::errorReply(m_mechanism).toBase64() + "\r\n";
    m_state = State::OAuthError;
}

void ImapDialogue::send(const QByteArray& command, State next, Step& step) {
    m_tag = 'a' + QByteArray::number(++m_tags);
    step.send += m_tag + ' ' + command + "\r\n";
    m_state = next;
}

MailDialogue::Step ImapDialogue::tlsReady() {
    Step step;
    if (m_state != State::TlsWait)
        return step;
    // What the server said before TLS counts for nothing now.
    m_secured = true;
    m_offersStartTls = m_loginDisabled = m_offersPlain = m_saslIr = false;
    m_offersXOAuth2 = m_offersOAuthBearer = false;
    send("CAPABILITY", State::Capability, step);
    return step;
}

MailDialogue::Step ImapDialogue::connectionLost() {
    Step step;
    if (isFinished())
        return step;
    // Counted and said goodbye: a server that hangs up before its last OK changes nothing.
    if (m_state == State::Logout)
        finish(m_count > 0 ? Outcome::NewMail : Outcome::NoMail, step);
    else
        finish(Outcome::Failed, step);
    return step;
}

void ImapDialogue::finished() {
    m_state = State::Done;
    m_reader.clear();
}
