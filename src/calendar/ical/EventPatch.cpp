// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/EventPatch.h"

#include "calendar/CalendarLog.h"
#include "calendar/ical/IcalRepeat.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QDate dateOf(const icaltimetype& t) {
    return QDate(t.year, t.month, t.day);
}

QTime timeOf(const icaltimetype& t) {
    return t.is_date ? QTime(0, 0) : QTime(t.hour, t.minute, std::min(t.second, 59));
}

void setFields(icaltimetype& t, const QDateTime& w) {
    t.year = w.date().year();
    t.month = w.date().month();
    t.day = w.date().day();
    if (!t.is_date) {
        t.hour = w.time().hour();
        t.minute = w.time().minute();
        t.second = w.time().second();
    }
}

// `t` moved by `secs` of wall-clock time in its own zone (whole days for a date).
icaltimetype wallShift(icaltimetype t, qint64 secs) {
    setFields(t, QDateTime(dateOf(t), timeOf(t), Qt::UTC).addSecs(secs));
    return t;
}

// The moment `t` stands for; a floating time is read in the user's zone.
qint64 absolute(const icaltimetype& t, const QTimeZone& user) {
    if (!t.is_date && t.zone)
        return icaltime_as_timet_with_zone(t, t.zone);
    return QDateTime(dateOf(t), timeOf(t), user).toSecsSinceEpoch();
}

// `t` moved by `secs` of real time, written in its own zone.
icaltimetype absoluteShift(icaltimetype t, qint64 secs, const QTimeZone& user) {
    if (t.is_date || secs == 0)
        return t;
    const qint64 moved = absolute(t, user) + secs;
    if (t.zone) {
        const icaltimezone* zone = t.zone;
        icaltimetype r = icaltime_from_timet_with_zone(moved, 0, zone);
        r.zone = zone;
        return r;
    }
    setFields(t, QDateTime::fromSecsSinceEpoch(moved, user));
    return t;
}

void setTime(icalproperty* p, const icaltimetype& t) {
    icalproperty_set_value(p, t.is_date ? icalvalue_new_date(t) : icalvalue_new_datetime(t));
}

icaltimetype timeIn(icalproperty* p, icalcomponent* owner) {
    return icalproperty_get_datetime_with_component(p, owner);
}

// Copies the parameters of `from` (TZID, VALUE=DATE, ...) to `to`.
icalproperty* withParameters(icalproperty* to, icalproperty* from) {
    for (icalparameter* a = icalproperty_get_first_parameter(from, ICAL_ANY_PARAMETER); a;
         a = icalproperty_get_next_parameter(from, ICAL_ANY_PARAMETER))
        icalproperty_add_parameter(to, icalparameter_new_clone(a));
    return to;
}

void removeAll(icalcomponent* e, icalproperty_kind kind) {
    while (icalproperty* p = icalcomponent_get_first_property(e, kind)) {
        icalcomponent_remove_property(e, p);
        icalproperty_free(p);
    }
}

// Qt numbers weekdays Monday 1 ... Sunday 7, libical Sunday 1 ... Saturday 7.
short icalWeekday(const QDate& d) {
    return short(d.dayOfWeek() % 7 + 1);
}

// A BY list holding exactly `from` is made to hold `to`: the part restated the start.
void follow(short* list, short from, short to) {
    if (list[0] == from && list[1] == ICAL_RECURRENCE_ARRAY_MAX)
        list[0] = to;
}

void clear(short* list) {
    list[0] = ICAL_RECURRENCE_ARRAY_MAX;
}

// A row's text split as the importer joined it: "HH:MM " and the summary, for a timed
// event's first day; the whole text otherwise.
struct Shown {
    QTime time;
    QString text;
};

