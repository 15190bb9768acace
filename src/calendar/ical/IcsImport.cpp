// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/IcsImport.h"

#include "calendar/EventRules.h"
#include "calendar/ical/IcalRepeat.h"
#include "calendar/ical/IcsLines.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
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

// The system's time-zone data for an Olson id, also when a producer puts its own prefix
// before it ("/example.org/20260101_1/Europe/Berlin"); null for an id it does not know.
icaltimezone* knownZone(const char* tzid) {
    if (!tzid || !*tzid)
        return nullptr;
    if (icaltimezone* z = icaltimezone_get_builtin_timezone(tzid))
        return z;
    if (tzid[0] != '/')
        return nullptr;
    // The last two parts ("Europe/Berlin"), then the last three ("America/Indiana/Knox").
    const QByteArray id(tzid);
    for (int parts = 2; parts <= 3; ++parts) {
        qsizetype at = id.size();
        for (int i = 0; i < parts && at > 0; ++i)
            at = id.lastIndexOf('/', at - 1);
        if (at < 0)
            break;
        if (icaltimezone* z = icaltimezone_get_builtin_timezone(id.constData() + at + 1))
            return z;
    }
    return nullptr;
}

// The zone of floating times in `calendar`: its X-WR-TIMEZONE, when that names a known zone.
icaltimezone* floatingZone(icalcomponent* calendar) {
    for (icalproperty* p = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY)) {
        const char* name = icalproperty_get_x_name(p);
        if (name && qstricmp(name, "X-WR-TIMEZONE") == 0)
            return knownZone(QByteArray(icalproperty_get_value_as_string(p)).trimmed());
    }
    return nullptr;
}

// A time of property `p` with its zone: a known Olson TZID by the system's data (an embedded
// VTIMEZONE may cover a few years only), an unknown one by the file's VTIMEZONE, and a
// floating time by `floating` when the file names one.
icaltimetype zoned(icaltimetype t, icalproperty* p, icaltimezone* floating) {
    if (icaltime_is_null_time(t) || t.is_date || icaltime_is_utc(t))
        return t;
    if (icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER)) {
        if (icaltimezone* z = knownZone(icalparameter_get_tzid(tzid)))
            t.zone = z;
        return t;
    }
    if (!t.zone && floating)
        t.zone = floating;
    return t;
}

// The time of the first `kind` property of `c` (DTSTART, DTEND, RECURRENCE-ID), zoned.
icaltimetype timeOf(icalcomponent* c, icalproperty_kind kind, icaltimezone* floating) {
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    if (!p)
        return icaltime_null_time();
    return zoned(icalproperty_get_datetime_with_component(p, c), p, floating);
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
qint64 lengthOf(icalcomponent* event, const icaltimetype& start, icaltimezone* floating) {
    icaltimetype end = timeOf(event, ICAL_DTEND_PROPERTY, floating);
    if (icaltime_is_null_time(end) &&
        icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY))
        end = icaltime_add(start, icalcomponent_get_duration(event));
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

// Seconds between two dates of a rule that repeats more often than daily; 0 for others.
qint64 subDailyUnit(const icalrecurrencetype& r) {
    switch (r.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        return 1;
    case ICAL_MINUTELY_RECURRENCE:
        return 60;
    case ICAL_HOURLY_RECURRENCE:
        return 3600;
    default:
        return 0;
    }
}

// A rule with no BYxxx part: its dates lie at a fixed distance from each other.
bool evenlySpaced(const icalrecurrencetype& r) {
    return !r.rscale && isEmpty(r.by_second) && isEmpty(r.by_minute) && isEmpty(r.by_hour) &&
           isEmpty(r.by_day) && isEmpty(r.by_month_day) && isEmpty(r.by_year_day) &&
           isEmpty(r.by_week_no) && isEmpty(r.by_month) && isEmpty(r.by_set_pos);
}

// `t` with the date and wall-clock time of `at`, keeping its zone.
icaltimetype withWallClock(icaltimetype t, const QDateTime& at) {
    t.year = at.date().year();
    t.month = at.date().month();
    t.day = at.date().day();
    t.hour = at.time().hour();
    t.minute = at.time().minute();
    t.second = at.time().second();
    return t;
}

QDateTime wallClock(const icaltimetype& t) {
    return QDateTime(dateOf(t), QTime(t.hour, t.minute, std::min(t.second, 59)), Qt::UTC);
}

// A COUNT rule whose dates lie at a fixed distance, given as the UNTIL of its last date
// instead, so that its iteration can begin inside the window rather than walk every date
// before it. False when the rule cannot be given so.
bool countAsUntil(icalrecurrencetype& r, icaltimetype start) {
    if (r.count <= 0 || !evenlySpaced(r))
        return false;
    const qint64 steps = qint64(r.count - 1) * std::max<qint64>(1, r.interval);
    // Far enough past any window; keeps the date arithmetic in range.
    constexpr qint64 FarDays = 400 * 366;
    const QDate first = dateOf(start);
    QDate last;
    if (const qint64 unit = subDailyUnit(r)) {
        r.until = withWallClock(
            start, wallClock(start).addSecs(std::min(steps, FarDays * 86400 / unit) * unit));
        r.count = 0;
        return true;
    }
    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
        last = first.addDays(std::min(steps, FarDays));
        break;
    case ICAL_WEEKLY_RECURRENCE:
        last = first.addDays(std::min(steps * 7, FarDays));
        break;
    case ICAL_MONTHLY_RECURRENCE:
        // Months without the start's day are skipped and not counted.
        if (first.day() > 28)
            return false;
        last = first.addMonths(int(std::min<qint64>(steps, FarDays / 28)));
        break;
    case ICAL_YEARLY_RECURRENCE:
        if (first.month() == 2 && first.day() == 29)
            return false;
        last = first.addYears(int(std::min<qint64>(steps, FarDays / 365)));
        break;
    default:
        return false;
    }
    r.until = start;
    r.until.year = last.year();
    r.until.month = last.month();
    r.until.day = last.day();
    r.count = 0;
    return true;
}

