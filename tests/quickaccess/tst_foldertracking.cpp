#include "core/DataFile.h"
#include "core/DateText.h"
#include "core/Schema.h"
#include "quickaccess/FolderTracking.h"
#include "quickaccess/XbelWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using XbelWriter::fileHref;
using XbelWriter::mark;

namespace {

const QDate Today(2026, 3, 10);

QDateTime at(const QDate& day, int hour = 9) {
    return QDateTime(day, QTime(hour, 0));
}

RecentFiles::Entry entry(const QString& path, const QDate& day = Today,
                         const QString& mime = QStringLiteral("text/plain")) {
    return {path, at(day), mime};
}

struct Stored {
    QString fullPath;
    int hits;
    QDate qaDate;
    bool operator==(const Stored&) const = default;
};

char* toString(const Stored& s) {
    return QTest::toString(
        QStringLiteral("%1 x%2 %3").arg(s.fullPath).arg(s.hits).arg(DateText::fromDate(s.qaDate)));
}

} // namespace

class TestFolderTracking : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_data;
    QString m_list;
    QDateTime m_listTime = QDateTime(Today, QTime(0, 0));

    // Writes the recent-files list with a modification time of its own, so that each
    // rewrite is seen as a change however fast the test runs.
    void writeList(const QList<XbelWriter::Bookmark>& marks) {
        QFile file(m_list);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(XbelWriter::write(marks));
        file.close();
        m_listTime = m_listTime.addSecs(1);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(m_listTime, QFileDevice::FileModificationTime));
    }

    QList<XbelWriter::Bookmark> documents(const QString& folder, int count, const QDate& day) {
        QList<XbelWriter::Bookmark> marks;
        for (int i = 0; i < count; ++i)
            marks.append(mark(fileHref(folder + QStringLiteral("/doc %1.odt").arg(i)), at(day)));
        return marks;
    }

    QList<Stored> stored() {
        QList<Stored> rows;
        DataFile db(m_data);
        QSqlQuery q =
            db.query(QStringLiteral("SELECT FullPath, Hits, qaDate FROM QAccess ORDER BY rowid"));
        while (q.next())
            rows.append({q.value(0).toString(), q.value(1).toInt(), DateText::toDate(q.value(2))});
        return rows;
    }

    void insertRow(const QString& path, int hits, const QDate& day) {
        DataFile db(m_data);
        QVERIFY(
            db.exec(QStringLiteral("INSERT INTO QAccess (FullPath, Hits, qaDate) VALUES (?, ?, ?)"),
                    {path, hits, DateText::fromDate(day)}));
    }

    FolderTracker tracker() {
        return FolderTracker({m_list, m_data, m_dir.filePath(QStringLiteral("Desktop")) + u'/'});
    }

