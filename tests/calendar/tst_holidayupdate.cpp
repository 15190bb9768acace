// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayList.h"
#include "calendar/HolidayUpdate.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray ShippedList = "\"Shipped Day\",\"01/05/2000\",\"2\",\"I\"\r\n"
                               "\"Shipped Moving Day\",\"05/18/2026\",\"6\",\"C\"\r\n";
const QByteArray WebList = "\"Web Day\",\"03/17/2026\",\"5\",\"A\"\r\n";
const QStringList ShippedRows = {"2000-01-05|Shipped Day|5|2",
                                 "2026-05-18|Shipped Moving Day|1|106"};
const QStringList WebRows = {"2026-03-17|Web Day|1|205"};

// SQLite's file change counter: it moves with every transaction that writes the file.
QByteArray changeCounter(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(28).mid(24) : QByteArray();
}

} // namespace

class TestHolidayUpdate : public QObject {
    Q_OBJECT
    QTemporaryDir m_program, m_executable;
    FakeClock m_clock{QDateTime(D("2026-03-10"), QTime(9, 0))};
    FakeDownloader m_downloads;
    std::unique_ptr<AppPaths> m_paths;

    QDate lastUpdate() const {
        return SettingsStore(m_paths->dataFile()).load()->lastHolidayUpdate;
    }

private Q_SLOTS:
    void initTestCase() {
        // The shipped list lies beside the program, not in the program folder.
        m_paths = std::make_unique<AppPaths>(m_program.path(), m_executable.path());
        QFile list(m_executable.filePath(HolidayList::ShippedList));
        QVERIFY(list.open(QIODevice::WriteOnly) && list.write(ShippedList) > 0);
    }

    void init() {
        qputenv("PLUMORA_WEBSITE", "http://127.0.0.1:8000/");
        m_downloads.requests.clear();
        QFile::remove(m_paths->dataFile());
        QCOMPARE(programSchema().createTemplate(m_paths->dataFile(), D("2026-01-01")), QString());
    }

    void update_data() {
        QTest::addColumn<QByteArray>("site");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("rows");
        const QByteArray site = "http://127.0.0.1:8000/";
        QTest::addRow("complete") << site << WebList + '^' << QString() << WebRows;
        QTest::addRow("no end mark, shipped list") << site << WebList << QString() << ShippedRows;
        QTest::addRow("over 1 MB, shipped list")
            << site << (WebList + QByteArray(HolidayList::MaxBytes, ' ') + '^') << QString()
            << ShippedRows;
        QTest::addRow("nothing usable, shipped list")
            << site << QByteArray("<html>moved</html>^") << QString() << ShippedRows;
        QTest::addRow("failed, shipped list")
            << site << QByteArray() << QStringLiteral("Connection refused") << ShippedRows;
        QTest::addRow("no web site, shipped list")
            << QByteArray("plumora.example.org") << QByteArray() << QString() << ShippedRows;
    }
    // Lastupdate is stamped, with the clock's date, only when a downloaded list was merged;
    // every other ending merges the shipped list and leaves it for the next due tick.
    void update() {
        QFETCH(QByteArray, site);
        QFETCH(QByteArray, body);
        QFETCH(QString, error);
        QFETCH(QStringList, rows);
        qputenv("PLUMORA_WEBSITE", site);
        QFile stale(m_paths->file(HolidayList::LocalCopy));
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("left over") > 0);
        stale.close();
        StoreSet data(m_paths->dataFile());
        HolidayUpdate update(*m_paths, data.stores(), m_clock, m_downloads);
        QSignalSpy finished(&update, &HolidayUpdate::finished);
        QVERIFY(update.start());
        if (site.startsWith("http")) {
            QCOMPARE(m_downloads.requests.size(), 1);
            QCOMPARE(m_downloads.requests[0].url.toString(),
                     "http://127.0.0.1:8000/plm4/events.plm");
            QCOMPARE(m_downloads.requests[0].maxBytes, HolidayList::MaxBytes + 1);
            QVERIFY(update.isRunning());
            QVERIFY(!update.start()); // one at a time
            QCOMPARE(finished.size(), 0);
            QVERIFY(m_downloads.finish(body, error));
        } else {
            QVERIFY(m_downloads.requests.isEmpty());
        }
        QCOMPARE(finished.size(), 1);
        QVERIFY(!update.isRunning());
        QCOMPARE(holidayTable(m_paths->dataFile()), rows);
        const bool downloaded = rows == WebRows;
        QCOMPARE(update.lastOutcome().downloaded, downloaded);
        QCOMPARE(update.lastOutcome().downloadError.isEmpty(), downloaded);
        QCOMPARE(lastUpdate(), downloaded ? m_clock.today() : D("2026-01-01"));
        QVERIFY(!QFile::exists(m_paths->file(HolidayList::LocalCopy)));
    }

    // First start: the shipped list goes into a data file without holidays, once; merging
    // it again writes nothing at all.
    void shippedListAtFirstStart() {
        StoreSet data(m_paths->dataFile());
        HolidayUpdate update(*m_paths, data.stores(), m_clock, m_downloads);
        QVERIFY(update.mergeShippedListIfNone());
        QCOMPARE(holidayTable(m_paths->dataFile()), ShippedRows);
        QVERIFY(!update.mergeShippedListIfNone());
        const QByteArray counter = changeCounter(m_paths->dataFile());
        const HolidayMerge::Result again = update.mergeShippedList();
        QVERIFY(again.complete);
        QCOMPARE(again.added, 0);
        QCOMPARE(changeCounter(m_paths->dataFile()), counter);
        QCOMPARE(holidayTable(m_paths->dataFile()), ShippedRows);
        QCOMPARE(lastUpdate(), D("2026-01-01"));
    }
};

QTEST_GUILESS_MAIN(TestHolidayUpdate)
#include "tst_holidayupdate.moc"