Shown shown(const QString& description, bool timed) {
    static const QRegularExpression prefix(QStringLiteral("^([01]\\d|2[0-3]):([0-5]\\d) (.*)$"),
                                           QRegularExpression::DotMatchesEverythingOption);
    if (timed) {
        const QRegularExpressionMatch m = prefix.match(description);
        if (m.hasMatch())
            return {QTime(m.captured(1).toInt(), m.captured(2).toInt()), m.captured(3)};
    }
    return {QTime(), description};
}

// The rows that differ between the kept ones and today's: pairs of a kept row and what
// became of it, kept rows gone and rows new.
struct Diff {
    std::vector<std::pair<const EventRow*, const EventRow*>> changed;
    std::vector<const EventRow*> removed;
    std::vector<const EventRow*> added;
};

Diff diff(const std::vector<EventRow>& before, const std::vector<EventRow>& after) {
    const auto sorted = [](const std::vector<EventRow>& rows) {
        std::vector<const EventRow*> out;
        for (const EventRow& r : rows)
            out.push_back(&r);
        std::stable_sort(out.begin(), out.end(),
                         [](const EventRow* a, const EventRow* b) { return a->eDate < b->eDate; });
        return out;
    };
    std::vector<const EventRow*> b = sorted(before), a = sorted(after);
    std::vector<bool> bUsed(b.size()), aUsed(a.size());
    Diff d;
    // Pairs rows by `same`, in date order: first the unchanged, then a changed text on the
    // same date, then a moved date with the same text, then whatever is left side by side.
    const auto pair = [&](auto same, bool record) {
        for (size_t i = 0; i < b.size(); ++i) {
            if (bUsed[i])
                continue;
            for (size_t j = 0; j < a.size(); ++j) {
                if (aUsed[j] || !same(*b[i], *a[j]))
                    continue;
                bUsed[i] = aUsed[j] = true;
                if (record)
                    d.changed.emplace_back(b[i], a[j]);
                break;
            }
        }
    };
    pair(
        [](const EventRow& x, const EventRow& y) {
            return x.eDate == y.eDate && x.frequency == y.frequency &&
                   x.description == y.description;
        },
        false);
    pair([](const EventRow& x, const EventRow& y) { return x.eDate == y.eDate; }, true);
    pair([](const EventRow& x, const EventRow& y) { return x.description == y.description; }, true);
    const auto unused = [](const std::vector<const EventRow*>& rows,
                           const std::vector<bool>& used) {
        std::vector<const EventRow*> out;
        for (size_t i = 0; i < rows.size(); ++i)
            if (!used[i])
                out.push_back(rows[i]);
        return out;
    };
    const std::vector<const EventRow*> gone = unused(b, bUsed), fresh = unused(a, aUsed);
    const size_t both = std::min(gone.size(), fresh.size());
    for (size_t i = 0; i < both; ++i)
        d.changed.emplace_back(gone[i], fresh[i]);
    d.removed.assign(gone.begin() + qsizetype(both), gone.end());
    d.added.assign(fresh.begin() + qsizetype(both), fresh.end());
    return d;
}

// One occurrence of a series: the start that identifies it (its RECURRENCE-ID), its
// override when it has one, and where its first row lands.
struct Occurrence {
    icaltimetype id;
    icalcomponent* change = nullptr;
    QDate date;
    QTime time; // invalid for an all-day occurrence
};

