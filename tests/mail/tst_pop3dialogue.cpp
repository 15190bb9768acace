// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/DialogueScript.h"
#include "mail/Pop3Dialogue.h"
#include "mock/FuzzSeeds.h"

#include <QTest>

using Outcome = Pop3Dialogue::Outcome;
Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(MailSecurity)

namespace {

const QByteArray Greeting = "+OK POP3 ready\r\n";
const QByteArray NoCapa = "-ERR unknown command\r\n";
const QByteArray Plain = "CAPA\r\nUSER u\r\n";
const QByteArray Login = "CAPA\r\nUSER u\r\nPASS p\r\n";

} // namespace

class TestPop3Dialogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dialogue_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QList<QByteArray>>("script");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("announced");

        const QByteArray stat = Login + "STAT\r\n";
        const QByteArray quit = stat + "QUIT\r\n";
        using L = QList<QByteArray>;
        const L login{Greeting, NoCapa, "+OK\r\n", "+OK\r\n"};

        QTest::newRow("empty mailbox: QUIT, closed on its +OK") << "p"
                                                                << (L(login) << "+OK 0 0\r\n"
                                                                             << "+OK bye\r\n")
                                                                << quit << Outcome::NoMail << 0;
        QTest::newRow("three messages announced at STAT") << "p"
                                                          << (L(login) << "+OK 3 4500\r\n"
                                                                       << "+OK\r\n")
                                                          << quit << Outcome::NewMail << 3;
        QTest::newRow("QUIT refused: no password request") << "p"
                                                           << (L(login) << "+OK 0 0\r\n"
                                                                        << "-ERR\r\n")
                                                           << quit << Outcome::NoMail << 0;
        QTest::newRow("dropped after the count keeps it") << "p"
                                                          << (L(login) << "+OK 5 10\r\n"
                                                                       << Lost)
                                                          << quit << Outcome::NewMail << 5;
        QTest::newRow("STAT refused: not a password matter")
            << "p" << (L(login) << "-ERR locked\r\n") << stat << Outcome::Failed << 0;
        QTest::newRow("USER refused: silent, no password sent")
            << "p" << L{Greeting, NoCapa, "-ERR who?\r\n"} << Plain << Outcome::Refused << 0;
        QTest::newRow("PASS refused: password request")
            << "p" << L{Greeting, NoCapa, "+OK\r\n", "-ERR bad login\r\n"} << Login
            << Outcome::PasswordRefused << 0;
        QTest::newRow("blanks around the password are not sent")
            << " \tp  " << L{Greeting, NoCapa, "+OK\r\n"} << Login << Outcome::Running << 0;
        QTest::newRow("line break in the password: nothing more is sent")
            << "p\r\nDELE 1" << L{Greeting, NoCapa, "+OK\r\n"} << Plain << Outcome::Failed << 0;

        // Framing.
        QTest::newRow("greeting split over three reads is one reply")
            << "p" << L{"+O", "K ready\r", "\n"} << QByteArray("CAPA\r\n") << Outcome::Running << 0;
        QTest::newRow("two replies in one read are two")
            << "p" << L{Greeting + NoCapa} << Plain << Outcome::Running << 0;
        QTest::newRow("line of 4097 bytes ends the check")
            << "p" << L{"+" + QByteArray(4096, 'x') + "\r\n"} << QByteArray() << Outcome::Failed
            << 0;
        QTest::newRow("endless line ends the check before its end arrives")
            << "p" << L{"+OK", QByteArray(3000, 'x'), QByteArray(3000, 'x')} << QByteArray()
            << Outcome::Failed << 0;

        // STAT replies that hold no usable count.
        for (const char* reply : {"+OK many 100\r\n", "+OK 3\r\n", "+OK 99999999999 1\r\n"})
            QTest::addRow("STAT reply %s", QByteArray(reply).trimmed().constData())
                << "p" << (L(login) << reply) << stat << Outcome::Failed << 0;

        // CAPA and the TLS upgrade.
        const QByteArray capa = "+OK capabilities\r\nTOP\r\nUSER\r\n";
        QTest::newRow("CAPA without STLS: plain dialogue")
            << "p" << L{Greeting, capa + ".\r\n", "+OK\r\n"} << Login << Outcome::Running << 0;
        QTest::newRow("CAPA list in pieces with STLS in lower case")
            << "p" << L{Greeting, capa, "stls\r\n", ".", "\r\n"} << QByteArray("CAPA\r\nSTLS\r\n")
            << Outcome::Running << 0;
        QTest::newRow("STLS: USER only after the upgrade")
            << "p" << L{Greeting, capa + "STLS\r\n.\r\n", "+OK begin TLS\r\n", TlsUp, "+OK\r\n"}
            << QByteArray("CAPA\r\nSTLS\r\nUSER u\r\nPASS p\r\n") << Outcome::Running << 0;
        QTest::newRow("clear text after the go-ahead is not a secured reply")
            << "p"
            << L{Greeting, capa + "STLS\r\n.\r\n", "+OK begin\r\n+OK injected\r\n", TlsUp,
                 "-ERR no such user\r\n"}
            << QByteArray("CAPA\r\nSTLS\r\nUSER u\r\n") << Outcome::Refused << 0;
        QTest::newRow("failed upgrade: no USER, no clear-text fallback")
            << "p" << L{Greeting, capa + "STLS\r\n.\r\n", "+OK\r\n", TlsDown}
            << QByteArray("CAPA\r\nSTLS\r\n") << Outcome::Failed << 0;
        QTest::newRow("STLS offered then refused: no USER")
            << "p" << L{Greeting, capa + "STLS\r\n.\r\n", "-ERR not now\r\n"}
            << QByteArray("CAPA\r\nSTLS\r\n") << Outcome::Failed << 0;
    }

    // The account's security: required STARTTLS never lets USER out unsecured; a connection
    // that is TLS from the start asks for no upgrade.
    void security_data() {
        QTest::addColumn<MailSecurity>("security");
        QTest::addColumn<QList<QByteArray>>("script");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<Outcome>("outcome");
        using L = QList<QByteArray>;
        const QByteArray capa = "+OK\r\nUSER\r\n";
        const QByteArray stls = capa + "STLS\r\n.\r\n";
        QTest::newRow("STARTTLS required, CAPA without STLS")
            << MailSecurity::StartTls << L{Greeting, capa + ".\r\n"} << QByteArray("CAPA\r\n")
            << Outcome::TlsUnavailable;
        QTest::newRow("STARTTLS required, CAPA refused")
            << MailSecurity::StartTls << L{Greeting, NoCapa} << QByteArray("CAPA\r\n")
            << Outcome::TlsUnavailable;
        QTest::newRow("STARTTLS required and offered")
            << MailSecurity::StartTls << L{Greeting, stls, "+OK\r\n", TlsUp}
            << QByteArray("CAPA\r\nSTLS\r\nUSER u\r\n") << Outcome::Running;
        QTest::newRow("TLS from the start: STLS offered, not asked for")
            << MailSecurity::Tls << L{Greeting, stls, "+OK\r\n"} << Login << Outcome::Running;
        QTest::newRow("None: STLS offered is still taken")
            << MailSecurity::None << L{Greeting, stls} << QByteArray("CAPA\r\nSTLS\r\n")
            << Outcome::Running;
    }
    void security() {
        QFETCH(MailSecurity, security);
        QFETCH(QList<QByteArray>, script);
        QFETCH(QByteArray, sent);
        QFETCH(Outcome, outcome);
        Pop3Dialogue d(QStringLiteral("u"), QStringLiteral("p"), security);
        QCOMPARE(play(d, script).sent, sent);
        QCOMPARE(d.outcome(), outcome);
        QCOMPARE(d.passwordSent(), sent.contains("PASS"));
    }

    void dialogue() {
        QFETCH(QString, password);
        QFETCH(QList<QByteArray>, script);
        QFETCH(QByteArray, sent);
        QFETCH(Outcome, outcome);
        QFETCH(int, announced);

        Pop3Dialogue d(QStringLiteral(" u "), password);
        const Run run = play(d, script);
        QCOMPARE(run.sent, sent);
        QCOMPARE(d.outcome(), outcome);
        QCOMPARE(run.announced, announced);
        QVERIFY(!run.finishedEarly);
        QCOMPARE(run.finishedAtEnd, outcome != Outcome::Running);
        // Each script reports an upgrade's result exactly where one was asked for.
        QCOMPARE(run.tlsRequested, script.contains(TlsUp) || script.contains(TlsDown));
        QCOMPARE(d.passwordSent(), sent.contains("PASS"));
        // A finished dialogue neither reads nor sends any more.
        if (d.isFinished())
            QCOMPARE(d.received("+OK 1 1\r\n").send, QByteArray());
    }

    // The fuzz target's corpus: a first byte choosing the read size, then server bytes.
    void writeSeedCorpus() {
        PLUMORA_WRITE_FUZZ_SEEDS(
            {{"plain", "\x05" + Greeting + "-ERR no\r\n+OK\r\n+OK\r\n+OK 2 300\r\n+OK\r\n"},
             {"stls", "\x85" + Greeting + "+OK\r\nSTLS\r\nUSER\r\n.\r\n+OK begin\r\n+OK\r\n"},
             {"refused", "\x01" + Greeting + "-ERR\r\n+OK\r\n-ERR bad\r\n"}});
    }
};

QTEST_APPLESS_MAIN(TestPop3Dialogue)
#include "tst_pop3dialogue.moc"
