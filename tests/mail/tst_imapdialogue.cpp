// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/DialogueScript.h"
#include "mail/ImapDialogue.h"
#include "mail/ImapReader.h"

#include <QDir>
#include <QFile>
#include <QTest>

using Outcome = MailDialogue::Outcome;
Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(MailSecurity)

namespace {

const QByteArray Hello = "* OK IMAP ready\r\n";
const QByteArray Caps = "* CAPABILITY IMAP4rev1 STARTTLS AUTH=PLAIN\r\n";
const QByteArray CapsNoTls = "* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\n";
const QByteArray Secured = "a1 CAPABILITY\r\na2 STARTTLS\r\na3 CAPABILITY\r\n";
const QByteArray LoggedIn = Secured + "a4 LOGIN \"u\" \"p\"\r\n";
const QByteArray Status = LoggedIn + "a5 STATUS INBOX (UNSEEN)\r\n";
const QByteArray Logout = Status + "a6 LOGOUT\r\n";

// Greeting, STARTTLS and login, up to the STATUS command.
QList<QByteArray> upToStatus() {
    return {Hello, Caps + "a1 OK done\r\n", "a2 OK begin TLS\r\n",
            TlsUp, CapsNoTls + "a3 OK\r\n", "a4 OK logged in\r\n"};
}

} // namespace

class TestImapDialogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dialogue_data() {
        QTest::addColumn<MailSecurity>("security");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QList<QByteArray>>("script");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("announced");
        using L = QList<QByteArray>;
        const auto none = MailSecurity::None;

        QTest::newRow("two unseen, announced at STATUS, closed on LOGOUT's OK")
            << none << "p"
            << (upToStatus() << "* STATUS INBOX (UNSEEN 2)\r\na5 OK\r\n"
                             << "* BYE\r\na6 OK bye\r\n")
            << Logout << Outcome::NewMail << 2;
        QTest::newRow("nothing unseen: silent")
            << none << "p"
            << (upToStatus() << "* STATUS \"INBOX\" (MESSAGES 3 UNSEEN 0)\r\na5 OK\r\n"
                             << "* BYE\r\n"
                             << Lost)
            << Logout << Outcome::NoMail << 0;
        QTest::newRow("mailbox name as a literal, replies split anywhere")
            << none << "p"
            << (upToStatus() << "* STATUS {5}\r\nIN"
                             << "BOX (UNS"
                             << "EEN 7)\r"
                             << "\na5 OK\r\n")
            << Logout << Outcome::Running << 7;
        QTest::newRow("LOGIN refused: password request")
            << none << "p"
            << L{Hello, Caps + "a1 OK\r\n",      "a2 OK\r\n",
                 TlsUp, CapsNoTls + "a3 OK\r\n", "a4 NO [AUTHENTICATIONFAILED] bad\r\n"}
            << LoggedIn << Outcome::PasswordRefused << 0;
        QTest::newRow("STATUS without UNSEEN ends the check")
            << none << "p" << (upToStatus() << "* STATUS INBOX (MESSAGES 4)\r\na5 OK\r\n") << Status
            << Outcome::Failed << 0;
        QTest::newRow("greeting BYE: silent, nothing sent")
            << none << "p" << L{"* BYE too busy\r\n"} << QByteArray() << Outcome::Refused << 0;
        QTest::newRow("a reply to a tag never sent ends the check")
            << none << "p" << L{Hello, "a9 OK\r\n"} << QByteArray("a1 CAPABILITY\r\n")
            << Outcome::Failed << 0;
        QTest::newRow("quotes and backslashes in the password are escaped")
            << none << "p\"\\q"
            << L{Hello, Caps + "a1 OK\r\n", "a2 OK\r\n", TlsUp, CapsNoTls + "a3 OK\r\n"}
            << QByteArray(Secured + "a4 LOGIN \"u\" \"p\\\"\\\\q\"\r\n") << Outcome::Running << 0;
        QTest::newRow("LOGINDISABLED: AUTHENTICATE PLAIN after the go-ahead")
            << none << "p"
            << L{Hello,
                 Caps + "a1 OK\r\n",
                 "a2 OK\r\n",
                 TlsUp,
                 "* CAPABILITY IMAP4rev1 LOGINDISABLED AUTH=PLAIN\r\na3 OK\r\n",
                 "+ \r\n",
                 "a4 OK\r\n"}
            << QByteArray(Secured + "a4 AUTHENTICATE PLAIN\r\n" +
                          QByteArray("\0u\0p", 4).toBase64() + "\r\na5 STATUS INBOX (UNSEEN)\r\n")
            << Outcome::Running << 0;
        QTest::newRow("a password outside ASCII goes by SASL-IR")
            << none << "pé"
            << L{Hello, Caps + "a1 OK\r\n", "a2 OK\r\n", TlsUp,
                 "* CAPABILITY IMAP4rev1 SASL-IR AUTH=PLAIN\r\na3 OK\r\n"}
            << QByteArray(Secured + "a4 AUTHENTICATE PLAIN " +
                          QByteArray("\0u\0p\xc3\xa9", 6).toBase64() + "\r\n")
            << Outcome::Running << 0;
        QTest::newRow("LOGINDISABLED and no PLAIN: no password can work, nothing sent")
            << MailSecurity::Tls << "p"
            << L{Hello, "* CAPABILITY IMAP4rev1 LOGINDISABLED\r\na1 OK\r\n"}
            << QByteArray("a1 CAPABILITY\r\n") << Outcome::PasswordsDisabled << 0;

