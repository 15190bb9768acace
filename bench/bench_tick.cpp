// SPDX-License-Identifier: GPL-3.0-or-later
// The tick's costs: one tick over 1,000 due entries with an unchanged data file, one
// reload of 1,000 rows, and an idle minute with every minute job of the program in place
// (holiday update and mail check not due, reminder not due, no due entry, folder tracking
// over an unchanged recent-files list). Targets: 1 ms for a tick, 20 ms for a reload.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "calendar/HolidayUpdateJob.h"
#include "calendar/caldav/CalendarSync.h"
#include "calendar/ical/Subscriptions.h"
#include "data/DataFile.h"
#include "data/DateText.h"
#include "mail/MailCheckJob.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "notify/ReminderJob.h"
#include "quickaccess/FolderTrackingJob.h"
#include "quickaccess/QuickAccessStore.h"
#include "shell/DueEntriesJob.h"
#include "shell/Tick.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <optional>
#include <string>

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
                QByteArray::number(i % 10) + "/file" + QByteArray::number(i) + ".txt\" added=\"" +
                stamp + "\" modified=\"" + stamp + "\" visited=\"" + stamp +
                "\"><info><metadata owner=\"http://freedesktop.org\"><mime:mime-type "
                "type=\"text/plain\"/></metadata></info></bookmark>\n");
    f.write("</xbel>\n");
    return true;
}

// A data file of 1,000 entries due on the first of the month, ten days past, and a tick
// over it with the jobs that read them; the first tick has loaded the cache.
struct DueEntries {
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    FakeClock clock{QDateTime(QDate(2026, 3, 10), QTime(0, 0, 0, 200))};
    FakeDesktopShell shell;
    std::optional<Tick> tick;
    bool ready = false;

    DueEntries() {
        if (!programSchema().createTemplate(paths.dataFile(), QDate(2026, 3, 1)).isEmpty())
            return;
        {
            DataFile db(paths.dataFile());
            Transaction t(db);
            for (int i = 0; i < 1000; ++i) {
                const QString due = QStringLiteral("2026-03-01 %1:%2")
                                        .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                                        .arg(i % 60, 2, 10, QLatin1Char('0'));
                db.exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, "
                                       "Frequency) VALUES (1, ?, ?, ?)"),
                        {dir.filePath(QStringLiteral("missing %1").arg(i)), due, 2 + i % 4});
            }
            t.commit();
        }
        tick.emplace(clock, paths, [] { return true; });
        addProgramDueReaders(*tick);
        tick->addJob(std::make_unique<HolidayUpdateJob>([] {}));
        tick->addJob(std::make_unique<MailCheckJob>([] {}));
        tick->addJob(std::make_unique<ReminderJob>(clock, [] {}));
        addProgramDueActions(
            *tick, shell, [](const QString&) { return true; }, [] {});
        tick->addJob(std::make_unique<DueEntriesJob>());
        tick->run();
        ready = tick->cache().entries.size() == 1000;
    }
};

DueEntries& dueEntries() {
    static DueEntries& setUp = Bench::keep(std::make_unique<DueEntries>());
    return setUp;
}

void tick1000(benchmark::State& state) {
    DueEntries& s = dueEntries();
    if (!s.ready) {
        state.SkipWithError("the first tick did not load 1,000 entries");
        return;
    }
    const int reloads = s.tick->reloads();
    for (auto _ : state) {
        s.clock.advanceSecs(60);
        Bench::timePass(state, [&] { s.tick->run(); });
    }
    if (s.tick->reloads() != reloads)
        state.SkipWithError("a tick over an unchanged data file reloaded it");
}

void reload1000(benchmark::State& state) {
    DueEntries& s = dueEntries();
    if (!s.ready) {
        state.SkipWithError("the first tick did not load 1,000 entries");
        return;
    }
    for (auto _ : state)
        s.tick->reloadCache();
    if (s.tick->cache().entries.size() != 1000)
        state.SkipWithError("a reload did not read 1,000 entries");
}

