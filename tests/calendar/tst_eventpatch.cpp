// SPDX-License-Identifier: GPL-3.0-or-later
// Events another program wrote, edited here: read as phones and khal write them, edited as
// the editor leaves the rows, written back. Against the original only the intended
// properties may differ, SEQUENCE rises, and reading the result again gives the edited rows.
#include "CalendarTestData.h"
#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcsExport.h"
#include "calendar/ical/IcsImport.h"

#include <QFile>
#include <QMap>
#include <QTest>

#include <libical/ical.h>

namespace {

const QDate Today(2026, 3, 10);
const QDateTime Now(QDate(2026, 3, 11), QTime(9, 30), Qt::UTC);
const QTimeZone Berlin("Europe/Berlin");

QByteArray fixture(const char* name) {
    QFile f(qEnvironmentVariable("PLUMORA_TEST_DATA") + QStringLiteral("/ical/kept/") +
            QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

KeptEvent kept(const char* name, const QTimeZone& zone = Berlin) {
    const IcsImport::Result r = IcsImport::read(fixture(name), Today, zone);
    if (!r.ok() || r.events.size() != 1)
        qFatal("fixture %s: %s", name, qPrintable(r.error));
    const IcsImport::Event& e = r.events.front();
    return {e.uid, e.component, e.rows};
}

// Every property of every VEVENT (sub-components as one text each), keyed by the event's
// RECURRENCE-ID ("" for the series) and the property's name.
using Properties = QMap<QString, QMap<QString, QStringList>>;

Properties properties(const QByteArray& ics) {
    Properties out;
    icalcomponent* root = icalparser_parse_string(ics.constData());
    if (!root)
        return out;
    for (icalcomponent* e = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT)) {
        icalproperty* rid = icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY);
        const QString key =
            rid ? QString::fromUtf8(icalproperty_as_ical_string(rid)).trimmed() : QString();
        QMap<QString, QStringList>& props = out[key];
        for (icalproperty* p = icalcomponent_get_first_property(e, ICAL_ANY_PROPERTY); p;
             p = icalcomponent_get_next_property(e, ICAL_ANY_PROPERTY))
            props[QString::fromUtf8(icalproperty_get_property_name(p))]
                << QString::fromUtf8(icalproperty_as_ical_string(p));
        for (icalcomponent* c = icalcomponent_get_first_component(e, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(e, ICAL_ANY_COMPONENT))
            props[QStringLiteral("BEGIN:") +
                  QString::fromUtf8(icalcomponent_kind_to_string(icalcomponent_isa(c)))]
                << QString::fromUtf8(icalcomponent_as_ical_string(c));
    }
    icalcomponent_free(root);
    return out;
}

// The names of the properties of the series (or of override `rid`) that differ.
QStringList differing(const QMap<QString, QStringList>& a, const QMap<QString, QStringList>& b) {
    QStringList out;
    QStringList names = a.keys() + b.keys();
    names.removeDuplicates();
    for (const QString& n : names)
        if (a.value(n) != b.value(n))
            out << n;
    out.sort();
    return out;
}

int sequence(const QMap<QString, QStringList>& props) {
    const QString s = props.value(QStringLiteral("SEQUENCE")).value(0);
    return s.isEmpty() ? 0 : s.section(u':', 1).trimmed().toInt();
}

QString value(const QMap<QString, QStringList>& props, const char* name) {
    return props.value(QLatin1String(name)).value(0).trimmed();
}

const QStringList Stamps{QStringLiteral("DTSTAMP"), QStringLiteral("LAST-MODIFIED"),
                         QStringLiteral("SEQUENCE")};

QStringList withStamps(QStringList names) {
    names << Stamps;
    names.removeDuplicates();
    names.sort();
    return names;
}

// The rows the editor leaves after changing `from`'s text to `text` (and date to `date`).
std::vector<EventRow> edited(std::vector<EventRow> rows, const QDate& from, const QString& text,
                             const QDate& date = QDate()) {
    for (EventRow& r : rows)
        if (r.eDate == from) {
            r.description = text;
            if (date.isValid())
                r.eDate = date;
            break;
        }
    return rows;
}

std::vector<EventRow> without(std::vector<EventRow> rows, const QDate& d) {
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [&](const EventRow& r) { return r.eDate == d; }),
        rows.end());
    return rows;
}