class Patcher {
public:
    Patcher(icalcomponent* calendar, icalcomponent* master, const QTimeZone& zone,
            QStringList& notes)
        : m_calendar(calendar), m_master(master), m_zone(zone), m_notes(notes) {
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             c; c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            if (c != master && icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
                m_changes.push_back(c);
        m_touched.insert(master);
    }

    // The event as one whole: a single event (its rows are its days) or a series Plumora
    // repeats itself (its one row).
    void patchWhole(const std::vector<EventRow>& before, const std::vector<EventRow>& after,
                    const Diff& d) {
        const auto span = [](const std::vector<EventRow>& rows) {
            QDate lo = rows.front().eDate, hi = lo;
            for (const EventRow& r : rows) {
                lo = std::min(lo, r.eDate);
                hi = std::max(hi, r.eDate);
            }
            return std::pair(lo, hi);
        };
        const auto [wasFirst, wasLast] = span(before);
        const auto [first, last] = span(after);
        const icaltimetype oldStart = dtstart(m_master);
        const bool timed = !oldStart.is_date;
        // The days the rows span: the start follows the first, the end the last.
        const qint64 startDays = wasFirst.daysTo(first), endDays = wasLast.daysTo(last);
        if (startDays != 0 || endDays != 0)
            moveDays(m_master, startDays, endDays);
        for (const auto& [from, to] : d.changed) {
            const bool firstDay = from->eDate == wasFirst;
            const Shown was = shown(from->description, timed && firstDay);
            const Shown now = shown(to->description, timed && firstDay);
            if (now.text != was.text)
                icalcomponent_set_summary(m_master, now.text.toUtf8().constData());
            if (was.time.isValid() && now.time.isValid() && was.time != now.time)
                moveTime(m_master, to->eDate, was.time, now.time);
        }
        if (before.size() == 1 && after.size() == 1 && before[0].frequency != after[0].frequency)
            setRepeat(after[0].frequency);
        else if (dateOf(oldStart) != dateOf(dtstart(m_master)))
            followStart(dateOf(oldStart), dateOf(dtstart(m_master)));
        for (const EventRow* r : d.added)
            if (r->frequency != EventFrequency::OneTime)
                m_notes << QStringLiteral("a repeat set on one day of a long event");
    }

    // A series kept as single dates: each row is (a day of) one occurrence.
    void patchSeries(const std::vector<EventRow>& before, const std::vector<EventRow>& after,
                     const Diff& d) {
        QDate lo = before.front().eDate, hi = lo;
        for (const auto* rows : {&before, &after})
            for (const EventRow& r : *rows) {
                lo = std::min(lo, r.eDate);
                hi = std::max(hi, r.eDate);
            }
        m_occurrences = occurrences(lo.addDays(-1), hi.addDays(1));
        const bool timed = !dtstart(m_master).is_date;
        for (const auto& [from, to] : d.changed) {
            if (to->frequency != EventFrequency::OneTime)
                m_notes << QStringLiteral("a repeat set on one date of a series");
            Occurrence* o = find(*from);
            if (!o) {
                // A later day of an occurrence of several days: renames that occurrence.
                Occurrence* owner = ownerOf(from->eDate);
                if (!owner) {
                    m_notes << QStringLiteral("a change of a date the series does not have");
                    continue;
                }
                if (to->description != from->description)
                    icalcomponent_set_summary(overrideFor(*owner),
                                              to->description.toUtf8().constData());
                continue;
            }
            icalcomponent* e = overrideFor(*o);
            const Shown was = shown(from->description, timed);
            const Shown now = shown(to->description, timed);
            if (now.text != was.text)
                icalcomponent_set_summary(e, now.text.toUtf8().constData());
            const qint64 days = from->eDate.daysTo(to->eDate);
            if (days != 0)
                moveDays(e, days, days);
            if (was.time.isValid() && now.time.isValid() && was.time != now.time)
                moveTime(e, to->eDate, was.time, now.time);
        }
        for (const EventRow* r : d.removed) {
            if (Occurrence* o = find(*r))
                exclude(*o);
            else if (!ownerOf(r->eDate))
                m_notes << QStringLiteral("a deletion of a date the series does not have");
            // A later day of an occurrence of several days stays with its occurrence.
        }
        // A date the series gives already (its rows reach further now) needs no RDATE.
        for (const EventRow* r : d.added)
            if (!find(*r))
                addDate(*r);
    }

    // New DTSTAMP and LAST-MODIFIED, and a raised SEQUENCE, on every VEVENT changed.
    void stamp(const QDateTime& now) {
        const icaltimetype t = icaltime_from_timet_with_zone(now.toSecsSinceEpoch(), 0,
                                                             icaltimezone_get_utc_timezone());
        const int sequence = icalcomponent_get_sequence(m_master) + 1;
        for (icalcomponent* e : std::as_const(m_touched)) {
            for (const icalproperty_kind kind :
                 {ICAL_DTSTAMP_PROPERTY, ICAL_LASTMODIFIED_PROPERTY}) {
                icalproperty* p = icalcomponent_get_first_property(e, kind);
                if (!p) {
                    p = icalproperty_new(kind);
                    icalcomponent_add_property(e, p);
                }
                icalproperty_set_value(p, icalvalue_new_datetime(t));
            }
            icalcomponent_set_sequence(e, std::max(sequence, icalcomponent_get_sequence(e) + 1));
        }
    }

private:
    static icaltimetype dtstart(icalcomponent* e) { return icalcomponent_get_dtstart(e); }

    // Moves the start by `startDays` and the end by `endDays` of wall-clock days in the
    // event's own zones; a DURATION grows or shrinks by the difference.
    void moveDays(icalcomponent* e, qint64 startDays, qint64 endDays) {
        if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY))
            setTime(p, wallShift(timeIn(p, e), startDays * 86400));
        if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DTEND_PROPERTY))
            setTime(p, wallShift(timeIn(p, e), endDays * 86400));
        if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DURATION_PROPERTY);
            p && startDays != endDays) {
            const int secs = icaldurationtype_as_int(icalproperty_get_duration(p)) +
                             int((endDays - startDays) * 86400);
            icalproperty_set_duration(p, icaldurationtype_from_int(std::max(0, secs)));
        }
    }

    // The start moved from `was` to `now` as shown on `date` in the user's zone, written in
    // the event's zone; the end moves with it.
    void moveTime(icalcomponent* e, const QDate& date, const QTime& was, const QTime& now) {
        const qint64 secs = QDateTime(date, was, m_zone).secsTo(QDateTime(date, now, m_zone));
        for (const icalproperty_kind kind : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY})
            if (icalproperty* p = icalcomponent_get_first_property(e, kind))
                setTime(p, absoluteShift(timeIn(p, e), secs, m_zone));
    }

    // Plumora's repeat of a one-row event changed: its rule follows.
    void setRepeat(int frequency) {
        const icalrecurrencetype_frequency freq = icalRepeat(frequency);
        if (freq == ICAL_NO_RECURRENCE) {
            removeAll(m_master, ICAL_RRULE_PROPERTY);
            return;
        }
        icalproperty* p = icalcomponent_get_first_property(m_master, ICAL_RRULE_PROPERTY);
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        if (p) {
            rule = icalproperty_get_rrule(p);
            if (rule.freq == freq)
                return;
            // The old rule's BY parts restated the start in its own terms.
            clear(rule.by_day);
            clear(rule.by_month_day);
            clear(rule.by_month);
        }
        rule.freq = freq;
        if (p)
            icalproperty_set_rrule(p, rule);
        else
            icalcomponent_add_property(m_master, icalproperty_new_rrule(rule));
    }

    // The start moved to another date: BY parts that restated the old one follow it.
    void followStart(const QDate& was, const QDate& now) {
        for (icalproperty* p = icalcomponent_get_first_property(m_master, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            const icalrecurrencetype old = rule;
            follow(rule.by_day, icalWeekday(was), icalWeekday(now));
            follow(rule.by_month_day, short(was.day()), short(now.day()));
            follow(rule.by_month, short(was.month()), short(now.month()));
            if (std::memcmp(&old, &rule, sizeof rule) != 0)
                icalproperty_set_rrule(p, rule);
        }
    }

    // The key an occurrence's start is matched by.
    qint64 key(icaltimetype t, bool allDay) const {
        if (allDay || t.is_date)
            return dateOf(t).toJulianDay();
        return absolute(t, QTimeZone::utc());
    }

    // The occurrences whose first row lands from `lo` to `hi`, in the user's zone.
    std::vector<Occurrence> occurrences(const QDate& lo, const QDate& hi) {
        const icaltimetype start = dtstart(m_master);
        const bool allDay = start.is_date;
        QSet<qint64> excluded;
        for (icalproperty* p = icalcomponent_get_first_property(m_master, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_EXDATE_PROPERTY))
            excluded.insert(key(timeIn(p, m_master), allDay));
        QHash<qint64, icalcomponent*> changeOf;
        for (icalcomponent* c : m_changes)
            changeOf.insert(
                key(timeIn(icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY), c),
                    allDay),
                c);
        std::vector<Occurrence> out;
        QSet<qint64> seen;
        const auto consider = [&](icaltimetype id) {
            const qint64 k = key(id, allDay);
            if (excluded.contains(k) || seen.contains(k))
                return;
            seen.insert(k);
            icalcomponent* change = changeOf.take(k);
            const icaltimetype shownStart = change ? dtstart(change) : id;
            Occurrence o{id, change, {}, {}};
            land(shownStart, o);
            if (o.date >= lo && o.date <= hi)
                out.push_back(o);
        };
        consider(start);
        constexpr int MaxSteps = 200000;
        for (icalproperty* p = icalcomponent_get_first_property(m_master, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            // A series begun long ago is followed from a little before `lo`, not walked from
            // its start; the property itself is left as it is.
            const icaltimetype at = icalResumeAt(rule, start, lo.addDays(-2));
            icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
            if (!it)
                continue;
            if (!icaltime_is_null_time(at))
                icalrecur_iterator_set_start(it, at);
            int steps = 0;
            for (icaltimetype t = icalrecur_iterator_next(it);
                 !icaltime_is_null_time(t) && ++steps < MaxSteps; t = icalrecur_iterator_next(it)) {
                t.zone = start.zone;
                if (dateOf(t) > hi.addDays(2))
                    break;
                consider(t);
            }
            icalrecur_iterator_free(it);
        }
        for (icalproperty* p = icalcomponent_get_first_property(m_master, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_RDATE_PROPERTY)) {
            icaltimetype t = icalRdateStart(p);
            if (icaltime_is_null_time(t))
                continue;
            if (!t.zone && !icaltime_is_utc(t))
                t.zone = start.zone;
            consider(t);
        }
        // Overrides of starts the rule does not give (moved there by another program).
        for (auto it = changeOf.cbegin(); it != changeOf.cend(); ++it) {
            Occurrence o{
                timeIn(icalcomponent_get_first_property(it.value(), ICAL_RECURRENCEID_PROPERTY),
                       it.value()),
                it.value(),
                {},
                {}};
            land(dtstart(it.value()), o);
            if (o.date >= lo && o.date <= hi)
                out.push_back(o);
        }
        return out;
    }

    void land(const icaltimetype& t, Occurrence& o) const {
        if (t.is_date) {
            o.date = dateOf(t);
            return;
        }
        const QDateTime at = QDateTime::fromSecsSinceEpoch(absolute(t, m_zone), m_zone);
        o.date = at.date();
        o.time = QTime(at.time().hour(), at.time().minute());
    }

    // The occurrence whose first row `r` is: the one landing on its date, at the time its
    // text begins with when several do.
    Occurrence* find(const EventRow& r) {
        std::vector<Occurrence*> there;
        for (Occurrence& o : m_occurrences)
            if (o.date == r.eDate)
                there.push_back(&o);
        if (there.size() > 1) {
            const QTime time = shown(r.description, true).time;
            for (Occurrence* o : there)
                if (o->time == time)
                    return o;
        }
        return there.empty() ? nullptr : there.front();
    }

    // The occurrence that began on an earlier day and still runs on `d`.
    Occurrence* ownerOf(const QDate& d) {
        Occurrence* best = nullptr;
        for (Occurrence& o : m_occurrences)
            if (o.date < d && (!best || o.date > best->date))
                best = &o;
        return best;
    }

    // The override of an occurrence, made from the series when it has none.
    icalcomponent* overrideFor(Occurrence& o) {
        if (!o.change) {
            icalcomponent* e = icalcomponent_new_clone(m_master);
            for (const icalproperty_kind kind : {ICAL_RRULE_PROPERTY, ICAL_RDATE_PROPERTY,
                                                 ICAL_EXDATE_PROPERTY, ICAL_EXRULE_PROPERTY})
                removeAll(e, kind);
            icalproperty* start = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY);
            const icaltimetype seriesStart = timeIn(start, e);
            icalcomponent_add_property(e,
                                       withParameters(icalproperty_new_recurrenceid(o.id), start));
            setTime(start, o.id);
            // The end keeps its distance from the start, in wall-clock time.
            if (icalproperty* end = icalcomponent_get_first_property(e, ICAL_DTEND_PROPERTY)) {
                const qint64 offset = QDateTime(dateOf(seriesStart), timeOf(seriesStart), Qt::UTC)
                                          .secsTo(QDateTime(dateOf(o.id), timeOf(o.id), Qt::UTC));
                setTime(end, wallShift(timeIn(end, e), offset));
            }
            icalcomponent_add_component(m_calendar, e);
            m_changes.push_back(e);
            o.change = e;
        }
        m_touched.insert(o.change);
        return o.change;
    }

    // A deleted occurrence: an EXDATE in the series' own value type and zone.
    void exclude(Occurrence& o) {
        if (o.change) {
            m_touched.remove(o.change);
            m_changes.erase(std::remove(m_changes.begin(), m_changes.end(), o.change),
                            m_changes.end());
            icalcomponent_remove_component(m_calendar, o.change);
            icalcomponent_free(o.change);
            o.change = nullptr;
        }
        icalproperty* start = icalcomponent_get_first_property(m_master, ICAL_DTSTART_PROPERTY);
        icalcomponent_add_property(m_master, withParameters(icalproperty_new_exdate(o.id), start));
        o.date = QDate();
    }

    // A date the series did not have: an RDATE at the series' time of day.
    void addDate(const EventRow& r) {
        icalproperty* start = icalcomponent_get_first_property(m_master, ICAL_DTSTART_PROPERTY);
        icaltimetype t = timeIn(start, m_master);
        t.year = r.eDate.year();
        t.month = r.eDate.month();
        t.day = r.eDate.day();
        icaldatetimeperiodtype rdate;
        rdate.time = t;
        rdate.period = icalperiodtype_null_period();
        icalcomponent_add_property(m_master, withParameters(icalproperty_new_rdate(rdate), start));
        if (r.frequency != EventFrequency::OneTime)
            m_notes << QStringLiteral("a repeat set on one date of a series");
    }

    icalcomponent* m_calendar;
    icalcomponent* m_master;
    QTimeZone m_zone;
    QStringList& m_notes;
    std::vector<icalcomponent*> m_changes;
    std::vector<Occurrence> m_occurrences;
    QSet<icalcomponent*> m_touched;
};