// The program's minute jobs in the program's order, after the first minute has checked the
// mail and recorded today's folders; from then on, within the hour, nothing is due.
struct IdleMinutes {
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    FakeDesktopShell shell;
    FakeClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0, 0, 200))};
    FakeDownloader downloads;
    int online = 0, started = 0, reloads = 0;
    FakeSecretStore secrets;
    std::optional<StoreSet> stores;
    std::optional<SubscriptionRefresh> subscriptions;
    std::optional<CalendarSync> calendarSync;
    std::optional<Tick> tick;

    bool make() {
        const QDate today = clock.today();
        if (!programSchema().createTemplate(paths.dataFile(), QDate(2026, 3, 1)).isEmpty())
            return false;
        {
            DataFile db(paths.dataFile());
            db.exec(QStringLiteral("UPDATE System SET CheckMail = -1, MailUser = 'ann', "
                                   "MailPOP3 = 'pop.example', CheckMailMin = 60, "
                                   "ShowEvery = 60, Lastupdate = ?"),
                    {DateText::fromDate(today)});
        }
        shell.specialFolders.insert(int(SpecialFolder::Recent), dir.path() + u'/');
        if (!writeRecentList(dir.filePath(QStringLiteral("recently-used.xbel")), dir.path(), today,
                             200))
            return false;

        tick.emplace(clock, paths, [this] {
            ++online;
            return true;
        });
        stores.emplace(paths.dataFile());
        tick->setChanges(&stores->stores().changes);
        subscriptions.emplace(stores->stores(), clock, downloads, nullptr);
        addProgramDueReaders(*tick);
        tick->addJob(std::make_unique<HolidayUpdateJob>([this] { ++started; }));
        tick->addJob(std::make_unique<SubscriptionJob>(*subscriptions));
        calendarSync.emplace(stores->stores(), clock, secrets, nullptr);
        tick->addJob(std::make_unique<CalendarSyncJob>(*calendarSync));
        tick->addJob(std::make_unique<MailCheckJob>([this] { ++started; }));
        tick->addJob(std::make_unique<ReminderJob>(clock, [this] { ++started; }));
        addProgramDueActions(
            *tick, shell, [](const QString&) { return true; }, [this] { ++started; });
        tick->addJob(std::make_unique<DueEntriesJob>());
        tick->addJob(
            std::make_unique<FolderTrackingJob>(QuickAccessStore(paths.dataFile()), shell));
        tick->run();
        clock.advanceSecs(60);
        tick->run();
        reloads = tick->reloads();
        started = online = 0;
        return true;
    }
};

// Each repetition starts a fresh hour, so its minutes stay clear of the next mail check.
void idleTick(benchmark::State& state) {
    IdleMinutes s;
    if (!s.make()) {
        state.SkipWithError("could not write the data file or the recent-files list");
        return;
    }
    for (auto _ : state) {
        s.clock.advanceSecs(60);
        Bench::timePass(state, [&] { s.tick->run(); });
    }
    if (s.started != 0 || s.online != 0 || s.tick->reloads() != s.reloads) {
        const std::string what = "an idle minute did work: " + std::to_string(s.started) +
                                 " jobs started, " + std::to_string(s.online) + " online tests, " +
                                 std::to_string(s.tick->reloads() - s.reloads) + " reloads";
        state.SkipWithError(what.c_str());
    }
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("tick_1000", tick1000), 10, 200)->UseManualTime();
    Bench::standard(benchmark::RegisterBenchmark("reload_1000", reload1000), 10, 5);
    // Fifty minutes: within the hour neither the mail check nor the reminder is due again.
    Bench::standard(benchmark::RegisterBenchmark("idle_tick", idleTick), 10, 50)->UseManualTime();
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QCoreApplication>(argc, argv);
}
