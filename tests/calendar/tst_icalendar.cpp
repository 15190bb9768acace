// SPDX-License-Identifier: GPL-3.0-or-later
// iCalendar files in and out: the written file's form, round trips through libical and an
// independent reader, real-world files, refused input, re-imports and the report, and
// libical's expansion of random rules against the dates the stored rows fall on.
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/IcsExport.h"
#include "calendar/ical/IcsImport.h"
#include "data/DataFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <libical/ical.h>

namespace {

const QDate Today = D("2026-03-01");
const QDateTime Now(Today, QTime(12, 0), Qt::UTC);
// Nine hours east of UTC, no summer time: a start's date visibly moves.
const QTimeZone Tokyo("Asia/Tokyo");

QByteArray fixture(const char* name) {
    // The fuzz run writes its seeds from here without the test's environment.
    QFile f(QStringLiteral(PLUMORA_TEST_SCRIPTS "/../data/ical/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

QStringList eventLines(const IcsImport::Result& r, const QString& uid) {
    for (const IcsImport::Event& e : r.events)
        if (e.uid == uid)
            return rowLines(e.rows);
    return {};
}

QStringList table(const QString& path) {
    QStringList out;
    DataFile db(path);
    db.forEach(QStringLiteral("SELECT eDate, Frequency, Description, UID, LastModified "
                              "FROM Events ORDER BY rowid"),
               {}, [&](DataFile::Row q) {
                   QStringList cells;
                   for (int c = 0; c < 5; ++c)
                       cells << q.value(c).toString();
                   out << cells.join(u'|');
                   return true;
               });
    return out;
}

EventRow withUid(EventRow r, const char* uid) {
    r.uid = QString::fromLatin1(uid);
    r.modified = QDateTime(D("2026-02-01"), QTime(8, 0), Qt::UTC);
    return r;
}

// A file with one all-day event carrying `rule`, starting `start`.
QByteArray ruleFile(const QDate& start, const QString& rule) {
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:r@test\r\nDTSTAMP:20260101T000000Z\r\n"
                          "DTSTART;VALUE=DATE:%1\r\nRRULE:%2\r\nSUMMARY:rule\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n")
        .arg(start.toString(QStringLiteral("yyyyMMdd")), rule)
        .toUtf8();
}

} // namespace

class TestICalendar : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;

    CalendarImport importer(EventStore& store) { return CalendarImport(store, Today, Now, Tokyo); }

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath("data.plm");
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
    }

    // The written file: CRLF lines of at most 75 octets, libical finds nothing to fault,
    // every event carries the required properties, text is escaped and rules are written
    // for the repeating codes; code 2 is left out.
    void exportedFileIsSound() {
        const QString longText =
            QStringLiteral("Übergabe, Planung; Rückblick\\Notiz ") + QString(120, u'x');
        const std::vector<EventRow> rows{
            withUid(makeEvent("2026-03-04", 1, longText), "a"),
            withUid(makeEvent("2026-03-05", 3, "swim"), "b"),
            withUid(makeEvent("2026-01-31", 4, "rent"), "c"),
            withUid(makeEvent("2000-02-29", 5, "leap"), "d"),
            withUid(makeEvent("2026-03-06", 2, "never"), "e"),
        };
        const QByteArray ics = IcsExport::write(rows, Now);
        QVERIFY(ics.endsWith("\r\n"));
        for (const QByteArray& line : ics.split('\n')) {
            QVERIFY2(line.isEmpty() || line.endsWith('\r'), line.constData());
            QVERIFY2(line.size() <= 76, line.constData()); // 75 octets and the CR
        }
        QVERIFY(ics.contains("DTSTART;VALUE=DATE:20260304\r\n"));
        QVERIFY(ics.contains("RRULE:FREQ=WEEKLY\r\n"));
        QVERIFY(ics.contains("RRULE:FREQ=MONTHLY\r\n"));
        QVERIFY(ics.contains("RRULE:FREQ=YEARLY\r\n"));
        QVERIFY(ics.contains("DTSTAMP:20260301T120000Z\r\n"));
        QVERIFY(ics.contains("LAST-MODIFIED:20260201T080000Z\r\n"));
        QVERIFY(!ics.contains("never"));

        icalcomponent* calendar = icalparser_parse_string(ics.constData());
        QVERIFY(calendar);
        icalrestriction_check(calendar);
        QCOMPARE(icalcomponent_count_errors(calendar), 0);
        QCOMPARE(icalcomponent_count_components(calendar, ICAL_VEVENT_COMPONENT), 4);
        icalcomponent* first = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
        QCOMPARE(QString::fromUtf8(icalcomponent_get_summary(first)), longText);
        icalcomponent_free(calendar);
    }