// The kept text as it was written: its logical lines with their bytes (folds included),
// nested by BEGIN and END.
struct RawBlock {
    struct Line {
        QByteArray text; // unfolded, without line end
        QByteArray bytes;
    };
    std::vector<Line> lines;
    std::vector<RawBlock> blocks;
    QByteArray bytes; // the whole block
};

RawBlock rawBlocks(const QByteArray& text) {
    std::vector<RawBlock::Line> lines;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = text.indexOf('\n', at);
        end = end < 0 ? text.size() : end + 1;
        QByteArray line = text.mid(at, end - at);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        // Lines end in CRLF, as the format asks, whatever the file used.
        const QByteArray bytes = line + "\r\n";
        if (!lines.empty() && (line.startsWith(' ') || line.startsWith('\t'))) {
            lines.back().text += line.mid(1);
            lines.back().bytes += bytes;
        } else if (!line.isEmpty()) {
            lines.push_back({line, bytes});
        }
        at = end;
    }
    RawBlock root;
    std::vector<RawBlock*> open{&root};
    for (const RawBlock::Line& l : lines) {
        if (l.text.startsWith("BEGIN:")) {
            open.back()->blocks.push_back({});
            open.push_back(&open.back()->blocks.back());
        }
        for (RawBlock* b : open)
            b->bytes += l.bytes;
        if (l.text.startsWith("END:") && open.size() > 1)
            open.pop_back();
        else if (!l.text.startsWith("BEGIN:"))
            open.back()->lines.push_back(l);
    }
    return root;
}