// A calendar of one repeating event.
QByteArray series(const QByteArray& start, const QByteArray& rule, const QByteArray& summary) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:VEVENT\r\nUID:" +
           summary + "@t\r\nDTSTAMP:20260301T000000Z\r\n" + start + "\r\nRRULE:" + rule +
           "\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

std::vector<EventRow> reread(const QByteArray& ics) {
    const IcsImport::Result r = IcsImport::read(ics, Today, Berlin);
    return r.ok() && r.events.size() == 1 ? r.events.front().rows : std::vector<EventRow>();
}

} // namespace

class TestEventPatch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The import keeps the whole event: sub-components, unknown properties and the
    // VTIMEZONE it names, without METHOD; unchanged rows give the kept text back.
    void keptWhole() {
        const KeptEvent lunch = kept("berlin_lunch.ics");
        QVERIFY(lunch.ics.contains("BEGIN:VTIMEZONE"));
        QVERIFY(lunch.ics.contains("BEGIN:VALARM"));
        QVERIFY(lunch.ics.contains("X-KHAL-NOTE;LANGUAGE=de:Nicht vergessen"));
        QCOMPARE(rowLines(lunch.rows), QStringList{"2026-03-12|1|12:00 Lunch"});
        QCOMPARE(EventPatch::write(lunch, lunch.rows, Now, Berlin), lunch.ics);
        QVERIFY(!EventPatch::changed(lunch, lunch.rows));
    }

    // A phone's weekly event renamed and moved: only SUMMARY, the dates and the rule's
    // weekday change; the alarm, DTEND's length, CREATED and X- properties stay.
    void phoneWeekly() {
        const KeptEvent choir = kept("phone_weekly.ics");
        QCOMPARE(rowLines(choir.rows), QStringList{"2026-03-10|3|Choir"});
        const Properties before = properties(choir.ics);

        std::vector<EventRow> rows = edited(choir.rows, QDate(2026, 3, 10), "Choir rehearsal");
        QByteArray out = EventPatch::write(choir, rows, Now, Berlin);
        Properties after = properties(out);
        QCOMPARE(differing(before[""], after[""]), withStamps({"SUMMARY"}));
        QCOMPARE(sequence(after[""]), 3);
        QCOMPARE(value(after[""], "LAST-MODIFIED"), "LAST-MODIFIED:20260311T093000Z");
        QCOMPARE(rowLines(reread(out)), rowLines(rows));

        rows = edited(choir.rows, QDate(2026, 3, 10), "Choir", QDate(2026, 3, 12));
        out = EventPatch::write(choir, rows, Now, Berlin);
        after = properties(out);
        QCOMPARE(differing(before[""], after[""]), withStamps({"DTEND", "DTSTART", "RRULE"}));
        QCOMPARE(value(after[""], "DTSTART"), "DTSTART;VALUE=DATE:20260312");
        QCOMPARE(value(after[""], "DTEND"), "DTEND;VALUE=DATE:20260313");
        QVERIFY(value(after[""], "RRULE").contains("BYDAY=TH"));
        QCOMPARE(rowLines(reread(out)), rowLines(rows));

        // No longer repeating: the rule goes, nothing else.
        rows = choir.rows;
        rows[0].frequency = EventFrequency::OneTime;
        out = EventPatch::write(choir, rows, Now, Berlin);
        QCOMPARE(differing(before[""], properties(out)[""]), withStamps({"RRULE"}));
        QCOMPARE(rowLines(reread(out)), rowLines(rows));
    }

    // A timed event stays timed in its zone: the text after the time is the summary, a new
    // time moves start and end together; location, categories, description, attendees,
    // the alarm and the VTIMEZONE stay.
    void timedBerlin() {
        const KeptEvent lunch = kept("berlin_lunch.ics");
        const Properties before = properties(lunch.ics);

        std::vector<EventRow> rows = edited(lunch.rows, QDate(2026, 3, 12), "12:00 Lunch with Ann");
        QByteArray out = EventPatch::write(lunch, rows, Now, Berlin);
        Properties after = properties(out);
        QCOMPARE(differing(before[""], after[""]), withStamps({"SUMMARY"}));
        QCOMPARE(value(after[""], "SUMMARY"), "SUMMARY:Lunch with Ann");
        // Byte for byte: every other line as the file wrote it, in its order.
        QByteArrayList original;
        for (const QByteArray& line : fixture("berlin_lunch.ics").split('\n'))
            if (!line.isEmpty() && !line.startsWith("SUMMARY:Lunch") &&
                !line.startsWith("DTSTAMP") && !line.startsWith("SEQUENCE"))
                original << line;
        QByteArrayList written = out.split('\n');
        for (QByteArray& line : written)
            line.chop(1); // CR
        written.removeIf([](const QByteArray& line) {
            return line.isEmpty() || line.startsWith("SUMMARY:Lunch") ||
                   line.startsWith("DTSTAMP") || line.startsWith("SEQUENCE") ||
                   line.startsWith("LAST-MODIFIED");
        });
        QCOMPARE(written, original);
        QCOMPARE(sequence(after[""]), 1);
        QVERIFY(out.contains("BEGIN:VTIMEZONE"));
        QCOMPARE(rowLines(reread(out)), rowLines(rows));

        rows = edited(lunch.rows, QDate(2026, 3, 12), "13:30 Lunch", QDate(2026, 3, 13));
        out = EventPatch::write(lunch, rows, Now, Berlin);
        after = properties(out);
        QCOMPARE(differing(before[""], after[""]), withStamps({"DTEND", "DTSTART"}));
        QCOMPARE(value(after[""], "DTSTART"), "DTSTART;TZID=Europe/Berlin:20260313T133000");
        QCOMPARE(value(after[""], "DTEND"), "DTEND;TZID=Europe/Berlin:20260313T143000");
        QCOMPARE(rowLines(reread(out)), rowLines(rows));

        // Shown in another zone, the time typed there is written in the event's own.
        const QTimeZone london("Europe/London");
        const KeptEvent away = kept("berlin_lunch.ics", london);
        QCOMPARE(rowLines(away.rows), QStringList{"2026-03-12|1|11:00 Lunch"});
        out = EventPatch::write(away, edited(away.rows, QDate(2026, 3, 12), "11:15 Lunch"), Now,
                                london);
        QCOMPARE(value(properties(out)[""], "DTSTART"),
                 "DTSTART;TZID=Europe/Berlin:20260312T121500");
    }

    // A series kept as single dates: a deleted date is an EXDATE in the series' zone and the
    // RRULE stays; a changed date is an override of that occurrence only, with the series'
    // alarm and end; no RDATE is ever written.
    void dailySeries() {
        const KeptEvent meds = kept("khal_daily_count.ics");
        QCOMPARE(meds.rows.size(), size_t(6));
        const Properties before = properties(meds.ics);

        std::vector<EventRow> rows = without(meds.rows, QDate(2026, 3, 12));
        QByteArray out = EventPatch::write(meds, rows, Now, Berlin);
        Properties after = properties(out);
        QCOMPARE(after.size(), 1);
        QCOMPARE(differing(before[""], after[""]), withStamps({"EXDATE"}));
        QCOMPARE(value(after[""], "EXDATE"), "EXDATE;TZID=Europe/Berlin:20260312T080000");
        QCOMPARE(value(after[""], "RRULE"), "RRULE:FREQ=DAILY;COUNT=6");
        QVERIFY(!out.contains("RDATE"));
        QCOMPARE(rowLines(reread(out)), rowLines(rows));

        rows = edited(meds.rows, QDate(2026, 3, 13), "08:30 Take meds after breakfast");
        out = EventPatch::write(meds, rows, Now, Berlin);
        after = properties(out);
        QCOMPARE(after.size(), 2);
        QCOMPARE(differing(before[""], after[""]), Stamps);
        const QString rid = "RECURRENCE-ID;TZID=Europe/Berlin:20260313T080000";
        QVERIFY(after.contains(rid));
        const auto& change = after[rid];
        QCOMPARE(value(change, "DTSTART"), "DTSTART;TZID=Europe/Berlin:20260313T083000");
        QCOMPARE(value(change, "DTEND"), "DTEND;TZID=Europe/Berlin:20260313T084500");
        QCOMPARE(value(change, "SUMMARY"), "SUMMARY:Take meds after breakfast");
        QCOMPARE(change.value("BEGIN:VALARM"), before[""].value("BEGIN:VALARM"));
        QVERIFY(!change.contains("RRULE"));
        QCOMPARE(rowLines(reread(out)), rowLines(rows));

        // The changed occurrence deleted later: its override goes, an EXDATE comes.
        const KeptEvent changed{meds.uid, out, rows};
        rows = without(rows, QDate(2026, 3, 13));
        out = EventPatch::write(changed, rows, Now, Berlin);
        after = properties(out);
        QCOMPARE(after.size(), 1);
        QCOMPARE(value(after[""], "EXDATE"), "EXDATE;TZID=Europe/Berlin:20260313T080000");
        QCOMPARE(rowLines(reread(out)), rowLines(rows));

        // One occurrence moved to another date: an override of that one.
        rows = edited(meds.rows, QDate(2026, 3, 14), "08:00 Take meds", QDate(2026, 3, 16));
        out = EventPatch::write(meds, rows, Now, Berlin);
        after = properties(out);
        const QString moved = "RECURRENCE-ID;TZID=Europe/Berlin:20260314T080000";
        QVERIFY(after.contains(moved));
        QCOMPARE(value(after[moved], "DTSTART"), "DTSTART;TZID=Europe/Berlin:20260316T080000");
        QCOMPARE(rowLines(reread(out)), rowLines(rows));
    }

    // An all-day series: its EXDATE is a date too.
    void allDaySeries() {
        const IcsImport::Result r = IcsImport::read(
            series("DTSTART;VALUE=DATE:20260310", "FREQ=DAILY;COUNT=3", "Camp"), Today, Berlin);
        const KeptEvent camp{r.events.front().uid, r.events.front().component,
                             r.events.front().rows};
        const std::vector<EventRow> rows = without(camp.rows, QDate(2026, 3, 10));
        const QByteArray out = EventPatch::write(camp, rows, Now, Berlin);
        QCOMPARE(value(properties(out)[""], "EXDATE"), "EXDATE;VALUE=DATE:20260310");
        QCOMPARE(rowLines(reread(out)), rowLines(rows));
    }

    // Series begun decades ago are matched from the rows' dates on, whether the rule is
    // followed from there (every other day, with a COUNT that reaches past the rows) or
    // walked from its start (weekdays): the deleted date is the one EXDATE, the rule stays.
    void seriesBegunLongAgo_data() {
        QTest::addColumn<QByteArray>("rule");
        QTest::newRow("every other day") << QByteArray("FREQ=DAILY;COUNT=9000;INTERVAL=2");
        QTest::newRow("weekdays") << QByteArray("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");
    }
    void seriesBegunLongAgo() {
        QFETCH(QByteArray, rule);
        const IcsImport::Result r =
            IcsImport::read(series("DTSTART;VALUE=DATE:19800101", rule, "Walk"), Today, Berlin);
        QVERIFY(r.ok() && r.events.size() == 1);
        const KeptEvent walk{r.events.front().uid, r.events.front().component,
                             r.events.front().rows};
        QVERIFY(walk.rows.size() > 100);
        const QDate gone = walk.rows.at(walk.rows.size() / 2).eDate;
        const std::vector<EventRow> rows = without(walk.rows, gone);
        const QByteArray out = EventPatch::write(walk, rows, Now, Berlin);
        const Properties after = properties(out);
        QCOMPARE(value(after[""], "EXDATE"),
                 "EXDATE;VALUE=DATE:" + gone.toString(QStringLiteral("yyyyMMdd")));
        QCOMPARE(value(after[""], "RRULE"), "RRULE:" + rule);
        QCOMPARE(differing(properties(walk.ics)[""], after[""]), withStamps({"EXDATE"}));
    }

    // An endless series: one deleted date adds one EXDATE and nothing else; the rule stays
    // endless.
    void endlessSeries() {
        const KeptEvent meds = kept("khal_daily_endless.ics");
        QVERIFY(meds.rows.size() > 300);
        const std::vector<EventRow> rows = without(meds.rows, QDate(2026, 4, 1));
        const QByteArray out = EventPatch::write(meds, rows, Now, Berlin);
        const Properties before = properties(meds.ics), after = properties(out);
        QCOMPARE(differing(before[""], after[""]), withStamps({"EXDATE"}));
        QCOMPARE(value(after[""], "RRULE"), "RRULE:FREQ=DAILY");
        QCOMPARE(value(after[""], "DURATION"), "DURATION:PT15M");
        QVERIFY(out.size() < meds.ics.size() + 200);
        // Read again, the rows run one date further: the row cap is the same.
        std::vector<EventRow> again = reread(out);
        again.pop_back();
        QCOMPARE(rowLines(again), rowLines(rows));
    }

    // A three-day event renamed on any day is renamed whole; shortened, it ends earlier.
    void multiDay() {
        const KeptEvent conference = kept("three_days.ics");
        QCOMPARE(rowLines(conference.rows),
                 (QStringList{"2026-03-20|1|Conference", "2026-03-21|1|Conference",
                              "2026-03-22|1|Conference"}));
        const Properties before = properties(conference.ics);
        for (const QDate& day : {QDate(2026, 3, 20), QDate(2026, 3, 22)}) {
            const QByteArray out =
                EventPatch::write(conference, edited(conference.rows, day, "Summit"), Now, Berlin);
            const Properties after = properties(out);
            QCOMPARE(after.size(), 1);
            QCOMPARE(differing(before[""], after[""]), withStamps({"SUMMARY"}));
            QCOMPARE(sequence(after[""]), 2);
            QCOMPARE(
                rowLines(reread(out)),
                (QStringList{"2026-03-20|1|Summit", "2026-03-21|1|Summit", "2026-03-22|1|Summit"}));
        }
        const std::vector<EventRow> rows = without(conference.rows, QDate(2026, 3, 22));
        const QByteArray out = EventPatch::write(conference, rows, Now, Berlin);
        QCOMPARE(differing(before[""], properties(out)[""]), withStamps({"DTEND"}));
        QCOMPARE(rowLines(reread(out)), rowLines(rows));
    }

    // A repeating timed event shows its own time on each date: a weekly one at 08:00 UTC
    // is 09:00 in Berlin until the clocks change there, then 10:00; one in Berlin's own
    // zone stays one weekly row.
    void timedRepeatsFollowTheZone() {
        const IcsImport::Result r = IcsImport::read(
            series("DTSTART:20260310T080000Z", "FREQ=WEEKLY", "Standup"), Today, Berlin);
        QVERIFY(r.ok());
        const QStringList rows = rowLines(r.events.front().rows);
        QVERIFY(rows.contains("2026-03-24|1|09:00 Standup"));
        QVERIFY(rows.contains("2026-03-31|1|10:00 Standup"));
        QVERIFY(rows.contains("2026-10-27|1|09:00 Standup"));

        QByteArray own = fixture("berlin_lunch.ics");
        own.replace("DTEND;", "RRULE:FREQ=WEEKLY\r\nDTEND;");
        const IcsImport::Result weekly = IcsImport::read(own, Today, Berlin);
        QCOMPARE(rowLines(weekly.events.front().rows), QStringList{"2026-03-12|3|12:00 Lunch"});
    }

    // Export writes a kept event as it came, with the edit in it, and each VTIMEZONE once.
    void exportWritesTheKeptEvent() {
        KeptEvent lunch = kept("berlin_lunch.ics");
        KeptEvent meds = kept("khal_daily_count.ics");
        std::vector<EventRow> rows = edited(lunch.rows, QDate(2026, 3, 12), "12:00 Late lunch");
        const std::vector<EventRow> left = without(meds.rows, QDate(2026, 3, 11));
        rows.insert(rows.end(), left.begin(), left.end());
        EventRow mine;
        mine.eDate = QDate(2026, 3, 20);
        mine.description = "Dentist";
        mine.uid = "mine@plumora";
        rows.push_back(mine);
        const QByteArray out = IcsExport::write(rows, Now, {{lunch.uid, lunch}, {meds.uid, meds}});
        QCOMPARE(out.count("BEGIN:VTIMEZONE"), 1);
        QCOMPARE(out.count("BEGIN:VALARM"), 2);
        QVERIFY(out.contains("SUMMARY:Late lunch"));
        QVERIFY(out.contains("EXDATE;TZID=Europe/Berlin:20260311T080000"));
        QVERIFY(out.contains("SUMMARY:Dentist"));
        const IcsImport::Result again = IcsImport::read(out, Today, Berlin);
        QVERIFY(again.ok());
        std::vector<EventRow> all;
        for (const IcsImport::Event& e : again.events)
            all.insert(all.end(), e.rows.begin(), e.rows.end());
        QCOMPARE(rowLines(all), rowLines(rows));
    }
};

QTEST_GUILESS_MAIN(TestEventPatch)
#include "tst_eventpatch.moc"
