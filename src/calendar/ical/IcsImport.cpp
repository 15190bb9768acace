// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/IcsImport.h"

#include "calendar/EventRules.h"
#include "calendar/ical/IcsLines.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QSet>

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

QDate dateOf(const icaltimetype& t) {
    return QDate(t.year, t.month, t.day);
}

bool usable(const QDate& d) {
    return d.isValid() && d >= EventRules::EarliestDate && d <= EventRules::LatestDate;
}

// Qt numbers weekdays Monday 1 ... Sunday 7, libical Sunday 1 ... Saturday 7.
int icalWeekday(const QDate& d) {
    return d.dayOfWeek() % 7 + 1;
}

bool isEmpty(const short* list) {
    return list[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

// A list of exactly one value equal to `value`.
bool isOnly(const short* list, int value) {
    return list[0] == value && list[1] == ICAL_RECURRENCE_ARRAY_MAX;
}

// Plumora's own repeat for a rule, or 0 when the rule needs expanding.
int nativeFrequency(const icalrecurrencetype& r, const QDate& start) {
    if (r.interval != 1 || r.count != 0 || !icaltime_is_null_time(r.until) || r.rscale)
        return 0;
    if (!isEmpty(r.by_second) || !isEmpty(r.by_minute) || !isEmpty(r.by_hour) ||
        !isEmpty(r.by_year_day) || !isEmpty(r.by_week_no) || !isEmpty(r.by_set_pos))
        return 0;
    const bool noDay = isEmpty(r.by_day), noMonthDay = isEmpty(r.by_month_day),
               noMonth = isEmpty(r.by_month);
    switch (r.freq) {
    case ICAL_WEEKLY_RECURRENCE:
        return noMonthDay && noMonth && (noDay || isOnly(r.by_day, icalWeekday(start)))
                   ? EventFrequency::Weekly
                   : 0;
    case ICAL_MONTHLY_RECURRENCE:
        return noDay && noMonth && (noMonthDay || isOnly(r.by_month_day, start.day()))
                   ? EventFrequency::Monthly
                   : 0;
    case ICAL_YEARLY_RECURRENCE:
        // A yearly BYMONTHDAY without BYMONTH means that day of every month.
        return noDay && (noMonth || isOnly(r.by_month, start.month())) &&
                       (noMonthDay || (!noMonth && isOnly(r.by_month_day, start.day())))
                   ? EventFrequency::Yearly
                   : 0;
    default:
        return 0;
    }
}

// One occurrence as it lands in the user's zone: its first day and, for a timed one, the
// time of day it starts; `days` is how many dates it covers.
struct Landing {
    QDate date;
    QString time; // "HH:MM", empty for an all-day occurrence
    int days = 1;
};

class EventReader {
public:
    EventReader(const QDate& today, const QTimeZone& zone)
        : m_from(IcsImport::windowStart(today)), m_to(IcsImport::windowEnd(today)), m_zone(zone) {}

    // Lands a start (in its own zone) with the event's length in seconds (timed) or days.
    Landing land(icaltimetype start, qint64 length) const {
        Landing l;
        if (start.is_date) {
            l.date = dateOf(start);
            l.days = int(std::max<qint64>(1, length));
            return l;
        }
        QDateTime begin, end;
        if (start.zone || icaltime_is_utc(start)) {
            const icaltimezone* z = start.zone ? start.zone : icaltimezone_get_utc_timezone();
            const qint64 secs = icaltime_as_timet_with_zone(start, z);
            begin = QDateTime::fromSecsSinceEpoch(secs, m_zone);
        } else {
            // Floating: the same wall-clock time wherever the user is.
            begin = QDateTime(dateOf(start), QTime(start.hour, start.minute, start.second), m_zone);
        }
        end = begin.addSecs(std::max<qint64>(0, length));
        l.date = begin.date();
        l.time = begin.toString(QStringLiteral("HH:mm"));
        // An event ending at midnight does not reach into the day that begins then.
        const QDate last = length > 0 ? end.addSecs(-1).date() : l.date;
        l.days = int(std::max<qint64>(1, l.date.daysTo(last) + 1));
        return l;
    }

    QDate from() const { return m_from; }
    QDate to() const { return m_to; }

    // Whether a repeat of `start` shows the same time of day in the user's zone on every
    // date of the window's first years: all-day and floating starts do, and so does a zone
    // that changes its clocks when the user's does. Otherwise the dates are kept singly,
    // each with its own time.
    bool sameTimeShown(const icaltimetype& start) const {
        if (start.is_date || !start.zone)
            return true;
        const QDate first = std::max(dateOf(start), m_from);
        QString shown;
        for (int week = 0; week <= 3 * 53; ++week) {
            icaltimetype t = start;
            const QDate d = first.addDays(7 * week);
            t.year = d.year();
            t.month = d.month();
            t.day = d.day();
            const QString time =
                QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(t, start.zone), m_zone)
                    .toString(QStringLiteral("HH:mm"));
            if (week == 0)
                shown = time;
            else if (time != shown)
                return false;
        }
        return true;
    }

private:
    QDate m_from, m_to;
    QTimeZone m_zone;
};

QString withTime(const QString& time, const QString& summary) {
    return time.isEmpty() ? summary : time + u' ' + summary;
}

// A stable identity for an event that brought none, so that importing it again finds it.
QString madeUid(icalcomponent* event) {
    const char* s = icalcomponent_as_ical_string(event);
    return QString::fromLatin1(
               QCryptographicHash::hash(QByteArray(s ? s : ""), QCryptographicHash::Sha1).toHex()) +
           QStringLiteral("@import.plumora");
}

// The event's length: days for an all-day start, seconds for a timed one.
qint64 lengthOf(icalcomponent* event, const icaltimetype& start) {
    const icaltimetype end = icalcomponent_get_dtend(event);
    if (icaltime_is_null_time(end))
        return start.is_date ? 1 : 0;
    if (start.is_date)
        return dateOf(start).daysTo(dateOf(end));
    const icaltimezone* sz = start.zone ? start.zone : icaltimezone_get_utc_timezone();
    const icaltimezone* ez = end.zone ? end.zone : sz;
    return icaltime_as_timet_with_zone(end, ez) - icaltime_as_timet_with_zone(start, sz);
}

// Key of an occurrence start, for matching EXDATE and RECURRENCE-ID against it.
qint64 occurrenceKey(icaltimetype t) {
    if (t.is_date)
        return dateOf(t).toJulianDay();
    const icaltimezone* z = t.zone ? t.zone : icaltimezone_get_utc_timezone();
    return icaltime_as_timet_with_zone(t, z);
}

qint64 occurrenceKey(icaltimetype t, bool allDay) {
    if (allDay) {
        t.is_date = 1;
        return dateOf(t).toJulianDay();
    }
    return occurrenceKey(t);
}

class Mapper {
public:
    Mapper(const QDate& today, const QTimeZone& zone, IcsImport::Notes& notes)
        : m_reader(today, zone), m_notes(notes) {}

    // Maps a master VEVENT (with the single-occurrence changes given for its UID).
    bool map(icalcomponent* event, const std::vector<icalcomponent*>& changes,
             IcsImport::Event& out) {
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
            ++m_notes.cancelled;
            return false;
        }
        const icaltimetype start = icalcomponent_get_dtstart(event);
        if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start) ||
            !usable(dateOf(start))) {
            ++m_notes.noDate;
            return false;
        }
        QString summary = text(icalcomponent_get_summary(event)).trimmed();
        if (summary.isEmpty())
            summary = QStringLiteral("(no title)");
        const qint64 length = lengthOf(event, start);

        int rules = 0;
        icalproperty* rruleProperty = nullptr;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            ++rules;
            rruleProperty = p;
        }
        const bool extras = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY) ||
                            icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY) ||
                            icalcomponent_get_first_property(event, ICAL_EXRULE_PROPERTY) ||
                            !changes.empty();

        const Landing first = m_reader.land(start, length);
        if (!usable(first.date)) {
            ++m_notes.noDate;
            return false;
        }
        if (rules == 0 && !extras) {
            addDays(out, first, summary, EventFrequency::OneTime);
            return true;
        }
        if (rules == 1 && !extras && first.days == 1) {
            // The rule is read in the event's own zone. Moved to another date by the user's
            // zone, a weekly event stays weekly; a monthly or yearly one would fall on
            // other days than the rule's, so it is expanded.
            const QDate own = dateOf(start);
            const int native = nativeFrequency(icalproperty_get_rrule(rruleProperty), own);
            if (native && (native == EventFrequency::Weekly || own == first.date) &&
                m_reader.sameTimeShown(start)) {
                addDays(out, first, summary, native);
                return true;
            }
        }
        ++m_notes.expanded;
        expand(event, start, length, summary, changes, out);
        if (out.rows.empty()) {
            ++m_notes.outOfWindow;
            return false;
        }
        return true;
    }

