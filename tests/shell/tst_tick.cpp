// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "calendar/HolidayUpdateJob.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "data/DateText.h"
#include "mail/MailCheckJob.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "notify/ReminderJob.h"
#include "shell/DueEntriesJob.h"
#include "shell/FiringRules.h"
#include "shell/MissedEntriesJob.h"
#include "shell/Tick.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <fcntl.h>
#include <sys/stat.h>

#include <stdexcept>

namespace {

// A job that records its runs in a shared log, and throws when told to.
struct LoggingJob final : MinuteJob {
    LoggingJob(QStringList& log, QString name, bool throws = false)
        : m_log(log), m_name(std::move(name)), m_throws(throws) {}
    const char* name() const override { return "logging"; }
    void run(MinuteContext&) override {
        m_log << m_name;
        if (m_throws)
            throw std::runtime_error("job failed");
    }
    QStringList& m_log;
    QString m_name;
    bool m_throws;
};

// A job that writes a table the tick does not keep and says so, after an optional write
// of a kept table that it does not report (as another writer would).
struct OwnWriteJob final : MinuteJob {
    explicit OwnWriteJob(QString dataFile) : m_dataFile(std::move(dataFile)) {}
    const char* name() const override { return "own write"; }
    void run(MinuteContext& minute) override {
        DataFile db(m_dataFile);
        if (!foreignSql.isEmpty())
            db.exec(foreignSql);
        const qint64 before = fileModifiedStamp(m_dataFile);
        db.exec(
            QStringLiteral("INSERT INTO QAccess (FullPath, qaDate) VALUES ('/tmp', '2026-03-10')"));
        minute.wroteOwnData(before, fileModifiedStamp(m_dataFile));
    }
    QString m_dataFile;
    QString foreignSql;
};

// Runs a job and counts its runs. Asked when the job next needs the tick, it answers for
// it, or asks for every minute as the tick did before jobs could rest.
struct Counted final : MinuteJob {
    Counted(std::unique_ptr<MinuteJob> job, bool everyMinute, int& runs)
        : m_job(std::move(job)), m_everyMinute(everyMinute), m_runs(runs) {}
    const char* name() const override { return m_job->name(); }
    void run(MinuteContext& minute) override {
        ++m_runs;
        m_job->run(minute);
    }
    QDateTime nextNeeded(const MinuteContext& minute) const override {
        return m_everyMinute ? QDateTime() : m_job->nextNeeded(minute);
    }
    std::unique_ptr<MinuteJob> m_job;
    bool m_everyMinute;
    int& m_runs;
};

QDateTime at(const QString& hhmmss, const QDate& day = QDate(2026, 3, 10)) {
    return QDateTime(day, QTime::fromString(hhmmss, QStringLiteral("HH:mm:ss.zzz")));
}

void writeExecutable(const QString& path, bool executable = true) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

// Sets a file's modification time to the nanosecond.
void setStamp(const QString& path, qint64 ns) {
    const struct timespec times[2] = {{ns / 1000000000, ns % 1000000000},
                                      {ns / 1000000000, ns % 1000000000}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Files in a "net" folder stand for files off the fixed local disks.
bool onFixedDisk(const QString& path) {
    return !path.contains(QLatin1String("/net/"));
}

// A program folder with a fresh data file, a tick with the application's jobs over fakes,
// and helpers to edit rows.
struct Fixture {
    QTemporaryDir dir;
    FakeClock clock{at(QStringLiteral("08:29:00.000"))};
    FakeDesktopShell shell;
    FakeNetwork network;
    AppPaths paths{dir.path(), dir.path()};
    Tick tick{clock, paths, [this] { return network.isOnline(); }};
    int holiday = 0;
    int mail = 0;
    int reminders = 0;
    int alarms = 0;
    int lateAlarms = 0;
    QList<int> savedBefore; // programs started when open work was saved for a shut-down
    bool everyMinute;
    int jobRuns = 0;

    // `everyMinute`: no job rests between the minutes it has work.
    explicit Fixture(bool askedEveryMinute = false) : everyMinute(askedEveryMinute) {
        programSchema().createTemplate(paths.dataFile(), QDate(2026, 3, 1));
        addProgramDueReaders(tick);
        set(QStringLiteral("NotifyAgo = 2, ShowEvery = 60"));
        addJob(std::make_unique<HolidayUpdateJob>([this] { ++holiday; }));
        addJob(std::make_unique<MailCheckJob>([this] { ++mail; }));
        addJob(std::make_unique<ReminderJob>(clock, [this] { ++reminders; }));
        addProgramDueActions(
            tick, shell, &onFixedDisk, [this] { ++alarms; },
            [this](const QList<QDateTime>& late) { lateAlarms += int(late.size()); },
            [this] { savedBefore << int(shell.started.size()); });
        addJob(std::make_unique<DueEntriesJob>());
    }
    void addJob(std::unique_ptr<MinuteJob> job) {
        tick.addJob(std::make_unique<Counted>(std::move(job), everyMinute, jobRuns));
    }
    void exec(const QString& sql, const QVariantList& values = {}) {
        DataFile db(paths.dataFile());
        QVERIFY2(db.exec(sql, values), qPrintable(db.lastError()));
    }
    void set(const QString& assignments) {
        exec(QStringLiteral("UPDATE System SET ") + assignments);
    }
    void schedule(int type, const QString& launch, int frequency = 1,
                  const QString& due = QStringLiteral("2026-03-10 08:30")) {
        exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) "
                            "VALUES (?, ?, ?, ?)"),
             {type, launch, due, frequency});
    }
    void note(const QString& due, int frequency) {
        exec(QStringLiteral("INSERT INTO QNotes (Content, SchDT, Frequency) VALUES ('', ?, ?)"),
             {due, frequency});
    }
    void tickAt(const QDateTime& t) {
        clock.set(t);
        tick.run();
    }
    int noteAlarms() const { return alarms; }
};

} // namespace

class TickTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firingRules_data() {
        QTest::addColumn<QString>("due");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("now");
        QTest::addColumn<bool>("fires");
        const auto row = [](const char* name, const char* due, int freq, const char* now, bool on) {
            QTest::newRow(name) << QString(due) << freq << QString(now) << on;
        };
        row("daily from last week", "2026-03-03 08:30", 2, "2026-03-10 08:30", true);
        row("daily, other minute", "2026-03-03 08:30", 2, "2026-03-10 08:31", false);
        row("daily, other hour", "2026-03-03 08:30", 2, "2026-03-10 09:30", false);
        row("one-time yesterday", "2026-03-09 08:30", 1, "2026-03-10 08:30", false);
        row("one-time today", "2026-03-10 08:30", 1, "2026-03-10 08:30", true);
        row("daily tomorrow", "2026-03-11 08:30", 2, "2026-03-10 08:30", false);
        row("weekly same weekday", "2026-02-24 08:30", 3, "2026-03-10 08:30", true);
        row("weekly other weekday", "2026-02-25 08:30", 3, "2026-03-10 08:30", false);
        row("monthly 31st in March", "2026-01-31 08:30", 4, "2026-03-31 08:30", true);
        row("monthly 31st, April 30", "2026-01-31 08:30", 4, "2026-04-30 08:30", false);
        row("yearly 29 Feb, leap year", "2024-02-29 08:30", 5, "2028-02-29 08:30", true);
        row("yearly 29 Feb, Feb 28", "2024-02-29 08:30", 5, "2027-02-28 08:30", false);
        row("yearly other month", "2025-04-10 08:30", 5, "2026-03-10 08:30", false);
        row("inactive", "2026-03-10 08:30", 0, "2026-03-10 08:30", false);
        row("unknown code", "2026-03-10 08:30", 9, "2026-03-10 08:30", false);
    }

    void firingRules() {
        QFETCH(QString, due);
        QFETCH(int, frequency);
        QFETCH(QString, now);
        QFETCH(bool, fires);
        const QString f = QStringLiteral("yyyy-MM-dd HH:mm");
        const QDateTime d = QDateTime::fromString(due, f);
        const QDateTime n = QDateTime::fromString(now, f);
        QCOMPARE(FiringRules::fires(d.date(), d.time(), frequency, n.date(), n.time()), fires);
    }

    void drift_data() {
        QTest::addColumn<QString>("due");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<int>("fired");
        QTest::newRow("two ticks in one minute")
            << "08:30" << QStringList{"08:30:00.200", "08:30:40.000"} << 1;
        QTest::newRow("early tick then on time")
            << "08:31" << QStringList{"08:30:59.950", "08:31:00.200"} << 1;
        QTest::newRow("tick 70 s late fires the missed minute")
            << "08:31" << QStringList{"08:30:00.200", "08:32:10.200"} << 1;
        QTest::newRow("10-minute gap fires nothing from the gap")
            << "08:35" << QStringList{"08:30:00.200", "08:40:00.200"} << 0;
        QTest::newRow("10-minute gap still handles its own minute")
            << "08:40" << QStringList{"08:30:00.200", "08:40:00.200"} << 1;
        QTest::newRow("clock set back a minute does not repeat")
            << "08:31"
            << QStringList{"08:30:00.200", "08:31:00.200", "08:30:30.000", "08:31:00.200",
                           "08:32:00.200"}
            << 1;
        QTest::newRow("clock set back hours starts afresh")
            << "08:31" << QStringList{"12:00:00.200", "08:30:30.000", "08:31:00.200"} << 1;
    }

    void drift() {
        QFETCH(QString, due);
        QFETCH(QStringList, ticks);
        QFETCH(int, fired);
        Fixture fx;
        fx.note(QStringLiteral("2026-03-01 ") + due, FiringRules::Daily);
        for (const QString& t : ticks)
            fx.tickAt(at(t));
        QCOMPARE(fx.noteAlarms(), fired);
    }

    void summerTime_data() {
        QTest::addColumn<QDate>("day");
        QTest::newRow("autumn: 02:30 happens twice") << QDate(2026, 10, 25);
        QTest::newRow("spring: 02:30 never happens") << QDate(2026, 3, 29);
    }

    void summerTime() {
        QFETCH(QDate, day);
        const QTimeZone zone("Europe/Berlin");
        QVERIFY(zone.isValid());
        Fixture fx;
        fx.note(QStringLiteral("2026-01-01 02:30"), FiringRules::Daily);
        fx.clock.set(QDateTime(day, QTime(1, 55, 0, 200), zone));
        for (int i = 0; i < 180; ++i) { // three real hours across the change
            fx.tick.run();
            fx.clock.advanceSecs(60);
        }
        QCOMPARE(fx.noteAlarms(), 1);
    }

    // Jobs that rest between the minutes they have work do, minute by minute, what they did
    // when asked every minute: across a change of summer time (a half-hour one too), a move
    // to another zone, settings edited, the machine offline, the clock set back hours, and a
    // suspend.
    void restingJobsDoWhatEveryMinuteDoes_data() {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("movesTo"); // the zone the machine is moved to at 00:05
        const auto row = [](const char* name, const char* zone, QDate day, const char* to = "") {
            QTest::newRow(name) << QDateTime(day, QTime(22, 0), QTimeZone(zone)) << QString(to);
        };
        row("spring, Berlin", "Europe/Berlin", QDate(2026, 3, 28));
        row("autumn, Berlin", "Europe/Berlin", QDate(2026, 10, 24));
        row("half-hour spring, Lord Howe", "Australia/Lord_Howe", QDate(2026, 10, 3));
        row("half-hour autumn, Lord Howe", "Australia/Lord_Howe", QDate(2026, 4, 4));
        // Its hours start half an hour before the next one of the zone it left.
        row("moved from Kolkata to Berlin", "Asia/Kolkata", QDate(2026, 2, 10), "Europe/Berlin");
    }

    void restingJobsDoWhatEveryMinuteDoes() {
        QFETCH(QDateTime, start);
        QFETCH(QString, movesTo);
        QVERIFY(start.timeZone().isValid());
        Fixture resting;
        Fixture eager(true);
        QStringList logs[2];
        QStringList missed[2];
        Fixture* both[2] = {&resting, &eager};
        for (int i = 0; i < 2; ++i) {
            Fixture& fx = *both[i];
            fx.addJob(std::make_unique<MissedEntriesJob>());
            fx.tick.setMissedNotice([&lines = missed[i]](const QStringList& l) { lines << l; });
            fx.set(QStringLiteral("ShowEvery = 7, CheckMail = -1, MailUser = 'ann', "
                                  "MailPOP3 = 'pop.example', CheckMailMin = 5"));
            const QDate day = start.date();
            fx.exec(QStringLiteral("UPDATE System SET Lastupdate = ?"),
                    {DateText::fromDate(day.addDays(-61))});
            fx.note(QStringLiteral("2026-01-01 02:15"), FiringRules::Daily); // skipped or twice
            fx.note(QStringLiteral("2026-01-01 23:59"), FiringRules::Daily);
            fx.note(QStringLiteral("2026-01-01 03:50"), FiringRules::Daily); // in the suspend
            fx.note(DateText::fromDate(day.addDays(1)) + QStringLiteral(" 00:00"),
                    FiringRules::OneTime);
            fx.schedule(1, QStringLiteral("/bin/true"), FiringRules::Daily,
                        QStringLiteral("2026-01-01 03:55"));
        }
        QDateTime t = start.addMSecs(200);
        bool setBack = false;
        bool suspended = false;
        // On until an hour after the suspend.
        for (int m = 0, after = 60; after > 0; ++m, after -= suspended ? 1 : 0) {
            QVERIFY(m < 24 * 60);
            for (int i = 0; i < 2; ++i) {
                Fixture& fx = *both[i];
                if (m == 70 || m == 100)
                    fx.network.online = m == 100;
                if (m == 80)
                    fx.set(QStringLiteral("ShowEvery = 3"));
                if (m == 200 || m == 230)
                    fx.set(m == 200 ? QStringLiteral("CheckMail = 0")
                                    : QStringLiteral("CheckMail = -1, CheckMailMin = 4"));
                fx.tickAt(t);
                logs[i] << QStringLiteral("%1 holiday %2 mail %3 reminder %4 alarm %5+%6 run %7")
                               .arg(t.toString(Qt::ISODate))
                               .arg(fx.holiday)
                               .arg(fx.mail)
                               .arg(fx.reminders)
                               .arg(fx.alarms)
                               .arg(fx.lateAlarms)
                               .arg(fx.shell.started.size());
            }
            if (m == 125 && !movesTo.isEmpty()) {
                t = t.addSecs(60).toTimeZone(QTimeZone(movesTo.toLatin1()));
                QVERIFY(t.timeZone().isValid());
            } else if (!setBack && t.time().hour() == 1) {
                setBack = true; // further than the minutes not handled twice: afresh
                t = t.addSecs(-150 * 60);
            } else if (!suspended && t.time().hour() == 3 && t.time().minute() >= 45) {
                suspended = true; // over the alarm at 03:50 and the program at 03:55
                t = t.addSecs(20 * 60);
            } else {
                t = t.addSecs(60);
            }
        }
        QCOMPARE(logs[0], logs[1]);
        QCOMPARE(missed[0], missed[1]);
        // What is compared happened, and the resting jobs were asked far less often.
        QVERIFY2(eager.holiday >= 6 && eager.mail >= 20 && eager.reminders >= 40 &&
                     eager.alarms >= 3 && eager.lateAlarms == 1 && missed[1].size() >= 2,
                 qPrintable(logs[1].constLast() + u' ' + missed[1].join(u'|')));
        QVERIFY2(resting.jobRuns * 2 < eager.jobRuns,
                 qPrintable(QStringLiteral("%1 runs resting, %2 asked every minute")
                                .arg(resting.jobRuns)
                                .arg(eager.jobRuns)));
    }

    void firesActionsAndNoteAlarms() {
        Fixture fx;
        const QString program = fx.dir.filePath(QStringLiteral("backup.sh"));
        const QString helper = fx.dir.filePath(QStringLiteral("ShutDown"));
        writeExecutable(program);
        writeExecutable(helper);
        fx.schedule(1, program);
        for (const char* launch : {"H", "", "h"})
            fx.schedule(2, QLatin1String(launch));
        // Rows being deleted or of no known type, and inactive rows, never fire.
        fx.schedule(0, program, 2);
        fx.schedule(7, program, 2);
        fx.schedule(1, program, 0);
        fx.note(QStringLiteral("2026-03-10 08:30"), 1);
        fx.note(QStringLiteral("2026-03-10 08:30"), 0);

        fx.tickAt(at("08:30:00.200"));

        QCOMPARE(fx.shell.started.size(), 4);
        QCOMPARE(fx.shell.started[0].program, program);
        QCOMPARE(fx.shell.started[0].arguments, QStringList());
        QCOMPARE(fx.shell.started[1].program, helper);
        QCOMPARE(fx.shell.started[1].arguments, QStringList{"0"});
        QCOMPARE(fx.shell.started[2].arguments, QStringList{"1"});
        QCOMPARE(fx.shell.started[3].arguments, QStringList{"1"});
        QCOMPARE(fx.savedBefore, (QList<int>{1, 2, 3})); // before each shut-down, not the program
        QCOMPARE(fx.noteAlarms(), 1);
    }

    // Launch is a command line split without a shell; a stored bare path with blanks that
    // names a file is still that one program.
    void launchesWithArguments() {
        Fixture fx;
        const QString program = fx.dir.filePath(QStringLiteral("my backup.sh"));
        writeExecutable(program);
        fx.schedule(1, program);
        fx.schedule(
            1, '"' + program +
                   QStringLiteral("\" --to \"/media/my disk\" \"say \\\"hi\\\" \\\\o/\" $HOME;x"));
        fx.tickAt(at("08:30:00.200"));
        QCOMPARE(fx.shell.started.size(), 2);
        QCOMPARE(fx.shell.started[0].program, program);
        QCOMPARE(fx.shell.started[0].arguments, QStringList());
        QCOMPARE(fx.shell.started[1].program, program);
        QCOMPARE(fx.shell.started[1].arguments,
                 (QStringList{"--to", "/media/my disk", "say \"hi\" \\o/", "$HOME;x"}));
    }

    void readsDueTimes_data() {
        QTest::addColumn<QVariant>("due");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<bool>("fires");
        QTest::newRow("date and minute") << QVariant("2026-03-10 08:30") << true << true;
        QTest::newRow("with seconds") << QVariant("2026-03-10 08:30:45") << true << true;
        QTest::newRow("T separator") << QVariant("2026-03-10T08:30:00") << true << true;
        QTest::newRow("no such day") << QVariant("2026-02-30 08:30") << false << false;
        QTest::newRow("no such hour") << QVariant("2026-03-10 24:30") << false << false;
        QTest::newRow("not a date") << QVariant("soon") << false << false;
        QTest::newRow("no value") << QVariant() << false << false;
    }

    void readsDueTimes() {
        QFETCH(QVariant, due);
        QFETCH(bool, loads);
        QFETCH(bool, fires);
        Fixture fx;
        // A row that cannot be read is left out; the rows after it still load.
        fx.exec(QStringLiteral("INSERT INTO QNotes (Content, SchDT, Frequency) VALUES ('', ?, 1)"),
                {due});
        fx.note(QStringLiteral("2026-03-10 09:00"), 1);
        fx.tickAt(at("08:30:00.200"));
        QCOMPARE(fx.tick.cache().entries.size(), loads ? 2 : 1);
        QCOMPARE(fx.noteAlarms(), fires ? 1 : 0);
    }

    // Which file systems count as fixed local disks is MountTable's own test.
    void startingRules_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<bool>("create");
        QTest::addColumn<bool>("starts");
        QTest::newRow("local executable") << "local/run.sh" << true << true << true;
        QTest::newRow("path with blanks") << "local/my tools/run it.sh" << true << true << true;
        QTest::newRow("missing file") << "local/gone.sh" << true << false << false;
        QTest::newRow("not executable") << "local/readme.txt" << false << true << false;
        QTest::newRow("not on a fixed local disk") << "net/run.sh" << true << true << false;
        QTest::newRow("relative path") << "run.sh" << true << true << false;
    }

    void startingRules() {
        QFETCH(QString, file);
        QFETCH(bool, executable);
        QFETCH(bool, create);
        QFETCH(bool, starts);
        Fixture fx;
        const QString path = fx.dir.filePath(file);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (create)
            writeExecutable(path, executable);
        fx.schedule(1, file.contains(u'/') ? path : file, FiringRules::Daily,
                    QStringLiteral("2026-03-01 08:30"));
        fx.tickAt(at("08:30:00.200"));

        QCOMPARE(fx.shell.started.size(), starts ? 1 : 0);
        if (starts) {
            QCOMPARE(fx.shell.started[0].program, path);
            QCOMPARE(fx.shell.started[0].arguments, QStringList());
        }
    }

    void onlineSteps_data() {
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("checkMail");
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("daysSinceUpdate");
        QTest::addColumn<QString>("server");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("holiday");
        QTest::addColumn<int>("mail");
        QTest::newRow("all due") << true << -1 << "ann" << 61 << "pop.example" << 0 << 1 << 1;
        QTest::newRow("offline") << false << -1 << "ann" << 61 << "pop.example" << 0 << 0 << 0;
        QTest::newRow("not minute 0") << true << -1 << "ann" << 61 << "pop.example" << 1 << 0 << 1;
        QTest::newRow("60 days only") << true << -1 << "ann" << 60 << "pop.example" << 0 << 0 << 1;
        QTest::newRow("CheckMail 0 is off")
            << true << 0 << "ann" << 0 << "pop.example" << 0 << 0 << 0;
        QTest::newRow("CheckMail 1 is on")
            << true << 1 << "ann" << 0 << "pop.example" << 0 << 0 << 1;
        QTest::newRow("empty server") << true << -1 << "ann" << 0 << "" << 0 << 0 << 0;
        QTest::newRow("empty user") << true << -1 << "" << 0 << "pop.example" << 0 << 0 << 0;
    }

    void onlineSteps() {
        QFETCH(bool, online);
        QFETCH(int, checkMail);
        QFETCH(QString, user);
        QFETCH(int, daysSinceUpdate);
        QFETCH(QString, server);
        QFETCH(int, minute);
        QFETCH(int, holiday);
        QFETCH(int, mail);
        Fixture fx;
        fx.network.online = online;
        fx.exec(QStringLiteral("UPDATE System SET CheckMail = ?, MailUser = ?, MailPOP3 = ?, "
                               "Lastupdate = ?, CheckMailMin = 5"),
                {checkMail, user, server,
                 DateText::fromDate(QDate(2026, 3, 10).addDays(-daysSinceUpdate))});
        const QDateTime start = at("09:00:00.200").addSecs(minute * 60);
        fx.tickAt(start);
        QCOMPARE(fx.holiday, holiday);
        QCOMPARE(fx.mail, mail);
        // The mail check waits CheckMailMin minutes before it starts again.
        fx.tickAt(start.addSecs(4 * 60));
        QCOMPARE(fx.mail, mail);
        fx.tickAt(start.addSecs(5 * 60));
        QCOMPARE(fx.mail, mail * 2);
    }

    // The online-account choice is a file read: asked only for a due check without an
    // account of our own, and its answer decides whether the check starts.
    void mailCheckAsksForOnlineAccountOnlyWhenNeeded() {
        Fixture fx;
        int asked = 0;
        int started = 0;
        bool chosen = true;
        fx.tick.addJob(std::make_unique<MailCheckJob>([&started] { ++started; },
                                                      [&asked, &chosen] {
                                                          ++asked;
                                                          return chosen;
                                                      }));
        fx.set(QStringLiteral("CheckMail = -1, MailUser = '', MailPOP3 = '', CheckMailMin = 5"));
        fx.tickAt(at("09:00:00.200"));
        QCOMPARE(started, 1);
        QCOMPARE(asked, 1);
        fx.tickAt(at("09:01:00.200")); // not due
        QCOMPARE(asked, 1);

        fx.set(QStringLiteral("MailUser = 'ann', MailPOP3 = 'pop.example'"));
        fx.tickAt(at("09:05:00.200"));
        QCOMPARE(started, 2);
        QCOMPARE(asked, 1);

        fx.set(QStringLiteral("MailUser = ''"));
        chosen = false;
        fx.tickAt(at("09:10:00.200"));
        QCOMPARE(asked, 2);
        QCOMPARE(started, 2);
    }

    void reminderInterval() {
        Fixture fx;
        fx.set(QStringLiteral("ShowEvery = 0"));
        fx.tickAt(at("08:30:00.200"));
        fx.tickAt(at("08:31:00.200"));
        QCOMPARE(fx.reminders, 2);

        fx.set(QStringLiteral("ShowEvery = 3"));
        fx.tickAt(at("08:32:00.150")); // reloads; one boundary since the last reminder
        fx.tickAt(at("08:33:00.100"));
        QCOMPARE(fx.reminders, 2);
        // Three boundaries, though a little under three minutes: timer jitter must not slip it.
        fx.tickAt(at("08:34:00.050"));
        QCOMPARE(fx.reminders, 3);
    }

    void reloadsOnlyWhenStampChanges() {
        Fixture fx;
        fx.tickAt(at("08:29:00.200"));
        const QString data = fx.paths.dataFile();
        const qint64 stamp = fileModifiedStamp(data);

        fx.note(QStringLiteral("2026-03-10 08:30"), 1);
        setStamp(data, stamp); // same time to the nanosecond: the cache is not reloaded
        fx.tickAt(at("08:30:00.200"));
        QCOMPARE(fx.noteAlarms(), 0);

        setStamp(data, stamp + 1); // one nanosecond later is a change
        fx.tickAt(at("08:30:00.300"));
        QVERIFY(fx.tick.cache().hasDueEntries);
    }

    void ownWritesNeedNoReloadButAnEditBeforeThemIsSeen() {
        Fixture fx;
        auto job = std::make_unique<OwnWriteJob>(fx.paths.dataFile());
        OwnWriteJob* own = job.get();
        fx.tick.addJob(std::move(job));
        fx.tickAt(at("08:29:00.200"));
        const int reloads = fx.tick.reloads();
        fx.tickAt(at("08:30:00.200"));
        fx.tickAt(at("08:31:00.200"));
        QCOMPARE(fx.tick.reloads(), reloads);
        {
            DataFile db(fx.paths.dataFile());
            QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM QAccess")).toInt(), 3);
        }

        // A kept table changed just before the job's own write: the next tick reads again.
        own->foreignSql = QStringLiteral(
            "INSERT INTO QNotes (Content, SchDT, Frequency) VALUES ('', '2026-03-10 08:33', 1)");
        fx.tickAt(at("08:32:00.200"));
        own->foreignSql.clear();
        fx.tickAt(at("08:33:00.200"));
        QCOMPARE(fx.tick.reloads(), reloads + 1);
        QCOMPARE(fx.noteAlarms(), 1);
    }

    // An announced change of a kept table is read at once, even when the file's stamp
    // reads as before (a file system that keeps whole seconds): the reminder's and the mail
    // check's intervals follow it; a table the cache does not hold costs no reading.
    void announcedChangesAreFollowedWhateverTheStamp() {
        Fixture fx;
        fx.tickAt(at("08:29:00.200"));
        const QString data = fx.paths.dataFile();
        const qint64 stamp = fileModifiedStamp(data);
        fx.set(QStringLiteral("ShowEvery = 2, CheckMail = -1, MailUser = 'ann', "
                              "MailPOP3 = 'pop.example', CheckMailMin = 5"));
        setStamp(data, stamp);
        fx.tickAt(at("08:30:00.200"));
        QCOMPARE(fx.mail, 0);
        QCOMPARE(fx.tick.cache().settings.showEvery, 60);

        const int reloads = fx.tick.reloads();
        fx.tick.tableChanged(QStringLiteral("QAccess"));
        QCOMPARE(fx.tick.reloads(), reloads);
        fx.tick.tableChanged(QStringLiteral("System"));
        QCOMPARE(fx.tick.cache().settings.showEvery, 2);
        fx.tickAt(at("08:31:00.200"));
        QCOMPARE(fx.reminders, 1); // two minutes after start-up
        QCOMPARE(fx.mail, 1);
        QCOMPARE(fx.tick.reloads(), reloads + 1);

        // A shorter interval counts from the last check.
        fx.set(QStringLiteral("CheckMailMin = 2"));
        setStamp(data, stamp);
        fx.tick.tableChanged(QStringLiteral("System"));
        fx.tickAt(at("08:32:00.200"));
        QCOMPARE(fx.mail, 1);
        fx.tickAt(at("08:33:00.200"));
        QCOMPARE(fx.mail, 2);
        QCOMPARE(fx.reminders, 2);
    }

    void editBeforeNextTickIsSeen() {
        Fixture fx;
        fx.tickAt(at("08:30:00.200"));
        fx.note(QStringLiteral("2026-03-10 08:31"), 1);
        fx.tickAt(at("08:31:00.200"));
        QCOMPARE(fx.noteAlarms(), 1);
    }

    void partlyFailedReloadKeepsWhatWasRead() {
        Fixture fx;
        fx.note(QStringLiteral("2026-03-10 08:31"), 2);
        fx.set(QStringLiteral("ShowEvery = 15, MailUser = 'old'"));
        fx.tickAt(at("08:30:00.200"));
        QCOMPARE(fx.tick.cache().settings.showEvery, 15);

        // ShowEvery that is no number stops the reload there.
        fx.set(QStringLiteral("MailUser = 'new', ShowEvery = 'soon', CheckMailMin = 9"));
        fx.exec(QStringLiteral("DELETE FROM QNotes"));
        fx.tickAt(at("08:31:00.200"));
        const TickCache& cache = fx.tick.cache();
        QCOMPARE(cache.settings.mailUser, QStringLiteral("new"));
        QCOMPARE(cache.settings.showEvery, 15);
        QCOMPARE(cache.settings.checkMailMinutes, 5);
        QCOMPARE(cache.entries.size(), 1);
        QCOMPARE(fx.noteAlarms(), 1);
        // The failed reload is tried again on the next tick, though the file did not change.
        const qint64 stamp = fileModifiedStamp(fx.paths.dataFile());
        fx.set(QStringLiteral("ShowEvery = 20"));
        setStamp(fx.paths.dataFile(), stamp);
        fx.tickAt(at("08:32:00.200"));
        QCOMPARE(fx.tick.cache().settings.showEvery, 20);
        QCOMPARE(fx.tick.cache().entries.size(), 0);
    }

    void jobsRunInOrderAndAFailingOneStopsNoOther() {
        QTemporaryDir dir;
        FakeClock clock{at(QStringLiteral("08:29:00.000"))};
        Tick tick{clock, AppPaths(dir.path(), dir.path()), [] { return true; }};
        QStringList log;
        tick.addJob(std::make_unique<LoggingJob>(log, QStringLiteral("first")));
        tick.addJob(std::make_unique<LoggingJob>(log, QStringLiteral("throws"), true));
        tick.addJob(std::make_unique<LoggingJob>(log, QStringLiteral("last")));
        for (const char* t : {"08:30:00.200", "08:30:30.000", "08:31:00.200"}) {
            clock.set(at(QLatin1String(t)));
            tick.run(); // no data file at all: the jobs still run
        }
        // Once per minute handled, never twice in one minute.
        QCOMPARE(log, (QStringList{"first", "throws", "last", "first", "throws", "last"}));
    }

    // The jobs of one tick share the tick's look at the data file until this process writes
    // it; another file, or another process's change, is the next tick's to see.
    void jobsShareOneLookAtTheDataFileUntilAWrite() {
        Fixture fx;
        const QString data = fx.paths.dataFile();
        ChangeHub hub(data, {QStringLiteral("System")});
        fx.tick.setChanges(&hub);
        struct Looks final : MinuteJob {
            const char* name() const override { return "looks"; }
            void run(MinuteContext& minute) override {
                first = minute.fileState(encoded);
                setStamp(path, first.modifiedNs + 1000); // not a write of this process
                untouched = minute.fileState(encoded);
                elsewhere = minute.fileState(QFile::encodeName(path + QStringLiteral("-wal")));
                DataFile db(path, hub);
                db.exec(QStringLiteral("UPDATE System SET ShowEvery = 30"));
                written = minute.fileState(encoded);
            }
            QString path;
            QByteArray encoded;
            ChangeHub* hub = nullptr;
            FileState first, untouched, elsewhere, written;
        };
        auto job = std::make_unique<Looks>();
        Looks& looks = *job;
        looks.path = data;
        looks.encoded = QFile::encodeName(data);
        looks.hub = &hub;
        fx.tick.addJob(std::move(job));

        const FileState before = fileState(looks.encoded);
        fx.tickAt(at("08:30:00.200"));
        QCOMPARE(looks.first, before);
        QCOMPARE(looks.untouched, before);
        QCOMPARE(looks.elsewhere, FileState{}); // looked at, and missing
        QVERIFY(looks.written != before);
        QCOMPARE(looks.written, fileState(looks.encoded));
        // The next tick looks afresh.
        const FileState now = fileState(looks.encoded);
        fx.tickAt(at("08:31:00.200"));
        QCOMPARE(looks.first, now);
    }

    void idleMinutesNeverAskTheNetwork() {
        Fixture fx;
        fx.set(QStringLiteral("CheckMail = -1, MailUser = 'ann', MailPOP3 = 'pop', "
                              "CheckMailMin = 10, Lastupdate = '2026-03-01'"));
        fx.tickAt(at("09:00:00.200")); // the mail check is due: asked once
        QCOMPARE(fx.network.asked, 1);
        for (int m = 1; m < 10; ++m)
            fx.tickAt(at("09:00:00.200").addSecs(m * 60));
        QCOMPARE(fx.network.asked, 1);
        QCOMPARE(fx.mail, 1);
    }
};

QTEST_GUILESS_MAIN(TickTest)
#include "tst_tick.moc"