private Q_SLOTS:
    void initTestCase() {
        // Local time one hour east of UTC, so a late-evening UTC stamp lands on the next day.
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

    void init() {
        m_data = m_dir.filePath(QStringLiteral("data.plm"));
        m_list = m_dir.filePath(QStringLiteral("recently-used.xbel"));
        QFile::remove(m_list);
        QCOMPARE(Schema::createTemplate(m_data, Today), QString());
    }

    void oneHitPerFolderPerDay() {
        const QString folder = QStringLiteral("/home/ann/Projects");
        FolderTracker pass = tracker();
        writeList(documents(folder, 10, Today));
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Written);
        QCOMPARE(stored(), (QList<Stored>{{folder, 1, Today}}));

        // The next day: yesterday's ten no longer count, one new document does.
        QList<XbelWriter::Bookmark> marks = documents(folder, 10, Today);
        marks.append(mark(fileHref(folder + QStringLiteral("/new.odt")), at(Today.addDays(1))));
        writeList(marks);
        QCOMPARE(pass.run(Today.addDays(1)), FolderTracker::Outcome::Written);
        marks.append(
            mark(fileHref(folder + QStringLiteral("/newer.odt")), at(Today.addDays(1), 15)));
        writeList(marks);
        QCOMPARE(pass.run(Today.addDays(1)), FolderTracker::Outcome::Unchanged);
        QCOMPARE(stored(), (QList<Stored>{{folder, 2, Today.addDays(1)}}));
    }

    // The first spelling seen is kept, also when a later day counts another spelling.
    void letterCaseVariantsAreOneFolder() {
        FolderTracker pass = tracker();
        writeList({mark(fileHref("/w/Reports/a.txt"), at(Today)),
                   mark(fileHref("/w/REPORTS/b.txt"), at(Today)),
                   mark(fileHref("/w/Ärger/c.txt"), at(Today)),
                   mark(fileHref("/w/äRGER/d.txt"), at(Today))});
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Written);
        writeList({mark(fileHref("/w/reports/e.txt"), at(Today.addDays(1)))});
        QCOMPARE(pass.run(Today.addDays(1)), FolderTracker::Outcome::Written);
        QCOMPARE(stored(),
                 (QList<Stored>{{"/w/Reports", 2, Today.addDays(1)}, {"/w/Ärger", 1, Today}}));
    }

    // Which documents count and under which folder; "" when the entry is skipped.
    void folderOfEachEntry_data() {
        QTest::addColumn<RecentFiles::Entry>("e");
        QTest::addColumn<QString>("folder");
        QTest::newRow("document") << entry("/home/ann/a.txt") << "/home/ann";
        QTest::newRow("root") << entry("/a.txt") << "/";
        QTest::newRow("yesterday") << entry("/home/ann/a.txt", Today.addDays(-1)) << "";
        QTest::newRow("late yesterday in UTC, today here")
            << RecentFiles::Entry{"/w/a.txt",
                                  QDateTime(Today.addDays(-1), QTime(23, 30), Qt::UTC),
                                  {}}
            << "/w";
        QTest::newRow("late today in UTC, tomorrow here")
            << RecentFiles::Entry{"/w/a.txt", QDateTime(Today, QTime(23, 30), Qt::UTC), {}} << "";
        QTest::newRow("undated") << RecentFiles::Entry{"/home/ann/a.txt", {}, {}} << "";
        QTest::newRow("folder by type") << entry("/home/ann/Music", Today, "inode/directory") << "";
        QTest::newRow("folder on disk, no type") << entry(QDir::tempPath(), Today, "") << "";
        QTest::newRow("on the desktop") << entry("/home/ann/Desktop/a.txt") << "";
        QTest::newRow("desktop, other case") << entry("/home/ann/DESKTOP/a.txt") << "";
        QTest::newRow("desktop sub-folder")
            << entry("/home/ann/Desktop/Taxes/a.txt") << "/home/ann/Desktop/Taxes";
        QTest::newRow("floppy") << entry("/media/floppy0/a.txt") << "";
        QTest::newRow("floppy sub-folder") << entry("/media/floppy0/old/a.txt") << "";
        QTest::newRow("name starting like the floppy")
            << entry("/media/floppy01/a.txt") << "/media/floppy01";
    }
    void folderOfEachEntry() {
        QFETCH(RecentFiles::Entry, e);
        QFETCH(QString, folder);
        const QByteArray mounts = "36 25 0:32 / / rw - ext4 /dev/sda1 rw\n"
                                  "90 36 2:0 / /media/floppy0 rw,nosuid - vfat /dev/fd0 rw\n"
                                  "91 36 8:17 / /media/floppy01 rw,nosuid - vfat /dev/sdb1 rw\n";
        const FolderTracking::Exclusions exclusions{QStringLiteral("/home/ann/Desktop/"),
                                                    FolderTracking::floppyMountPoints(mounts)};
        QCOMPARE(exclusions.floppyMountPoints, QStringList{"/media/floppy0"});
        const auto changes =
            FolderTracking::plan({e}, Today, {}, exclusions,
                                 [](const QString& path) { return QFileInfo(path).isDir(); });
        QCOMPARE(changes.added.size(), folder.isEmpty() ? 0 : 1);
        if (!folder.isEmpty())
            QCOMPARE(changes.added[0].fullPath, folder);
    }

    // Rows unused for more than 60 days go, but only on a pass whose list has entries; a
    // stale row used again today is counted instead.
    void cleanUp() {
        insertRow(QStringLiteral("/old/61"), 5, Today.addDays(-61));
        insertRow(QStringLiteral("/old/60"), 5, Today.addDays(-60));
        insertRow(QStringLiteral("/old/back"), 5, Today.addDays(-90));
        FolderTracker pass = tracker();
        writeList({});
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Unchanged);
        QCOMPARE(stored().size(), 3);

        writeList({mark(fileHref("/old/back/a.txt"), at(Today)),
                   mark(fileHref("/x/y.txt"), at(Today.addDays(-1)))});
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Written);
        QCOMPARE(stored(),
                 (QList<Stored>{{"/old/60", 5, Today.addDays(-60)}, {"/old/back", 6, Today}}));
    }

    // Nothing is read while the list, the data file and the date are as last seen.
    void idleWhileNothingChanged() {
        FolderTracker pass = tracker();
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Unchanged); // no list yet
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Idle);
        writeList(documents(QStringLiteral("/w/a"), 3, Today));
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Written);
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Idle);
        QCOMPARE(pass.run(Today.addDays(1)), FolderTracker::Outcome::Unchanged);
        QCOMPARE(pass.run(Today.addDays(1)), FolderTracker::Outcome::Idle);

        // The list emptied by another writer: the next pass counts today's folders again.
        {
            DataFile db(m_data);
            QVERIFY(db.exec(QStringLiteral("DELETE FROM QAccess")));
        }
        QFile data(m_data);
        QVERIFY(data.open(QIODevice::ReadWrite));
        QVERIFY(data.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                 QFileDevice::FileModificationTime));
        data.close();
        writeList(documents(QStringLiteral("/w/a"), 3, Today.addDays(1)));
        QCOMPARE(pass.run(Today.addDays(1)), FolderTracker::Outcome::Written);
        QCOMPARE(stored().size(), 1);
    }

    void missingDataFileFails() {
        QFile::remove(m_data);
        writeList(documents(QStringLiteral("/w/a"), 1, Today));
        FolderTracker pass = tracker();
        QCOMPARE(pass.run(Today), FolderTracker::Outcome::Failed);
        QVERIFY(!QFile::exists(m_data));
    }
};

QTEST_GUILESS_MAIN(TestFolderTracking)
#include "tst_foldertracking.moc"