private:
    // Rows of one occurrence; false once the event has its most rows.
    bool addDays(IcsImport::Event& out, const Landing& l, const QString& summary, int frequency) {
        int days = l.days;
        if (days > IcsImport::MaxDays) {
            days = IcsImport::MaxDays;
            m_longSeen = true;
        }
        for (int i = 0; i < days; ++i) {
            if (int(out.rows.size()) >= IcsImport::MaxRowsPerEvent) {
                m_capped = true;
                return false;
            }
            EventRow r;
            r.eDate = l.date.addDays(i);
            if (!usable(r.eDate))
                break;
            r.description = i == 0 ? withTime(l.time, summary) : summary;
            r.frequency = frequency;
            r.uid = out.uid;
            out.rows.push_back(std::move(r));
        }
        return true;
    }

    void expand(icalcomponent* event, icaltimetype start, qint64 length, const QString& summary,
                const std::vector<icalcomponent*>& changes, IcsImport::Event& out) {
        const bool allDay = start.is_date;
        // Starts left out: EXDATEs and the occurrences a RECURRENCE-ID replaces.
        QSet<qint64> skipped;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
            skipped.insert(
                occurrenceKey(icalproperty_get_datetime_with_component(p, event), allDay));
        for (icalcomponent* change : changes)
            skipped.insert(occurrenceKey(
                icalproperty_get_datetime_with_component(
                    icalcomponent_get_first_property(change, ICAL_RECURRENCEID_PROPERTY), change),
                allDay));

        struct Start {
            icaltimetype time;
            qint64 length;
            QString summary;
        };
        std::vector<Start> starts;
        const auto consider = [&](icaltimetype t, qint64 len, const QString& text) {
            if (skipped.contains(occurrenceKey(t, allDay)))
                return;
            starts.push_back({t, len, text});
        };
        consider(start, length, summary);
        // Occurrences are read up to a bound, so an endless daily rule from long ago costs
        // a known amount of work.
        constexpr int MaxSteps = 200000;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(p), start);
            if (!it)
                continue;
            int steps = 0;
            for (icaltimetype t = icalrecur_iterator_next(it);
                 !icaltime_is_null_time(t) && ++steps < MaxSteps; t = icalrecur_iterator_next(it)) {
                t.zone = start.zone;
                if (dateOf(t) > m_reader.to().addDays(1))
                    break;
                if (icaltime_compare(t, start) != 0)
                    consider(t, length, summary);
            }
            icalrecur_iterator_free(it);
        }
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
            icaltimetype t = icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
            if (icaltime_is_null_time(t))
                continue;
            if (!t.zone && !icaltime_is_utc(t))
                t.zone = start.zone;
            consider(t, length, summary);
        }
        for (icalcomponent* change : changes) {
            if (icalcomponent_get_status(change) == ICAL_STATUS_CANCELLED)
                continue;
            const icaltimetype t = icalcomponent_get_dtstart(change);
            if (icaltime_is_null_time(t))
                continue;
            QString text = QString::fromUtf8(icalcomponent_get_summary(change)).trimmed();
            starts.push_back({t, lengthOf(change, t), text.isEmpty() ? summary : text});
        }

        std::vector<std::pair<Landing, QString>> landed;
        for (const Start& s : starts) {
            const Landing l = m_reader.land(s.time, s.length);
            const QDate last = l.date.addDays(l.days - 1);
            if (last < m_reader.from() || l.date > m_reader.to() || !usable(l.date))
                continue;
            landed.emplace_back(l, s.summary);
        }
        std::sort(landed.begin(), landed.end(), [](const auto& a, const auto& b) {
            return a.first.date != b.first.date ? a.first.date < b.first.date
                                                : a.first.time < b.first.time;
        });
        for (const auto& [l, text] : landed)
            if (!addDays(out, l, text, EventFrequency::OneTime))
                break;
    }

    EventReader m_reader;
    IcsImport::Notes& m_notes;

