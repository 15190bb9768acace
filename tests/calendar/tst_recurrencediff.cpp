// SPDX-License-Identifier: GPL-3.0-or-later
// For random series with random exceptions, imported, edited as the editor edits them
// (one date deleted, one occurrence's text changed) and written back as sync and export
// write them: the dates the rows show equal libical's own expansion of what is written.
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcsImport.h"

#include <QDir>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <libical/ical.h>

namespace {

const QDate Today(2026, 3, 10);
const QDateTime Now(QDate(2026, 3, 11), QTime(9, 30), Qt::UTC);
const QTimeZone Utc = QTimeZone::utc();
constexpr int Series = 300;
constexpr int PerFile = 30;

QByteArray stamp(const QDateTime& t, bool allDay) {
    return allDay ? t.date().toString(QStringLiteral("yyyyMMdd")).toLatin1()
                  : t.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

QDateTime fromIcal(const icaltimetype& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second), Qt::UTC);
}

// The first occurrences of `rule` from `start`, by libical, for picking exceptions.
std::vector<QDateTime> firstOccurrences(const QByteArray& rule, const QByteArray& start, int n) {
    std::vector<QDateTime> out;
    const icalrecurrencetype r = icalrecurrencetype_from_string(rule.constData());
    icalrecur_iterator* it = icalrecur_iterator_new(r, icaltime_from_string(start.constData()));
    for (icaltimetype t = icalrecur_iterator_next(it);
         !icaltime_is_null_time(t) && int(out.size()) < n; t = icalrecur_iterator_next(it))
        out.push_back(fromIcal(t));
    icalrecur_iterator_free(it);
    return out;
}

