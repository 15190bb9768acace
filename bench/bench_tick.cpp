// The tick's costs: one tick over 1,000 due entries with an unchanged data file, one
// reload of 1,000 rows, and an idle minute with every minute job of the program in place
// (holiday update and mail check not due, reminder not due, no due entry, folder tracking
// over an unchanged recent-files list). Targets: 1 ms for a tick, 20 ms for a reload.
#include "BenchTiming.h"
#include "calendar/HolidayUpdateJob.h"
#include "core/DataFile.h"
#include "core/DateText.h"
#include "core/DueEntriesJob.h"
#include "core/Schema.h"
#include "core/Tick.h"
#include "mail/MailCheckJob.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "notify/ReminderJob.h"
#include "quickaccess/FolderTrackingJob.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A recent-files list of `count` documents opened on `day`, in ten folders.
bool writeRecentList(const QString& path, const QString& folder, const QDate& day, int count) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray stamp = DateText::fromDate(day).toLatin1() + "T08:00:00Z";
    f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
            "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    for (int i = 0; i < count; ++i)
        f.write("  <bookmark href=\"file://" + folder.toUtf8() + "/docs" +
                QByteArray::number(i % 10) + "/file" + QByteArray::number(i) +
                ".txt\" added=\"" + stamp + "\" modified=\"" + stamp + "\" visited=\"" + stamp +
                "\"><info><metadata owner=\"http://freedesktop.org\"><mime:mime-type "
                "type=\"text/plain\"/></metadata></info></bookmark>\n");
    f.write("</xbel>\n");
    return true;
}

int dueEntries() {
    QTemporaryDir dir;
    const AppPaths paths(dir.path(), dir.path());
    if (!Schema::createTemplate(paths.dataFile(), QDate(2026, 3, 1)).isEmpty())
        return 1;
    {
        DataFile db(paths.dataFile());
        Transaction t(db);
        for (int i = 0; i < 1000; ++i) {
            const QString due = QStringLiteral("2026-03-01 %1:%2")
                                    .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                                    .arg(i % 60, 2, 10, QLatin1Char('0'));
            db.exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) "
                                   "VALUES (1, ?, ?, ?)"),
                    {dir.filePath(QStringLiteral("missing %1").arg(i)), due, 2 + i % 4});
        }
        t.commit();
    }

    FakeClock clock(QDateTime(QDate(2026, 3, 10), QTime(0, 0, 0, 200)));
    FakeDesktopShell shell;
    Tick tick(clock, paths, [] { return true; });
    tick.addJob(std::make_unique<HolidayUpdateJob>([] {}));
    tick.addJob(std::make_unique<MailCheckJob>([] {}));
    tick.addJob(std::make_unique<ReminderJob>(clock, [] {}));
    tick.addJob(std::make_unique<DueEntriesJob>(
        shell, [](const QString&) { return true; }, [] {}));
    tick.run(); // the first tick loads the cache
    if (tick.cache().entries.size() != 1000)
        return 1;

    const Bench::Timing ticks = Bench::timeMs(2000, [&] { tick.run(); },
                                              [&] { clock.advanceSecs(60); });
    std::printf("tick, 1000 due entries, unchanged data file: %.3f ms mean, %.3f ms best, "
                "%.3f ms worst (target < 1 ms)\n",
                ticks.mean, ticks.best, ticks.worst);
    Bench::line("tick_1000", ticks);

    const Bench::Timing reloads = Bench::timeMs(50, [&] { tick.reloadCache(); });
    std::printf("reload of 1000 rows: %.3f ms mean, %.3f ms best, %.3f ms worst (target < 20 "
                "ms)\n",
                reloads.mean, reloads.best, reloads.worst);
    return 0;
}

int idleMinute() {
    QTemporaryDir dir;
    const AppPaths paths(dir.path(), dir.path());
    const QDate today(2026, 3, 10);
    if (!Schema::createTemplate(paths.dataFile(), QDate(2026, 3, 1)).isEmpty())
        return 1;
    {
        DataFile db(paths.dataFile());
        db.exec(QStringLiteral("UPDATE System SET CheckMail = -1, MailUser = 'ann', "
                               "MailPOP3 = 'pop.example', CheckMailMin = 60, ShowEvery = 60, "
                               "Lastupdate = ?"),
                {DateText::fromDate(today)});
    }
    FakeDesktopShell shell;
    shell.specialFolders.insert(int(SpecialFolder::Recent), dir.path() + u'/');
    if (!writeRecentList(dir.filePath(QStringLiteral("recently-used.xbel")), dir.path(), today,
                         200))
        return 1;

    FakeClock clock(QDateTime(today, QTime(9, 0, 0, 200)));
    int online = 0, started = 0;
    Tick tick(clock, paths, [&] {
        ++online;
        return true;
    });
    // The program's jobs in the program's order.
    tick.addJob(std::make_unique<HolidayUpdateJob>([&] { ++started; }));
    tick.addJob(std::make_unique<MailCheckJob>([&] { ++started; }));
    tick.addJob(std::make_unique<ReminderJob>(clock, [&] { ++started; }));
    tick.addJob(std::make_unique<DueEntriesJob>(
        shell, [](const QString&) { return true; }, [&] { ++started; }));
    tick.addJob(std::make_unique<FolderTrackingJob>(paths, shell));
    // The first minute checks the mail and records today's folders; then all is idle.
    tick.run();
    clock.advanceSecs(60);
    tick.run();
    const int reloads = tick.reloads();
    started = online = 0;

    // Fifty minutes: within the hour neither the mail check nor the reminder is due again.
    const Bench::Timing idle =
        Bench::timeMs(50, [&] { tick.run(); }, [&] { clock.advanceSecs(60); });
    if (started != 0 || online != 0 || tick.reloads() != reloads) {
        std::printf("an idle minute did work: %d jobs started, %d online tests, %d reloads\n",
                    started, online, tick.reloads() - reloads);
        return 1;
    }
    std::printf("idle tick, every minute job in place: %.4f ms mean, %.4f ms best (processor "
                "%.4f ms)\n",
                idle.mean, idle.best, idle.cpu);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (dueEntries() != 0 || idleMinute() != 0)
        return 1;
    return 0;
}