public:
    bool m_longSeen = false;
    bool m_capped = false;
};

// The first parse error libical left in the tree, with the component it sits in.
QString firstParseError(icalcomponent* c, icalcomponent** where) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY)) {
        *where = c;
        return text(icalproperty_get_xlicerror(p));
    }
    for (icalcomponent* inner = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); inner;
         inner = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT)) {
        const QString e = firstParseError(inner, where);
        if (!e.isEmpty())
            return e;
    }
    return {};
}

// libical takes any digits as a date; a time that is no calendar date is a fault in the
// file. The name of the first such property of `event`, or empty.
const char* faultyTime(icalcomponent* event) {
    const struct {
        icalproperty_kind kind;
        const char* name;
    } checked[] = {{ICAL_DTSTART_PROPERTY, "DTSTART"},
                   {ICAL_DTEND_PROPERTY, "DTEND"},
                   {ICAL_RECURRENCEID_PROPERTY, "RECURRENCE-ID"},
                   {ICAL_EXDATE_PROPERTY, "EXDATE"}};
    for (const auto& c : checked)
        for (icalproperty* p = icalcomponent_get_first_property(event, c.kind); p;
             p = icalcomponent_get_next_property(event, c.kind)) {
            const icaltimetype t = icalproperty_get_datetime_with_component(p, event);
            if (icaltime_is_null_time(t))
                continue;
            if (!QDate::isValid(t.year, t.month, t.day) ||
                (!t.is_date && !QTime::isValid(t.hour, t.minute, std::min(t.second, 59))))
                return c.name;
        }
    return nullptr;
}

