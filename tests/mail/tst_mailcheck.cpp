// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailCheck.h"
#include "mock/FakeClock.h"
#include "mock/FakeTickTimer.h"

#include <QFile>
#include <QSignalSpy>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTest>

using Outcome = MailDialogue::Outcome;
Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(MailSecurity)

namespace {

QByteArray testData(const QString& name) {
    QFile f(qEnvironmentVariable("PLUMORA_TEST_DATA") + QStringLiteral("/mail/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A POP3 or IMAP server on the loopback address answering each command word from a table
// ("%t" in a reply stands for the command's tag). It takes STLS or STARTTLS to TLS with the
// test certificate, or speaks TLS from the start, and records what it was sent.
class FakeMailServer : public QTcpServer {
public:
    bool implicitTls = false;
    bool stallHandshake = false; // accept, then never answer the TLS handshake
    QByteArray greeting = "+OK ready\r\n";
    QHash<QByteArray, QByteArray> replies{{"CAPA", "-ERR\r\n"}, {"USER", "+OK\r\n"},
                                          {"PASS", "+OK\r\n"},  {"STAT", "+OK 0 0\r\n"},
                                          {"STLS", "+OK\r\n"},  {"QUIT", "+OK bye\r\n"}};
    QList<QByteArray> seen;
    bool loginEncrypted = false;
    bool clientGone = false;

    FakeMailServer() {
        m_tls.setLocalCertificate(QSslCertificate(testData(QStringLiteral("server.pem"))));
        m_tls.setPrivateKey(QSslKey(testData(QStringLiteral("server.key")), QSsl::Ec));
        m_tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        listen(QHostAddress::LocalHost);
    }

protected:
    void incomingConnection(qintptr fd) override {
        auto* s = new QSslSocket(this);
        s->setSocketDescriptor(fd);
        s->setSslConfiguration(m_tls);
        connect(s, &QSslSocket::disconnected, this, [this] { clientGone = true; });
        if (stallHandshake)
            return;
        connect(s, &QSslSocket::readyRead, this, [this, s] {
            while (s->canReadLine()) {
                const QByteArray line = s->readLine().trimmed();
                QList<QByteArray> words = line.split(' ');
                // IMAP commands start with a tag.
                const bool tagged = words.size() > 1 && words[0].startsWith('a');
                const QByteArray tag = tagged ? words.takeFirst() : QByteArray();
                const QByteArray word = words.constFirst();
                seen << line;
                if (word == "USER" || word == "LOGIN")
                    loginEncrypted = s->isEncrypted();
                s->write(QByteArray(replies.value(word)).replace("%t", tag));
                if ((word == "STLS" || word == "STARTTLS") && !replies.value(word).contains("NO") &&
                    !replies.value(word).startsWith('-')) {
                    s->flush();
                    s->startServerEncryption();
                }
            }
        });
        if (implicitTls) {
            connect(s, &QSslSocket::encrypted, this, [this, s] { s->write(greeting); });
            s->startServerEncryption();
        } else {
            s->write(greeting);
        }
    }

private:
    QSslConfiguration m_tls;
};

struct Rig {
    FakeClock clock;
    FakeTickTimer timer{clock};
    int wakes = 0; // the timer's calls
    MailCheck check{clock};
    QSignalSpy newMail{&check, &MailCheck::newMail};
    QSignalSpy passwordRequest{&check, &MailCheck::passwordRequest};
    QSignalSpy ended{&check, &MailCheck::ended};
    QSignalSpy problem{&check, &MailCheck::problem};

    explicit Rig(quint16 port, bool trustTestCa = true, MailSecurity security = MailSecurity::None,
                 const QString& type = QStringLiteral("pop3")) {
        timer.onTimeout = [this] {
            ++wakes;
            check.tick();
        };
        check.setTimer(&timer);
        check.setAccount({QStringLiteral("u"), QStringLiteral("127.0.0.1"), type, port, security},
                         QStringLiteral(" p "));
        if (trustTestCa)
            check.setAuthorities(testData(QStringLiteral("ca.pem")));
    }
    // Fires the check's timer up to `ms` after the start.
    void runTo(qint64 ms) { timer.runUntil(ms); }
};

} // namespace

class TestMailCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(!testData(QStringLiteral("ca.pem")).isEmpty(), "PLUMORA_TEST_DATA not set");
        if (!QSslSocket::supportsSsl())
            QSKIP("no TLS backend");
    }

    void dialogue_data() {
        QTest::addColumn<QByteArray>("capa");
        QTest::addColumn<QByteArray>("pass");
        QTest::addColumn<QByteArray>("stat");
        QTest::addColumn<bool>("trustTestCa");
        QTest::addColumn<QList<QByteArray>>("seen");
        QTest::addColumn<Outcome>("outcome");

        const QByteArray ok = "+OK\r\n";
        const QByteArray stls = "+OK\r\nUSER\r\nSTLS\r\n.\r\n";
        const QList<QByteArray> plain{"CAPA", "USER u", "PASS p", "STAT", "QUIT"};
        const QList<QByteArray> secured{"CAPA", "STLS", "USER u", "PASS p", "STAT", "QUIT"};

        QTest::newRow("no CAPA, empty mailbox")
            << QByteArray("-ERR\r\n") << ok << QByteArray("+OK 0 0\r\n") << true << plain
            << Outcome::NoMail;
        QTest::newRow("password refused")
            << QByteArray("-ERR\r\n") << QByteArray("-ERR auth\r\n") << QByteArray() << true
            << plain.mid(0, 3) << Outcome::PasswordRefused;
        QTest::newRow("STLS upgrade, two messages")
            << stls << ok << QByteArray("+OK 2 10\r\n") << true << secured << Outcome::NewMail;
        QTest::newRow("STLS with an untrusted certificate: no USER")
            << stls << ok << QByteArray() << false << secured.mid(0, 2) << Outcome::Failed;
    }

    void dialogue() {
        QFETCH(QByteArray, capa);
        QFETCH(QByteArray, pass);
        QFETCH(QByteArray, stat);
        QFETCH(bool, trustTestCa);
        QFETCH(QList<QByteArray>, seen);
        QFETCH(Outcome, outcome);

        FakeMailServer server;
        server.replies[QByteArrayLiteral("CAPA")] = capa;
        server.replies[QByteArrayLiteral("PASS")] = pass;
        server.replies[QByteArrayLiteral("STAT")] = stat;
        Rig rig(server.serverPort(), trustTestCa);
        QVERIFY(rig.check.start());

        QTRY_VERIFY(rig.check.outcome() != Outcome::Running);
        QCOMPARE(rig.check.outcome(), outcome);
        QTRY_VERIFY(server.clientGone);
        QCOMPARE(server.seen, seen);
        QCOMPARE(server.loginEncrypted, seen.contains("STLS") && seen.contains("USER u"));
        QCOMPARE(rig.passwordRequest.count(), outcome == Outcome::PasswordRefused ? 1 : 0);
        // Every failure says why, for Options; a check that got through says nothing.
        QCOMPARE(rig.check.failure().isEmpty(),
                 outcome == Outcome::NoMail || outcome == Outcome::NewMail);

        if (outcome != Outcome::NewMail) {
            QCOMPARE(rig.newMail.count(), 0);
            QCOMPARE(rig.ended.count(), 1);
            QVERIFY(!rig.check.isRunning());
            return;
        }
        // The notice stays 15 seconds after the count, then goes.
        QCOMPARE(rig.newMail.count(), 1);
        QCOMPARE(rig.newMail.at(0).at(0).toInt(), rig.check.count());
        QCOMPARE(rig.ended.count(), 0);
        rig.runTo(14000);
        QCOMPARE(rig.ended.count(), 0);
        rig.runTo(15000);
        QCOMPARE(rig.ended.count(), 1);
    }

    // The account's type and security against servers that speak TLS from the start or
    // upgrade; a refused certificate or a missing STARTTLS is told, and nothing is logged in.
    void transport_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<MailSecurity>("security");
        QTest::addColumn<bool>("trustTestCa");
        QTest::addColumn<QList<QByteArray>>("seen");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<bool>("told");
        const QString pop = QStringLiteral("pop3"), imap = QStringLiteral("imap");
        const QList<QByteArray> pop3Login{"CAPA", "USER u", "PASS p", "STAT", "QUIT"};
        const QList<QByteArray> imapTls{"a1 CAPABILITY", "a2 LOGIN \"u\" \"p\"",
                                        "a3 STATUS INBOX (UNSEEN)", "a4 LOGOUT"};
        QTest::newRow("POP3 on TLS from the start")
            << pop << MailSecurity::Tls << true << pop3Login << Outcome::NewMail << false;
        QTest::newRow("POP3 on TLS, certificate not trusted: told, nothing read or sent")
            << pop << MailSecurity::Tls << false << QList<QByteArray>{} << Outcome::Failed << true;
        QTest::newRow("POP3 requiring STARTTLS from a server without STLS: told, no USER")
            << pop << MailSecurity::StartTls << true << QList<QByteArray>{"CAPA"}
            << Outcome::TlsUnavailable << true;
        QTest::newRow("IMAP on TLS from the start")
            << imap << MailSecurity::Tls << true << imapTls << Outcome::NewMail << false;
        QTest::newRow("IMAP with STARTTLS") << imap << MailSecurity::StartTls << true
                                            << QList<QByteArray>{"a1 CAPABILITY",
                                                                 "a2 STARTTLS",
                                                                 "a3 CAPABILITY",
                                                                 "a4 LOGIN \"u\" \"p\"",
                                                                 "a5 STATUS INBOX (UNSEEN)",
                                                                 "a6 LOGOUT"}
                                            << Outcome::NewMail << false;
        QTest::newRow("IMAP with STARTTLS, certificate not trusted: no LOGIN")
            << imap << MailSecurity::None << false
            << QList<QByteArray>{"a1 CAPABILITY", "a2 STARTTLS"} << Outcome::Failed << true;
    }
    void transport() {
        QFETCH(QString, type);
        QFETCH(MailSecurity, security);
        QFETCH(bool, trustTestCa);
        QFETCH(QList<QByteArray>, seen);
        QFETCH(Outcome, outcome);
        QFETCH(bool, told);

        FakeMailServer server;
        server.implicitTls = security == MailSecurity::Tls;
        server.replies[QByteArrayLiteral("STAT")] = "+OK 2 10\r\n";
        if (type == QLatin1String("imap")) {
            server.greeting = "* OK IMAP ready\r\n";
            server.replies = {{"CAPABILITY", "* CAPABILITY IMAP4rev1 STARTTLS\r\n%t OK\r\n"},
                              {"STARTTLS", "%t OK begin\r\n"},
                              {"LOGIN", "%t OK\r\n"},
                              {"STATUS", "* STATUS INBOX (UNSEEN 2)\r\n%t OK\r\n"},
                              {"LOGOUT", "* BYE\r\n%t OK\r\n"}};
        }
        Rig rig(server.serverPort(), trustTestCa, security, type);
        QVERIFY(rig.check.start());
        QTRY_VERIFY(rig.check.outcome() != Outcome::Running);
        QCOMPARE(rig.check.outcome(), outcome);
        QTRY_VERIFY(server.clientGone);
        QCOMPARE(server.seen, seen);
        QCOMPARE(server.loginEncrypted, outcome == Outcome::NewMail);
        QCOMPARE(rig.problem.count(), told ? 1 : 0);
        if (told && !trustTestCa)
            QVERIFY(rig.problem.at(0).at(0).toString().contains(QStringLiteral("127.0.0.1")));
        if (outcome == Outcome::NewMail)
            QCOMPARE(rig.newMail.at(0).at(0).toInt(), 2);
    }

