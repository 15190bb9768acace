// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/ui/Calendar.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "data/SettingsCheck.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "shell/Tick.h"
#include "shell/WindowPlacement.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <memory>

// Writes reach the windows through the ChangeHub: the tables a committed write touched,
// once each, and every table when another process changed the file under the tick.
class TestDataChanges : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(D("2026-03-10"), QTime(9, 0))};
    FakeDesktop m_desktop;
    std::unique_ptr<AppContext> m_context;
    ChangeHub* m_hub = nullptr; // the stores' hub, made afresh for each test

    QString dataFile() const { return m_context->paths.dataFile(); }

    static QStringList announced(QSignalSpy& spy) {
        // Two turns of the event loop: the writer's report, then the hub's announcement.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QStringList tables;
        for (const QList<QVariant>& signal : spy)
            tables << signal.at(0).toString();
        spy.clear();
        return tables;
    }

    static bool shows(const Calendar& cal, const QString& text) {
        const auto& tips = cal.tooltipList();
        return std::any_of(tips.begin(), tips.end(),
                           [&](const MonthLayout::TooltipEntry& e) { return e.text == text; });
    }

    std::unique_ptr<Calendar> openCalendar() {
        auto cal = std::make_unique<Calendar>(*m_context);
        cal->resize(900, 640);
        cal->show();
        cal->layOutNow();
        return cal;
    }

