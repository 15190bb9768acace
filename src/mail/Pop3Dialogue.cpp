// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/Pop3Dialogue.h"

#include <QList>

#include <algorithm>

namespace {

bool positive(const QByteArray& line) {
    return line.startsWith('+');
}

// "+OK nn mm": the message count, followed by the mailbox size. -1 when the reply does
// not hold a count that fits in an int.
int statCount(const QByteArray& line) {
    const QList<QByteArray> parts = line.simplified().split(' ');
    if (parts.size() < 3)
        return -1;
    const QByteArray& digits = parts.at(1);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok ? n : -1;
}

} // namespace

Pop3Dialogue::Pop3Dialogue(const QString& user, const QString& password, MailSecurity security)
    : m_user(user.trimmed().toUtf8()), m_password(password.trimmed().toUtf8()),
      m_security(security) {}

Pop3Dialogue::Pop3Dialogue(const OAuthLogin& login, MailSecurity security)
    : m_user(login.user), m_security(security) {
    m_oauth = login;
}

Pop3Dialogue::Step Pop3Dialogue::received(QByteArrayView bytes) {
    Step step;
    if (isFinished() || m_state == State::TlsWait)
        return step;
    m_buffer.append(bytes);
    while (!isFinished() && m_state != State::TlsWait) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end < 0) {
            // One byte more than a line for a CR whose LF is still on its way.
            if (m_buffer.size() > MaxLineBytes + 1)
                finish(Outcome::Failed, step);
            break;
        }
        QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > MaxLineBytes) {
            finish(Outcome::Failed, step);
            break;
        }
        reply(line, step);
    }
    // Whatever followed the server's go-ahead for TLS came in clear text and could have been
    // put there by anyone on the way: it must not be read as a reply of the secured session.
    if (m_state == State::TlsWait)
        m_buffer.clear();
    return step;
}

void Pop3Dialogue::reply(const QByteArray& line, Step& step) {
    const bool ok = positive(line);
    switch (m_state) {
    case State::Greeting:
        if (!ok)
            return finish(Outcome::Refused, step);
        step.send += "CAPA\r\n";
        m_state = State::Capa;
        return;
    case State::Capa:
        // A server that does not know CAPA offers nothing: the plain dialogue.
        if (!ok)
            return login(step);
        m_state = State::CapaList;
        return;
    case State::CapaList:
        if (line == ".") {
            if (!m_offersStls || m_security == MailSecurity::Tls)
                return login(step);
            step.send += "STLS\r\n";
            m_state = State::Stls;
        } else {
            const QList<QByteArray> words = line.simplified().toUpper().split(' ');
            m_offersStls |= words.constFirst() == "STLS";
            if (words.constFirst() == "SASL") {
                m_listsSasl = true;
                m_offersXOAuth2 |= words.contains("XOAUTH2");
                m_offersOAuthBearer |= words.contains("OAUTHBEARER");
            }
        }
        return;
    case State::Stls:
        // It offered TLS and then refused it: never fall back to sending the password openly.
        if (!ok)
            return finish(Outcome::Failed, step);
        step.startTls = true;
        m_state = State::TlsWait;
        return;
    case State::User:
        if (!ok && OAuthSasl::passwordsDisabled(line))
            return finish(Outcome::PasswordsDisabled, step);
        if (!ok)
            return finish(Outcome::Refused, step);
        sendCredential("PASS ", m_password, State::Pass, step);
        m_passwordSent = m_state == State::Pass;
        return;
    case State::Pass:
        if (!ok && OAuthSasl::passwordsDisabled(line))
            return finish(Outcome::PasswordsDisabled, step);
        if (!ok)
            return finish(Outcome::PasswordRefused, step);
        step.send += "STAT\r\n";
        m_state = State::Stat;
        return;
    case State::AuthWait:
    case State::OAuthSent:
    case State::OAuthError:
        if (!ok && m_state == State::AuthWait)
            return finish(Outcome::OAuthUnavailable, step);
        if (!ok)
            return finish(Outcome::TokenRefused, step);
        if (line.startsWith("+ ") || line == "+")
            return oauth(line, step);
        if (m_state != State::OAuthSent)
            return finish(Outcome::Failed, step);
        step.send += "STAT\r\n";
        m_state = State::Stat;
        return;
    case State::Stat: {
        const int n = ok ? statCount(line) : -1;
        if (n < 0)
            return finish(Outcome::Failed, step);
        m_count = n;
        step.announce = n > 0;
        step.send += "QUIT\r\n";
        m_state = State::Quit;
        return;
    }
    case State::Quit:
        // Logged in and counted: a negative answer to QUIT changes neither.
        return finish(m_count > 0 ? Outcome::NewMail : Outcome::NoMail, step);
    case State::TlsWait:
    case State::Done:
        return;
    }
}

void Pop3Dialogue::login(Step& step) {
    // Not upgraded, and the account says it must be: neither name nor password go out.
    if (m_security == MailSecurity::StartTls)
        return finish(Outcome::TlsUnavailable, step);
    sendUser(step);
}

void Pop3Dialogue::sendUser(Step& step) {
    if (!m_oauth)
        return sendCredential("USER ", m_user, State::User, step);
    if (!OAuthSasl::refusal(*m_oauth).isEmpty())
        return finish(Outcome::Failed, step);
    // A server that lists its mechanisms and neither of these cannot take the token.
    if (m_listsSasl && !m_offersXOAuth2 && !m_offersOAuthBearer)
        return finish(Outcome::OAuthUnavailable, step);
    m_mechanism =
        m_offersOAuthBearer ? OAuthSasl::Mechanism::OAuthBearer : OAuthSasl::Mechanism::XOAuth2;
    step.send += "AUTH " + OAuthSasl::name(m_mechanism) + "\r\n";
    m_state = State::AuthWait;
}

void Pop3Dialogue::oauth(const QByteArray& line, Step& step) {
    if (m_state == State::AuthWait) {
        step.send += OAuthSasl::initialResponse(m_mechanism, *m_oauth).toBase64() + "\r\n";
        m_passwordSent = true;
        m_state = State::OAuthSent;
        return;
    }
    // A second challenge after the token is the server's error (base64 JSON): the closing
    // response lets it end the exchange with its -ERR.
    if (m_state != State::OAuthSent || line.size() <= 2)
        return finish(Outcome::Failed, step);
    step.send += OAuthSasl::errorReply(m_mechanism).toBase64() + "\r\n";
    m_state = State::OAuthError;
}

void Pop3Dialogue::sendCredential(const char* command, const QByteArray& value, State next,
                                  Step& step) {
    if (!safeMailArgument(value))
        return finish(Outcome::Failed, step);
    step.send += command + value + "\r\n";
    m_state = next;
}

Pop3Dialogue::Step Pop3Dialogue::tlsReady() {
    Step step;
    if (m_state == State::TlsWait)
        sendUser(step);
    return step;
}

void Pop3Dialogue::finished() {
    m_state = State::Done;
    m_buffer.clear();
}