// Where the iteration of a rule without COUNT may begin so that its first date is its
// first on or after `day`: for a daily or longer rule `day` at the start's time, since
// libical keeps such a rule's pattern when told to start there; for an evenly spaced
// shorter one the first of its own times from that midnight on, to start a new iteration
// at (libical's resumption loses the phase of those). Null when the rule must be walked.
icaltimetype resumeAt(const icalrecurrencetype& r, const icaltimetype& start, const QDate& day) {
    if (r.count != 0 || day <= dateOf(start))
        return icaltime_null_time();
    const qint64 unit = subDailyUnit(r);
    if (!unit) {
        icaltimetype t = start;
        t.year = day.year();
        t.month = day.month();
        t.day = day.day();
        return t;
    }
    if (!evenlySpaced(r))
        return icaltime_null_time();
    const qint64 step = unit * std::max<qint64>(1, r.interval);
    const QDateTime from = wallClock(start);
    const qint64 gap = from.secsTo(QDateTime(day, QTime(0, 0), Qt::UTC));
    return withWallClock(start, from.addSecs((gap + step - 1) / step * step));
}

} // namespace

icaltimetype icalResumeAt(icalrecurrencetype& rule, const icaltimetype& start, const QDate& day) {
    if (subDailyUnit(rule) != 0)
        return icaltime_null_time();
    countAsUntil(rule, start);
    return resumeAt(rule, start, day);
}

icaltimetype icalRdateStart(icalproperty* p) {
    const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
    return icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
}

namespace {

struct IteratorFree {
    void operator()(icalrecur_iterator* it) const { icalrecur_iterator_free(it); }
};
using Iterator = std::unique_ptr<icalrecur_iterator, IteratorFree>;

class Mapper {
public:
    Mapper(const QDate& today, const QTimeZone& zone, IcsImport::Notes& notes)
        : m_reader(today, zone), m_notes(notes) {}

