// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "data/DateText.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "quickaccess/FolderTracking.h"
#include "quickaccess/FolderTrackingJob.h"
#include "quickaccess/QuickAccessStore.h"
#include "quickaccess/RecentListWatch.h"
#include "quickaccess/XbelWriter.h"
#include "shell/Tick.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>

using Outcome = FolderTracker::Outcome;

namespace {

const QDate Today(2026, 3, 10);
const QDate Tomorrow = Today.addDays(1);

QDateTime at(const QDate& day, int hour = 9) {
    return QDateTime(day, QTime(hour, 0));
}

RecentFiles::Entry entry(const QString& path, const QDateTime& when = at(Today),
                         const QString& mime = "text/plain") {
    return {path, when, mime};
}

XbelWriter::Bookmark doc(const QString& path, const QDate& day = Today) {
    return XbelWriter::mark(XbelWriter::fileHref(path), at(day));
}

} // namespace

class TestFolderTracking : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_data;
    QString m_list;
    QDateTime m_stamp = at(Today);

    // Files get modification times of their own, so that each rewrite is seen as a change
    // however fast the test runs.
    void touch(const QString& path) {
        QFile file(path);
        m_stamp = m_stamp.addSecs(1);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(m_stamp, QFileDevice::FileModificationTime));
    }
    void writeList(const QList<XbelWriter::Bookmark>& marks) {
        QFile file(m_list);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(XbelWriter::write(marks));
        file.close();
        touch(m_list);
    }
    void exec(const QString& sql, const QVariantList& values = {}) {
        DataFile db(m_data);
        QVERIFY(db.exec(sql, values));
    }
    // Rows as "FullPath Hits qaDate".
    QStringList stored() {
        QStringList rows;
        DataFile db(m_data);
        db.forEach("SELECT FullPath, Hits, qaDate FROM QAccess ORDER BY rowid", {},
                   [&](DataFile::Row q) {
                       rows.append(q.value(0).toString() + ' ' + q.value(1).toString() + ' ' +
                                   q.value(2).toString());
                       return true;
                   });
        return rows;
    }
    FolderTracker tracker() { return FolderTracker({m_list, m_data, m_dir.filePath("Desktop/")}); }