    // Export, then import: every event comes back with its UID, date, text and repeat; so do
    // the rows of one imported event spread over days or dates.
    void roundTripThroughLibical() {
        std::vector<EventRow> rows{
            withUid(makeEvent("2026-03-04", 1, "lunch, with Sam"), "a"),
            withUid(makeEvent("2026-03-05", 3, "swim"), "b"),
            withUid(makeEvent("2026-01-31", 4, "rent"), "c"),
            withUid(makeEvent("2026-02-28", 5, "anniversary"), "d"),
        };
        for (const char* day : {"2026-04-01", "2026-04-02", "2026-04-03"})
            rows.push_back(withUid(makeEvent(day, 1, "conference"), "conf"));
        for (const char* day : {"2026-05-01", "2026-05-15", "2026-06-01"})
            rows.push_back(withUid(makeEvent(day, 1, "payday"), "pay"));
        rows.back().description = "payday (moved)";

        const IcsImport::Result back = IcsImport::read(IcsExport::write(rows, Now), Today, Tokyo);
        QVERIFY2(back.ok(), qPrintable(back.error));
        std::vector<EventRow> all;
        for (const IcsImport::Event& e : back.events)
            for (const EventRow& r : e.rows) {
                QCOMPARE(r.uid, e.uid);
                all.push_back(r);
            }
        QCOMPARE(rowLines(all), rowLines(rows));
        QCOMPARE(eventLines(back, "pay").size(), 3);
    }