    // Maps a master VEVENT (with the single-occurrence changes given for its UID); floating
    // times are read in `floating` when given.
    bool map(icalcomponent* event, const std::vector<icalcomponent*>& changes,
             icaltimezone* floating, IcsImport::Event& out) {
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
            ++m_notes.cancelled;
            return false;
        }
        m_floating = floating;
        const icaltimetype start = timeOf(event, ICAL_DTSTART_PROPERTY, floating);
        if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start) ||
            !usable(dateOf(start))) {
            ++m_notes.noDate;
            return false;
        }
        QString summary = text(icalcomponent_get_summary(event)).trimmed();
        if (summary.isEmpty())
            summary = QStringLiteral("(no title)");
        const qint64 length = lengthOf(event, start, floating);

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
            if (!m_unfollowed && !m_subDailyLeft)
                ++m_notes.outOfWindow;
            return false;
        }
        if (m_endless && !m_unfollowed) {
            // Not cut off: its rows are made again as the window moves on.
            m_capped = false;
            out.shownUntil = out.rows.back().eDate;
            m_rolling = true;
        }
        return true;
    }

    // Occurrences read from one event's rules before it is given up as too dense to follow.
    // Rules are read from the window on where libical allows, so only a COUNT rule whose
    // dates are not evenly spaced walks the dates before the window.
    static constexpr int MaxSteps = 5000;
    // The same for all events of one read together. A step of libical costs several
    // microseconds: this bounds what a file of many dense rules costs, with room for the
    // steps that make MaxRowsPerBatch rows.
    static constexpr int MaxStepsPerRead = 100000;

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
        // Starts left out: EXDATEs and the occurrences a RECURRENCE-ID replaces. A date
        // given for a timed series leaves out that day's occurrences.
        QSet<qint64> skipped, skippedDays;
        const auto skip = [&](icaltimetype t) {
            if (icaltime_is_null_time(t))
                return;
            if (t.is_date && !allDay)
                skippedDays.insert(dateOf(t).toJulianDay());
            else
                skipped.insert(occurrenceKey(t, allDay));
        };
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
            skip(zoned(icalproperty_get_datetime_with_component(p, event), p, m_floating));
        for (icalcomponent* change : changes)
            skip(timeOf(change, ICAL_RECURRENCEID_PROPERTY, m_floating));

        struct Start {
            icaltimetype time;
            qint64 length;
            QString summary;
        };
        std::vector<Start> starts;
        const auto consider = [&](icaltimetype t, qint64 len, const QString& text) {
            if (skipped.contains(occurrenceKey(t, allDay)) ||
                (!skippedDays.isEmpty() && skippedDays.contains(dateOf(t).toJulianDay())))
                return;
            starts.push_back({t, len, text});
        };
        consider(start, length, summary);

        // The rules' dates from a little before the window (an occurrence may reach into
        // it, or land in it in the user's zone) to its end. Counted are the occurrences
        // from the window's first day: one more than an event may have rows tells that it
        // was capped.
        const QDate from = m_reader.from().addDays(-(IcsImport::MaxDays + 1));
        const QDate to = m_reader.to().addDays(1);
        int inWindow = 0, steps = 0;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
             p && inWindow <= IcsImport::MaxRowsPerEvent;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            const bool perDay = subDailyUnit(rule) != 0;
            if (perDay && !evenlySpaced(rule)) {
                // libical walks such a rule through every second or minute its BYxxx parts
                // leave out: too slow to follow.
                m_subDailyLeft = true;
                continue;
            }
            if (perDay)
                m_subDaily = true;
            if (rule.count == 0 && icaltime_is_null_time(rule.until))
                m_endless = true;
            countAsUntil(rule, start);
            Iterator it(icalrecur_iterator_new(rule, start));
            if (!it)
                continue;
            // Moves the iteration on to the rule's first date from `day` on, when it can.
            const auto jump = [&](const QDate& day) {
                const icaltimetype at = resumeAt(rule, start, day);
                if (icaltime_is_null_time(at))
                    return;
                if (perDay)
                    it.reset(!icaltime_is_null_time(rule.until) &&
                                     icaltime_compare(at, rule.until) > 0
                                 ? nullptr // past the rule's end
                                 : icalrecur_iterator_new(rule, at));
                else
                    icalrecur_iterator_set_start(it.get(), at);
            };
            if (dateOf(start) < from)
                jump(from);
            QDate lastDay;
            for (icaltimetype t = it ? icalrecur_iterator_next(it.get()) : icaltime_null_time();
                 !icaltime_is_null_time(t);
                 t = it ? icalrecur_iterator_next(it.get()) : icaltime_null_time()) {
                if (++steps > MaxSteps || ++m_readSteps > MaxStepsPerRead) {
                    m_unfollowed = true;
                    break;
                }
                t.zone = start.zone;
                const QDate day = dateOf(t);
                if (day > to)
                    break;
                if (day < from)
                    continue;
                // A rule more often than daily is shown at its first time of each day.
                if (perDay) {
                    if (day == lastDay)
                        continue;
                    lastDay = day;
                    jump(day.addDays(1));
                }
                if (icaltime_compare(t, start) != 0)
                    consider(t, length, summary);
                if (day >= m_reader.from() && ++inWindow > IcsImport::MaxRowsPerEvent)
                    break;
            }
        }
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            icaltimetype t = icalRdateStart(p);
            if (icaltime_is_null_time(t))
                continue;
            t = zoned(t, p, m_floating);
            if (!t.zone && !icaltime_is_utc(t))
                t.zone = start.zone;
            consider(t, length, summary);
        }
        for (icalcomponent* change : changes) {
            if (icalcomponent_get_status(change) == ICAL_STATUS_CANCELLED)
                continue;
            const icaltimetype t = timeOf(change, ICAL_DTSTART_PROPERTY, m_floating);
            if (icaltime_is_null_time(t))
                continue;
            QString text = QString::fromUtf8(icalcomponent_get_summary(change)).trimmed();
            starts.push_back({t, lengthOf(change, t, m_floating), text.isEmpty() ? summary : text});
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
    icaltimezone* m_floating = nullptr;
    int m_readSteps = 0;

public:
    // What the last map() met, for the notes.
    bool m_longSeen = false;
    bool m_capped = false;
    bool m_subDaily = false;
    bool m_unfollowed = false;
    bool m_subDailyLeft = false;
    bool m_endless = false; // a rule without end was followed
    bool m_rolling = false; // and the event is shown within the window
};

