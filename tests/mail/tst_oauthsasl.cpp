// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/DialogueScript.h"
#include "mail/ImapDialogue.h"
#include "mail/OAuthSasl.h"
#include "mail/Pop3Dialogue.h"

#include <QTest>

using Outcome = MailDialogue::Outcome;
using Mechanism = OAuthSasl::Mechanism;

namespace {

const OAuthLogin Login{"ann@example.org", "ya29.tok", "imap.example.org", 993};
const QByteArray XOAuth2 = QByteArray("user=ann@example.org\x01"
                                      "auth=Bearer ya29.tok\x01\x01")
                               .toBase64();
const QByteArray Bearer = QByteArray("n,a=ann@example.org,\x01host=imap.example.org\x01"
                                     "port=993\x01"
                                     "auth=Bearer ya29.tok\x01\x01")
                              .toBase64();
// {"status":"invalid_token"} as a server's error challenge.
const QByteArray ErrorChallenge = QByteArray(R"({"status":"invalid_token"})").toBase64();

} // namespace

class TestOAuthSasl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initialResponses() {
        QCOMPARE(OAuthSasl::initialResponse(Mechanism::XOAuth2, Login).toBase64(), XOAuth2);
        QCOMPARE(OAuthSasl::initialResponse(Mechanism::OAuthBearer, Login).toBase64(), Bearer);
        // The GS2 header escapes "," and "=" in the name.
        OAuthLogin odd = Login;
        odd.user = "a,b=c";
        QVERIFY(
            OAuthSasl::initialResponse(Mechanism::OAuthBearer, odd).startsWith("n,a=a=2Cb=3Dc,"));
        QCOMPARE(OAuthSasl::errorReply(Mechanism::XOAuth2), QByteArray());
        QCOMPARE(OAuthSasl::errorReply(Mechanism::OAuthBearer), QByteArray("\x01"));
    }

    // Nothing goes out that would break the command or that no server could take.
    void refusedBeforeSending() {
        QVERIFY(OAuthSasl::refusal(Login).isEmpty());
        const QList<std::pair<QByteArray OAuthLogin::*, QByteArray>> bad{
            {&OAuthLogin::token, ""},
            {&OAuthLogin::token, QByteArray(OAuthSasl::MaxTokenBytes + 1, 'a')},
            {&OAuthLogin::token, "a\x01"
                                 "b"},
            {&OAuthLogin::user, "ann\r\na2 DELETE INBOX"},
            {&OAuthLogin::user, QByteArray("ann\0x", 5)},
            {&OAuthLogin::host, "imap\n.example.org"}};
        for (const auto& [field, value] : bad) {
            OAuthLogin l = Login;
            l.*field = value;
            QVERIFY2(!OAuthSasl::refusal(l).isEmpty(), value.left(20).constData());
            // Neither dialogue sends anything of it.
            ImapDialogue imap(l, MailSecurity::Tls);
            const Run i = play(
                imap, {"* OK\r\n", "* CAPABILITY IMAP4rev1 SASL-IR AUTH=XOAUTH2\r\na1 OK\r\n"});
            QCOMPARE(i.sent, QByteArray("a1 CAPABILITY\r\n"));
            QCOMPARE(imap.outcome(), Outcome::Failed);
            Pop3Dialogue pop(l, MailSecurity::Tls);
            QCOMPARE(play(pop, {"+OK\r\n", "-ERR\r\n"}).sent, QByteArray("CAPA\r\n"));
            QCOMPARE(pop.outcome(), Outcome::Failed);
        }
        OAuthLogin full = Login;
        full.token = QByteArray(OAuthSasl::MaxTokenBytes, 'a');
        QVERIFY(OAuthSasl::refusal(full).isEmpty());
    }

    void imap_data() {
        QTest::addColumn<QList<QByteArray>>("script");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<Outcome>("outcome");
        using L = QList<QByteArray>;
        const QByteArray hello = "* OK ready\r\n";
        QTest::newRow("XOAUTH2 by SASL-IR, then STATUS")
            << L{hello, "* CAPABILITY IMAP4rev1 SASL-IR AUTH=PLAIN AUTH=XOAUTH2\r\na1 OK\r\n",
                 "a2 OK signed in\r\n"}
            << "a1 CAPABILITY\r\na2 AUTHENTICATE XOAUTH2 " + XOAuth2 +
                   "\r\na3 STATUS INBOX (UNSEEN)\r\n"
            << Outcome::Running;
        QTest::newRow("OAUTHBEARER preferred where listed; token after the go-ahead")
            << L{hello, "* CAPABILITY IMAP4rev1 AUTH=XOAUTH2 AUTH=OAUTHBEARER\r\na1 OK\r\n",
                 "+ \r\n"}
            << "a1 CAPABILITY\r\na2 AUTHENTICATE OAUTHBEARER\r\n" + Bearer + "\r\n"
            << Outcome::Running;
        QTest::newRow("XOAUTH2 error challenge: empty response, then the refusal")
            << L{hello, "* CAPABILITY IMAP4rev1 SASL-IR AUTH=XOAUTH2\r\na1 OK\r\n",
                 "+ " + ErrorChallenge + "\r\n", "a2 NO [AUTHENTICATIONFAILED] failed\r\n"}
            << "a1 CAPABILITY\r\na2 AUTHENTICATE XOAUTH2 " + XOAuth2 + "\r\n\r\n"
            << Outcome::TokenRefused;
        QTest::newRow("OAUTHBEARER error challenge: ^A, then the refusal")
            << L{hello, "* CAPABILITY IMAP4rev1 SASL-IR AUTH=OAUTHBEARER\r\na1 OK\r\n",
                 "+ " + ErrorChallenge + "\r\n", "a2 NO failed\r\n"}
            << "a1 CAPABILITY\r\na2 AUTHENTICATE OAUTHBEARER " + Bearer + "\r\nAQ==\r\n"
            << Outcome::TokenRefused;
        QTest::newRow("a second challenge after the closing response ends the check")
            << L{hello, "* CAPABILITY IMAP4rev1 SASL-IR AUTH=XOAUTH2\r\na1 OK\r\n",
                 "+ " + ErrorChallenge + "\r\n", "+ \r\n"}
            << "a1 CAPABILITY\r\na2 AUTHENTICATE XOAUTH2 " + XOAuth2 + "\r\n\r\n"
            << Outcome::Failed;
        QTest::newRow("no OAuth2 mechanism: the token stays home")
            << L{hello, "* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\na1 OK\r\n"}
            << QByteArray("a1 CAPABILITY\r\n") << Outcome::OAuthUnavailable;
    }
    void imap() {
        QFETCH(QList<QByteArray>, script);
        QFETCH(QByteArray, sent);
        QFETCH(Outcome, outcome);
        ImapDialogue d(Login, MailSecurity::Tls);
        QCOMPARE(play(d, script).sent, sent);
        QCOMPARE(d.outcome(), outcome);
        QCOMPARE(d.passwordSent(), sent.contains(XOAuth2) || sent.contains(Bearer));
    }

    void pop3_data() {
        QTest::addColumn<QList<QByteArray>>("script");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<Outcome>("outcome");
        using L = QList<QByteArray>;
        const QByteArray capa = "+OK\r\nUSER\r\nSASL PLAIN XOAUTH2\r\n.\r\n";
        QTest::newRow("AUTH XOAUTH2, token after the go-ahead, STAT")
            << L{"+OK\r\n", capa, "+ \r\n", "+OK signed in\r\n", "+OK 2 40\r\n"}
            << "CAPA\r\nAUTH XOAUTH2\r\n" + XOAuth2 + "\r\nSTAT\r\nQUIT\r\n"
            << Outcome::Running;
        QTest::newRow("OAUTHBEARER where listed")
            << L{"+OK\r\n", "+OK\r\nSASL XOAUTH2 OAUTHBEARER\r\n.\r\n", "+ \r\n"}
            << "CAPA\r\nAUTH OAUTHBEARER\r\n" + Bearer + "\r\n"
            << Outcome::Running;
        QTest::newRow("error challenge: empty response, -ERR is the token refused")
            << L{"+OK\r\n", capa, "+ \r\n", "+ " + ErrorChallenge + "\r\n", "-ERR failed\r\n"}
            << "CAPA\r\nAUTH XOAUTH2\r\n" + XOAuth2 + "\r\n\r\n"
            << Outcome::TokenRefused;
        QTest::newRow("no SASL line: XOAUTH2 is tried")
            << L{"+OK\r\n", "-ERR\r\n", "+ \r\n", "-ERR [AUTH] failed\r\n"}
            << "CAPA\r\nAUTH XOAUTH2\r\n" + XOAuth2 + "\r\n"
            << Outcome::TokenRefused;
        QTest::newRow("AUTH refused before the token: none offered")
            << L{"+OK\r\n", "-ERR\r\n", "-ERR unknown mechanism\r\n"}
            << QByteArray("CAPA\r\nAUTH XOAUTH2\r\n") << Outcome::OAuthUnavailable;
        QTest::newRow("SASL line without an OAuth2 mechanism: nothing sent")
            << L{"+OK\r\n", "+OK\r\nSASL PLAIN\r\n.\r\n"} << QByteArray("CAPA\r\n")
            << Outcome::OAuthUnavailable;
    }
    void pop3() {
        QFETCH(QList<QByteArray>, script);
        QFETCH(QByteArray, sent);
        QFETCH(Outcome, outcome);
        Pop3Dialogue d(Login, MailSecurity::Tls);
        QCOMPARE(play(d, script).sent, sent);
        QCOMPARE(d.outcome(), outcome);
        QCOMPARE(d.passwordSent(), sent.contains(XOAuth2) || sent.contains(Bearer));
    }

    // Servers that take no passwords: told apart from a wrong password.
    void passwordsDisabled() {
        using L = QList<QByteArray>;
        Pop3Dialogue pop(QStringLiteral("u"), QStringLiteral("p"));
        play(pop, L{"+OK\r\n", "-ERR\r\n", "+OK\r\n",
                    "-ERR Logon failure: Basic authentication is disabled.\r\n"});
        QCOMPARE(pop.outcome(), Outcome::PasswordsDisabled);

        const QByteArray caps = "* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\na1 OK\r\n";
        ImapDialogue refused(QStringLiteral("u"), QStringLiteral("p"), MailSecurity::Tls);
        play(refused, L{"* OK\r\n", caps,
                        "a2 NO [AUTHENTICATIONFAILED] Basic authentication is disabled.\r\n"});
        QCOMPARE(refused.outcome(), Outcome::PasswordsDisabled);
        ImapDialogue wrong(QStringLiteral("u"), QStringLiteral("p"), MailSecurity::Tls);
        play(wrong, L{"* OK\r\n", caps, "a2 NO [AUTHENTICATIONFAILED] Authentication failed.\r\n"});
        QCOMPARE(wrong.outcome(), Outcome::PasswordRefused);

        // LOGINDISABLED without AUTH=PLAIN once secured: nothing is sent.
        ImapDialogue disabled(QStringLiteral("u"), QStringLiteral("p"), MailSecurity::Tls);
        const Run run = play(disabled, L{"* OK\r\n", "* CAPABILITY IMAP4rev1 LOGINDISABLED "
                                                     "AUTH=XOAUTH2\r\na1 OK\r\n"});
        QCOMPARE(run.sent, QByteArray("a1 CAPABILITY\r\n"));
        QCOMPARE(disabled.outcome(), Outcome::PasswordsDisabled);
    }
};

QTEST_APPLESS_MAIN(TestOAuthSasl)
#include "tst_oauthsasl.moc"