const char* const Days[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

// One random series as a VEVENT: daily, weekly, monthly or yearly, every 1 to 3, ending by
// count, by date or not at all, timed (UTC) or all-day, with EXDATEs and moved or renamed
// occurrences. None is a plain repeat the calendar stores as one repeating row.
QByteArray randomEvent(QRandomGenerator& g, int n) {
    const bool allDay = g.bounded(2) == 0;
    QDateTime start(Today.addDays(g.bounded(-500, 400)),
                    allDay ? QTime(0, 0) : QTime(g.bounded(22), 15 * g.bounded(4)), Qt::UTC);
    static const char* const Freqs[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
    const int freq = g.bounded(4);
    QByteArray rule = QByteArray("FREQ=") + Freqs[freq];
    const int interval = 1 + g.bounded(freq == 3 ? 2 : 3);
    if (interval > 1)
        rule += ";INTERVAL=" + QByteArray::number(interval);
    if (freq == 1 && g.bounded(2)) {
        QByteArray days = Days[start.date().dayOfWeek() - 1];
        for (int d = 0; d < 7; ++d)
            if (d != start.date().dayOfWeek() - 1 && g.bounded(4) == 0)
                days += QByteArray(",") + Days[d];
        rule += ";BYDAY=" + days;
    }
    if (freq == 2 && g.bounded(3) == 0)
        rule += ";BYMONTHDAY=" + QByteArray::number(start.date().day());
    const int end = g.bounded(3); // 0 COUNT, 1 UNTIL, 2 endless
    if (end == 0)
        rule += ";COUNT=" + QByteArray::number(2 + g.bounded(60));
    else if (end == 1)
        rule += ";UNTIL=" + stamp(start.addDays(30 + g.bounded(900)), allDay);
    const QByteArray dtstart = stamp(start, allDay);
    const std::vector<QDateTime> occ = firstOccurrences(rule, dtstart, 40);

    const QByteArray value = allDay ? ";VALUE=DATE:" : ":";
    QByteArray e = "BEGIN:VEVENT\r\nUID:s" + QByteArray::number(n) +
                   "@diff\r\nDTSTAMP:20260101T000000Z\r\nDTSTART" + value + dtstart + "\r\n";
    e += allDay ? QByteArray("DTEND;VALUE=DATE:" + stamp(start.addDays(1), true) + "\r\n")
                : QByteArray("DURATION:PT45M\r\n");
    e += "SUMMARY:Series " + QByteArray::number(n) + "\r\nRRULE:" + rule + "\r\n";
    QSet<int> taken;
    const auto pick = [&]() -> int {
        if (occ.size() < 3)
            return -1;
        const int i = 1 + g.bounded(int(occ.size()) - 1);
        if (taken.contains(i))
            return -1;
        taken.insert(i);
        return i;
    };
    const bool plain = freq != 0 && interval == 1 && end == 2 && !rule.contains(',');
    const int exdates = plain ? 1 + g.bounded(2) : g.bounded(3);
    for (int i = 0; i < exdates; ++i)
        if (const int at = pick(); at > 0)
            e += "EXDATE" + value + stamp(occ[at], allDay) + "\r\n";
    e += "END:VEVENT\r\n";
    if (g.bounded(2) || (plain && taken.isEmpty())) {
        if (const int at = pick(); at > 0) {
            const QDateTime moved = g.bounded(2) ? occ[at] : occ[at].addDays(1).addSecs(3600);
            e += "BEGIN:VEVENT\r\nUID:s" + QByteArray::number(n) +
                 "@diff\r\nDTSTAMP:20260101T000000Z\r\nRECURRENCE-ID" + value +
                 stamp(occ[at], allDay) + "\r\nDTSTART" + value + stamp(moved, allDay) +
                 "\r\nSUMMARY:Moved " + QByteArray::number(n) + "\r\nEND:VEVENT\r\n";
        }
    }
    return e;
}

QString shown(const QDateTime& t, bool allDay, const QString& summary) {
    return t.date().toString(Qt::ISODate) + u'|' +
           (allDay ? summary : t.toString(QStringLiteral("HH:mm ")) + summary);
}

// libical's expansion of a written event, as "date|text", for dates from `from` to `to`.
QStringList expandByLibical(const QByteArray& ics, const QDate& from, const QDate& to) {
    QStringList out;
    icalcomponent* root = icalparser_parse_string(ics.constData());
    if (!root)
        return {QStringLiteral("unreadable")};
    icalcomponent* master = nullptr;
    QMap<QString, std::pair<QDateTime, QString>> overrides; // by RECURRENCE-ID
    bool allDay = false;
    for (icalcomponent* e = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT)) {
        const icaltimetype rid = icalcomponent_get_recurrenceid(e);
        if (icaltime_is_null_time(rid)) {
            master = e;
            allDay = icalcomponent_get_dtstart(e).is_date;
        } else {
            overrides.insert(fromIcal(rid).toString(Qt::ISODate),
                             {fromIcal(icalcomponent_get_dtstart(e)),
                              QString::fromUtf8(icalcomponent_get_summary(e))});
        }
    }
    if (!master) {
        icalcomponent_free(root);
        return {QStringLiteral("no series")};
    }
    QSet<QString> excluded;
    for (icalproperty* p = icalcomponent_get_first_property(master, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(master, ICAL_EXDATE_PROPERTY))
        excluded.insert(fromIcal(icalproperty_get_exdate(p)).toString(Qt::ISODate));
    const QString summary = QString::fromUtf8(icalcomponent_get_summary(master));
    const icaltimetype start = icalcomponent_get_dtstart(master);
    std::vector<QDateTime> starts;
    icalproperty* rrule = icalcomponent_get_first_property(master, ICAL_RRULE_PROPERTY);
    if (rrule) {
        icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rrule), start);
        for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
             t = icalrecur_iterator_next(it)) {
            if (fromIcal(t).date() > to.addDays(2))
                break;
            starts.push_back(fromIcal(t));
        }
        icalrecur_iterator_free(it);
    } else {
        starts.push_back(fromIcal(start));
    }
    for (icalproperty* p = icalcomponent_get_first_property(master, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(master, ICAL_RDATE_PROPERTY))
        starts.push_back(fromIcal(icalproperty_get_rdate(p).time));
    for (const QDateTime& s : starts) {
        const QString key = s.toString(Qt::ISODate);
        if (excluded.contains(key))
            continue;
        const auto o = overrides.constFind(key);
        const QDateTime at = o == overrides.cend() ? s : o->first;
        if (at.date() >= from && at.date() <= to)
            out << shown(at, allDay, o == overrides.cend() ? summary : o->second);
    }
    icalcomponent_free(root);
    out.sort();
    return out;
}

QStringList shownRows(const std::vector<EventRow>& rows) {
    QStringList out;
    for (const EventRow& r : rows)
        out << r.eDate.toString(Qt::ISODate) + u'|' + r.description;
    out.sort();
    return out;
}

} // namespace