// A parse error libical left in the tree (as an X-LIC-ERROR, having dropped the property)
// that breaks the file, with its line; empty when there is none. Empty values and unreadable
// values of properties that are not dates, rules or zone offsets of an event or a time zone
// are read as absent, as other programs do.
struct ParseFault {
    QString message;
    int line = 0;
};

class ParseFaults {
public:
    explicit ParseFaults(const IcsLines& lines) : m_lines(lines) {}

    ParseFault first(icalcomponent* c) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        int begin = 1;
        if (kind != ICAL_XROOT_COMPONENT) {
            const QByteArray name(icalcomponent_kind_to_string(kind));
            begin = std::max(1, m_lines.componentLine(name, m_seen[name]++));
        }
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY)) {
            const ParseFault f = fault(text(icalproperty_get_xlicerror(p)), kind, begin);
            if (!f.message.isEmpty())
                return f;
        }
        for (icalcomponent* inner = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); inner;
             inner = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT)) {
            const ParseFault f = first(inner);
            if (!f.message.isEmpty())
                return f;
        }
        return {};
    }

private:
    ParseFault fault(const QString& message, icalcomponent_kind kind, int begin) const {
        // "No value for DESCRIPTION property. Removing entire property:" or "Can't parse as
        // DATE-TIME value in DTEND property. Removing entire property: garbage".
        static const QRegularExpression named(
            QStringLiteral("^(.*\\b(?:for|in) ([A-Za-z0-9-]+) property)\\. Removing entire "
                           "property:(.*)$"),
            QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch m = named.match(message);
        if (!m.hasMatch())
            return {message, m_lines.lineOfError(message)};
        const QByteArray property = m.captured(2).toUpper().toLatin1();
        const QByteArray value = m.captured(3).trimmed().toUtf8();
        static const QSet<QByteArray> dates{
            "DTSTART", "DTEND",  "DURATION",      "RRULE",        "RDATE",
            "EXDATE",  "EXRULE", "RECURRENCE-ID", "TZOFFSETFROM", "TZOFFSETTO"};
        const bool timing = kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTIMEZONE_COMPONENT ||
                            kind == ICAL_XSTANDARD_COMPONENT || kind == ICAL_XDAYLIGHT_COMPONENT;
        if (value.isEmpty() || !timing || !dates.contains(property))
            return {};
        return {m.captured(1) + QStringLiteral(": ") + QString::fromUtf8(value),
                m_lines.propertyLine(begin, property.constData(), &value)};
    }

    const IcsLines& m_lines;
    QHash<QByteArray, int> m_seen; // components met so far, by name
};

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
    return IcsImport::tr("Line %1: %2").arg(QString::number(line), what);
}

} // namespace