// The TZIDs `c` and its sub-components name.
void zonesNamed(icalcomponent* c, QSet<QByteArray>& out) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY))
        if (icalparameter* z = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
            out.insert(QByteArray(icalparameter_get_tzid(z)));
    for (icalcomponent* inner = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); inner;
         inner = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        zonesNamed(inner, out);
}

// The event whole, as its calendar wrote it: the calendar's own properties (but METHOD,
// which belongs to a message, not to a stored event), the VTIMEZONEs it names, the series
// and its changed occurrences.
QByteArray keptComponent(icalcomponent* calendar, icalcomponent* event,
                         const std::vector<icalcomponent*>& changes,
                         const QHash<QByteArray, icalcomponent*>& zones) {
    Component out(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    for (icalproperty* p = icalcomponent_get_first_property(calendar, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(calendar, ICAL_ANY_PROPERTY))
        if (icalproperty_isa(p) != ICAL_METHOD_PROPERTY)
            icalcomponent_add_property(out.get(), icalproperty_new_clone(p));
    if (!icalcomponent_get_first_property(out.get(), ICAL_VERSION_PROPERTY))
        icalcomponent_add_property(out.get(), icalproperty_new_version("2.0"));
    if (!icalcomponent_get_first_property(out.get(), ICAL_PRODID_PROPERTY))
        icalcomponent_add_property(out.get(), icalproperty_new_prodid("-//Plumora//Plumora 4//EN"));
    QSet<QByteArray> named;
    zonesNamed(event, named);
    for (icalcomponent* change : changes)
        zonesNamed(change, named);
    QList<QByteArray> sorted(named.cbegin(), named.cend());
    std::sort(sorted.begin(), sorted.end());
    for (const QByteArray& id : std::as_const(sorted))
        if (icalcomponent* zone = zones.value(id))
            icalcomponent_add_component(out.get(), icalcomponent_new_clone(zone));
    icalcomponent_add_component(out.get(), icalcomponent_new_clone(event));
    for (icalcomponent* change : changes)
        icalcomponent_add_component(out.get(), icalcomponent_new_clone(change));
    char* text = icalcomponent_as_ical_string_r(out.get());
    QByteArray bytes(text);
    std::free(text);
    return bytes;
}

QString lineError(int line, const QString& what) {
    return QStringLiteral("Line %1: %2").arg(line).arg(what);
}

} // namespace

IcsImport::Result IcsImport::read(const QByteArray& input, const QDate& today,
                                  const QTimeZone& zone) {
    Result result;
    // Some programs begin their files with a UTF-8 byte order mark.
    const QByteArray data = input.startsWith("\xEF\xBB\xBF") ? input.mid(3) : input;
    if (data.size() > MaxBytes) {
        result.error = QStringLiteral("The file is larger than 20 MB, which is more than a "
                                      "calendar holds; nothing was imported.");
        return result;
    }
    // The file's lines first: libical reports what failed but not where.
    const IcsLines lines(data);
    if (!lines.error().isEmpty()) {
        result.error = lineError(lines.errorLine(), lines.error());
        return result;
    }
    if (lines.componentCount() > MaxComponents) {
        result.error = QStringLiteral("The file holds more than 50,000 items; nothing was "
                                      "imported.");
        return result;
    }

    Component root(icalparser_parse_string(data.constData()));
    if (!root) {
        result.error = lineError(1, QStringLiteral("this is not an iCalendar file."));
        return result;
    }
    icalcomponent* where = nullptr;
    const QString parseError = firstParseError(root.get(), &where);
    if (!parseError.isEmpty()) {
        result.error = lineError(lines.lineOfError(parseError), parseError);
        return result;
    }

    // The calendars of the file (libical wraps several in one XROOT).
    std::vector<icalcomponent*> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root.get());
    } else {
        for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT))
            calendars.push_back(c);
    }

    // VEVENTs in file order, paired with the lines their BEGIN stands on; changes of single
    // occurrences (RECURRENCE-ID) gathered by UID.
    std::vector<std::pair<icalcomponent*, int>> masters;
    QHash<QString, std::vector<icalcomponent*>> changes;
    QHash<QByteArray, icalcomponent*> zones; // VTIMEZONEs by TZID
    QHash<icalcomponent*, icalcomponent*> calendarOf;
    int index = 0;
    for (icalcomponent* cal : calendars) {
        for (icalcomponent* c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT)) {
            const icalcomponent_kind kind = icalcomponent_isa(c);
            if (kind == ICAL_VTIMEZONE_COMPONENT) {
                if (icalproperty* id = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY))
                    zones.insert(QByteArray(icalproperty_get_tzid(id)), c);
                continue;
            }
            if (kind != ICAL_VEVENT_COMPONENT) {
                ++result.notes.otherItems;
                continue;
            }
            const int line = lines.eventLine(index++);
            if (!icaltime_is_null_time(icalcomponent_get_recurrenceid(c))) {
                changes[text(icalcomponent_get_uid(c))].push_back(c);
                continue;
            }
            masters.emplace_back(c, line);
            calendarOf.insert(c, cal);
        }
    }

    Mapper mapper(today, zone, result.notes);
    QSet<QString> seen;
    for (const auto& [event, line] : masters) {
        Event out;
        out.uid = text(icalcomponent_get_uid(event)).trimmed();
        out.line = line;
        if (out.uid.isEmpty())
            out.uid = madeUid(event);
        if (seen.contains(out.uid)) {
            ++result.notes.duplicates;
            continue;
        }
        seen.insert(out.uid);
        if (const char* name = faultyTime(event)) {
            result.events.clear();
            result.error = lineError(
                lines.propertyLine(line, name),
                QStringLiteral("%1 is not a date and time that exists.").arg(QLatin1String(name)));
            return result;
        }
        mapper.m_longSeen = mapper.m_capped = false;
        const bool mapped = mapper.map(event, changes.value(out.uid), out);
        result.notes.tooLong += mapper.m_longSeen;
        result.notes.capped += mapper.m_capped;
        if (mapped) {
            out.component =
                keptComponent(calendarOf.value(event), event, changes.value(out.uid), zones);
            result.events.push_back(std::move(out));
        }
    }
    // A file of one event, as a calendar server holds each, is kept as it was written.
    if (result.events.size() == 1 && masters.size() == 1 && calendars.size() == 1 &&
        result.notes.otherItems == 0 &&
        (changes.isEmpty() || (changes.size() == 1 && changes.contains(result.events[0].uid))) &&
        !icalcomponent_get_first_property(calendars[0], ICAL_METHOD_PROPERTY))
        result.events.front().component = data;
    return result;
}