        // The upgrade.
        QTest::newRow("capabilities from before TLS are forgotten")
            << none << "p"
            << L{Hello,
                 "* CAPABILITY IMAP4rev1 STARTTLS SASL-IR AUTH=PLAIN LOGINDISABLED\r\n"
                 "a1 OK\r\n",
                 "a2 OK\r\n", TlsUp, "* CAPABILITY IMAP4rev1\r\na3 OK\r\n"}
            << LoggedIn << Outcome::Running << 0;
        QTest::newRow("clear text after the go-ahead is dropped")
            << none << "p"
            << L{Hello, Caps + "a1 OK\r\n", "a2 OK\r\na3 OK injected\r\n", TlsUp, "a3 BAD\r\n"}
            << Secured << Outcome::Failed << 0;
        QTest::newRow("failed upgrade: no LOGIN")
            << none << "p" << L{Hello, Caps + "a1 OK\r\n", "a2 OK\r\n", TlsDown}
            << QByteArray("a1 CAPABILITY\r\na2 STARTTLS\r\n") << Outcome::Failed << 0;
        QTest::newRow("STARTTLS refused: no LOGIN")
            << none << "p" << L{Hello, Caps + "a1 OK\r\n", "a2 NO\r\n"}
            << QByteArray("a1 CAPABILITY\r\na2 STARTTLS\r\n") << Outcome::Failed << 0;
        QTest::newRow("STARTTLS required, not offered: nothing sent")
            << MailSecurity::StartTls << "p" << L{Hello, CapsNoTls + "a1 OK\r\n"}
            << QByteArray("a1 CAPABILITY\r\n") << Outcome::TlsUnavailable << 0;
        QTest::newRow("STARTTLS required, PREAUTH in clear: nothing asked")
            << MailSecurity::StartTls << "p" << L{"* PREAUTH hi\r\n"} << QByteArray()
            << Outcome::TlsUnavailable << 0;
        QTest::newRow("plain, no STARTTLS offered, None allows LOGIN")
            << none << "p" << L{Hello, CapsNoTls + "a1 OK\r\n"}
            << QByteArray("a1 CAPABILITY\r\na2 LOGIN \"u\" \"p\"\r\n") << Outcome::Running << 0;
        QTest::newRow("TLS from the start: STARTTLS offered, not asked for")
            << MailSecurity::Tls << "p" << L{Hello, Caps + "a1 OK\r\n"}
            << QByteArray("a1 CAPABILITY\r\na2 LOGIN \"u\" \"p\"\r\n") << Outcome::Running << 0;

