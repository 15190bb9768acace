// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>

class EventStore;

// "Find Next" of the month view: from the selected date, the earliest later date on which a
// visible event whose text contains the search text occurs. The text is taken literally and
// without regard to case for every alphabet; blanks around it are ignored, so a text of
// blanks alone finds every visible event. One-time events on or before the selected date
// are passed over; repeating ones offer their next date after it (see
// EventRules::searchNextDate). Pressing again from the date found steps through the
// matches in order.
class EventSearch {
    Q_DECLARE_TR_FUNCTIONS(EventSearch)

public:
    // What the window shows (title "Message", information icon) when nothing is found,
    // translated where it is shown.
    static constexpr char NoMoreResults[] =
        QT_TRANSLATE_NOOP("EventSearch", "No more result found.");

    // "Find Next" is enabled exactly while the box holds any text, blanks included.
    static bool canSearch(const QString& boxText) { return !boxText.isEmpty(); }

    explicit EventSearch(EventStore& store) : m_store(store) {}

    struct Result {
        QDate date;    // the date to select; invalid when nothing was found
        QString error; // the data file could not be read (date invalid too)
        bool found() const { return date.isValid(); }
    };

    // `flags` are the calendar window's copies of the holiday switches.
    Result findNext(const QDate& selected, const QString& boxText, const HolidayFlags& flags);

private:
    EventStore& m_store;
};