class TestRecurrenceDiff : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // 300 series in batches of 30, each batch in a data file of its own (the editor's reads
    // cost with the rows of the file).
    void shownDatesEqualLibicalsExpansionOfWhatIsSent() {
        // Many small transactions: files in memory when the machine has that.
        QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/plumora-XXXXXX")
                                                    : QString());
        QRandomGenerator g(39);
        int compared = 0;
        for (int batch = 0; batch < Series / PerFile; ++batch) {
            const QString path = dir.filePath(QStringLiteral("data%1.plm").arg(batch));
            QCOMPARE(programSchema().createTemplate(path, QDate(2026, 1, 15)), QString());
            EventStore store(path);
            store.setNow(Now);
            QByteArray file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//diff//EN\r\n";
            for (int n = 0; n < PerFile; ++n)
                file += randomEvent(g, batch * PerFile + n);
            file += "END:VCALENDAR\r\n";
            const ImportReport report =
                CalendarImport(store, Today, Now, Utc).importData(file, "diff.ics");
            QVERIFY2(report.ok(), qPrintable(report.error));
            const QHash<QString, std::vector<EventRow>> imported = CalDavStore(path).localEvents();
            edit(store, imported, g);
            if (QTest::currentTestFailed())
                return;
            compared += compare(store, path, imported);
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(compared > Series * 9 / 10); // a few series lie outside the window
    }

private:
    // The editor's Save: one date of each series deleted, another's text changed.
    static void edit(EventStore& store, const QHash<QString, std::vector<EventRow>>& imported,
                     QRandomGenerator& g) {
        for (auto it = imported.cbegin(); it != imported.cend(); ++it) {
            const std::vector<EventRow>& rows = it.value();
            QVERIFY2(rows.front().frequency == EventFrequency::OneTime, qPrintable(it.key()));
            if (rows.size() < 3)
                continue;
            const int deleted = g.bounded(int(rows.size()));
            const int renamed = (deleted + 1 + g.bounded(int(rows.size()) - 1)) % int(rows.size());
            for (const auto& [index, text] :
                 {std::pair{deleted, QString()}, std::pair{renamed, QStringLiteral("Changed")}}) {
                const EventRow& target = rows[index];
                std::vector<EventRow> day = store.readDay(target.eDate);
                const auto mine = std::find_if(day.begin(), day.end(), [&](const EventRow& r) {
                    return r.uid == target.uid && r.description == target.description;
                });
                QVERIFY(mine != day.end());
                if (text.isEmpty()) {
                    day.erase(mine);
                } else {
                    // A timed row keeps its "HH:MM " before the new text.
                    const bool timed =
                        mine->description.size() > 5 && mine->description.at(2) == u':';
                    mine->description = timed ? mine->description.left(6) + text : text;
                }
                QVERIFY(store.replaceUserEventsOn(target.eDate, day));
            }
        }
    }

    // Each series as sync and export write it, expanded by libical, against its rows now.
    static int compare(EventStore& store, const QString& path,
                       const QHash<QString, std::vector<EventRow>>& imported) {
        const QHash<QString, KeptEvent> kept = store.keptEvents();
        const QHash<QString, std::vector<EventRow>> now = CalDavStore(path).localEvents();
        int compared = 0;
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            const KeptEvent& k = kept.value(it.key());
            if (k.ics.isEmpty()) {
                QTest::qFail("an imported event was not kept", __FILE__, __LINE__);
                return compared;
            }
            const QByteArray sent = EventPatch::write(k, it.value(), Now, Utc);
            // An endless series is shown up to its last row made at import.
            QDate last = IcsImport::windowEnd(Today);
            if (IcsImport::endless(k.ics)) {
                last = QDate();
                for (const EventRow& r : imported.value(it.key()))
                    last = std::max(last, r.eDate);
            }
            const QStringList byLibical =
                expandByLibical(sent, IcsImport::windowStart(Today), last);
            if (sent.contains("RDATE") || byLibical != shownRows(it.value())) {
                qWarning().noquote()
                    << sent << "\nlibical:" << byLibical << "\nrows:" << shownRows(it.value());
                QTest::qFail("the rows differ from libical's expansion", __FILE__, __LINE__);
                return compared;
            }
            ++compared;
        }
        return compared;
    }
};

QTEST_GUILESS_MAIN(TestRecurrenceDiff)
#include "tst_recurrencediff.moc"