        // Bad servers.
        QTest::newRow("a literal announcing 2 GB ends the check at once")
            << none << "p" << L{Hello, "* CAPABILITY {2147483648}\r\n"}
            << QByteArray("a1 CAPABILITY\r\n") << Outcome::Failed << 0;
        QTest::newRow("a line beyond 64 KB ends the check before its end")
            << none << "p" << L{Hello, "* OK " + QByteArray(40000, 'x'), QByteArray(40000, 'x')}
            << QByteArray("a1 CAPABILITY\r\n") << Outcome::Failed << 0;
        QTest::newRow("line break in the user name: nothing more is sent")
            << MailSecurity::Tls << "p\r\na9 DELETE INBOX" << L{Hello, CapsNoTls + "a1 OK\r\n"}
            << QByteArray("a1 CAPABILITY\r\n") << Outcome::Failed << 0;
    }

    void dialogue() {
        QFETCH(MailSecurity, security);
        QFETCH(QString, password);
        QFETCH(QList<QByteArray>, script);
        QFETCH(QByteArray, sent);
        QFETCH(Outcome, outcome);
        QFETCH(int, announced);

        ImapDialogue d(QStringLiteral(" u "), password, security);
        const Run run = play(d, script);
        QCOMPARE(run.sent, sent);
        QCOMPARE(d.outcome(), outcome);
        QCOMPARE(run.announced, announced);
        QVERIFY(!run.finishedEarly);
        QCOMPARE(run.finishedAtEnd, outcome != Outcome::Running);
        QCOMPARE(run.tlsRequested, script.contains(TlsUp) || script.contains(TlsDown));
        // PLAIN credentials for "u" start "\0u\0", in base64 "AHUA".
        QCOMPARE(d.passwordSent(), sent.contains("LOGIN \"") || sent.contains("AHUA"));
        if (d.isFinished())
            QCOMPARE(d.received("* STATUS INBOX (UNSEEN 1)\r\na5 OK\r\n").send, QByteArray());
    }

    // The reader alone: literals may hold line breaks and brackets; tokens keep their kinds.
    void readerTokens() {
        ImapReader reader(1024);
        QList<ImapResponse> out;
        QVERIFY(
            reader.feed("* LIST (\\Noselect) \"/\" {7}\r\na)\r\n\"b(\r\na1 OK [ALERT] x\r\n", out));
        QCOMPARE(out.size(), 2);
        QCOMPARE(out[0].tag, QByteArray("*"));
        using K = ImapToken::Kind;
        const QList<ImapToken> list{{K::Atom, "LIST"}, {K::Open, {}},    {K::Atom, "\\Noselect"},
                                    {K::Close, {}},    {K::String, "/"}, {K::String, "a)\r\n\"b("}};
        QCOMPARE(out[0].tokens, list);
        QCOMPARE(out[1].tag, QByteArray("a1"));
        QCOMPARE(out[1].word(), QByteArray("OK"));
        // A literal of exactly the room left fits; one byte more does not.
        ImapReader exact(16);
        out.clear();
        QVERIFY(exact.feed("* X {5}\r\n12345\r\n", out));
        QCOMPARE(out.size(), 1);
        QVERIFY(!exact.feed("* X {9}\r\n", out));
        QVERIFY(exact.failed());
    }

    // Sample server talk for the fuzz target of the reader.
    void writeSeedCorpus() {
        const QString folder = qEnvironmentVariable("PLUMORA_FUZZ_SEEDS");
        if (folder.isEmpty())
            QSKIP("PLUMORA_FUZZ_SEEDS is not set");
        QVERIFY(QDir().mkpath(folder));
        const QList<std::pair<const char*, QByteArray>> seeds = {
            {"session.txt", "\x05" + Hello + Caps + "a1 OK\r\na2 OK\r\n" + CapsNoTls +
                                "a3 OK\r\na4 OK\r\n* STATUS {5}\r\nINBOX (UNSEEN 7)\r\n"
                                "a5 OK\r\n* BYE\r\na6 OK\r\n"},
            {"auth.txt", "\x30* OK\r\n* CAPABILITY LOGINDISABLED AUTH=PLAIN\r\na1 OK\r\n+ "
                         "\r\na2 NO [AUTHENTICATIONFAILED]\r\n"}};
        for (const auto& [name, data] : seeds) {
            QFile f(QDir(folder).filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(data), data.size());
        }
    }
};

QTEST_APPLESS_MAIN(TestImapDialogue)
#include "tst_imapdialogue.moc"
