// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The holiday list file: one record per line, four comma-separated fields - the holiday's
// text, its date month first ("12/25/2002"), its icon number and its country code ("A"
// United States, "C" Canada, anything else international). A field is either in double
// quotes (the value may then hold commas and keeps its blanks) or bare (blanks around it are
// ignored). The same list is served by the web site, downloaded, and shipped beside the
// program for when no download can be had.
namespace HolidayList {

// Where the web site serves the list, the name of its downloaded copy in the program
// folder, and the list shipped among the read-only resources.
inline const QString WebPath = QStringLiteral("/plm4/events.plm");
inline const QString LocalCopy = QStringLiteral("events.plm");
inline const QString ShippedList = QStringLiteral("holidays.plm");

// A download is whole when its last byte is this mark; the mark is not part of the list.
inline constexpr char CompleteMark = '^';
// Lists are a few kilobytes; anything over this is refused unread.
inline constexpr qsizetype MaxBytes = 1024 * 1024;

struct Record {
    QString text;
    QString date;
    QString icon;
    QString country;
    int line = 0; // 1-based line of the file, for the log

    friend bool operator==(const Record& a, const Record& b) {
        return a.text == b.text && a.date == b.date && a.icon == b.icon && a.country == b.country;
    }
};

struct Parsed {
    std::vector<Record> records;
    int malformed = 0;     // non-blank lines that were not four well-formed fields
    bool tooLarge = false; // over MaxBytes: nothing was read
};

// Reads the records of a list. UTF-8 (a leading byte-order mark is skipped); a list that
// is not valid UTF-8 is read as Latin-1. Line ends may be CR LF, LF or CR; blank lines are
// skipped; a list over MaxBytes is not read at all. A line is one record: a line without exactly
// four fields, with a quote that is never closed, or with text after a closing quote counts as
// malformed and is left out.
Parsed parse(QByteArrayView bytes);

// The list without its completeness mark; nothing when the mark is missing or the list is
// over MaxBytes.
std::optional<QByteArray> completeTransfer(const QByteArray& transfer);

// The repetition code an icon number gives: yearly (5) for "2", "3" and every text that
// sorts at or after "7" (7, 8, 9, 70, 800 ...), else one-time (1). The icon numbers of the
// list thereby say which holidays keep their date every year.
int frequencyOf(const QString& icon);

// The Events row a record stands for, or nothing when its date is not "MM?DD?YYYY" (any
// one separator) naming a real date the calendar can show, or its icon number is not a
// number from 1 to 99:
//  - Description: the text as read;
//  - eDate: the date;
//  - Frequency: frequencyOf(icon);
//  - Holiday: icon + 100 for country "C", icon + 200 for "A", the icon number otherwise.
std::optional<EventRow> eventRow(const Record& record);

// The list text of `records`, every field quoted, lines ending CR LF. Nothing when a field
// holds a double quote or a line break, which the format cannot carry.
std::optional<QByteArray> write(const std::vector<Record>& records);

} // namespace HolidayList
