#include "quickaccess/RecentFiles.h"
#include "quickaccess/XbelWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using XbelWriter::Bookmark;
using XbelWriter::fileHref;
using XbelWriter::mark;

namespace {
QDateTime utc(int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute), Qt::UTC);
}
} // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString& name, const QByteArray& data) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        [&] { QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == data.size()); }();
        return path;
    }

private Q_SLOTS:
    // Local files of every spelling GLib writes; other schemes and remote hosts left out.
    void readsLocalEntries() {
        const QStringList paths = {QStringLiteral("/home/ann/My Documents/plan.odt"),
                                   QStringLiteral("/home/ann/Tom & Jerry/résumé.pdf"),
                                   QStringLiteral("/home/ann/50% off #1?.txt"),
                                   QStringLiteral("/home/ann/日本/メモ.txt")};
        QList<Bookmark> marks;
        for (const QString& path : paths)
            marks.append(mark(fileHref(path), utc(9, 23, 30)));
        marks.insert(1, mark(QStringLiteral("sftp://server/home/ann/remote.txt"), utc(10, 8)));
        marks.insert(2, mark(QStringLiteral("https://example.org/page.html"), utc(10, 8)));
        marks.append(mark(QStringLiteral("file://otherhost/share/x.txt"), utc(10, 8)));
        marks.append(mark(QStringLiteral("file://localhost/home/ann/local.txt"), utc(10, 8)));
        marks.append(mark(QStringLiteral("file:///home/ann/Tom%20%26%20Jerry/b.txt"), utc(10, 8)));
        marks.append(mark(fileHref(QStringLiteral("/home/ann/Music")), utc(10, 8), {},
                          QStringLiteral("inode/directory")));

        const QList<RecentFiles::Entry> entries = RecentFiles::parse(XbelWriter::write(marks));
        QStringList got;
        for (const auto& e : entries)
            got.append(e.path);
        const QStringList expected =
            paths + QStringList{QStringLiteral("/home/ann/local.txt"),
                                QStringLiteral("/home/ann/Tom & Jerry/b.txt"),
                                QStringLiteral("/home/ann/Music")};
        QCOMPARE(got, expected);
        // The bookmark's own stamp, not the application's inside it.
        QCOMPARE(entries[0].modified, utc(9, 23, 30));
        QCOMPARE(entries[0].mimeType, QStringLiteral("text/plain"));
        QCOMPARE(entries.last().mimeType, QStringLiteral("inode/directory"));
    }

    void laterOfModifiedAndVisited() {
        const QList<RecentFiles::Entry> entries =
            RecentFiles::parse(XbelWriter::write({mark(fileHref("/a"), utc(5, 8), utc(10, 9)),
                                                  mark(fileHref("/b"), utc(10, 9), utc(5, 8))}));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].modified, utc(10, 9));
        QCOMPARE(entries[1].modified, utc(10, 9));
        // Stamps without the fraction, as older versions wrote them; and a missing one.
        const QByteArray older = "<xbel version=\"1.0\"><bookmark href=\"file:///c\" "
                                 "modified=\"2026-03-10T09:00:00Z\"/>"
                                 "<bookmark href=\"file:///d\"/></xbel>";
        const auto plain = RecentFiles::parse(older);
        QCOMPARE(plain.size(), 2);
        QCOMPARE(plain[0].modified, utc(10, 9));
        QVERIFY(!plain[1].modified.isValid());
    }

    // Forms other writers may use: single quotes, character references, a ">" inside a
    // value, a stamp with a zone offset.
    void otherWritersForms() {
        const QByteArray xbel =
            "<xbel><bookmark href='file:///x/a%20b' modified='2026-03-10T09:00:00Z'/>"
            "<bookmark modified=\"2026-03-10T10:00:00+01:00\" "
            "href=\"file:///x/Tom&#38;Jerry&#x2F;c\"></bookmark>"
            "<bookmark href=\"file:///x/a>b.txt\" visited=\"2026-03-10T09:00:00Z\">"
            "<info><metadata><mime:mime-type type='text/plain'/></metadata></info></bookmark>"
            "</xbel>";
        const QList<RecentFiles::Entry> entries = RecentFiles::parse(xbel);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].path, QStringLiteral("/x/a b"));
        QCOMPARE(entries[1].path, QStringLiteral("/x/Tom&Jerry/c"));
        QCOMPARE(entries[2].path, QStringLiteral("/x/a>b.txt"));
        for (const auto& e : entries)
            QCOMPARE(e.modified, utc(10, 9));
        QCOMPARE(entries[2].mimeType, QStringLiteral("text/plain"));
    }

    // Damaged lists give what was read before the damage, never more and never a failure.
    void damagedLists_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("count");
        const QByteArray full = XbelWriter::write({mark(fileHref("/a/1"), utc(10, 8)),
                                                   mark(fileHref("/a/2"), utc(10, 8)),
                                                   mark(fileHref("/a/3"), utc(10, 8))});
        const qsizetype third = full.indexOf("file:///a/3");
        QTest::newRow("cut inside the third bookmark's href") << full.left(third + 5) << 2;
        QTest::newRow("cut inside the third bookmark's metadata") << full.left(third + 200) << 3;
        QTest::newRow("cut before the end tag") << full.left(full.size() - 4) << 3;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe<<\x01", 6) << 0;
        QTest::newRow("not xml") << QByteArray("recently used: /a/1\n") << 0;
        QTest::newRow("unquoted attribute")
            << QByteArray("<xbel><bookmark href=file:///a/1 modified=\"x\"/></xbel>") << 0;
        QTest::newRow("unclosed attribute")
            << QByteArray("<xbel><bookmark href=\"file:///a/1 modified=\"x\"></xbel>") << 0;
    }
    void damagedLists() {
        QFETCH(QByteArray, data);
        QFETCH(int, count);
        QCOMPARE(RecentFiles::parse(data).size(), count);
    }

    // Only a regular file is read: a FIFO, a folder or a missing file give nothing at once.
    void readsOnlyRegularFiles() {
        const QByteArray one = XbelWriter::write({mark(fileHref("/a/1"), utc(10, 8))});
        QCOMPARE(RecentFiles::read(writeFile("list.xbel", one)).size(), 1);

        const QString fifo = m_dir.filePath("fifo.xbel");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(RecentFiles::read(fifo).isEmpty());
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(RecentFiles::read(m_dir.path()).isEmpty());
        QVERIFY(RecentFiles::read(m_dir.filePath("missing.xbel")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
