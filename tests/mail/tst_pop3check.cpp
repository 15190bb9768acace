#include "mail/Pop3Check.h"
#include "mock/FakeClock.h"
#include "mock/FakeTickTimer.h"

#include <QFile>
#include <QSignalSpy>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTest>

using Outcome = Pop3Dialogue::Outcome;
Q_DECLARE_METATYPE(Outcome)

namespace {

QByteArray testData(const QString& name) {
    QFile f(qEnvironmentVariable("PLUMORA_TEST_DATA") + QStringLiteral("/mail/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A POP3 server on the loopback address answering each command word from a table. It takes
// STLS to TLS with the test certificate and records what it was sent.
class FakePop3 : public QTcpServer {
public:
    QByteArray greeting = "+OK ready\r\n";
    QHash<QByteArray, QByteArray> replies{{"CAPA", "-ERR\r\n"}, {"USER", "+OK\r\n"},
                                          {"PASS", "+OK\r\n"},  {"STAT", "+OK 0 0\r\n"},
                                          {"STLS", "+OK\r\n"},  {"QUIT", "+OK bye\r\n"}};
    QList<QByteArray> seen;
    bool loginEncrypted = false;
    bool clientGone = false;

    FakePop3() {
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
        connect(s, &QSslSocket::readyRead, this, [this, s] {
            while (s->canReadLine()) {
                const QByteArray line = s->readLine().trimmed();
                const QByteArray word = line.split(' ').constFirst();
                seen << line;
                if (word == "USER")
                    loginEncrypted = s->isEncrypted();
                s->write(replies.value(word));
                if (word == "STLS" && replies.value(word).startsWith('+')) {
                    s->flush();
                    s->startServerEncryption();
                }
            }
        });
        s->write(greeting);
    }

private:
    QSslConfiguration m_tls;
};

struct Rig {
    FakeClock clock;
    FakeTickTimer timer{clock};
    Pop3Check check{clock};
    QSignalSpy newMail{&check, &Pop3Check::newMail};
    QSignalSpy passwordRequest{&check, &Pop3Check::passwordRequest};
    QSignalSpy ended{&check, &Pop3Check::ended};

    explicit Rig(quint16 port, bool trustTestCa = true) {
        timer.onTimeout = [this] { check.tick(); };
        check.setTimer(&timer);
        check.setServer(QStringLiteral("127.0.0.1"), port);
        check.setAccount(QStringLiteral("u"), QStringLiteral(" p "));
        if (trustTestCa) {
            QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
            tls.setCaCertificates(QSslCertificate::fromData(testData(QStringLiteral("ca.pem"))));
            check.setSslConfiguration(tls);
        }
    }
    // Fires the once-a-second timer up to `ms` after the start.
    void runTo(qint64 ms) { timer.runUntil(ms); }
};

} // namespace

class TestPop3Check : public QObject {
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

        FakePop3 server;
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

    void serverThatNeverAnswersEndsAtFortyFiveSeconds() {
        FakePop3 server;
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
        QCOMPARE(rig.check.outcome(), Outcome::Failed);
        QTRY_VERIFY(server.clientGone);
        QVERIFY(server.seen.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPop3Check)
#include "tst_pop3check.moc"
