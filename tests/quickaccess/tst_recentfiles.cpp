// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/FuzzSeeds.h"
#include "quickaccess/RecentFiles.h"
#include "quickaccess/XbelWriter.h"

#include <QTest>

using XbelWriter::fileHref;
using XbelWriter::mark;

namespace {
QDateTime utc(int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute), Qt::UTC);
}
} // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Local files of every spelling GLib writes; other schemes and remote hosts left out.
    void readsLocalEntries() {
        const QStringList paths = {"/home/ann/My Documents/plan.odt",
                                   "/home/ann/Tom & Jerry/résumé.pdf", "/home/ann/50% off #1?.txt",
                                   "/home/ann/日本/メモ.txt"};
        QList<XbelWriter::Bookmark> marks;
        for (const QString& path : paths)
            marks.append(mark(fileHref(path), utc(9, 23, 30)));
        for (const char* href : {"sftp://server/home/ann/remote.txt", "https://example.org/a.html",
                                 "file://otherhost/share/x.txt", "file://localhost/home/ann/l.txt",
                                 "file:///home/ann/Tom%20%26%20Jerry/b.txt"})
            marks.append(mark(href, utc(10, 8)));
        marks.append(mark(fileHref("/home/ann/Music"), utc(10, 8), {}, "inode/directory"));

        const QList<RecentFiles::Entry> entries = RecentFiles::parse(XbelWriter::write(marks));
        QStringList got;
        for (const auto& e : entries)
            got.append(e.path);
        QCOMPARE(got, (paths + QStringList{"/home/ann/l.txt", "/home/ann/Tom & Jerry/b.txt",
                                           "/home/ann/Music"}));
        // The bookmark's own stamp, not the application's inside it.
        QCOMPARE(entries[0].modified, utc(9, 23, 30));
        QCOMPARE(entries[0].mimeType, QStringLiteral("text/plain"));
        QCOMPARE(entries.last().mimeType, QStringLiteral("inode/directory"));
    }

    // The later of modified and visited; forms other writers use: single quotes,
    // character references, ">" inside a value, stamps without fraction or with an offset.
    void stampsAndOtherForms() {
        const QByteArray xbel =
            "<xbel><bookmark href='file:///x/a%20b' modified='2026-03-10T09:00:00Z'/>"
            "<bookmark modified=\"2026-03-10T10:00:00+01:00\" "
            "href=\"file:///x/Tom&#38;Jerry&#x2F;c\"></bookmark>"
            "<bookmark href=\"file:///x/a>b.txt\" modified=\"2026-03-01T09:00:00.5Z\" "
            "visited=\"2026-03-10T09:00:00Z\"><info><metadata><mime:mime-type type='text/plain'/>"
            "</metadata></info></bookmark><bookmark href=\"file:///d\"/></xbel>";
        const QList<RecentFiles::Entry> entries = RecentFiles::parse(xbel);
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries[0].path, QStringLiteral("/x/a b"));
        QCOMPARE(entries[1].path, QStringLiteral("/x/Tom&Jerry/c"));
        QCOMPARE(entries[2].path, QStringLiteral("/x/a>b.txt"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(entries[i].modified, utc(10, 9));
        QCOMPARE(entries[2].mimeType, QStringLiteral("text/plain"));
        QVERIFY(!entries[3].modified.isValid());
    }

    // A bookmark's type is looked for inside that bookmark only: one without a type never
    // takes the next one's, and a long list of them is read in one sweep (the bench times
    // a million).
    void typesStayWithTheirBookmark() {
        QList<XbelWriter::Bookmark> marks;
        for (int i = 0; i < 20000; ++i)
            marks.append(mark(fileHref(QStringLiteral("/d/%1").arg(i)), utc(10, 8), {},
                              i % 2 ? QStringLiteral("inode/directory") : QString()));
        QByteArray list = XbelWriter::write(marks);
        list.replace("<mime:mime-type type=\"\"/>", "");
        const QList<RecentFiles::Entry> entries = RecentFiles::parse(list);
        QCOMPARE(entries.size(), marks.size());
        for (int i = 0; i < entries.size(); i += 997)
            QCOMPARE(entries[i].mimeType, i % 2 ? QStringLiteral("inode/directory") : QString());
    }

    // References are short: an '&' with no ';' near it is text, however many follow.
    void ampersandsWithoutEnd() {
        const QByteArray href = "file:///a/" + QByteArray(200000, '&') + "&amp;b";
        const QList<RecentFiles::Entry> entries =
            RecentFiles::parse("<xbel><bookmark href=\"" + href + "\"/></xbel>");
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].path, "/a/" + QString(200000, u'&') + "&b");
    }

    // Damaged lists give what was read before the damage, never more and never a failure.
    void damagedLists_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("count");
        const QByteArray full = XbelWriter::write({mark(fileHref("/a/1"), utc(10, 8)),
                                                   mark(fileHref("/a/2"), utc(10, 8)),
                                                   mark(fileHref("/a/3"), utc(10, 8))});
        const qsizetype third = full.indexOf("file:///a/3");
        QTest::newRow("cut in the third href") << full.left(third + 5) << 2;
        QTest::newRow("cut in the third's metadata") << full.left(third + 200) << 3;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe<<\x01", 6) << 0;
        QTest::newRow("unquoted attribute")
            << QByteArray("<xbel><bookmark href=file:///a/1/></xbel>") << 0;
        QTest::newRow("unclosed attribute")
            << QByteArray("<xbel><bookmark href=\"file:///a/1 modified=\"x\"></xbel>") << 0;
    }
    void damagedLists() {
        QFETCH(QByteArray, data);
        QFETCH(int, count);
        QCOMPARE(RecentFiles::parse(data).size(), count);
    }

    void writeSeedCorpus() {
        PLUMORA_WRITE_FUZZ_SEEDS(
            {{"list.xbel",
              XbelWriter::write(
                  {mark(fileHref("/home/ann/Tom & Jerry/a.txt"), utc(10, 8)),
                   mark(fileHref("/home/ann/Music"), utc(10, 8), utc(10, 9), "inode/directory")})},
             {"bare.xbel", "<xbel><bookmark href='file:///a/b' modified='2026-03-10T08:00:00Z'/>"
                           "<bookmark href=\"file:///c&#x41;\"></bookmark></xbel>"}});
    }
};

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