    // A server that takes the connection and never completes the TLS handshake.
    void stalledHandshakeEndsAtFortyFiveSeconds() {
        FakeMailServer server;
        server.implicitTls = true;
        server.stallHandshake = true;
        Rig rig(server.serverPort(), true, MailSecurity::Tls);
        QVERIFY(rig.check.start());
        QTRY_COMPARE(server.findChildren<QSslSocket*>().size(), 1);
        // A timer that comes early changes nothing: the check sleeps again for the rest.
        rig.runTo(30000);
        rig.check.tick();
        rig.runTo(44000);
        QCOMPARE(rig.ended.count(), 0);
        rig.runTo(45000);
        QCOMPARE(rig.ended.count(), 1);
        QCOMPARE(rig.problem.count(), 0);
        QCOMPARE(rig.check.failure(),
                 QStringLiteral("127.0.0.1:%1 did not answer within 45 seconds")
                     .arg(server.serverPort()));
    }

    void serverThatNeverAnswersEndsAtFortyFiveSeconds() {
        FakeMailServer server;
        server.greeting.clear();
        Rig rig(server.serverPort());
        QVERIFY(rig.check.start());
        QTRY_COMPARE(server.findChildren<QSslSocket*>().size(), 1);
        // Wall time going back does not stretch the limit.
        rig.clock.set(rig.clock.now().addSecs(-3600));
        rig.runTo(44000);
        QCOMPARE(rig.ended.count(), 0);
        rig.runTo(45000);
        QCOMPARE(rig.ended.count(), 1);
        // Asleep until the limit: one wake-up in 45 seconds, not one a second.
        QCOMPARE(rig.wakes, 1);
        QCOMPARE(rig.check.outcome(), Outcome::Failed);
        QCOMPARE(rig.check.failure(),
                 QStringLiteral("127.0.0.1:%1 did not answer within 45 seconds")
                     .arg(server.serverPort()));
        QTRY_VERIFY(server.clientGone);
        QVERIFY(server.seen.isEmpty());
    }

    // Nothing listens on the port: the check ends at once and says why, for Options.
    void nothingListeningSaysSo() {
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            port = probe.serverPort();
        }
        Rig rig(port, true, MailSecurity::Tls);
        QVERIFY(rig.check.start());
        QTRY_COMPARE(rig.ended.count(), 1);
        QCOMPARE(rig.check.outcome(), Outcome::Failed);
        QCOMPARE(
            rig.check.failure(),
            QStringLiteral("could not connect to 127.0.0.1:%1 (connection refused)").arg(port));
        QCOMPARE(rig.problem.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMailCheck)
#include "tst_mailcheck.moc"