private Q_SLOTS:
    void initTestCase() {
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
    }

    void init() {
        QFile::remove(dataFile());
        QCOMPARE(programSchema().createTemplate(dataFile(), D("2026-01-15")), QString());
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        m_hub = &m_context->stores.changes;
        QCoreApplication::processEvents(); // the template's own writes had no hub
    }

    void cleanup() { m_hub = nullptr; }

    // A transaction is announced after its commit, each table once; what rolls back, fails
    // or only reads is not announced, nor a write to another file.
    void committedWritesAreAnnouncedByTable() {
        QSignalSpy spy(m_hub, &ChangeHub::changed);
        {
            DataFile db(dataFile(), m_hub);
            Transaction t(db);
            QVERIFY(db.exec("INSERT INTO Events (eDate, Description) VALUES ('2026-03-01', 'a')"));
            QVERIFY(db.exec("insert or replace into \"Events\" (eDate) VALUES ('2026-03-02')"));
            QVERIFY(db.exec("UPDATE System SET ShowEvery = 30"));
            QCoreApplication::processEvents();
            QCOMPARE(spy.count(), 0);
            QVERIFY(t.commit());
        }
        QCOMPARE(announced(spy), (QStringList{"Events", "System"}));

        {
            DataFile db(dataFile(), m_hub);
            Transaction t(db);
            QVERIFY(db.exec("DELETE FROM WPaper"));
        } // rolled back
        DataFile db(dataFile(), m_hub);
        QVERIFY(!db.exec("INSERT INTO NoSuchTable VALUES (1)"));
        QVERIFY(db.scalar("SELECT COUNT(*) FROM Events").isValid());
        const QString other = m_dir.filePath("other.plm");
        QCOMPARE(programSchema().createTemplate(other, D("2026-01-15")), QString());
        QCOMPARE(announced(spy), QStringList());

        // Outside a transaction each statement commits by itself.
        QVERIFY(db.change("DELETE FROM QAccess", {}) >= 0);
        QCOMPARE(announced(spy), QStringList{"QAccess"});
    }

    // A store announces to the hub it was built with, even after another hub was made for
    // the same file; a write on a DataFile opened without one is announced to none (only
    // the tick finds it, by the file's stamp). A copy of a store written on another thread
    // is announced on the hub's own thread.
    void storesAnnounceToTheHubTheyWereGiven() {
        QSignalSpy own(m_hub, &ChangeHub::changed);
        ChangeHub later(dataFile(), programSchema().tableNames());
        QSignalSpy other(&later, &ChangeHub::changed);
        QVERIFY(m_context->stores.get<EventStore>().add(
            makeEvent("2026-03-12", EventFrequency::OneTime, "Dentist")));
        QCOMPARE(announced(own), QStringList{"Events"});
        QCOMPARE(announced(other), QStringList());
        QVERIFY(DataFile(dataFile()).exec("DELETE FROM QAccess"));
        QCOMPARE(announced(own), QStringList());
        QCOMPARE(announced(other), QStringList());

        QThread* heardOn = nullptr;
        connect(m_hub, &ChangeHub::changed, this, [&] { heardOn = QThread::currentThread(); });
        bool added = false;
        std::unique_ptr<QThread> worker(
            QThread::create([copy = m_context->stores.get<EventStore>(), &added]() mutable {
                added = copy.add(makeEvent("2026-03-13", EventFrequency::OneTime, "Haircut"));
            }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QVERIFY(added);
        // All tables: the write no hub took was someone else's to this one.
        QVERIFY(announced(own).contains("Events"));
        QCOMPARE(heardOn, QThread::currentThread());
    }

    // The open month view reads the month again after another part of the program wrote
    // to Events, without being rebuilt; hidden, it waits until it is shown.
    void openCalendarRedrawsAfterAWriteInThisProcess() {
        auto cal = openCalendar();
        QVERIFY(!shows(*cal, "Dentist"));
        QVERIFY(EventStore(dataFile(), m_hub)
                    .add(makeEvent("2026-03-12", EventFrequency::OneTime, "Dentist")));
        QTRY_VERIFY(shows(*cal, "Dentist"));

        cal->hide();
        const int queries = cal->store().queriesRun();
        QVERIFY(EventStore(dataFile(), m_hub)
                    .add(makeEvent("2026-03-13", EventFrequency::OneTime, "Haircut")));
        QTest::qWait(20);
        QCOMPARE(cal->store().queriesRun(), queries);
        cal->show();
        cal->redraw(false);
        QVERIFY(shows(*cal, "Haircut"));
    }

    // A settings write names the fields whose value changed; the month view takes the
    // holiday switches from it without being rebuilt. A write of the same values names none.
    void settingsChangesReachTheCalendar() {
        auto cal = openCalendar();
        QVERIFY(!cal->holidayFlags().addCanada);
        QSignalSpy spy(m_hub, &ChangeHub::settingsChanged);
        QVERIFY(SettingsStore(dataFile(), m_hub).update([](Settings& s) {
            s.addCanada = true;
            s.showEvery = 15;
        }));
        QTRY_COMPARE(spy.count(), 1);
        using F = Settings::Field;
        QCOMPARE(spy.at(0).at(0).value<QList<F>>(), (QList<F>{F::ShowEvery, F::AddCanada}));
        QVERIFY(cal->holidayFlags().addCanada);

        {
            DataFile db(dataFile(), m_hub);
            QVERIFY(db.exec("UPDATE System SET ShowEvery = 15"));
        }
        QTest::qWait(10);
        QCOMPARE(spy.count(), 1);
    }

    // Making the hub reads nothing: its settings' baseline is read once the event loop runs,
    // or at the first open through it. A write through it before the loop names only what
    // it changed; a write by someone else before the baseline leaves that change unknown,
    // so the next change names every setting.
    void settingsBaselineIsReadLateButBeforeTheFirstWrite() {
        using F = Settings::Field;
        {
            ChangeHub hub(dataFile(), programSchema().tableNames());
            QSignalSpy spy(&hub, &ChangeHub::settingsChanged);
            QVERIFY(SettingsStore(dataFile(), &hub).update([](Settings& s) { s.showEvery = 45; }));
            QTRY_COMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).value<QList<F>>(), QList<F>{F::ShowEvery});
        }
        {
            ChangeHub hub(dataFile(), programSchema().tableNames());
            QSignalSpy spy(&hub, &ChangeHub::settingsChanged);
            QVERIFY(SettingsStore(dataFile()).update([](Settings& s) { s.notifyAgo = 9; }));
            QVERIFY(
                SettingsStore(dataFile(), &hub).update([](Settings& s) { s.addCanada = true; }));
            QTRY_COMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).value<QList<F>>().size(), Settings::allFields().size());
        }
    }

    // Another process's write changes the file's stamp; the tick announces every table and
    // the month view shows the new event. The program's own writes are not taken for one.
    void openCalendarRedrawsAfterAnotherProcessWrites() {
        const QString sqlite = QStandardPaths::findExecutable("sqlite3");
        if (sqlite.isEmpty())
            QSKIP("sqlite3 is not installed (scripts/install-deps.sh)");
        Tick tick(m_clock, m_context->paths, [] { return false; });
        tick.setChanges(m_hub);
        tick.run(); // the first load only takes the stamp
        auto cal = openCalendar();
        QSignalSpy spy(m_hub, &ChangeHub::changed);

        QVERIFY(EventStore(dataFile(), m_hub)
                    .add(makeEvent("2026-03-20", EventFrequency::OneTime, "Own")));
        QCOMPARE(announced(spy), QStringList{"Events"});
        m_clock.advanceSecs(60);
        tick.run();
        QCOMPARE(announced(spy), QStringList());

        QCOMPARE(QProcess::execute(sqlite, {dataFile(), "INSERT INTO Events (eDate, Description,"
                                                        " Frequency) VALUES ('2026-03-21', "
                                                        "'Elsewhere', 1)"}),
                 0);
        QVERIFY(!shows(*cal, "Elsewhere"));
        m_clock.advanceSecs(60);
        tick.run();
        QCOMPARE(announced(spy), programSchema().tableNames());
        QVERIFY(shows(*cal, "Elsewhere"));
    }

    // Another process writes in the first minute, before the tick has taken the file's stamp:
    // the first tick still announces it, since the hub knows the stamp from its start. The
    // tick's first run on a file nobody else touched announces nothing.
    void anotherProcessWriteBeforeTheFirstTickIsAnnounced() {
        const QString sqlite = QStandardPaths::findExecutable("sqlite3");
        if (sqlite.isEmpty())
            QSKIP("sqlite3 is not installed (scripts/install-deps.sh)");
        QSignalSpy spy(m_hub, &ChangeHub::changed);
        {
            Tick quiet(m_clock, m_context->paths, [] { return false; });
            quiet.setChanges(m_hub);
            quiet.run();
            QCOMPARE(announced(spy), QStringList());
        }
        QCOMPARE(QProcess::execute(sqlite, {dataFile(), "UPDATE System SET NotifyAgo = 9"}), 0);
        Tick tick(m_clock, m_context->paths, [] { return false; });
        tick.setChanges(m_hub);
        tick.run();
        QCOMPARE(announced(spy), programSchema().tableNames());
    }

    // Another process writes and this one writes too before the next tick: the other's
    // write is still announced, every table and as made elsewhere, not taken for our own.
    void anotherProcessWriteFollowedByOursIsStillAnnounced() {
        const QString sqlite = QStandardPaths::findExecutable("sqlite3");
        if (sqlite.isEmpty())
            QSKIP("sqlite3 is not installed (scripts/install-deps.sh)");
        Tick tick(m_clock, m_context->paths, [] { return false; });
        tick.setChanges(m_hub);
        tick.run();
        QSignalSpy spy(m_hub, &ChangeHub::changed);
        QSignalSpy elsewhere(m_hub, &ChangeHub::changedElsewhere);

        QVERIFY(EventStore(dataFile(), m_hub)
                    .add(makeEvent("2026-03-20", EventFrequency::OneTime, "Own")));
        QCOMPARE(announced(spy), QStringList{"Events"});
        QCOMPARE(elsewhere.count(), 0);

        QCOMPARE(QProcess::execute(sqlite, {dataFile(), "INSERT INTO Schedule (SchType, Launch,"
                                                        " SchDT) VALUES (1, '', "
                                                        "'2026-03-21 08:00')"}),
                 0);
        QVERIFY(EventStore(dataFile(), m_hub)
                    .add(makeEvent("2026-03-22", EventFrequency::OneTime, "Own")));
        QCOMPARE(announced(spy), programSchema().tableNames());
        QCOMPARE(elsewhere.count(), programSchema().tableNames().size());

        // The tick finds the stamp accounted for: nothing more.
        elsewhere.clear();
        m_clock.advanceSecs(60);
        tick.run();
        QCOMPARE(announced(spy), QStringList());
        QCOMPARE(elsewhere.count(), 0);
    }

    // Start-up's steps and the main window's placement write through the program's hub:
    // their changes reach open windows as their own, not as a change made elsewhere.
    void startUpAndPlacementWritesAreAnnounced() {
        QSignalSpy spy(m_hub, &ChangeHub::changed);
        QSignalSpy elsewhere(m_hub, &ChangeHub::changedElsewhere);
        QVERIFY(SettingsCheck(m_context->paths, programSchema(), m_hub).run().firstRun);
        QVERIFY(announced(spy).contains("System"));
        QVERIFY(WindowPlacement::save(m_context->stores.settings, QRect(10, 20, 640, 480), {},
                                      false, false));
        QCOMPARE(announced(spy), QStringList{"System"});
        QCOMPARE(elsewhere.count(), 0);
    }
};

QTEST_MAIN(TestDataChanges)
#include "tst_datachanges.moc"