QByteArray serialized(icalproperty* p) {
    return QByteArray(icalproperty_as_ical_string(p));
}

QByteArray serialized(icalcomponent* c) {
    return QByteArray(icalcomponent_as_ical_string(c));
}

// What libical reads in one kept line: one property, or several for a line of several
// values (CATEGORIES:a,b).
std::vector<QByteArray> serialized(const RawBlock::Line& l) {
    std::vector<QByteArray> out;
    const QByteArray block = "BEGIN:X-LINE\r\n" + l.text + "\r\nEND:X-LINE\r\n";
    Component c(icalparser_parse_string(block.constData()));
    if (c)
        for (icalproperty* p = icalcomponent_get_first_property(c.get(), ICAL_ANY_PROPERTY); p;
             p = icalcomponent_get_next_property(c.get(), ICAL_ANY_PROPERTY))
            out.push_back(serialized(p));
    return out;
}

// Writes `c`, taking the kept bytes of every property and sub-component libical reads
// the same as the one written, so what was not changed stays as it was written.
void writeKeeping(icalcomponent* c, const RawBlock* raw, const QByteArray& rawRead,
                  QByteArray& out) {
    // Matched by what libical reads in it: kept whole when nothing in it changed.
    if (raw && rawRead == serialized(c)) {
        out += raw->bytes;
        return;
    }
    const QByteArray kind(icalcomponent_kind_to_string(icalcomponent_isa(c)));
    out += "BEGIN:" + kind + "\r\n";
    // What libical reads in each kept line and block, worked out once.
    std::vector<std::vector<QByteArray>> lineText;
    std::vector<QByteArray> blockText, blockRid;
    std::vector<icalcomponent_kind> blockKind;
    if (raw) {
        for (const RawBlock::Line& l : raw->lines)
            lineText.push_back(serialized(l));
        for (const RawBlock& b : raw->blocks) {
            Component read(icalparser_parse_string(b.bytes.constData()));
            icalproperty* r =
                read ? icalcomponent_get_first_property(read.get(), ICAL_RECURRENCEID_PROPERTY)
                     : nullptr;
            blockText.push_back(read ? serialized(read.get()) : QByteArray());
            blockRid.push_back(r ? serialized(r) : QByteArray());
            blockKind.push_back(read ? icalcomponent_isa(read.get()) : ICAL_NO_COMPONENT);
        }
    }
    std::vector<QByteArray> mine;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY))
        mine.push_back(serialized(p));
    std::vector<bool> used(lineText.size());
    for (size_t at = 0; at < mine.size();) {
        // A kept line that reads as the properties from here on.
        size_t taken = 0;
        for (size_t i = 0; !taken && i < lineText.size(); ++i) {
            const std::vector<QByteArray>& read = lineText[i];
            if (used[i] || read.empty() || at + read.size() > mine.size() ||
                !std::equal(read.begin(), read.end(), mine.begin() + qsizetype(at)))
                continue;
            used[i] = true;
            taken = read.size();
            out += raw->lines[i].bytes;
        }
        if (!taken) {
            out += mine[at];
            taken = 1;
        }
        at += taken;
    }
    std::vector<bool> taken(blockText.size());
    for (icalcomponent* inner = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); inner;
         inner = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT)) {
        // Its kept block: the one read the same, else the first of its kind (and, for an
        // event, of its RECURRENCE-ID) not taken.
        const QByteArray text = serialized(inner);
        icalproperty* rid = icalcomponent_get_first_property(inner, ICAL_RECURRENCEID_PROPERTY);
        const QByteArray ridText = rid ? serialized(rid) : QByteArray();
        int match = -1;
        for (int pass = 0; pass < 2 && match < 0; ++pass)
            for (size_t i = 0; i < blockText.size() && match < 0; ++i)
                if (!taken[i] && blockKind[i] == icalcomponent_isa(inner) &&
                    (pass == 0 ? blockText[i] == text : blockRid[i] == ridText)) {
                    taken[i] = true;
                    match = int(i);
                }
        if (match < 0)
            writeKeeping(inner, nullptr, {}, out);
        else
            writeKeeping(inner, &raw->blocks[size_t(match)], blockText[size_t(match)], out);
    }
    out += "END:" + kind + "\r\n";
}

