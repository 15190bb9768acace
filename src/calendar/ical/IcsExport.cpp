// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/IcsExport.h"

#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcalRepeat.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>

#include <libical/ical.h>

#include <cstdlib>

namespace {

icaltimetype icalDate(const QDate& d) {
    icaltimetype t = icaltime_null_date();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    return t;
}

icaltimetype icalUtc(const QDateTime& t) {
    return icaltime_from_timet_with_zone(t.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
}

// A row stored before it had an identity (none should be) still gets a stable one.
QString uidOf(const EventRow& r) {
    if (!r.uid.isEmpty())
        return r.uid;
    const QByteArray key = r.eDate.toString(Qt::ISODate).toUtf8() + '|' + r.description.toUtf8() +
                           '|' + QByteArray::number(r.frequency) + '|' +
                           QByteArray::number(r.holiday);
    return QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral("@plumora");
}

icalcomponent* newEvent(const QString& uid, const EventRow& r, const QDateTime& now) {
    icalcomponent* e = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(e, icalproperty_new_uid(uid.toUtf8().constData()));
    icalcomponent_add_property(e, icalproperty_new_dtstamp(icalUtc(now)));
    icalcomponent_add_property(
        e, icalproperty_new_lastmodified(icalUtc(r.modified.isValid() ? r.modified : now)));
    icalcomponent_add_property(e, icalproperty_new_dtstart(icalDate(r.eDate)));
    icalcomponent_add_property(e, icalproperty_new_summary(r.description.toUtf8().constData()));
    return e;
}

// The rows of one UID as VEVENTs.
void addGroup(icalcomponent* calendar, const QString& uid, std::vector<const EventRow*> rows,
              const QDateTime& now) {
    std::sort(rows.begin(), rows.end(),
              [](const EventRow* a, const EventRow* b) { return a->eDate < b->eDate; });
    bool allOnce = true;
    for (const EventRow* r : rows)
        allOnce = allOnce && r->frequency == EventFrequency::OneTime;
    if (rows.size() == 1 || !allOnce) {
        // One event per row; several repeating rows under one UID keep it apart by suffix.
        for (size_t i = 0; i < rows.size(); ++i) {
            const EventRow& r = *rows[i];
            icalcomponent* e =
                newEvent(i == 0 ? uid : uid + QStringLiteral("-%1").arg(i + 1), r, now);
            const icalrecurrencetype_frequency freq = icalRepeat(r.frequency);
            if (freq != ICAL_NO_RECURRENCE) {
                icalrecurrencetype rule;
                icalrecurrencetype_clear(&rule);
                rule.freq = freq;
                icalcomponent_add_property(e, icalproperty_new_rrule(rule));
            }
            icalcomponent_add_component(calendar, e);
        }
        return;
    }
    // One-time rows of one event: consecutive days with one text are one long event; any
    // other shape lists its other dates, and a day whose text differs is a changed
    // occurrence of it.
    const EventRow& first = *rows.front();
    bool consecutive = true;
    for (size_t i = 1; i < rows.size(); ++i)
        consecutive = consecutive && rows[i]->eDate == first.eDate.addDays(qint64(i)) &&
                      rows[i]->description == first.description;
    icalcomponent* master = newEvent(uid, first, now);
    if (consecutive) {
        icalcomponent_add_property(master,
                                   icalproperty_new_dtend(icalDate(rows.back()->eDate.addDays(1))));
        icalcomponent_add_component(calendar, master);
        return;
    }
    for (size_t i = 1; i < rows.size(); ++i) {
        icaldatetimeperiodtype rdate;
        rdate.time = icalDate(rows[i]->eDate);
        rdate.period = icalperiodtype_null_period();
        icalcomponent_add_property(master, icalproperty_new_rdate(rdate));
    }
    icalcomponent_add_component(calendar, master);
    for (size_t i = 1; i < rows.size(); ++i) {
        if (rows[i]->description == first.description)
            continue;
        icalcomponent* change = newEvent(uid, *rows[i], now);
        icalcomponent_add_property(change, icalproperty_new_recurrenceid(icalDate(rows[i]->eDate)));
        icalcomponent_add_component(calendar, change);
    }
}

// Adds the VEVENTs of a kept event, with this computer's change written in, and the
// VTIMEZONEs they use that the calendar does not hold yet.
void addKept(icalcomponent* calendar, const KeptEvent& kept, std::vector<const EventRow*> members,
             const QDateTime& now, QSet<QByteArray>& zones) {
    std::vector<EventRow> rows;
    for (const EventRow* r : members)
        rows.push_back(*r);
    const QByteArray text = EventPatch::write(kept, rows, now);
    icalcomponent* read = icalparser_parse_string(text.constData());
    if (!read)
        return addGroup(calendar, kept.uid, std::move(members), now);
    std::vector<icalcomponent*> inner;
    for (icalcomponent* c = icalcomponent_get_first_component(read, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(read, ICAL_ANY_COMPONENT))
        inner.push_back(c);
    for (icalcomponent* c : inner) {
        if (icalcomponent_isa(c) == ICAL_VTIMEZONE_COMPONENT) {
            icalproperty* id = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY);
            const QByteArray tzid = id ? QByteArray(icalproperty_get_tzid(id)) : QByteArray();
            if (zones.contains(tzid))
                continue;
            zones.insert(tzid);
        }
        icalcomponent_remove_component(read, c);
        icalcomponent_add_component(calendar, c);
    }
    icalcomponent_free(read);
}

} // namespace

QByteArray IcsExport::write(const std::vector<EventRow>& rows, const QDateTime& now,
                            const QHash<QString, KeptEvent>& kept) {
    icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Plumora//Plumora 4//EN"));
    icalcomponent_add_property(calendar, icalproperty_new_calscale("GREGORIAN"));

    // Groups by UID in the order the rows came.
    QHash<QString, size_t> groupOf;
    std::vector<std::pair<QString, std::vector<const EventRow*>>> groups;
    for (const EventRow& r : rows) {
        if (!r.eDate.isValid() || r.frequency == EventFrequency::Two)
            continue;
        const QString uid = uidOf(r);
        const auto it = groupOf.constFind(uid);
        if (it == groupOf.cend()) {
            groupOf.insert(uid, groups.size());
            groups.push_back({uid, {&r}});
        } else {
            groups[*it].second.push_back(&r);
        }
    }
    QSet<QByteArray> zones;
    for (const auto& [uid, members] : groups) {
        const auto k = kept.constFind(uid);
        if (k != kept.cend() && !k->rows.empty())
            addKept(calendar, *k, members, now, zones);
        else
            addGroup(calendar, uid, members, now);
    }

    char* text = icalcomponent_as_ical_string_r(calendar);
    QByteArray out(text);
    std::free(text);
    icalcomponent_free(calendar);
    return out;
}
