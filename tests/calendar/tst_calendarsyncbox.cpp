// SPDX-License-Identifier: GPL-3.0-or-later
// The "Calendar sync" group of Options: every control named and reachable by Tab, the
// account found, picked and saved with the password in the keyring (or, with none, in the
// data file), "Sync now" with its status line and "Cancel", and an account that cannot be
// saved told in a message; a paused sync's question answered in the group, and the deleted
// events restored.
#include "app/ProgramSchema.h"
#include "calendar/FakeCalDavServer.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/CalendarSync.h"
#include "calendar/ui/CalendarSyncBox.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestCalendarSyncBox : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;
    FakeClock m_clock;
    FakeSecretStore m_secrets;
    FakeDialogs m_dialogs;
    std::unique_ptr<FakeCalDavServer> m_server;

    template <typename T> static T* control(QWidget& box, const char* name) {
        T* w = box.findChild<T*>(QLatin1String(name));
        if (!w)
            qWarning() << "no control" << name;
        return w;
    }

    // The test server's address, "ann" and "secret" typed into the box.
    void typeAccount(QWidget& box) {
        QTest::keyClicks(control<QLineEdit>(box, "CalDavServerTB"),
                         QString::fromUtf8(m_server->http.base()));
        QTest::keyClicks(control<QLineEdit>(box, "CalDavUserTB"), "ann");
        QTest::keyClicks(control<QLineEdit>(box, "CalDavPwdTB"), "secret");
    }

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath("data.plm");
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, QDate(2026, 1, 15)), QString());
        m_secrets.secrets.clear();
        m_secrets.available = true;
        m_dialogs.messages.clear();
        m_server = std::make_unique<FakeCalDavServer>();
        // Discovery leads to the one calendar, /cal/.
        m_server->intercept =
            [](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            const QByteArray head = "<D:multistatus xmlns:D='DAV:' "
                                    "xmlns:C='urn:ietf:params:xml:ns:caldav'><D:response>";
            if (r.path == "/.well-known/caldav" || r.path == "/p/")
                return HttpResponder::Response{
                    207,
                    {},
                    head + "<D:href>/p/</D:href><D:propstat><D:prop><D:current-user-principal>"
                           "<D:href>/p/</D:href></D:current-user-principal><C:calendar-home-set>"
                           "<D:href>/</D:href></C:calendar-home-set></D:prop></D:propstat>"
                           "</D:response></D:multistatus>"};
            if (r.method == "PROPFIND" && r.path == "/")
                return HttpResponder::Response{
                    207,
                    {},
                    head + "<D:href>/cal/</D:href><D:propstat><D:prop><D:resourcetype>"
                           "<D:collection/><C:calendar/></D:resourcetype><D:displayname>Home"
                           "</D:displayname></D:prop></D:propstat></D:response>"
                           "</D:multistatus>"};
            return std::nullopt;
        };
        m_server->put("x.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                               "BEGIN:VEVENT\r\nUID:x\r\nDTSTAMP:20260101T000000Z\r\n"
                               "DTSTART;VALUE=DATE:20260312\r\nSUMMARY:Phone\r\nEND:VEVENT\r\n"
                               "END:VCALENDAR\r\n");
    }

    void namedAndReachable() {
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, m_secrets, {});
        CalendarSyncBox box(data.stores().get<CalDavStore>(), m_secrets, m_dialogs, &sync);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QList<QWidget*> focusable;
        for (QWidget* w : box.findChildren<QWidget*>())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&box))
                focusable << w;
        QCOMPARE(focusable.size(), 9);
        for (QWidget* w : focusable)
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        // Tab visits every control once.
        QWidget* w = focusable.first();
        QSet<QWidget*> seen;
        for (int i = 0; i < 40 && seen.size() < focusable.size(); ++i) {
            if (focusable.contains(w))
                seen.insert(w);
            w = w->nextInFocusChain();
        }
        QCOMPARE(seen.size(), focusable.size());
        QCOMPARE(control<QLabel>(box, "CalDavStatusLb")->text(), "Not set up.");

        // Every control is as large as its contents ask, at any scale.
        box.adjustSize();
        for (QWidget* c : focusable)
            QVERIFY2(c->width() >= c->minimumSizeHint().width(), qPrintable(c->objectName()));
        const QString shots = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(shots));
        box.grab().save(QDir(shots).filePath(
            QStringLiteral("calendarsync-x%1.png").arg(box.devicePixelRatio())));
    }

    void findPickAndSync() {
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, m_secrets, {});
        CalendarSyncBox box(data.stores().get<CalDavStore>(), m_secrets, m_dialogs, &sync);
        typeAccount(box);
        QTest::mouseClick(control<QPushButton>(box, "CalDavFindBtn"), Qt::LeftButton);
        auto* calendars = control<QComboBox>(box, "CalDavCalendarCb");
        QTRY_COMPARE_WITH_TIMEOUT(calendars->count(), 1, 10000);
        QCOMPARE(calendars->currentText(), "Home");
        QCOMPARE(m_secrets.secrets.value("caldav"), "secret");
        QVERIFY(control<QLineEdit>(box, "CalDavPwdTB")->text().isEmpty());
        const CalDavAccount a = *CalDavStore(m_path).account();
        QCOMPARE(a.calendar, QString::fromUtf8(m_server->calendarUrl()));
        QCOMPARE(a.user, "ann");
        QCOMPARE(a.everyMinutes, 15);

        control<QComboBox>(box, "CalDavEveryCb")->setCurrentIndex(2);
        QCOMPARE(CalDavStore(m_path).account()->everyMinutes, 60);
        QTest::mouseClick(control<QPushButton>(box, "CalDavSyncBtn"), Qt::LeftButton);
        auto* status = control<QLabel>(box, "CalDavStatusLb");
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith("Last sync"), 10000);
        QVERIFY2(status->text().contains("0 events sent, 1 received"), qPrintable(status->text()));
        QCOMPARE(DataFile(m_path).scalar("SELECT Description FROM Events WHERE UID = 'x'"),
                 QVariant("Phone"));
        QVERIFY(status->accessibleDescription() == status->text());

        // "Cancel" shows while a sync runs and ends it at once.
        auto* cancel = control<QPushButton>(box, "CalDavCancelBtn");
        QVERIFY(!cancel->isVisibleTo(&box));
        QTest::mouseClick(control<QPushButton>(box, "CalDavSyncBtn"), Qt::LeftButton);
        QVERIFY(sync.isRunning());
        QVERIFY(cancel->isVisibleTo(&box));
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!sync.isRunning());
        QVERIFY(!cancel->isVisibleTo(&box));
        QVERIFY2(status->text().contains("the sync was cancelled"), qPrintable(status->text()));
    }

    // Without a keyring the typed password stays in the data file, the box says so as the
    // mail account's does, and discovery and "Sync now" use it; once a keyring takes a
    // password typed anew, the file's copy goes.
    void noKeyringKeepsThePasswordInTheDataFile() {
        m_secrets.available = false;
        const int reads = m_secrets.reads;
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, m_secrets, {});
        auto box = std::make_unique<CalendarSyncBox>(data.stores().get<CalDavStore>(), m_secrets,
                                                     m_dialogs, &sync);
        typeAccount(*box);
        QTest::mouseClick(control<QPushButton>(*box, "CalDavFindBtn"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(control<QComboBox>(*box, "CalDavCalendarCb")->count(), 1, 10000);
        QCOMPARE(CalDavStore(m_path).account()->password, "secret");
        QVERIFY(control<QLineEdit>(*box, "CalDavPwdTB")->text().isEmpty());
        const QString inFile = QStringLiteral("Stored in Plumora's data file (no keyring found)");
        QCOMPARE(control<QLabel>(*box, "CalDavPwdPlaceLb")->text(), inFile);

        QTest::mouseClick(control<QPushButton>(*box, "CalDavSyncBtn"), Qt::LeftButton);
        auto* status = control<QLabel>(*box, "CalDavStatusLb");
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith("Last sync"), 10000);
        QVERIFY2(status->text().contains("1 received"), qPrintable(status->text()));
        QCOMPARE(m_secrets.reads, reads);

        // Options opened again says where it is.
        box = std::make_unique<CalendarSyncBox>(data.stores().get<CalDavStore>(), m_secrets,
                                                m_dialogs, &sync);
        QCOMPARE(control<QLabel>(*box, "CalDavPwdPlaceLb")->text(), inFile);

        m_secrets.available = true;
        QTest::keyClicks(control<QLineEdit>(*box, "CalDavPwdTB"), "other");
        QTest::mouseClick(control<QPushButton>(*box, "CalDavFindBtn"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(*box, "CalDavPwdPlaceLb")->text(),
                                  "Stored in the desktop's keyring", 5000);
        QCOMPARE(m_secrets.secrets.value("caldav"), "other");
        QCOMPARE(CalDavStore(m_path).account()->password, QString());

        // An address that is not https for another machine is refused before any request.
        QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(*box, "CalDavFindBtn")->isEnabled(), 5000);
        const qsizetype requests = m_server->http.requests.size();
        control<QLineEdit>(*box, "CalDavServerTB")->setText("http://example.org/");
        QTest::mouseClick(control<QPushButton>(*box, "CalDavFindBtn"), Qt::LeftButton);
        status = control<QLabel>(*box, "CalDavStatusLb");
        QTRY_VERIFY_WITH_TIMEOUT(status->text().contains("https"), 5000);
        QCOMPARE(m_server->http.requests.size(), requests);
    }

    // A failed attempt is told as the last attempt with its reason; "Last sync" keeps the
    // last one that worked.
    void failedAttemptKeepsTheLastSync() {
        CalDavAccount a;
        a.server = "https://dav.example.org/";
        a.calendar = "https://dav.example.org/cal/";
        CalDavStore store(m_path);
        QVERIFY(store.saveAccount(a));
        const QDateTime worked = m_clock.now();
        QVERIFY(store.recordResult(worked, "2 events sent, 0 received", 2, 0, true));
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, m_secrets, {});
        auto box = std::make_unique<CalendarSyncBox>(data.stores().get<CalDavStore>(), m_secrets,
                                                     m_dialogs, &sync);
        auto* status = control<QLabel>(*box, "CalDavStatusLb");
        QVERIFY2(status->text().startsWith("Last sync: ") &&
                     status->text().contains("2 events sent"),
                 qPrintable(status->text()));

        m_clock.advanceSecs(3600);
        QVERIFY(store.recordResult(m_clock.now(), "Stopped: connection refused", 0, 0, false));
        box->fill();
        const auto at = [](const QDateTime& t) {
            return QLocale().toString(t.toLocalTime(), QLocale::ShortFormat);
        };
        QCOMPARE(status->text(),
                 QStringLiteral("Last attempt %1: connection refused. Last sync: %2.")
                     .arg(at(m_clock.now()), at(worked)));

        // Never worked: said so.
        QVERIFY(DataFile(m_path).exec("UPDATE CalDavAccount SET LastSuccess = NULL"));
        box->fill();
        QVERIFY2(status->text().endsWith("No sync has worked yet."), qPrintable(status->text()));
    }

    // A keyring prompt the user dismissed is told as such: the typed password is neither
    // said to be nor put in the data file, and the background syncs do not ask again.
    void cancelledPromptIsToldAndNotRepeated() {
        m_secrets.cancelPrompt = true;
        const auto cleared = qScopeGuard([this] { m_secrets.cancelPrompt = false; });
        const int asked = m_secrets.writes + m_secrets.reads;
        const int reads = m_secrets.reads;
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, m_secrets, {});
        CalendarSyncBox box(data.stores().get<CalDavStore>(), m_secrets, m_dialogs, &sync);
        typeAccount(box);
        QCOMPARE(m_secrets.writes + m_secrets.reads, asked); // typing asks nothing
        QTest::mouseClick(control<QPushButton>(box, "CalDavFindBtn"), Qt::LeftButton);
        auto* status = control<QLabel>(box, "CalDavStatusLb");
        QTRY_VERIFY_WITH_TIMEOUT(status->text().contains("cancelled"), 5000);
        QCOMPARE(status->text(),
                 "The keyring's prompt was cancelled: the password was not stored.");
        QVERIFY(control<QPushButton>(box, "CalDavFindBtn")->isEnabled());
        QCOMPARE(control<QLineEdit>(box, "CalDavPwdTB")->text(), "secret");
        QVERIFY(!control<QLabel>(box, "CalDavPwdPlaceLb")->text().contains("no keyring"));
        QCOMPARE(CalDavStore(m_path).account()->password, QString());
        QCOMPARE(m_secrets.writes + m_secrets.reads, asked + 1);

        // A configured account whose password the keyring keeps behind the dismissed prompt.
        CalDavAccount a;
        a.server = QString::fromUtf8(m_server->http.base());
        a.user = "ann";
        a.calendar = QString::fromUtf8(m_server->calendarUrl());
        QVERIFY(CalDavStore(m_path).saveAccount(a));
        sync.forgetAccount();
        QSignalSpy ended(&sync, &CalendarSync::finished);
        QVERIFY(sync.syncNow());
        QVERIFY(ended.wait(5000));
        QCOMPARE(ended.at(0).at(0).value<SyncOutcome>().status,
                 "Stopped: the keyring's password prompt was cancelled");
        QCOMPARE(m_secrets.reads, reads + 1);
        CalendarSyncJob job(sync);
        for (int minute = 0; minute < 3; ++minute) {
            m_clock.advanceSecs(3600);
            TickCache cache;
            MinuteContext tick(m_clock.now(), {WallMinute{}}, cache, [] { return true; });
            job.run(tick);
            QVERIFY(!sync.isRunning());
        }
        QCOMPARE(m_secrets.reads, reads + 1);
        // Sync now asks again, and a prompt answered lets the sync run.
        m_secrets.cancelPrompt = false;
        m_secrets.secrets.insert("caldav", "secret");
        QVERIFY(sync.syncNow(CalendarSync::Origin::User));
        QVERIFY(ended.wait(10000));
        QVERIFY(ended.last().at(0).value<SyncOutcome>().ok);
        QVERIFY(!sync.promptCancelled());
    }

    // The sync paused on the server's mass removal: the group asks the question with its
    // two answers and "Sync now" waits for them; "Delete them here too" runs the sync that
    // deletes them, and the restore button then puts them back and sends them again.
    void pausedSyncAnsweredHere() {
        m_server->items.clear();
        m_secrets.secrets.insert("caldav", "secret");
        CalDavAccount a;
        a.server = QString::fromUtf8(m_server->http.base());
        a.user = "ann";
        a.calendar = QString::fromUtf8(m_server->calendarUrl());
        a.calendarName = "Home";
        QVERIFY(CalDavStore(m_path).saveAccount(a));
        for (int i = 0; i < 10; ++i)
            QVERIFY(DataFile(m_path).exec(
                "INSERT INTO Events (eDate, Description, UID) VALUES "
                "('2026-03-12', ?, ?)",
                {QStringLiteral("E%1").arg(i), QStringLiteral("u%1").arg(i)}));
        const auto events = [this] {
            return DataFile(m_path).scalar("SELECT COUNT(*) FROM Events WHERE Holiday = 0").toInt();
        };
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, m_secrets, {});
        QSignalSpy ended(&sync, &CalendarSync::finished);
        QVERIFY(sync.syncNow() && ended.wait(10000));
        m_server->dropAll();
        QVERIFY(sync.syncNow() && ended.wait(10000));

        CalendarSyncBox box(data.stores().get<CalDavStore>(), m_secrets, m_dialogs, &sync);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* question = control<QLabel>(box, "CalDavQuestionLb");
        auto* deleteHere = control<QPushButton>(box, "CalDavDeleteHereBtn");
        auto* restore = control<QPushButton>(box, "CalDavRestoreBtn");
        QVERIFY(question->isVisible() && deleteHere->isVisible() &&
                control<QPushButton>(box, "CalDavKeepBtn")->isVisible());
        QVERIFY2(question->text().startsWith("The server no longer lists 10 of your 10 events. "
                                             "Delete them here too, or keep them and send them "
                                             "back?"),
                 qPrintable(question->text()));
        QVERIFY(!restore->isVisible());
        auto* status = control<QLabel>(box, "CalDavStatusLb");
        QVERIFY2(status->text().contains("Paused"), qPrintable(status->text()));
        QTest::mouseClick(control<QPushButton>(box, "CalDavSyncBtn"), Qt::LeftButton);
        QVERIFY(status->text().startsWith("Answer the question"));
        QVERIFY(!sync.isRunning());
        QCOMPARE(events(), 10);

        QTest::mouseClick(deleteHere, Qt::LeftButton);
        QVERIFY(sync.isRunning());
        QVERIFY(ended.wait(10000));
        QCOMPARE(events(), 0);
        QVERIFY(!question->isVisible() && !deleteHere->isVisible());
        QVERIFY(restore->isVisible());
        QVERIFY2(restore->text().startsWith("Restore the 10 events deleted on "),
                 qPrintable(restore->text()));
        QTest::mouseClick(restore, Qt::LeftButton);
        QCOMPARE(events(), 10);
        QVERIFY(ended.wait(10000));
        QVERIFY2(status->text().contains("10 events sent"), qPrintable(status->text()));
        QCOMPARE(m_server->items.size(), 10);
        QVERIFY(!restore->isVisible());
    }

    // The data file refuses the account: one message names the file and the reason, the
    // focus it takes saves nothing twice, and "Sync now" starts nothing.
    void failedSaveTold() {
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, m_secrets, {});
        CalendarSyncBox box(data.stores().get<CalDavStore>(), m_secrets, m_dialogs, &sync);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(DataFile(m_path).exec("DROP TABLE CalDavAccount"));
        auto* server = control<QLineEdit>(box, "CalDavServerTB");
        server->setFocus();
        QTest::keyClicks(server, "https://dav.example.org/");
        QTest::keyClick(server, Qt::Key_Return);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(m_dialogs.messages[0].text.contains(m_path));
        QVERIFY(m_dialogs.messages[0].text.contains("CalDavAccount"));
        QCOMPARE(m_dialogs.messages[0].icon, MessageIcon::Warning);
        QVERIFY(control<QLabel>(box, "CalDavStatusLb")->text().contains("could not be saved"));

        auto* calendars = control<QComboBox>(box, "CalDavCalendarCb");
        calendars->addItem("Home", QString::fromUtf8(m_server->calendarUrl()));
        QCOMPARE(m_dialogs.messages.size(), 2);
        QTest::mouseClick(control<QPushButton>(box, "CalDavSyncBtn"), Qt::LeftButton);
        QCOMPARE(m_dialogs.messages.size(), 3);
        QVERIFY(!sync.isRunning());
        QCOMPARE(m_server->http.requests.size(), 0);
    }
};

QTEST_MAIN(TestCalendarSyncBox)
#include "tst_calendarsyncbox.moc"
