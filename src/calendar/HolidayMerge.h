// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class EventStore;

// Merges a holiday list (HolidayList.h) into the Events table: every well-formed record
// with a real date and an icon number of 1 to 99 overwrites the holiday it matches
// (EventRules::isSameHoliday) or is added; records that fail are skipped and logged. The
// whole list goes in as one transaction. Stamping System.Lastupdate is the caller's, and
// only for a complete merge.
namespace HolidayMerge {

struct Result {
    // The list was whole and at least one record was stored; only then does the update
    // count as done.
    bool complete = false;
    int added = 0;
    int updated = 0;
    int skipped = 0; // malformed lines and records with a bad date or icon number
    QString error;   // why nothing was stored, for the log
};

// A downloaded list still carrying its completeness mark ("^"): nothing is merged when
// the mark is missing or the list is over HolidayList::MaxBytes.
Result mergeTransfer(EventStore& store, const QByteArray& transfer);
// A list without the mark: the downloaded copy on disk or the shipped list.
Result mergeList(EventStore& store, const QByteArray& list);
// The list in the file at `path` (a file over HolidayList::MaxBytes is not read).
Result mergeFile(EventStore& store, const QString& path);

} // namespace HolidayMerge
