// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BoundedRead.h"
#include "platform/HttpDownloader.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <optional>

namespace {

// Answers each request by its path: "/ok" five bytes, "/missing" 404, "/declared" a
// Content-Length of 100, "/undeclared" 100 bytes without a length, "/silent" never.
class TinyServer : public QTcpServer {
public:
    int open = 0; // connections still open
    TinyServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                ++open;
                connect(s, &QTcpSocket::disconnected, this, [this, s] {
                    --open;
                    s->deleteLater();
                });
                connect(s, &QTcpSocket::readyRead, s, [s] { answer(s); });
            }
        });
    }

private:
    static void answer(QTcpSocket* s) {
        const QByteArray request = s->peek(4096);
        if (!request.contains("\r\n\r\n"))
            return;
        s->readAll();
        const QByteArray path = request.split(' ').value(1);
        const QByteArray hundred(100, 'x');
        if (path == "/silent")
            return;
        if (path == "/ok")
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello");
        else if (path == "/declared")
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n" +
                     hundred);
        else if (path == "/undeclared")
            s->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + hundred);
        else
            s->write("HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\nConnection: close\r\n\r\nno");
        s->disconnectFromHost();
    }
};

} // namespace

class TestHttpDownloader : public QObject {
    Q_OBJECT
    TinyServer m_server;

    QUrl url(const char* path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_server.listen(QHostAddress::LocalHost)); }

    void fetch_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("tooLarge");
        QTest::addColumn<bool>("failed");
        QTest::addRow("whole") << "/ok" << QByteArray("hello") << false << false;
        QTest::addRow("404") << "/missing" << QByteArray() << false << true;
        QTest::addRow("declared over the limit") << "/declared" << QByteArray() << true << true;
        QTest::addRow("undeclared over the limit") << "/undeclared" << QByteArray() << true << true;
        QTest::addRow("no answer in time") << "/silent" << QByteArray() << false << true;
        QTest::addRow("no web address") << "file:///etc/hostname" << QByteArray() << false << true;
    }
    void fetch() {
        QFETCH(QString, address);
        QFETCH(QByteArray, body);
        QFETCH(bool, tooLarge);
        QFETCH(bool, failed);
        HttpDownloader downloader(300);
        QObject receiver;
        std::optional<Download> got;
        int calls = 0;
        const QUrl target = address.startsWith(u'/') ? url(qPrintable(address)) : QUrl(address);
        downloader.fetch(target, 50, &receiver, [&](const Download& d) {
            got = d;
            ++calls;
        });
        QVERIFY(!got); // always answered later, from the event loop
        QTRY_VERIFY(got.has_value());
        QCOMPARE(got->body, body);
        QCOMPARE(got->tooLarge, tooLarge);
        QCOMPARE(!got->ok(), failed);
        QCOMPARE(calls, 1);
    }

    // Past its deadline a transfer goes on only while each span brings a healthy amount,
    // and never past the longest time.
    void deadlines() {
        ReadLimits l{1000};
        l.deadlineMs = 60000;
        l.healthyBytesPerSec = 100 * 1024;
        l.longestMs = 600000;
        QVERIFY(l.goesOn(59999, 0, 59999));
        QVERIFY(!l.goesOn(60000, 0, 60000));
        QVERIFY(!l.goesOn(60000, 1024 * 1024, 60000));    // 17 KiB a second over the minute
        QVERIFY(l.goesOn(60000, 6000 * 1024, 60000));     // 100 KiB a second
        QVERIFY(l.goesOn(70000, 1000 * 1024, 10000));     // a window at the rate
        QVERIFY(!l.goesOn(70000, 999 * 1024, 10000));     // a window below it
        QVERIFY(!l.goesOn(600000, 100000 * 1024, 10000)); // at the longest
        QVERIFY(!l.goesOn(70000, 1000 * 1024, 0));
    }

    // A receiver that goes away cancels its transfer and is never called.
    void receiverGone() {
        HttpDownloader downloader;
        auto receiver = std::make_unique<QObject>();
        bool called = false;
        QTRY_COMPARE(m_server.open, 0);
        downloader.fetch(url("/silent"), 50, receiver.get(),
                         [&](const Download&) { called = true; });
        QTRY_COMPARE(m_server.open, 1);
        receiver.reset();
        QTRY_COMPARE(m_server.open, 0);
        QVERIFY(!called);
    }
};

QTEST_GUILESS_MAIN(TestHttpDownloader)
#include "tst_httpdownloader.moc"