IcsImport::Result IcsImport::read(const QByteArray& input, const QDate& today,
                                  const QTimeZone& zone, int maxRows) {
    Result result;
    // Some programs begin their files with a UTF-8 byte order mark.
    const QByteArray data = input.startsWith("\xEF\xBB\xBF") ? input.mid(3) : input;
    if (data.size() > MaxBytes) {
        result.error = tr("The file is larger than 20 MB, which is more than a "
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
        result.error = tr("The file holds more than 50,000 items; nothing was imported.");
        return result;
    }

    Component root(icalparser_parse_string(data.constData()));
    if (!root) {
        result.error = lineError(1, tr("this is not an iCalendar file."));
        return result;
    }
    const ParseFault fault = ParseFaults(lines).first(root.get());
    if (!fault.message.isEmpty()) {
        result.error = lineError(fault.line, fault.message);
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
    struct Master {
        icalcomponent* event;
        int line;
        icaltimezone* floating; // the zone its calendar gives floating times
    };
    std::vector<Master> masters;
    QHash<QString, std::vector<icalcomponent*>> changes;
    QHash<QByteArray, icalcomponent*> zones; // VTIMEZONEs by TZID
    QHash<icalcomponent*, icalcomponent*> calendarOf;
    int index = 0;
    for (icalcomponent* cal : calendars) {
        icaltimezone* floating = floatingZone(cal);
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
            masters.push_back({c, line, floating});
            calendarOf.insert(c, cal);
        }
    }

    Mapper mapper(today, zone, result.notes);
    QSet<QString> seen;
    int rows = 0;
    for (const auto& [event, line, floating] : masters) {
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
            result.error =
                lineError(lines.propertyLine(line, name),
                          tr("%1 is not a date and time that exists.").arg(QLatin1String(name)));
            return result;
        }
        // Once an event does not fit in the rows left, it and all after it are left out,
        // unread.
        if (result.notes.overBudget) {
            ++result.notes.overBudget;
            continue;
        }
        mapper.m_longSeen = mapper.m_capped = mapper.m_subDaily = mapper.m_unfollowed =
            mapper.m_subDailyLeft = mapper.m_endless = mapper.m_rolling = false;
        const Notes before = result.notes;
        const bool mapped = mapper.map(event, changes.value(out.uid), floating, out);
        if (mapped && rows + int(out.rows.size()) > maxRows) {
            result.notes = before; // reported as left out only
            ++result.notes.overBudget;
            continue;
        }
        result.notes.tooLong += mapper.m_longSeen;
        result.notes.capped += mapper.m_capped;
        result.notes.subDaily += mapper.m_subDaily;
        result.notes.unfollowed += mapper.m_unfollowed;
        result.notes.subDailyLeft += mapper.m_subDailyLeft;
        if (mapped && mapper.m_rolling) {
            ++result.notes.rolling;
            if (!result.notes.rollingUntil.isValid() || out.shownUntil < result.notes.rollingUntil)
                result.notes.rollingUntil = out.shownUntil;
        }
        if (mapped) {
            rows += int(out.rows.size());
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

void IcsImport::prepare() {
    static const bool primed = icaltimezone_get_builtin_timezones() != nullptr;
    Q_UNUSED(primed);
}

bool IcsImport::endless(const QByteArray& ics) {
    if (!ics.contains("RRULE"))
        return false;
    Component root(icalparser_parse_string(ics.constData()));
    if (!root)
        return false;
    icalcomponent* calendar = root.get();
    if (icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT)
        calendar = icalcomponent_get_first_component(calendar, ICAL_VCALENDAR_COMPONENT);
    for (icalcomponent* c = calendar
                                ? icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT)
                                : nullptr;
         c; c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (!icaltime_is_null_time(icalcomponent_get_recurrenceid(c)))
            continue;
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
            const icalrecurrencetype r = icalproperty_get_rrule(p);
            if (r.count == 0 && icaltime_is_null_time(r.until))
                return true;
        }
    }
    return false;
}
