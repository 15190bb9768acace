// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/Lifecycle.h"
#include "app/SessionEnd.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/Install.h"
#include "mock/ProgramTools.h"
#include "notes/ui/NoteCard.h"
#include "notify/ui/MessagePopup.h"
#include "platform/StopSignals.h"
#include "scheduler/ui/Schedule.h"
#include "shell/ui/MainWindow.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// The program's end from outside, its sleep and its wake, over fake desktop services.
class TestLifecycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Before the sleep the typing is saved and only then the lock goes; after the wake the
    // lock is taken again and the tick runs at once, showing the alarm it slept through.
    void sleepSavesFirstAndWakeTicksAtOnce() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create();
        in.exec("INSERT INTO QNotes (ZOrder, CDate, Frequency, SchDT) "
                "VALUES (1, '2026-03-01', 1, '2026-03-10 10:00')");
        in.clock.set(QDateTime(QDate(2026, 3, 10), QTime(8, 30, 1)));
        app.controller().tick().run();
        app.dispatcher().dispatch(trayIndex("QNotes"));
        NotesPage* notes = app.tool<NotesTool>("QNotes")->page();
        QTextCursor(notes->card(0)->text()->document()).insertText(QStringLiteral("before sleep"));

        auto owned = std::make_unique<FakeSleepInhibitor>();
        FakeSleepInhibitor& sleep = *owned;
        QString savedAtRelease;
        sleep.onRelease = [&] {
            savedAtRelease = in.value("SELECT Content FROM QNotes").toString();
        };
        Lifecycle lifecycle(app, std::move(owned));
        QCOMPARE(sleep.log, QStringList{QStringLiteral("hold")});

        sleep.sleep();
        QVERIFY2(savedAtRelease.contains(QLatin1String("before sleep")),
                 "the lock went before the notes were saved");
        QVERIFY(!sleep.holding());

        in.clock.set(QDateTime(QDate(2026, 3, 10), QTime(11, 30, 5)));
        sleep.wake();
        QCOMPARE(sleep.log, (QStringList{"hold", "release", "hold"}));
        QVERIFY(notes->findChild<QTimer*>("FlashTimer")->isActive());
        MessagePopup* notice = app.notices().popMsg();
        QVERIFY(notice);
        QVERIFY2(notice->message().contains(
                     QStringLiteral("Note alarm: 10:00 — while this computer was asleep")),
                 qPrintable(notice->message()));
        // Nothing is coming, so no reminder showed: none is reported late.
        QVERIFY(!notice->message().contains(QLatin1String("Reminder")));
        QVERIFY(app.controller().timer().isActive());
    }

    // A mark on the page on show is applied before the sleep, and the page goes on from the
    // table as it is now: a mark made after the wake is applied when the window closes.
    void sleepAppliesTheMarksOfThePageOnShow() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create();
        in.exec(
            "INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) VALUES "
            "(1, '/bin/true', '2031-01-01 10:00', 1), (1, '/bin/false', '2031-01-02 10:00', 1)");
        app.dispatcher().dispatch(trayIndex("Schedule"));
        auto* schedule = qobject_cast<Schedule*>(app.dispatcher().mainWindow()->activePage());
        QVERIFY(schedule);
        app.dispatcher().mainWindow()->show();
        schedule->doubleClickCell(0, Schedule::MarkCol);

        auto owned = std::make_unique<FakeSleepInhibitor>();
        FakeSleepInhibitor& sleep = *owned;
        Lifecycle lifecycle(app, std::move(owned));
        sleep.sleep();
        QCOMPARE(in.value("SELECT COUNT(*) FROM Schedule").toInt(), 1);

        sleep.wake();
        schedule->doubleClickCell(0, Schedule::MarkCol);
        app.dispatcher().mainWindow()->close();
        QCOMPARE(in.value("SELECT COUNT(*) FROM Schedule").toInt(), 0);
    }

    // The end comes once, whether by a signal, by the session or by both.
    void theEndRunsOnce() {
        int unloads = 0;
        SessionEnd end([&] { ++unloads; }, false);
        end.end("test");
        end.end("test again");
        QCOMPARE(unloads, 1);
    }

    // SIGTERM reaches the event loop as one request; a second one ends the process at
    // once, by the signal itself.
    void signalsBecomeOneRequestAndASecondEndsAtOnce() {
        {
            StopSignals stop;
            QVERIFY(stop.isActive());
            QSignalSpy spy(&stop, &StopSignals::stopRequested);
            std::raise(SIGTERM);
            QTRY_COMPARE(spy.count(), 1);
            QCOMPARE(spy.first().first().toInt(), SIGTERM);
        }
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            StopSignals stop;
            std::raise(SIGHUP);
            std::raise(SIGTERM);
            ::_exit(0); // not reached when the second signal ends the child
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGTERM);
    }
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