private Q_SLOTS:
    void initTestCase() {
        // One hour east of UTC, so a late-evening UTC stamp lands on the next local day.
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    void init() {
        m_data = m_dir.filePath("data.plm");
        m_list = m_dir.filePath("recently-used.xbel");
        QFile::remove(m_list);
        QCOMPARE(programSchema().createTemplate(m_data, Today), QString());
    }

    // Ten documents of one folder on one day make one hit; yesterday's documents do not
    // count again, one opened the next day does; letter-case variants are one folder and
    // keep the first spelling seen.
    void oneHitPerFolderPerDay() {
        QList<XbelWriter::Bookmark> marks;
        for (int i = 0; i < 10; ++i)
            marks.append(doc(QStringLiteral("/w/Reports/doc %1.odt").arg(i)));
        marks << doc("/w/REPORTS/x.odt") << doc("/w/Ärger/a.txt") << doc("/w/äRGER/b.txt");
        FolderTracker pass = tracker();
        writeList(marks);
        QCOMPARE(pass.run(Today), Outcome::Written);
        QCOMPARE(stored(), (QStringList{"/w/Reports 1 2026-03-10", "/w/Ärger 1 2026-03-10"}));

        marks << doc("/w/reports/new.odt", Tomorrow);
        writeList(marks);
        QCOMPARE(pass.run(Tomorrow), Outcome::Written);
        marks << doc("/w/Reports/newer.odt", Tomorrow);
        writeList(marks);
        QCOMPARE(pass.run(Tomorrow), Outcome::Unchanged);
        QCOMPARE(stored(), (QStringList{"/w/Reports 2 2026-03-11", "/w/Ärger 1 2026-03-10"}));
    }

    // Which entries count and under which folder; "" when skipped.
    void folderOfEachEntry_data() {
        QTest::addColumn<RecentFiles::Entry>("e");
        QTest::addColumn<QString>("folder");
        QTest::newRow("root") << entry("/a.txt") << "/";
        QTest::newRow("yesterday") << entry("/w/a.txt", at(Today.addDays(-1))) << "";
        QTest::newRow("late yesterday in UTC, today here")
            << entry("/w/a.txt", QDateTime(Today.addDays(-1), QTime(23, 30), Qt::UTC)) << "/w";
        QTest::newRow("late today in UTC, tomorrow here")
            << entry("/w/a.txt", QDateTime(Today, QTime(23, 30), Qt::UTC)) << "";
        QTest::newRow("folder by type") << entry("/w/Music", at(Today), "inode/directory") << "";
        QTest::newRow("folder on disk, no type") << entry(QDir::tempPath(), at(Today), "") << "";
        QTest::newRow("on the desktop, any case") << entry("/home/ann/DESKTOP/a.txt") << "";
        QTest::newRow("desktop sub-folder")
            << entry("/home/ann/Desktop/Taxes/a.txt") << "/home/ann/Desktop/Taxes";
        QTest::newRow("floppy sub-folder") << entry("/media/floppy0/old/a.txt") << "";
        QTest::newRow("a name starting like the floppy's")
            << entry("/media/floppy01/a.txt") << "/media/floppy01";
    }
    void folderOfEachEntry() {
        QFETCH(RecentFiles::Entry, e);
        QFETCH(QString, folder);
        const QByteArray mounts = "36 25 0:32 / / rw - ext4 /dev/sda1 rw\n"
                                  "90 36 2:0 / /media/floppy0 rw,nosuid - vfat /dev/fd0 rw\n"
                                  "91 36 8:17 / /media/floppy01 rw - vfat /dev/sdb1 rw\n";
        const FolderTracking::Changes changes = FolderTracking::plan(
            {e}, Today, {}, {"/home/ann/Desktop/", FolderTracking::floppyMountPoints(mounts)},
            [](const QString& path) { return QFileInfo(path).isDir(); });
        QCOMPARE(changes.added.isEmpty() ? QString() : changes.added[0].fullPath, folder);
    }

    // Rows unused for more than 60 days go, but only on a pass whose list has entries; a
    // stale row used again today is counted instead.
    void cleanUp() {
        for (const auto& [path, age] :
             {std::pair{"/old/61", 61}, {"/old/60", 60}, {"/old/back", 90}})
            exec("INSERT INTO QAccess (FullPath, Hits, qaDate) VALUES (?, 5, ?)",
                 {path, DateText::fromDate(Today.addDays(-age))});
        FolderTracker pass = tracker();
        writeList({});
        QCOMPARE(pass.run(Today), Outcome::Unchanged);
        QCOMPARE(stored().size(), 3);
        writeList({doc("/old/back/a.txt"), doc("/x/y.txt", Today.addDays(-1))});
        QCOMPARE(pass.run(Today), Outcome::Written);
        QCOMPARE(stored(), (QStringList{"/old/60 5 2026-01-09", "/old/back 6 2026-03-10"}));
    }

    // Nothing is read while the list, the data file and the date are as last seen.
    void idleWhileNothingChanged() {
        FolderTracker pass = tracker();
        QCOMPARE(pass.run(Today), Outcome::Unchanged); // no list yet
        QCOMPARE(pass.run(Today), Outcome::Idle);
        writeList({doc("/w/a/1.txt")});
        QCOMPARE(pass.run(Today), Outcome::Written);
        QCOMPARE(pass.run(Today), Outcome::Idle);
        QCOMPARE(pass.run(Tomorrow), Outcome::Unchanged);
        QCOMPARE(pass.run(Tomorrow), Outcome::Idle);

        // The table emptied by another writer: today's folders are counted again.
        exec("DELETE FROM QAccess");
        touch(m_data);
        writeList({doc("/w/a/1.txt", Tomorrow)});
        QCOMPARE(pass.run(Tomorrow), Outcome::Written);
        QCOMPARE(stored().size(), 1);

        QFile::remove(m_data); // a missing data file is not created
        touch(m_list);
        QCOMPARE(pass.run(Tomorrow), Outcome::Failed);
        QVERIFY(!QFile::exists(m_data));
    }

    // A pass's rows are read and its changes written through the table's store; a table
    // that cannot be read fails the pass, with the reason kept.
    void theStoreReadsAndWritesThePass() {
        QuickAccessStore store(m_data);
        FolderTracking::Changes changes;
        changes.added.append({-1, QStringLiteral("/a"), 0, {}});
        QVERIFY(store.apply(changes, Today));
        QList<FolderTracking::Row> rows;
        QVERIFY(store.allRows(rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].fullPath, QStringLiteral("/a"));
        QCOMPARE(rows[0].qaDate, Today);
        changes = {};
        changes.counted.append(rows[0].rowId);
        QVERIFY(store.apply(changes, Tomorrow));
        QCOMPARE(stored(), QStringList{"/a 2 " + DateText::fromDate(Tomorrow)});

        exec("ALTER TABLE QAccess RENAME TO Elsewhere");
        QVERIFY(!store.allRows(rows));
        QVERIFY(rows.isEmpty());
        QVERIFY(store.lastError().contains("QAccess"));
        writeList({doc("/w/a/1.txt")});
        QCOMPARE(tracker().run(Today), FolderTracker::Outcome::Failed);
    }

    // A large list is read on a worker thread: the pass that finds it changed only starts
    // the read, a later one counts it; a read overtaken by a newer list is dropped.
    void aLargeListIsReadApartFromTheTick() {
        QList<XbelWriter::Bookmark> marks;
        for (int i = 0; i < 1000; ++i)
            marks.append(doc(QStringLiteral("/w/big/document %1.odt").arg(i)));
        writeList(marks);
        QVERIFY(QFileInfo(m_list).size() > RecentListReader::InlineBytes);
        FolderTracker pass = tracker();
        QCOMPARE(pass.run(Today), Outcome::Reading);
        pass.waitForList();
        QCOMPARE(pass.run(Today), Outcome::Written);
        QCOMPARE(stored(), QStringList{"/w/big 1 2026-03-10"});

        writeList(marks + QList{doc("/w/older/x.txt")});
        QCOMPARE(pass.run(Today), Outcome::Reading);
        writeList(marks + QList{doc("/w/newer/x.txt")});
        pass.waitForList();
        QCOMPARE(pass.run(Today), Outcome::Reading);
        pass.waitForList();
        QCOMPARE(pass.run(Today), Outcome::Written);
        QCOMPARE(stored(), (QStringList{"/w/big 1 2026-03-10", "/w/newer 1 2026-03-10"}));
    }

    // The job finds the list and the desktop where the desktop says they are, counts on the
    // tick's date and, while nothing changed, reads neither the list nor the data file.
    void jobRunsInTheTick() {
        FakeClock clock(at(Today, 9));
        FakeDesktopShell shell;
        shell.specialFolders.insert(int(SpecialFolder::Recent), m_dir.path() + '/');
        shell.specialFolders.insert(int(SpecialFolder::Desktop), m_dir.filePath("Desktop/"));
        const AppPaths paths(m_dir.path(), m_dir.path());
        Tick tick(clock, paths, [] { return false; });
        auto owned = std::make_unique<FolderTrackingJob>(QuickAccessStore(paths.dataFile()), shell);
        FolderTrackingJob* job = owned.get();
        tick.addJob(std::move(owned));

        writeList({doc("/w/a/1.txt"), doc(m_dir.filePath("Desktop/note.txt"))});
        tick.run();
        QCOMPARE(job->lastOutcome(), Outcome::Written);
        QCOMPARE(stored(), QStringList{"/w/a 1 2026-03-10"});

        // The data file made unreadable shows that an idle pass does not open it.
        QVERIFY(QFile::setPermissions(m_data, QFileDevice::Permissions()));
        for (int minute = 1; minute <= 3; ++minute) {
            clock.advanceSecs(60);
            tick.run();
            QCOMPARE(job->lastOutcome(), Outcome::Idle);
        }
        QVERIFY(QFile::setPermissions(m_data, QFileDevice::ReadOwner | QFileDevice::WriteOwner));

        clock.set(at(Tomorrow, 0));
        writeList({doc("/w/a/2.txt", Tomorrow)});
        tick.run();
        QCOMPARE(job->lastOutcome(), Outcome::Written);
        QCOMPARE(stored(), QStringList{"/w/a 2 2026-03-11"});
    }

    // A list whose folder is not made yet is watched from the nearest folder above it.
    void listInAFolderMadeLaterIsWatched() {
        const QString list = m_dir.filePath("later/share/recently-used.xbel");
        RecentListWatch watch(list);
        QVERIFY(watch.watching());
        QSignalSpy changed(&watch, &RecentListWatch::changed);
        QVERIFY(QDir(m_dir.path()).mkpath("later/share"));
        QTRY_VERIFY(!changed.isEmpty());
        QTest::qWait(50);
        changed.clear();
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QTRY_VERIFY(!changed.isEmpty());
        changed.clear();
        file.write("<xbel/>");
        file.close();
        QTRY_VERIFY(!changed.isEmpty());
    }

    // Only the list's own notices count: other files of its folder change all day. A folder
    // removed and made again is watched again.
    void otherFilesAreIgnoredAndARemadeFolderIsWatchedAgain() {
        const QString folder = m_dir.filePath("share");
        QVERIFY(QDir().mkpath(folder));
        const QString list = folder + "/recently-used.xbel";
        RecentListWatch watch(list);
        QSignalSpy changed(&watch, &RecentListWatch::changed);
        const auto write = [](const QString& path) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<xbel/>");
        };
        write(folder + "/other.xbel");
        QVERIFY(QFile::remove(folder + "/other.xbel"));
        QTest::qWait(100);
        QCOMPARE(changed.count(), 0);

        QVERIFY(QDir(folder).removeRecursively());
        QTRY_VERIFY(!changed.isEmpty()); // the list went with its folder
        QVERIFY(QDir().mkpath(folder));
        QTest::qWait(50);
        changed.clear();
        write(list);
        QTRY_VERIFY(!changed.isEmpty());
    }

    // Watched, the job rests until the list is written in place or replaced (as desktops
    // write it), or until the next day; each change wakes the tick through the job's call.
    void watchedJobRestsUntilTheListOrTheDayChanges() {
        FakeClock clock(at(Today, 9));
        FakeDesktopShell shell;
        shell.specialFolders.insert(int(SpecialFolder::Recent), m_dir.path() + '/');
        const AppPaths paths(m_dir.path(), m_dir.path());
        Tick tick(clock, paths, [] { return false; });
        int woken = 0;
        auto owned =
            std::make_unique<FolderTrackingJob>(QuickAccessStore(paths.dataFile()), shell, [&] {
                ++woken;
                tick.wakeJobs();
            });
        FolderTrackingJob* job = owned.get();
        tick.addJob(std::move(owned));
        const auto minute = [&] {
            clock.advanceSecs(60);
            tick.run();
        };

        writeList({doc("/w/a/1.txt")});
        tick.run();
        QCOMPARE(job->lastOutcome(), Outcome::Written);
        for (int i = 0; i < 3; ++i)
            minute();
        QCOMPARE(job->lastOutcome(), Outcome::Written); // not run again: an idle run says Idle
        QCOMPARE(woken, 0);

        writeList({doc("/w/a/1.txt"), doc("/w/b/1.txt")}); // in place
        QTRY_VERIFY(woken > 0);
        minute();
        QCOMPARE(stored(), (QStringList{"/w/a 1 2026-03-10", "/w/b 1 2026-03-10"}));

        // Replaced by a rename, then written in place again: the new file is watched too.
        const QString next = m_dir.filePath("recently-used.xbel.new");
        QFile file(next);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(XbelWriter::write({doc("/w/c/1.txt")}));
        file.close();
        woken = 0;
        QVERIFY(::rename(QFile::encodeName(next).constData(),
                         QFile::encodeName(m_list).constData()) == 0);
        QTRY_VERIFY(woken > 0);
        QTest::qWait(50); // every notice of the rename delivered
        woken = 0;
        writeList({doc("/w/d/1.txt")});
        QTRY_VERIFY(woken > 0);
        minute();
        QVERIFY(stored().contains("/w/d 1 2026-03-10"));

        // The next day counts afresh without a change of the list.
        minute();
        QCOMPARE(job->lastOutcome(), Outcome::Written);
        clock.set(at(Tomorrow, 0).addMSecs(200));
        tick.run();
        QCOMPARE(job->lastOutcome(), Outcome::Unchanged);
    }
};

QTEST_GUILESS_MAIN(TestFolderTracking)
#include "tst_foldertracking.moc"
