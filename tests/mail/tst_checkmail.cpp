// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/Settings.h"
#include "mail/ui/CheckMail.h"
#include "mail/ui/MailWatch.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/FakeTickTimer.h"
#include "mock/Pop3Stub.h"
#include "shell/Chime.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

// The mail notice over a POP3 stub on the loopback address, its time kept by a fake timer
// on the fake clock.
class TestCheckMail : public QObject {
    Q_OBJECT

    QTemporaryDir m_program, m_executable;
    FakeClock m_clock;
    std::unique_ptr<FakeTickTimer> m_timer;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<Pop3Stub> m_server;
    QPointer<CheckMail> m_notice;

    QString rmwav() const { return m_context->paths.file(QStringLiteral("rmwav")); }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A notice loaded against the stub, its check on the fake timer.
    CheckMail* loadNotice() {
        auto* notice = new CheckMail(*m_context);
        m_notice = notice;
        m_timer->onTimeout = [this] {
            if (m_notice)
                m_notice->check().tick();
        };
        notice->check().setTimer(m_timer.get());
        notice->load();
        return notice;
    }

    QStringList labels() const {
        QStringList texts(5);
        for (const QLabel* l : m_notice->findChildren<QLabel*>(QStringLiteral("EMLB")))
            texts[l->property("index").toInt()] = l->text();
        return texts;
    }

private Q_SLOTS:
    void init() {
        QFile chime(m_executable.filePath(QStringLiteral("reminder.wav")));
        QVERIFY(chime.open(QIODevice::WriteOnly) && chime.write(Chime::wav()) > 0);
        m_timer = std::make_unique<FakeTickTimer>(m_clock);
        m_desktop = std::make_unique<FakeDesktop>();
        m_context = std::make_unique<AppContext>(
            m_desktop->context(AppPaths(m_program.path(), m_executable.path()), m_clock));
        QFile::remove(m_context->paths.dataFile());
        QFile::remove(rmwav());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), m_clock.today()),
                 QString());
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.mailUser = QStringLiteral("ann");
            s.mailServer = QStringLiteral("127.0.0.1");
            s.mailPassword = QStringLiteral(" secret ");
            s.checkMail = true;
        }));
        m_server = std::make_unique<Pop3Stub>();
        usePort(m_server->serverPort());
    }

    // The account's port, as the user types it in Options.
    void usePort(quint16 port) {
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([port](Settings& s) {
            s.mailPort = port;
        }));
    }

    void cleanup() {
        delete m_notice.data();
        flushDeletes();
        m_server.reset();
    }

    // With mail the notice shows the count for 15 seconds from its arrival; without, it
    // closes unseen once QUIT is answered; a silent server is given up at 45 seconds.
    void noticeTiming_data() {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("stat");
        QTest::addColumn<bool>("reminderOpen");
        QTest::addColumn<qint64>("closesAt"); // ms after the start; 0: when QUIT is answered

        QTest::newRow("three messages")
            << QByteArray("+OK\r\n") << QByteArray("+OK 3 4096\r\n") << false << qint64(15000);
        QTest::newRow("three messages, the reminder open")
            << QByteArray("+OK\r\n") << QByteArray("+OK 3 4096\r\n") << true << qint64(15000);
        QTest::newRow("empty mailbox")
            << QByteArray("+OK\r\n") << QByteArray("+OK 0 0\r\n") << false << qint64(0);
        QTest::newRow("silent server") << QByteArray() << QByteArray() << false << qint64(45000);
    }

    void noticeTiming() {
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, stat);
        QFETCH(bool, reminderOpen);
        QFETCH(qint64, closesAt);
        m_server->greeting = greeting;
        m_server->replies[QByteArrayLiteral("STAT")] = stat;
        if (reminderOpen)
            m_desktop->windows.openWindows << WindowTitles::Reminder;

        const qint64 start = m_clock.monotonicMs();
        CheckMail* notice = loadNotice();
        QSignalSpy shown(notice, &CheckMail::shown);
        QVERIFY(notice->windowTitle().isEmpty());

        if (closesAt == 0) {
            QTRY_VERIFY(!m_notice);
            QVERIFY(m_server->seen.contains("QUIT"));
            QVERIFY(m_desktop->windows.shownWindows.isEmpty());
            return;
        }
        if (greeting.isEmpty()) {
            QTRY_COMPARE(m_server->connections, 1);
        } else {
            QTRY_COMPARE(shown.count(), 1);
            QTRY_VERIFY(m_server->seen.contains("QUIT"));
            QCOMPARE(notice->windowTitle(), QStringLiteral("- New e-mail -"));
            QCOMPARE(labels().join(u'|'),
                     QStringLiteral("You have|3|new e-mail|waiting for download to|Thunderbird."));
            QCOMPARE(notice->windowOpacity(), 220 / 255.0);
            QCOMPARE(m_desktop->windows.madeTopmost, QList<QWidget*>{notice});
            const int lift = reminderOpen ? 108 : 0;
            QCOMPARE(notice->pos(), QPoint(1920 - notice->width(), 1040 - notice->height() - lift));
            // The reminder lifts itself by exactly this notice's height.
            QCOMPARE(notice->height(), 108);
        }
        m_timer->runUntil(start + closesAt - 1000);
        flushDeletes();
        QVERIFY(m_notice);
        m_timer->runUntil(start + closesAt);
        flushDeletes();
        QVERIFY(!m_notice);
        if (greeting.isEmpty())
            QCOMPARE(shown.count(), 0);
    }

    // A click closes the notice at once and starts the mail program; when none starts the
    // user is told.
    void clickOpensTheMailProgram() {
        m_desktop->mail.openSucceeds = false;
        CheckMail* notice = loadNotice();
        QTRY_COMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{notice});
        notice->clicked();
        notice->clicked();
        QVERIFY(!notice->check().isRunning());
        flushDeletes();
        QVERIFY(!m_notice);
        QCOMPARE(m_desktop->mail.opened, 1);
        QCOMPARE(m_desktop->dialogs.messages.size(), 1);
    }

    // One notice at a time; a shown count plays the reminder sound, prepared as rmwav.
    void watchLoadsOneNoticeAndSoundsIt() {
        MailWatch watch(*m_context, nullptr);
        watch.load();
        const QPointer<CheckMail> first = watch.checkMail();
        watch.load();
        QVERIFY(first && watch.checkMail() == first);
        QTRY_COMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{first.data()});
        QCOMPARE(m_server->connections, 1);
        QVERIFY(QFile::exists(rmwav()));
        // "Check now" while the count shows: that notice makes way for a new check.
        QVERIFY(watch.state().checkNow());
        QVERIFY(watch.checkMail() && watch.checkMail() != first);
        QVERIFY(!watch.state().checkNow()); // not while that one runs
        QTRY_COMPARE(m_server->connections, 2);
    }

    // An account that requires STARTTLS, on a server without STLS: no user name goes out,
    // and the user is told once, not at every check; a check that gets through again lets
    // the next trouble be told.
    void troubleIsToldOnce() {
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.mailSecurity = int(MailSecurity::StartTls);
        }));
        QStringList told;
        MailWatch watch(*m_context, [&](const QString& text, const QString& action) {
            told << text;
            QCOMPARE(action, QStringLiteral("Options"));
        });
        const auto check = [&] {
            watch.load();
            QTRY_VERIFY(!watch.checkMail());
        };
        check();
        check();
        QCOMPARE(told.size(), 1);
        QVERIFY(told.at(0).contains(QStringLiteral("127.0.0.1")));
        QVERIFY(told.at(0).contains(QStringLiteral("STARTTLS")));
        QCOMPARE(m_server->seen, (QList<QByteArray>{"CAPA", "CAPA"}));

        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.mailSecurity = int(MailSecurity::None);
        }));
        m_server->replies[QByteArrayLiteral("STAT")] = "+OK 0 0\r\n";
        check();
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.mailSecurity = int(MailSecurity::StartTls);
        }));
        check();
        QCOMPARE(told.size(), 2);
    }

    // No password stored: nothing goes to the server; the pop-up asks for it once, and
    // Options shows why no check ran.
    void noPasswordSendsNothing() {
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.mailPassword.clear();
        }));
        QStringList told;
        MailWatch watch(*m_context, [&](const QString& text, const QString&) { told << text; });
        for (int i = 0; i < 3; ++i) {
            QVERIFY(watch.load());
            QTRY_VERIFY(!watch.checkMail());
        }
        QCOMPARE(m_server->connections, 0);
        QCOMPARE(told, QStringList{MailWatch::passwordRequestText(QStringLiteral("Thunderbird"))});
        QVERIFY2(watch.state().line().contains(QStringLiteral("no password")),
                 qPrintable(watch.state().line()));
    }

    // A server that takes no passwords, and a mail program account that signs in through
    // its provider's page: the notice says the account needs GNOME Online Accounts, once,
    // and no password request comes. The second never reaches the server.
    void noPasswordCanWork() {
        m_server->replies[QByteArrayLiteral("PASS")] =
            "-ERR Logon failure: Basic authentication is disabled.\r\n";
        QStringList told;
        MailWatch watch(*m_context, [&](const QString& text, const QString&) { told << text; });
        for (int i = 0; i < 2; ++i) {
            QVERIFY(watch.load());
            QTRY_VERIFY(!watch.checkMail());
        }
        QCOMPARE(m_server->connections, 2); // once per check, never a retry
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.at(0).contains(QStringLiteral("GNOME Online Accounts")),
                 qPrintable(told.at(0)));

        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.mailDiscovered = true;
        }));
        m_desktop->mail.account = {QStringLiteral("ann"),  QStringLiteral("127.0.0.1"),
                                   QStringLiteral("pop3"), 110,
                                   MailSecurity::None,     true};
        told.clear();
        QVERIFY(watch.load());
        QTRY_VERIFY(!watch.checkMail());
        QCOMPARE(m_server->connections, 2);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.at(0).contains(QStringLiteral("its provider's own page")),
                 qPrintable(told.at(0)));
        QVERIFY(!told.at(0).contains(QStringLiteral("password.")));
    }

    // Nothing listens: told once for the streak, with the reason in Options' status line;
    // a check the user started tells nothing more; one that gets through ends the streak.
    void aConnectionFailureIsToldOncePerStreak() {
        quint16 closed = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            closed = probe.serverPort();
        }
        QStringList told;
        MailWatch watch(*m_context, [&](const QString& text, const QString&) { told << text; });
        const auto check = [&](quint16 port, bool byUser = false) {
            usePort(port);
            QVERIFY(byUser ? watch.state().checkNow() : watch.load());
            QTRY_VERIFY(!watch.checkMail());
        };
        const QString why =
            QStringLiteral("could not connect to 127.0.0.1:%1 (connection refused)").arg(closed);
        check(closed);
        check(closed);
        check(closed, true);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.at(0).contains(why), qPrintable(told.at(0)));
        const QString line = watch.state().line();
        QVERIFY2(line.startsWith(QStringLiteral("Last check ")) &&
                     line.endsWith(QStringLiteral(": ") + why),
                 qPrintable(line));
        m_server->replies[QByteArrayLiteral("STAT")] = "+OK 0 0\r\n";
        check(m_server->serverPort());
        QVERIFY(!watch.state().failing());
        check(closed);
        QCOMPARE(told.size(), 2);
    }
};

QTEST_MAIN(TestCheckMail)
#include "tst_checkmail.moc"
