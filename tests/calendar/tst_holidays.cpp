// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayList.h"
#include "calendar/HolidayMerge.h"
#include "calendar/HolidayRules.h"
#include "data/DataFile.h"
#include "mock/Fifo.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using HolidayList::Record;

Q_DECLARE_METATYPE(std::vector<Record>)

class TestHolidays : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("data.plm"));
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
    }

    void parse_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<std::vector<Record>>("records");
        QTest::addColumn<int>("malformed");
        QTest::addRow("quoted, comma and blanks kept")
            << QByteArray("\"Hello, World \",\"12/25/2002\",\"7\",\"C\"\r\n")
            << std::vector<Record>{{"Hello, World ", "12/25/2002", "7", "C"}} << 0;
        QTest::addRow("bare trimmed, mixed, LF/CR/blank lines, BOM")
            << QByteArray("\xEF\xBB\xBF  New Year , 01/01/2003 ,2,A\n\n\"X\" , 1/2 ,3,\rY,a,b,c")
            << std::vector<Record>{{"New Year", "01/01/2003", "2", "A"},
                                   {"X", "1/2", "3", ""},
                                   {"Y", "a", "b", "c"}}
            << 0;
        QTest::addRow("one record per line, not four fields at a time")
            << QByteArray("a,b,c\nd,e,f,g,h\n\"open,b,c,d\n\"q\"x,b,c,d\nok,01/01/2003,1,I\n")
            << std::vector<Record>{{"ok", "01/01/2003", "1", "I"}} << 4;
        QTest::addRow("Latin-1 when not UTF-8")
            << QByteArray("\"F\xEAte\",\"07/14/2003\",\"2\",\"I\"")
            << std::vector<Record>{{QStringLiteral("F\u00eate"), "07/14/2003", "2", "I"}} << 0;
    }
    void parse() {
        QFETCH(QByteArray, list);
        QFETCH(std::vector<Record>, records);
        QFETCH(int, malformed);
        const HolidayList::Parsed parsed = HolidayList::parse(list);
        QCOMPARE(parsed.malformed, malformed);
        QCOMPARE(parsed.records.size(), records.size());
        for (size_t i = 0; i < records.size(); ++i)
            QCOMPARE(parsed.records[i], records[i]);
    }

    // Date, repetition and holiday code of one record; "" where it is skipped.
    void eventRow_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("row");
        const auto row = [](const char* name, const char* date, const char* icon,
                            const char* country, const char* expected) {
            QTest::addRow("%s", name) << date << icon << country << expected;
        };
        row("2 in the United States", "01/01/2003", "2", "A", "2003-01-01 5 202");
        row("5 in Canada", "07/01/2003", "5", "C", "2003-07-01 1 105");
        row("3 yearly, 1 4 6 one-time", "12/25/2002", "3", "I", "2002-12-25 5 3");
        row("7 8 9 yearly", "12/25/2002", "9", "c", "2002-12-25 5 9");
        row("10 sorts before 7", "12/25/2002", "10", "A", "2002-12-25 1 210");
        row("other separators", "12-25-2002", "8", "A", "2002-12-25 5 208");
        row("no such day", "02/30/2003", "2", "A", "");
        row("day first", "25/12/2002", "2", "A", "");
        row("before 1753", "01/01/1700", "2", "A", "");
        row("icon 0", "01/01/2003", "0", "A", "");
        row("icon not a number", "01/01/2003", "2x", "A", "");
    }
    void eventRow() {
        QFETCH(QString, date);
        QFETCH(QString, icon);
        QFETCH(QString, country);
        QFETCH(QString, row);
        const auto r = HolidayList::eventRow({"Text", date, icon, country});
        QCOMPARE(r ? QStringLiteral("%1 %2 %3")
                         .arg(r->eDate.toString(Qt::ISODate))
                         .arg(r->frequency)
                         .arg(r->holiday)
                   : QString(),
                 row);
    }

    void mergeOverwritesInsteadOfDuplicating() {
        EventStore store(m_path);
        // The user's own event with the same text and date stays as it is.
        QVERIFY(store.add(makeEvent("2003-01-01", 1, "New Year")));
        const QByteArray list = "\"New Year\",\"01/01/2003\",\"2\",\"A\"\r\n"
                                "\"Flag \",\"06/14/2003\",\"5\",\"C\"\r\n"
                                "bad,13/45/2003,2,A\r\n"
                                "also bad,01/01/2003,x,A\r\n";
        const QStringList expected = {"2003-01-01|New Year|1|0", "2003-01-01|New Year|5|202",
                                      "2003-06-14|Flag |1|105"};
        const HolidayMerge::Result first = HolidayMerge::mergeTransfer(store, list + '^');
        QVERIFY(first.complete);
        QCOMPARE(first.added, 2);
        QCOMPARE(first.skipped, 2);
        QCOMPARE(holidayTable(m_path), expected);

        // Again: the same rows. Texts are matched trimmed and without regard to case, and a
        // holiday that moves to another country keeps its row.
        QVERIFY(HolidayMerge::mergeList(store, list).complete);
        QCOMPARE(holidayTable(m_path), expected);
        const HolidayMerge::Result moved =
            HolidayMerge::mergeList(store, "\"  new year\",\"01/01/2003\",\"2\",\"I\"\n"
                                           "Flag,06/14/2003,5,C\n");
        QCOMPARE(moved.updated, 2);
        QCOMPARE(holidayTable(m_path),
                 (QStringList{"2003-01-01|New Year|1|0", "2003-01-01|  new year|5|2",
                              "2003-06-14|Flag|1|105"}));
    }

    void incompleteOrUnusableListsMergeNothing_data() {
        QTest::addColumn<QByteArray>("transfer");
        QTest::addRow("no mark") << QByteArray("\"New Year\",\"01/01/2003\",\"2\",\"A\"\r\n");
        QTest::addRow("nothing usable") << QByteArray("<html>Not found</html>\n^");
        QTest::addRow("over 1 MB")
            << QByteArray("\"New Year\",\"01/01/2003\",\"2\",\"A\"\n").leftJustified(1 << 20, ' ') +
                   '^' + '^';
    }
    void incompleteOrUnusableListsMergeNothing() {
        QFETCH(QByteArray, transfer);
        EventStore store(m_path);
        const HolidayMerge::Result r = HolidayMerge::mergeTransfer(store, transfer);
        QVERIFY(!r.complete);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(holidayTable(m_path), QStringList());
    }

    void failedWriteLeavesTableAsItWas() {
        EventStore store(m_path);
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Events WHEN "
                                           "NEW.Description = 'B' BEGIN SELECT RAISE(ABORT, "
                                           "'refused'); END")));
        }
        const HolidayMerge::Result r =
            HolidayMerge::mergeList(store, "A,01/01/2003,2,A\nB,01/02/2003,2,A\n");
        QVERIFY(!r.complete);
        QVERIFY(r.error.contains("refused"));
        QCOMPARE(holidayTable(m_path), QStringList());
    }

    void knownDates_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QDate>("expected");
        using namespace HolidayRules;
        QTest::addRow("US Thanksgiving 2026")
            << nthWeekday(2026, 11, Qt::Thursday, 4) << D("2026-11-26");
        QTest::addRow("Canada Thanksgiving 2026")
            << nthWeekday(2026, 10, Qt::Monday, 2) << D("2026-10-12");
        QTest::addRow("Easter 2027") << easterSunday(2027) << D("2027-03-28");
        QTest::addRow("Easter 2038 latest") << easterSunday(2038) << D("2038-04-25");
        QTest::addRow("Easter 2285 earliest") << easterSunday(2285) << D("2285-03-22");
        QTest::addRow("Victoria Day 2027, on the 24th")
            << weekdayOnOrBefore(D("2027-05-24"), Qt::Monday) << D("2027-05-24");
        QTest::addRow("Victoria Day 2026")
            << weekdayOnOrBefore(D("2026-05-24"), Qt::Monday) << D("2026-05-18");
        QTest::addRow("Memorial Day 2026, month ends Sunday")
            << lastWeekday(2026, 5, Qt::Monday) << D("2026-05-25");
        QTest::addRow("no fifth Monday") << nthWeekday(2026, 2, Qt::Monday, 5) << QDate();
    }
    void knownDates() {
        QFETCH(QDate, date);
        QFETCH(QDate, expected);
        QCOMPARE(date, expected);
    }

    // The shipped list, merged: every record is usable, each kind gets its repetition, no
    // two records fall into one row, and the moving holidays land on their days.
    void shippedListMerges() {
        const std::vector<Record> records = HolidayRules::shippedList(2026);
        const auto list = HolidayList::write(records);
        QVERIFY(list);
        QCOMPARE(HolidayList::parse(*list).records, records);
        QSet<QString> seen;
        for (const Record& r : records) {
            const auto row = HolidayList::eventRow(r);
            QVERIFY2(row, qPrintable(r.text));
            // Fixed days are dated before the first year; moving ones within it.
            QCOMPARE(row->frequency, row->eDate.year() < 2026 ? 5 : 1);
            QVERIFY(!r.country.isEmpty() && QStringLiteral("ICA").contains(r.country));
            const QString key = r.text.toLower() + r.date + r.icon;
            QVERIFY2(!seen.contains(key), qPrintable(key));
            seen.insert(key);
        }
        EventStore store(m_path);
        const HolidayMerge::Result merged = HolidayMerge::mergeList(store, *list);
        QVERIFY(merged.complete);
        QCOMPARE(merged.added, int(records.size()));
        const QStringList rows = holidayTable(m_path);
        for (const char* row :
             {"2026-11-26|Thanksgiving Day|1|206", "2026-10-12|Thanksgiving Day|1|106",
              "2027-03-28|Easter Sunday|1|5", "2027-05-24|Victoria Day|1|106",
              "2036-11-27|Thanksgiving Day|1|206", "2000-12-25|Christmas Day|5|7",
              "2021-06-19|Juneteenth|5|202"})
            QVERIFY2(rows.contains(QString::fromUtf8(row)), row);
        QVERIFY(!rows.contains("2037-11-26|Thanksgiving Day|1|206"));

        // A pipe in the list's place is refused at once instead of blocking start-up.
        const QString pipe = QFileInfo(m_path).dir().filePath(QStringLiteral("pipe.plm"));
        QVERIFY(Fifo::make(pipe));
        HolidayMerge::Result fromPipe;
        QVERIFY(
            Fifo::finishesWithin([&] { fromPipe = HolidayMerge::mergeFile(store, pipe); }, {pipe}));
        QVERIFY(!fromPipe.complete);
    }
};

QTEST_GUILESS_MAIN(TestHolidays)
#include "tst_holidays.moc"