    // The independent reader (Python icalendar) sees the same dates, texts and rules.
    void independentReaderAgrees() {
        // Debian's interpreter, which the distribution's icalendar package belongs to.
        QString python = QStringLiteral("/usr/bin/python3");
        if (!QFile::exists(python))
            python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed");
        const std::vector<EventRow> rows{
            withUid(makeEvent("2026-03-04", 1, "lunch, with Sam; at noon"), "a@x"),
            withUid(makeEvent("2026-03-05", 3, "swim \\ gym"), "b@x"),
            withUid(makeEvent("2026-01-31", 4, QString(100, u'ü')), "c@x"),
            withUid(makeEvent("2026-02-28", 5, "line one\nline two"), "d@x"),
        };
        const QString file = m_dir.filePath("out.ics");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(IcsExport::write(rows, Now));
        f.close();
        QProcess p;
        p.start(python, {QStringLiteral(PLUMORA_TEST_SCRIPTS "/ics_readback.py"), file});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QStringList seen;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            QVERIFY(o.value("stamp").toBool());
            seen << o.value("uid").toString() + u'|' + o.value("date").toString() + u'|' +
                        o.value("freq").toString() + u'|' + o.value("summary").toString();
        }
        QCOMPARE(seen, (QStringList{"a@x|2026-03-04||lunch, with Sam; at noon",
                                    "b@x|2026-03-05|WEEKLY|swim \\ gym",
                                    "c@x|2026-01-31|MONTHLY|" + QString(100, u'ü'),
                                    "d@x|2026-02-28|YEARLY|line one\nline two"}));
    }

    // Files as other calendar programs write them: time zones from VTIMEZONE and TZID,
    // folded lines, escaped commas, X- properties and alarms (ignored).
    void realWorldFiles() {
        const IcsImport::Result g = IcsImport::read(fixture("google.ics"), Today, Tokyo);
        QVERIFY2(g.ok(), qPrintable(g.error));
        // 18:30 in New York (summer time from 8 March) is 07:30 the next day in Tokyo.
        QCOMPARE(eventLines(g, "3kq0c2nd0l8m1t6v7@example.com"),
                 QStringList{"2026-03-11|1|07:30 Release call"});
        // New York changes its clocks, Tokyo does not: each Monday shows its own time.
        const QStringList standup = eventLines(g, "weekly-standup@example.com");
        QVERIFY(standup.contains("2026-01-05|1|23:00 Standup"));
        QVERIFY(standup.contains("2026-03-16|1|22:00 Standup"));
        QVERIFY(standup.contains("2026-11-09|1|23:00 Standup"));
        QCOMPARE(eventLines(g, "dayoff@example.com"), QStringList{"2026-03-20|1|Day off"});

        // Written with a byte order mark, as some programs do.
        const IcsImport::Result o =
            IcsImport::read("\xEF\xBB\xBF" + fixture("outlook.ics"), Today, Tokyo);
        QVERIFY2(o.ok(), qPrintable(o.error));
        QCOMPARE(o.events.size(), size_t(2));
        QCOMPARE(o.events[0].uid, "040000008200E00074C5B7101A82E00800000000D0E4A1B2C3D4E5F6000000"
                                  "000000000010000000A1B2C3D4E5F6A7B8C9D0E1F2A3B4C5D6");
        QCOMPARE(rowLines(o.events[0].rows),
                 QStringList{"2026-07-01|1|16:00 Review, budget and plans for the third quarter "
                             "of the year with the whole department"});
        // The first Friday of each month, 14:00 in Berlin (winter) is 22:00 in Tokyo.
        const QStringList monthly = eventLines(o, "monthly-first-friday@example.org");
        QCOMPARE(monthly.first(), "2026-01-02|1|22:00 Monthly review");
        QVERIFY(monthly.contains("2026-02-06|1|22:00 Monthly review"));
        QVERIFY(monthly.contains("2026-08-07|1|21:00 Monthly review")); // summer time
        QCOMPARE(monthly.last(), "2031-02-07|1|22:00 Monthly review");
        QCOMPARE(o.notes.expanded, 1);

        const IcsImport::Result a = IcsImport::read(fixture("apple.ics"), Today, Tokyo);
        QVERIFY2(a.ok(), qPrintable(a.error));
        QCOMPARE(eventLines(a, "A1B2C3D4-1111-2222-3333-444455556666"),
                 (QStringList{"2026-04-05|1|Trip to the coast", "2026-04-06|1|Trip to the coast",
                              "2026-04-07|1|Trip to the coast"}));
        QCOMPARE(eventLines(a, "A1B2C3D4-7777-8888-9999-000011112222"),
                 QStringList{"1980-02-29|5|Leap birthday"});
        // Weekly four times from 2 March 17:00 UTC, 9 March excluded: 02:00 the next day.
        QCOMPARE(eventLines(a, "A1B2C3D4-AAAA-BBBB-CCCC-DDDDEEEEFFFF"),
                 (QStringList{"2026-03-03|1|02:00 Swim lessons", "2026-03-17|1|02:00 Swim lessons",
                              "2026-03-24|1|02:00 Swim lessons"}));
        QCOMPARE(a.notes.noDate, 1);
        QCOMPARE(a.notes.otherItems, 1);
    }

    // As other producers write: empty DESCRIPTION and LOCATION, X-WR-TIMEZONE for floating
    // times, moved occurrences named by a RECURRENCE-ID with a TZID or as a date, and a
    // VTIMEZONE for a known id that covers two years only.
    void realProducers() {
        EventStore store(m_path);
        const ImportReport report =
            importer(store).importData(fixture("google-empty.ics"), "google-empty.ics");
        QVERIFY2(report.ok(), qPrintable(report.error));
        QCOMPARE(report.added, 3);
        const IcsImport::Result g = IcsImport::read(fixture("google-empty.ics"), Today, Tokyo);
        // 09:00 in Berlin is 17:00 in Tokyo, 16:00 from Berlin's summer time on 29 March;
        // the lesson of 9 March moved to 11 March, 11:00 in Berlin.
        QCOMPARE(eventLines(g, "5v2c1n4m8k3j6h9g0f1d2s3a4p@google.com"),
                 (QStringList{
                     "2026-03-02|1|17:00 Piano lesson", "2026-03-11|1|19:00 Piano lesson (moved)",
                     "2026-03-16|1|17:00 Piano lesson", "2026-03-23|1|17:00 Piano lesson",
                     "2026-03-30|1|16:00 Piano lesson", "2026-04-06|1|16:00 Piano lesson"}));
        QCOMPARE(eventLines(g, "0a9b8c7d6e5f4g3h2i1j@google.com"),
                 (QStringList{"2026-03-05|1|Water the plants", "2026-03-07|1|Water the plants",
                              "2026-03-10|1|Water the plants (late)"}));
        // Floating 19:30 in the calendar's Berlin is 03:30 the next day in Tokyo.
        QCOMPARE(eventLines(g, "7q6w5e4r3t2y1u0i@google.com"),
                 QStringList{"2026-03-16|1|03:30 Book club"});

        // Daily 08:00 in Berlin stays 08:00 past the last change the file's zone lists.
        const QTimeZone berlin("Europe/Berlin");
        const IcsImport::Result k = IcsImport::read(fixture("khal-berlin.ics"), Today, berlin);
        QVERIFY2(k.ok(), qPrintable(k.error));
        const QStringList meds = eventLines(k, "V3KQ8XJ2ZPMR0N5TB7YCLW4AHD6EFGSU");
        for (const char* day :
             {"2026-03-01", "2026-07-01", "2027-11-15", "2028-01-15", "2028-07-15", "2028-11-01"})
            QVERIFY2(meds.contains(QLatin1String(day) + "|1|08:00 Take meds"), day);
        QVERIFY(meds.filter("|1|08:00 ").size() == meds.size());

        // An id the system does not know is read by the file's own VTIMEZONE.
        const QByteArray custom =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTIMEZONE\r\nTZID:Office time\r\n"
            "BEGIN:STANDARD\r\nDTSTART:19700101T000000\r\nTZOFFSETFROM:+0530\r\n"
            "TZOFFSETTO:+0530\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\nBEGIN:VEVENT\r\nUID:o\r\n"
            "DTSTART;TZID=Office time:20260310T100000\r\nSUMMARY:Call\r\nEND:VEVENT\r\n"
            "END:VCALENDAR\r\n";
        QCOMPARE(eventLines(IcsImport::read(custom, Today, Tokyo), "o"),
                 QStringList{"2026-03-10|1|13:30 Call"});

        // Values libical cannot read in properties that do not place the event are dropped.
        const QByteArray stray = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:s\r\n"
                                 "DTSTART;VALUE=DATE:20260310\r\nGEO:nowhere\r\nURL:\r\n"
                                 "SUMMARY:Kept\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        QCOMPARE(eventLines(IcsImport::read(stray, Today, Tokyo), "s"),
                 QStringList{"2026-03-10|1|Kept"});
    }

    // Rules cost a bounded number of steps: more often than daily shows the first time of
    // each day (or, with BYxxx parts, is left out), COUNT rules are read from the window on,
    // a rule too dense to follow stops and says so, and one read makes at most 50,000 rows.
    void expansionBounds() {
        const auto timed = [](const QString& rule) {
            QByteArray f = ruleFile(Today, rule);
            f.replace("DTSTART;VALUE=DATE:20260301", "DTSTART:20260301T100000");
            return IcsImport::read(f, Today, Tokyo);
        };
        IcsImport::Result r = timed("FREQ=SECONDLY;COUNT=1000000"); // 11 days and 14 hours
        QStringList rows = eventLines(r, "r@test");
        QCOMPARE(rows.size(), 12);
        QCOMPARE(rows.first(), "2026-03-01|1|10:00 rule");
        QCOMPARE(rows.last(), "2026-03-12|1|00:00 rule");
        QCOMPARE(r.notes.subDaily, 1);
        QCOMPARE(r.notes.capped + r.notes.unfollowed, 0);

        // Every five hours from 10:00: 10, 15, 20, then 01:00, then 02:00.
        r = timed("FREQ=HOURLY;INTERVAL=5");
        rows = eventLines(r, "r@test");
        QCOMPARE(rows.size(), IcsImport::MaxRowsPerEvent);
        QCOMPARE(rows.mid(0, 3), (QStringList{"2026-03-01|1|10:00 rule", "2026-03-02|1|01:00 rule",
                                              "2026-03-03|1|02:00 rule"}));
        // Without end: shown within the window, not cut off.
        QCOMPARE(r.notes.capped, 0);
        QCOMPARE(r.notes.rolling, 1);

        // With BYxxx parts libical walks every minute: the rule is left out, the start kept.
        r = timed("FREQ=MINUTELY;BYHOUR=9,10");
        QCOMPARE(eventLines(r, "r@test"), QStringList{"2026-03-01|1|10:00 rule"});
        QCOMPARE(r.notes.subDailyLeft, 1);

        // Evenly spaced COUNT rules from long ago start at the window.
        r = IcsImport::read(ruleFile(D("1990-01-01"), "FREQ=DAILY;COUNT=100000"), Today, Tokyo);
        QCOMPARE(r.events.front().rows.size(), size_t(IcsImport::MaxRowsPerEvent));
        QCOMPARE(r.events.front().rows.front().eDate, IcsImport::windowStart(Today));
        QCOMPARE(r.notes.capped, 1);
        r = IcsImport::read(ruleFile(D("1990-01-01"), "FREQ=DAILY;COUNT=12900"), Today, Tokyo);
        QCOMPARE(r.events.front().rows.back().eDate, D("1990-01-01").addDays(12899));
        // Not evenly spaced: walked, and given up past MaxSteps.
        r = IcsImport::read(ruleFile(D("1970-01-01"), "FREQ=WEEKLY;BYDAY=MO,TH;COUNT=100000"),
                            Today, Tokyo);
        QVERIFY(r.events.empty());
        QCOMPARE(r.notes.unfollowed, 1);
        QCOMPARE(r.notes.outOfWindow, 0);

        // 60 events of 1,000 dates: the first 50 fill the rows of one read.
        QByteArray many = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
        for (int i = 0; i < 60; ++i)
            many += QStringLiteral("BEGIN:VEVENT\r\nUID:e%1\r\nDTSTART;VALUE=DATE:20260301\r\n"
                                   "RRULE:FREQ=DAILY;COUNT=1000\r\nSUMMARY:e%1\r\nEND:VEVENT\r\n")
                        .arg(i)
                        .toUtf8();
        many += "END:VCALENDAR\r\n";
        r = IcsImport::read(many, Today, Tokyo);
        QCOMPARE(r.events.size(), size_t(50));
        QCOMPARE(r.events.back().uid, "e49");
        QCOMPARE(r.notes.overBudget, 10);
        QCOMPARE(r.notes.expanded, 50);
        QVERIFY(CalendarImport::skippedLines(r.notes, 0)
                    .contains("10 events were left out: one import makes at most 50,000 "
                              "calendar rows"));
    }

    // Faulty files are refused whole, with the line at fault; the table is untouched.
    void badInputIsRefused_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("error");
        const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:x\r\n";
        QTest::newRow("not a calendar") << QByteArray("<html><body>Not found</body></html>\n")
                                        << "Line 1: this is not an iCalendar file";
        QTest::newRow("unclosed") << head + "DTSTART;VALUE=DATE:20260301\r\nEND:VCALENDAR\r\n"
                                  << "Line 6: END:VCALENDAR does not close BEGIN:VEVENT of line 3";
        QTest::newRow("cut off") << head + "DTSTART;VALUE=DATE:20260301\r\n"
                                 << "Line 5: the file ends before END:VEVENT (begun on line 3)";
        // Names from the file are taken as they are, a "%1" in them too.
        QTest::newRow("unclosed odd name")
            << QByteArray("BEGIN:VCALENDAR\r\nBEGIN:X-%1\r\nEND:VCALENDAR\r\n")
            << "Line 3: END:VCALENDAR does not close BEGIN:X-%1 of line 2";
        QTest::newRow("cut off odd name")
            << QByteArray("BEGIN:VCALENDAR\r\nBEGIN:%1\r\n")
            << "Line 2: the file ends before END:%1 (begun on line 2)";
        QTest::newRow("no colon") << head + "DTSTART;VALUE=DATE:20260301\r\nSUMMARY\r\n"
                                            "END:VEVENT\r\nEND:VCALENDAR\r\n"
                                  << "Line 6: \"SUMMARY\" is not an iCalendar line";
        QTest::newRow("bad date") << head + "SUMMARY:a\r\nDTSTART;VALUE=DATE:2026-13-45\r\n"
                                            "END:VEVENT\r\nEND:VCALENDAR\r\n"
                                  << "Line 6: DTSTART is not a date and time that exists.";
        // The line of the property at fault, in the event it stands in.
        const QByteArray two = head + "DTSTART;VALUE=DATE:20260301\r\nRRULE:FREQ=DAILY\r\n"
                                      "DESCRIPTION:\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:y\r\n"
                                      "DTSTART;VALUE=DATE:20260302\r\n";
        QTest::newRow("bad rule")
            << two + "RRULE:FREQ=DAILY;COUNT=x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
            << "Line 12: Can't parse as RECUR value in RRULE property: FREQ=DAILY;COUNT=x";
        QTest::newRow("bad end") << two + "DTEND;VALUE=DATE:soon\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
                                 << "Line 12: Can't parse as DATE value in DTEND property: soon";
        QTest::newRow("too big") << QByteArray(IcsImport::MaxBytes + 1, 'x') << "larger than 20 MB";
        QByteArray many = "BEGIN:VCALENDAR\r\n";
        for (int i = 0; i <= IcsImport::MaxComponents; ++i)
            many += "BEGIN:VTODO\r\nEND:VTODO\r\n";
        QTest::newRow("too many") << many + "END:VCALENDAR\r\n"
                                  << "more than 50,000 items";
    }
    void badInputIsRefused() {
        QFETCH(QByteArray, data);
        QFETCH(QString, error);
        EventStore store(m_path);
        QVERIFY(store.add(makeEvent("2026-03-04", 1, "kept")));
        const QStringList before = table(m_path);
        const ImportReport r = importer(store).importData(data, "bad.ics");
        QVERIFY2(r.error.startsWith(error) || (error.front() != u'L' && r.error.contains(error)),
                 qPrintable(r.error));
        QVERIFY(r.text().startsWith("Nothing was imported from bad.ics."));
        QCOMPARE(table(m_path), before);
    }

    // A second import of the same file changes nothing, not even the file's time; a changed
    // event replaces its rows, found by UID, and keeps the others.
    void reimportIsIdempotent() {
        EventStore store(m_path);
        const ImportReport first = importer(store).importData(fixture("apple.ics"), "apple.ics");
        QVERIFY2(first.ok(), qPrintable(first.error));
        QCOMPARE(first.added, 3);
        const QStringList before = table(m_path);
        QCOMPARE(before.size(), 3 + 1 + 3);
        const qint64 stamp = fileModifiedStamp(m_path);

        const ImportReport again = importer(store).importData(fixture("apple.ics"), "apple.ics");
        QCOMPARE(again.added + again.updated, 0);
        QCOMPARE(again.unchanged, 3);
        QCOMPARE(table(m_path), before);
        QCOMPARE(fileModifiedStamp(m_path), stamp);

        QByteArray changed = fixture("apple.ics");
        changed.replace("DTEND;VALUE=DATE:20260408", "DTEND;VALUE=DATE:20260407");
        const ImportReport update = importer(store).importData(changed, "apple.ics");
        QCOMPARE(update.updated, 1);
        QCOMPARE(update.unchanged, 2);
        QCOMPARE(table(m_path).filter("Trip to the coast").size(), 2);
        QCOMPARE(table(m_path).filter("Swim lessons"), before.filter("Swim lessons"));
    }

    // An event deleted in the editor left a tombstone; importing it again brings it back.
    // An exported holiday imported again is recognised and left alone.
    void tombstonesAndHolidays() {
        EventStore store(m_path);
        EventRow holiday = makeEvent("2026-12-25", 5, "Christmas", 3);
        QVERIFY(store.add(holiday));
        std::vector<EventRow> rows;
        QVERIFY(
            IcsExport::select(store, IcsExport::All, Today, Today, true, {true, true, true}, rows));
        QCOMPARE(rows.size(), size_t(1));
        ImportReport r = importer(store).importData(IcsExport::write(rows, Now), "h.ics");
        QCOMPARE(r.skipped, QStringList{"1 event is a holiday the calendar already has"});
        QCOMPARE(table(m_path).size(), 1);

        QVERIFY(importer(store).importData(fixture("google.ics"), "g.ics").ok());
        const qint64 rowId =
            DataFile(m_path)
                .scalar("SELECT rowid FROM Events WHERE UID = 'dayoff@example.com'")
                .toLongLong();
        QVERIFY(store.remove(rowId));
        QCOMPARE(DataFile(m_path).scalar("SELECT COUNT(*) FROM EventTombstones").toInt(), 1);
        r = importer(store).importData(fixture("google.ics"), "g.ics");
        QCOMPARE(r.added, 1);
        QCOMPARE(DataFile(m_path).scalar("SELECT COUNT(*) FROM EventTombstones").toInt(), 0);
    }

    // The summary lists what was added, updated and skipped, and why.
    void report() {
        EventStore store(m_path);
        const ImportReport r = importer(store).importData(fixture("apple.ics"), "apple.ics");
        QCOMPARE(r.text(), QStringLiteral("Imported from apple.ics:\n"
                                          "3 events added\n"
                                          "0 events updated\n"
                                          "0 events unchanged\n"
                                          "\n"
                                          "Skipped or changed:\n"
                                          "1 event repeats in a way Plumora keeps as single dates\n"
                                          "1 event has no date\n"
                                          "1 item is not an event (a to-do, a journal entry)"));
    }

    // Bounds of the mapping: a long event keeps 31 days, an endless daily rule 1,000 dates
    // inside the window (said to be shown within a window, as it moves on), and a rule whose dates
    // all lie outside the window adds nothing.
    void limits() {
        QByteArray longEvent = ruleFile(D("2026-03-01"), "FREQ=DAILY;COUNT=1");
        longEvent.replace("RRULE:FREQ=DAILY;COUNT=1\r\n", "DTEND;VALUE=DATE:20260601\r\n");
        IcsImport::Result r = IcsImport::read(longEvent, Today, Tokyo);
        QCOMPARE(r.events.front().rows.size(), size_t(IcsImport::MaxDays));
        QCOMPARE(r.notes.tooLong, 1);

        r = IcsImport::read(ruleFile(D("1990-01-01"), "FREQ=DAILY"), Today, Tokyo);
        const std::vector<EventRow>& daily = r.events.front().rows;
        QCOMPARE(daily.size(), size_t(IcsImport::MaxRowsPerEvent));
        QCOMPARE(daily.front().eDate, IcsImport::windowStart(Today));
        QCOMPARE(r.notes.capped, 0);
        QCOMPARE(r.notes.rolling, 1);
        QCOMPARE(r.notes.rollingUntil, daily.back().eDate);
        QCOMPARE(r.events.front().shownUntil, daily.back().eDate);
        QVERIFY(CalendarImport::skippedLines(r.notes, 0)
                    .contains("1 event repeats without end; its dates are shown up to " +
                              daily.back().eDate.toString(Qt::ISODate) +
                              " and extended as time passes"));
        // A hostile COUNT still hits the cap, and says so.
        r = IcsImport::read(ruleFile(D("1990-01-01"), "FREQ=DAILY;COUNT=100000"), Today, Tokyo);
        QCOMPARE(r.notes.capped, 1);
        QCOMPARE(r.notes.rolling, 0);
        QVERIFY(!r.events.front().shownUntil.isValid());

        r = IcsImport::read(ruleFile(D("2001-01-01"), "FREQ=DAILY;COUNT=3"), Today, Tokyo);
        QVERIFY(r.events.empty());
        QCOMPARE(r.notes.outOfWindow, 1);
    }

    // libical's own expansion of 500 random rules against the dates on which the rows
    // stored for them fall by Plumora's rules, inside the window.
    void randomRulesAgreeWithLibical() {
        QRandomGenerator random(26);
        const QStringList freqs{"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
        const QStringList days{"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
        const QDate from = IcsImport::windowStart(Today), to = IcsImport::windowEnd(Today);
        int native = 0;
        for (int n = 0; n < 500; ++n) {
            const QDate start = Today.addDays(random.bounded(-1500, 1500));
            QStringList parts{"FREQ=" + freqs[random.bounded(4)]};
            if (random.bounded(3) == 0)
                parts << QStringLiteral("INTERVAL=%1").arg(random.bounded(1, 4));
            switch (random.bounded(8)) {
            case 0:
                parts << QStringLiteral("COUNT=%1").arg(random.bounded(1, 40));
                break;
            case 1:
                parts << "UNTIL=" + start.addDays(random.bounded(1, 900)).toString("yyyyMMdd");
                break;
            case 2:
                parts << "BYDAY=" + days[random.bounded(7)];
                break;
            case 3:
                parts << "BYDAY=" + days[start.dayOfWeek() % 7]; // the start's own weekday
                break;
            case 4:
                parts << QStringLiteral("BYMONTHDAY=%1")
                             .arg(random.bounded(2) ? start.day() : random.bounded(1, 32));
                break;
            case 5:
                parts << QStringLiteral("BYMONTH=%1").arg(random.bounded(1, 13));
                break;
            case 6:
                parts << "BYDAY=MO,WE,FR"
                      << QStringLiteral("BYSETPOS=%1").arg(random.bounded(2) ? 1 : -1);
                break;
            default:
                break;
            }
            const QString rule = parts.join(u';');
            const IcsImport::Result r = IcsImport::read(ruleFile(start, rule), Today, Tokyo);
            QVERIFY2(r.ok(), qPrintable(r.error));

            // libical, straight: the start and the rule's dates, inside the window.
            QList<QDate> expected;
            icalrecurrencetype recurrence = icalrecurrencetype_from_string(rule.toLatin1());
            const icaltimetype dtstart =
                icaltime_from_string(start.toString("yyyyMMdd").toLatin1().constData());
            QSet<QDate> all{start};
            icalrecur_iterator* it = icalrecur_iterator_new(recurrence, dtstart);
            for (icaltimetype t = icalrecur_iterator_next(it);
                 !icaltime_is_null_time(t) && QDate(t.year, t.month, t.day) <= to;
                 t = icalrecur_iterator_next(it))
                all.insert(QDate(t.year, t.month, t.day));
            icalrecur_iterator_free(it);
            for (const QDate& d : all)
                if (d >= from && d <= to)
                    expected << d;
            std::sort(expected.begin(), expected.end());
            if (expected.size() > IcsImport::MaxRowsPerEvent)
                expected.resize(IcsImport::MaxRowsPerEvent);

            // Plumora: every date of the window the stored rows fall on.
            const std::vector<EventRow> rows =
                r.events.empty() ? std::vector<EventRow>{} : r.events.front().rows;
            if (rows.size() == 1 && rows.front().frequency != EventFrequency::OneTime)
                ++native;
            QSet<QDate> on;
            for (const EventRow& row : rows) {
                if (row.frequency == EventFrequency::OneTime) {
                    if (row.eDate >= from && row.eDate <= to)
                        on.insert(row.eDate);
                    continue;
                }
                for (QDate d = from; d <= to; d = d.addDays(1))
                    if (EventRules::fallsOn(row, d))
                        on.insert(d);
            }
            QList<QDate> placed(on.begin(), on.end());
            std::sort(placed.begin(), placed.end());
            QVERIFY2(placed == expected,
                     qPrintable(QStringLiteral("DTSTART %1 RRULE %2: %3 dates, libical %4")
                                    .arg(start.toString(Qt::ISODate), rule)
                                    .arg(placed.size())
                                    .arg(expected.size())));
        }
        QVERIFY(native > 40); // the plain rules were kept as repeating rows
    }

    // With PLUMORA_FUZZ_SEEDS set, leaves the fixtures and an exported file there as the
    // fuzz target's corpus.
    void writeSeedCorpus() {
        const QString folder = qEnvironmentVariable("PLUMORA_FUZZ_SEEDS");
        if (folder.isEmpty())
            QSKIP("PLUMORA_FUZZ_SEEDS is not set");
        QVERIFY(QDir().mkpath(folder));
        const std::vector<EventRow> rows{withUid(makeEvent("2026-03-05", 3, "swim, gym"), "b"),
                                         withUid(makeEvent("2026-04-01", 1, "trip"), "t"),
                                         withUid(makeEvent("2026-04-03", 1, "trip (back)"), "t")};
        const QList<std::pair<const char*, QByteArray>> seeds = {
            {"google.ics", fixture("google.ics")},
            {"outlook.ics", fixture("outlook.ics")},
            {"apple.ics", fixture("apple.ics")},
            {"google-empty.ics", fixture("google-empty.ics")},
            {"khal-berlin.ics", fixture("khal-berlin.ics")},
            {"secondly.ics", ruleFile(Today, "FREQ=SECONDLY;COUNT=1000000")},
            {"minutely.ics", ruleFile(Today, "FREQ=MINUTELY;BYHOUR=9,10")},
            {"exported.ics", IcsExport::write(rows, Now)}};
        for (const auto& [name, data] : seeds) {
            QFile f(QDir(folder).filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(data), data.size());
        }
    }
};

QTEST_GUILESS_MAIN(TestICalendar)
#include "tst_icalendar.moc"
