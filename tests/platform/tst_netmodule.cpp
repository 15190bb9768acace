// SPDX-License-Identifier: GPL-3.0-or-later
// The network code through the module the program loads (as the program links it), and the
// program without that module.
#include "calendar/caldav/DavHttp.h"
#include "mail/MailCheck.h"
#include "mock/FakeClock.h"
#include "mock/HttpResponder.h"
#include "mock/Pop3Stub.h"
#include "platform/HttpDownloader.h"
#include "platform/Loopback.h"
#include "platform/NetModule.h"

#include <QSignalSpy>
#include <QTest>

#include <optional>

class TestNetModule : public QObject {
    Q_OBJECT

    static Download download(HttpDownloader& downloader, const QUrl& url) {
        QObject receiver;
        std::optional<Download> got;
        downloader.fetch(url, 1000, &receiver, [&](const Download& d) { got = d; });
        if (!QTest::qWaitFor([&] { return got.has_value(); }, 10000))
            return {{}, QStringLiteral("no answer"), false};
        return *got;
    }

private Q_SLOTS:
    // A download, a calendar request and a mail check each go through the loaded module.
    void theNetworkUsersWorkThroughTheModule() {
        NetModule::use(QStringLiteral(PLUMORA_NET_MODULE));
        HttpResponder web;
        web.handler = [](const HttpResponder::Request& r) {
            if (r.path == "/moved")
                return HttpResponder::Response{302, {{"Location", "/here"}}, {}};
            return HttpResponder::Response{200, {{"ETag", "\"7\""}}, "body of " + r.path};
        };
        HttpDownloader downloader;
        const Download d = download(downloader, QUrl(QString::fromUtf8(web.base() + "/moved")));
        QVERIFY2(d.ok(), qPrintable(d.error));
        QCOMPARE(d.body, QByteArray("body of /here"));
        QVERIFY(NetModule::failure().isEmpty());

        DavHttp http;
        std::optional<DavReply> reply;
        http.send("REPORT", QUrl(QString::fromUtf8(web.base() + "/cal/")), "<x/>", {{"Depth", "1"}},
                  [&](const DavReply& r) { reply = r; });
        QTRY_VERIFY(reply.has_value());
        QVERIFY2(reply->ok(), qPrintable(reply->describe()));
        QCOMPARE(reply->etag, QByteArray("\"7\""));
        QCOMPARE(web.requests.last().method, QByteArray("REPORT"));
        QCOMPARE(web.requests.last().header("Depth"), QByteArray("1"));

        Pop3Stub pop;
        FakeClock clock;
        MailCheck check(clock);
        QSignalSpy newMail(&check, &MailCheck::newMail);
        check.setAccount({QStringLiteral("u"), QStringLiteral("127.0.0.1"), QStringLiteral("pop3"),
                          pop.serverPort(), MailSecurity::None},
                         QStringLiteral("p"));
        QVERIFY(check.start());
        QTRY_COMPARE(newMail.size(), 1);
        QCOMPARE(newMail[0][0].toInt(), 3);
        check.stop();
    }

    // Without the module every network user says why, and nothing waits or crashes.
    void withoutTheModuleEachUserSaysWhy() {
        NetModule::use(QStringLiteral("/nonexistent/libplumora_net.so"));
        const QString why = NetModule::failure();
        QVERIFY(why.contains(QLatin1String("/nonexistent/libplumora_net.so")));

        HttpDownloader downloader;
        const Download d = download(downloader, QUrl(QStringLiteral("https://example.org/x")));
        QCOMPARE(d.error, why);
        QVERIFY(d.body.isEmpty());

        DavHttp http;
        std::optional<DavReply> reply;
        http.send("GET", QUrl(QStringLiteral("https://example.org/")), {}, {},
                  [&](const DavReply& r) { reply = r; });
        QVERIFY(!reply); // answered later, as every request is
        QTRY_VERIFY(reply.has_value());
        QCOMPARE(reply->error, why);

        FakeClock clock;
        MailCheck check(clock);
        QSignalSpy ended(&check, &MailCheck::ended);
        check.setAccount({QStringLiteral("u"), QStringLiteral("mail.example.org"),
                          QStringLiteral("imap"), 0, MailSecurity::Tls},
                         QStringLiteral("p"));
        QVERIFY(!check.start());
        QCOMPARE(check.failure(), why);
        QVERIFY(!check.isRunning());
        QCOMPARE(ended.size(), 0);
        NetModule::use(QStringLiteral(PLUMORA_NET_MODULE));
    }

    // Plain http goes only to this computer: which hosts are this computer.
    void loopbackHosts() {
        for (const char* local : {"localhost", "LocalHost", "127.0.0.1", "127.200.3.4", "::1",
                                  "[::1]", "::ffff:127.0.0.1", "0:0:0:0:0:0:0:1"})
            QVERIFY2(isLoopbackHost(QString::fromLatin1(local)), local);
        for (const char* remote :
             {"", "example.org", "localhost.example.org", "128.0.0.1", "10.0.0.127", "::2",
              "::ffff:10.0.0.1", "127.0.0.1.nip.io", "[::1", "1.2.3"})
            QVERIFY2(!isLoopbackHost(QString::fromLatin1(remote)), remote);
    }
};

QTEST_GUILESS_MAIN(TestNetModule)
#include "tst_netmodule.moc"
