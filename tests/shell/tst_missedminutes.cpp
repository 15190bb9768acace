// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "notify/ReminderJob.h"
#include "shell/DueEntriesJob.h"
#include "shell/FiringRules.h"
#include "shell/MissedEntriesJob.h"
#include "shell/MissedMinutes.h"
#include "shell/Tick.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(MinuteGap)

namespace {

const QDate Day(2026, 3, 10);

QDateTime at(int h, int m, int s = 0, int ms = 200, const QDate& day = Day) {
    return QDateTime(day, QTime(h, m, s, ms));
}

WallMinute wall(int h, int m, const QDate& day = Day) {
    return {day, QTime(h, m)};
}

// A program folder, its data file and the tick with the jobs that decide about due
// entries, over a fake clock and a fake desktop.
struct Fixture {
    QTemporaryDir dir;
    FakeClock clock{at(8, 59)};
    FakeDesktopShell shell;
    AppPaths paths{dir.path(), dir.path()};
    Tick tick{clock, paths, [] { return false; }};
    int reminders = 0;
    int alarmsOnTime = 0;
    QList<QList<QDateTime>> lateAlarms;
    QList<QStringList> notices;

    Fixture() {
        programSchema().createTemplate(paths.dataFile(), QDate(2026, 3, 1));
        addProgramDueReaders(tick);
        exec(QStringLiteral("UPDATE System SET NotifyAgo = 2, ShowEvery = 60"));
        QFile helper(dir.filePath(QStringLiteral("ShutDown")));
        if (helper.open(QIODevice::WriteOnly)) {
            helper.write("#!/bin/sh\n");
            helper.close();
            helper.setPermissions(helper.permissions() | QFile::ExeOwner);
        }
        tick.addJob(std::make_unique<ReminderJob>(clock, [this] { ++reminders; }));
        addProgramDueActions(
            tick, shell, [](const QString&) { return true; }, [this] { ++alarmsOnTime; },
            [this](const QList<QDateTime>& minutes) { lateAlarms.append(minutes); });
        tick.addJob(std::make_unique<MissedEntriesJob>());
        tick.addJob(std::make_unique<DueEntriesJob>());
        tick.setMissedNotice([this](const QStringList& lines) { notices.append(lines); });
    }
    void exec(const QString& sql, const QVariantList& values = {}) {
        DataFile db(paths.dataFile());
        QVERIFY2(db.exec(sql, values), qPrintable(db.lastError()));
    }
    void note(const QString& due, int frequency) {
        exec(QStringLiteral("INSERT INTO QNotes (Content, SchDT, Frequency) VALUES ('', ?, ?)"),
             {due, frequency});
    }
    void shutDown(const QString& launch, const QString& due, int frequency) {
        exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) "
                            "VALUES (2, ?, ?, ?)"),
             {launch, due, frequency});
    }
    // Ticks once a minute of real time from `from` to `to`, both included.
    void tickEveryMinute(const QDateTime& from, const QDateTime& to) {
        for (QDateTime t = from; t <= to; t = t.addSecs(60)) {
            clock.set(t);
            tick.run();
        }
    }
    // A sleep: the wall clock moves on, the monotonic clock does not.
    void wakeAt(const QDateTime& t) {
        clock.set(t);
        tick.run();
    }
};

DueEntry entry(const QString& due, int frequency) {
    DueEntry e;
    readDue(due, e.date, e.time);
    e.frequency = frequency;
    e.action = QLatin1String(NoteAlarmAction);
    return e;
}

} // namespace

class MissedMinutesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Three hours asleep over a note alarm, the reminder and a shut-down: the alarm and the
    // reminder come once, marked late; the shut-down is listed and never started.
    void threeHoursAsleep() {
        Fixture fx;
        fx.note(QStringLiteral("2026-03-10 10:00"), FiringRules::OneTime);
        fx.shutDown(QStringLiteral(""), QStringLiteral("2026-03-10 11:00"), FiringRules::OneTime);
        fx.tickEveryMinute(at(9, 0), at(9, 2));
        QCOMPARE(fx.reminders, 0);

        fx.wakeAt(at(12, 2, 30));
        QCOMPARE(fx.lateAlarms, (QList<QList<QDateTime>>{{QDateTime(Day, QTime(10, 0))}}));
        QCOMPARE(fx.alarmsOnTime, 0);
        QCOMPARE(fx.reminders, 1);
        QVERIFY2(fx.shell.started.isEmpty(), "a shut-down ran late");
        QCOMPARE(fx.notices,
                 (QList<QStringList>{
                     {QStringLiteral("Reminder: 09:59 — while this computer was asleep"),
                      QStringLiteral("Note alarm: 10:00 — while this computer was asleep"),
                      QStringLiteral("Not run: shut down at 11:00")}}));

        // Awake again: nothing of the gap comes back.
        fx.tickEveryMinute(at(12, 3), at(12, 30));
        QCOMPARE(fx.lateAlarms.size(), 1);
        QCOMPARE(fx.notices.size(), 1);
        QVERIFY(fx.shell.started.isEmpty());
    }

    // The minute of the wake itself is no gap minute: what is due then runs as usual, and a
    // repeating entry missed on several days is listed once, at its latest time.
    void wakeMinuteRunsAndRepeatsAreListedOnce() {
        Fixture fx;
        fx.shutDown(QStringLiteral("H"), QStringLiteral("2026-03-01 12:00"), FiringRules::Daily);
        fx.note(QStringLiteral("2026-03-01 07:15"), FiringRules::Daily);
        fx.tickEveryMinute(at(9, 0), at(9, 1));
        fx.wakeAt(at(12, 0, 0, 200, Day.addDays(3)));
        QCOMPARE(fx.shell.started.size(), 1); // today's 12:00, at 12:00
        QCOMPARE(fx.shell.started.first().arguments, QStringList{QStringLiteral("0")});
        QCOMPARE(fx.lateAlarms,
                 (QList<QList<QDateTime>>{{QDateTime(Day.addDays(3), QTime(7, 15))}}));
        QCOMPARE(fx.notices.size(), 1);
        const QStringList lines = fx.notices.first();
        QCOMPARE(lines.filter(QStringLiteral("Not run: hibernate")).size(), 1);
        QCOMPARE(lines.filter(QStringLiteral("07:15 — while this computer was asleep")).size(), 1);
    }

    // Late ticks within the catch-up margin and a clock set back are no gap.
    void onlyGapsBeyondTheMarginAreReported() {
        MinuteGate gate;
        gate.advance(at(8, 30));
        QVERIFY(!gate.skipped());
        gate.advance(at(8, 32, 10)); // 70 s late: 08:31 is caught up, not skipped
        QVERIFY(!gate.skipped());
        gate.advance(at(8, 42));
        QCOMPARE(gate.skipped(), std::optional<MinuteGap>(MinuteGap{wall(8, 33), wall(8, 41)}));
        gate.advance(at(8, 43));
        QVERIFY(!gate.skipped());
        gate.advance(at(6, 0)); // set back two hours and more
        QVERIFY(!gate.skipped());
    }

    void lastDueIn_data() {
        QTest::addColumn<QString>("due");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<MinuteGap>("gap");
        QTest::addColumn<QString>("found"); // "" for none
        const MinuteGap morning{wall(9, 1), wall(11, 59)};
        const MinuteGap days{wall(9, 1), wall(11, 59, Day.addDays(4))};
        QTest::newRow("one-time inside")
            << "2026-03-10 10:00" << 1 << morning << "2026-03-10 10:00";
        QTest::newRow("first minute") << "2026-03-10 09:01" << 1 << morning << "2026-03-10 09:01";
        QTest::newRow("last minute") << "2026-03-10 11:59" << 1 << morning << "2026-03-10 11:59";
        QTest::newRow("just before") << "2026-03-10 09:00" << 1 << morning << "";
        QTest::newRow("just after") << "2026-03-10 12:00" << 1 << morning << "";
        QTest::newRow("one-time of another day") << "2026-03-09 10:00" << 1 << morning << "";
        QTest::newRow("inactive") << "2026-03-10 10:00" << 0 << morning << "";
        QTest::newRow("daily: the latest day")
            << "2026-03-01 10:00" << 2 << days << "2026-03-14 10:00";
        QTest::newRow("daily after the last day's minute")
            << "2026-03-01 12:30" << 2 << days << "2026-03-13 12:30";
        QTest::newRow("weekly in the gap") << "2026-03-05 08:00" << 3 << days << "2026-03-12 08:00";
        QTest::newRow("weekly not in the gap") << "2026-03-08 08:00" << 3 << days << "";
        QTest::newRow("yearly over a clock set forward by years")
            << "2020-07-04 06:00" << 5 << MinuteGap{wall(9, 1, QDate(2001, 1, 1)), wall(11, 59)}
            << "2025-07-04 06:00";
    }

    void lastDueIn() {
        QFETCH(QString, due);
        QFETCH(int, frequency);
        QFETCH(MinuteGap, gap);
        QFETCH(QString, found);
        const std::optional<WallMinute> m = MissedMinutes::lastDueIn(entry(due, frequency), gap);
        if (found.isEmpty()) {
            QVERIFY(!m);
        } else {
            QVERIFY(m);
            QCOMPARE(QDateTime(m->date, m->time).toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                     found);
        }
    }

    void texts() {
        QCOMPARE(MissedMinutes::lateMark(wall(10, 0), Day),
                 QStringLiteral("10:00 — while this computer was asleep"));
        QVERIFY(MissedMinutes::lateMark(wall(10, 0), Day.addDays(1))
                    .endsWith(QStringLiteral(" 10:00 — while this computer was asleep")));
        Fixture f;
        f.exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) "
                              "VALUES (1, ?, '2026-03-10 10:00', 1)"),
               {QStringLiteral("\"/opt/tools/backup now.sh\"")});
        QList<DueEntry> read;
        DataFile db(f.paths.dataFile());
        QVERIFY(readScheduledEntries(db, f.paths, read));
        QCOMPARE(read.size(), 1);
        const DueEntry& program = read.first();
        QCOMPARE(MissedMinutes::skippedLine({wall(10, 5), program}, Day),
                 QStringLiteral("Not run: start backup now.sh at 10:05"));
        const QStringList six{"1", "2", "3", "4", "5", "6"};
        QCOMPARE(MissedMinutes::notice(six), QStringLiteral("1\n2\n3\n4\nand 2 more"));
        QCOMPARE(MissedMinutes::notice(six.mid(0, 4)), QStringLiteral("1\n2\n3\n4"));
    }
};

QTEST_GUILESS_MAIN(MissedMinutesTest)
#include "tst_missedminutes.moc"
