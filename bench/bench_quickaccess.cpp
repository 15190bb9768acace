// SPDX-License-Identifier: GPL-3.0-or-later
// Quick Access's once-a-minute pass over a recent-files list of 1,000 documents opened
// today in 50 folders: a pass that reads the list and finds nothing to write, a pass that
// counts every folder on a new day, and an idle pass (nothing changed). Targets: a pass
// under 5 ms, an idle pass under 0.1 ms. Also the scan of a list of a million bookmarks
// without a type: under 2 s; the tick's part in a pass over it: under 50 ms.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "quickaccess/FolderTracking.h"
#include "quickaccess/RecentFiles.h"
#include "quickaccess/XbelWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

namespace {

// The list and the data file, and a tracker that has already counted today's folders.
struct Tracking {
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("data.plm"));
    QFile file{dir.filePath(QStringLiteral("recently-used.xbel"))};
    QDate day{2026, 3, 10};
    QList<XbelWriter::Bookmark> marks;
    QDateTime stamp = QDateTime::currentDateTime();
    std::optional<FolderTracker> tracker;
    bool ready = false;

    Tracking() {
        if (!programSchema().createTemplate(data, day).isEmpty())
            return;
        for (int i = 0; i < 1000; ++i)
            marks.append(XbelWriter::mark(
                XbelWriter::fileHref(QStringLiteral("/home/ann/Projects/Project %1/notes %2.odt")
                                         .arg(i % 50)
                                         .arg(i)),
                QDateTime(day, QTime(8, 0).addSecs(i))));
        if (!writeList())
            return;
        tracker.emplace(FolderTracker::Sources{file.fileName(), data,
                                               dir.filePath(QStringLiteral("Desktop/"))});
        ready = pass() == FolderTracker::Outcome::Written;
    }

    // One whole pass. The list is over the size read within the tick, so the tick starts a
    // read apart and takes its entries at the next call; both are counted.
    FolderTracker::Outcome pass() {
        FolderTracker::Outcome outcome = tracker->run(day);
        if (outcome == FolderTracker::Outcome::Reading) {
            tracker->waitForList();
            outcome = tracker->run(day);
        }
        return outcome;
    }

    bool writeList() {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const bool written = file.write(XbelWriter::write(marks)) >= 0;
        file.close();
        return written;
    }

    // A new modification time of the list forces a pass that reads it.
    void touchList() {
        stamp = stamp.addSecs(1);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(stamp, QFileDevice::FileModificationTime);
        file.close();
    }

    // A new day: the list's documents are dated today again and all 50 folders count.
    bool nextDay() {
        day = day.addDays(1);
        for (XbelWriter::Bookmark& m : marks)
            m.modified = QDateTime(day, m.modified.time());
        return writeList();
    }
};

Tracking& tracking() {
    static Tracking& s = Bench::keep(std::make_unique<Tracking>());
    return s;
}

bool trackingReady(benchmark::State& state) {
    if (!tracking().ready)
        state.SkipWithError("the first pass did not count today's folders");
    return tracking().ready;
}

void passUnchanged(benchmark::State& state) {
    if (!trackingReady(state))
        return;
    Tracking& t = tracking();
    FolderTracker::Outcome outcome = FolderTracker::Outcome::Unchanged;
    for (auto _ : state) {
        t.touchList();
        Bench::timePass(state, [&] { outcome = t.pass(); });
        if (outcome != FolderTracker::Outcome::Unchanged) {
            state.SkipWithError("a pass over an unchanged list did not find it unchanged");
            break;
        }
    }
}

// With the commit to disk.
void passNewDay(benchmark::State& state) {
    if (!trackingReady(state))
        return;
    Tracking& t = tracking();
    FolderTracker::Outcome outcome = FolderTracker::Outcome::Written;
    for (auto _ : state) {
        if (!t.nextDay()) {
            state.SkipWithError("could not write the list");
            break;
        }
        Bench::timePass(state, [&] { outcome = t.pass(); });
        if (outcome != FolderTracker::Outcome::Written) {
            state.SkipWithError("a pass on a new day did not write the folders' counts");
            break;
        }
    }
}

void passIdle(benchmark::State& state) {
    if (!trackingReady(state))
        return;
    Tracking& t = tracking();
    bool idle = true;
    for (auto _ : state)
        idle = t.tracker->run(t.day) == FolderTracker::Outcome::Idle && idle;
    if (!idle)
        state.SkipWithError("a pass with nothing changed was not idle");
}

// A list of a million bookmarks (about 45 MB), none with a recorded type.
const QByteArray& millionList() {
    static const QByteArray& list = Bench::keep(std::make_unique<QByteArray>([] {
        // Bookmarks as short as a list holds them (about 45 bytes each), none with a type.
        QByteArray out = "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n";
        out.reserve(46 * 1000000);
        for (int i = 0; i < 1000000; ++i)
            out += "<bookmark href=\"file:///d" + QByteArray::number(i % 977) + '/' +
                   QByteArray::number(i) + "\"></bookmark>\n";
        out += "</xbel>\n";
        return out;
    }()));
    return list;
}

// The scan of that list: one sweep.
void scanMillion(benchmark::State& state) {
    const QByteArray& list = millionList();
    qsizetype count = 0;
    for (auto _ : state)
        count = RecentFiles::parse(list).size();
    if (count != 1000000)
        state.SkipWithError("the scan did not find every bookmark");
    state.counters["list_mib"] = double(list.size()) / (1024.0 * 1024.0);
}

// What the tick spends on the minute it finds that list changed: the list is read apart.
void passLargeList(benchmark::State& state) {
    Tracking& t = tracking();
    QFile big(t.dir.filePath(QStringLiteral("large.xbel")));
    if (!big.open(QIODevice::WriteOnly) || big.write(millionList()) != millionList().size()) {
        state.SkipWithError("could not write the list");
        return;
    }
    big.close();
    FolderTracker tracker(FolderTracker::Sources{big.fileName(), t.data, QString()});
    FolderTracker::Outcome outcome = FolderTracker::Outcome::Reading;
    for (auto _ : state) {
        Bench::timePass(state, [&] { outcome = tracker.run(t.day.addDays(1)); });
        tracker.waitForList();
        big.open(QIODevice::ReadWrite);
        big.setFileTime(QDateTime::currentDateTime().addSecs(state.iterations()),
                        QFileDevice::FileModificationTime);
        big.close();
        if (outcome != FolderTracker::Outcome::Reading) {
            state.SkipWithError("the large list was read within the tick");
            break;
        }
    }
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("folders_pass_unchanged_1000", passUnchanged), 10,
                    20)
        ->UseManualTime();
    Bench::standard(benchmark::RegisterBenchmark("folders_pass_new_day_1000", passNewDay), 10, 5)
        ->UseManualTime();
    Bench::standard(benchmark::RegisterBenchmark("folders_idle_pass", passIdle), 10, 1000);
    Bench::standard(benchmark::RegisterBenchmark("recent_files_scan_1m", scanMillion), 3, 1);
    Bench::standard(benchmark::RegisterBenchmark("folders_pass_large_list", passLargeList), 3, 1)
        ->UseManualTime();
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QCoreApplication>(argc, argv);
}