QString lineOf(const EventRow& r) {
    return r.eDate.toString(Qt::ISODate) + u'|' + QString::number(r.frequency) + u'|' +
           r.description;
}

} // namespace

bool EventPatch::changed(const KeptEvent& kept, const std::vector<EventRow>& rows) {
    QStringList a, b;
    for (const EventRow& r : kept.rows)
        a << lineOf(r);
    for (const EventRow& r : rows)
        b << lineOf(r);
    a.sort();
    b.sort();
    return a != b;
}

QByteArray EventPatch::write(const KeptEvent& kept, const std::vector<EventRow>& rows,
                             const QDateTime& now, const QTimeZone& zone, QStringList* notes) {
    if (rows.empty() || kept.rows.empty() || !changed(kept, rows))
        return kept.ics;
    Component calendar(icalparser_parse_string(kept.ics.constData()));
    icalcomponent* master = nullptr;
    if (calendar)
        for (icalcomponent* c =
                 icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
             c && !master;
             c = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT))
            if (!icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
                master = c;
    if (!master) {
        qCWarning(lcCalendar) << "kept event" << kept.uid << "holds no event; written unchanged";
        return kept.ics;
    }
    QStringList left;
    Patcher patcher(calendar.get(), master, zone, left);
    const Diff d = diff(kept.rows, rows);
    const bool ruled = icalcomponent_get_first_property(master, ICAL_RRULE_PROPERTY);
    const bool native =
        ruled && kept.rows.size() == 1 && kept.rows.front().frequency != EventFrequency::OneTime;
    // A single event: no rule, no extra dates, no changed occurrences.
    bool alone = !ruled && !icalcomponent_get_first_property(master, ICAL_RDATE_PROPERTY);
    for (icalcomponent* c =
             icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
         c && alone; c = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT))
        alone = c == master;
    if (native || alone)
        patcher.patchWhole(kept.rows, rows, d);
    else
        patcher.patchSeries(kept.rows, rows, d);
    patcher.stamp(now);
    left.removeDuplicates();
    for (const QString& n : std::as_const(left))
        qCWarning(lcCalendar) << "event" << kept.uid << "- left out:" << n;
    if (notes)
        *notes = left;
    // What was not changed is written as it was kept, byte for byte.
    const RawBlock raw = rawBlocks(kept.ics);
    Component keptRead(icalparser_parse_string(kept.ics.constData()));
    QByteArray out;
    writeKeeping(calendar.get(), raw.blocks.empty() ? nullptr : &raw.blocks.front(),
                 keptRead ? serialized(keptRead.get()) : QByteArray(), out);
    return out;
}
