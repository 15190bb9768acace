// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>

class EventStore;

// Writes the events of a date range as the page "events.htm" in the program folder: one
// table row per occurrence (EventRules::exportShows, holidays hidden by their switch left
// out) and the event's icon beside it as the picture file "_image" + n + ".tmp", n counting
// the rows from 1. Pictures of an earlier export are removed first. Descriptions are
// HTML-escaped, the page is UTF-8 and says so, and pictures are referred to by file URL.
// Opening the page in the browser is the caller's.
class EventExport {
    Q_DECLARE_TR_FUNCTIONS(EventExport)

public:
    // The three items of the Export menu, in order (the item index + 1).
    enum Mode { SelectedDate = 1, ComingDays = 2, SelectedMonth = 3 };

    static inline const QString PageName = QStringLiteral("events.htm");
    // "_image" + n + ".tmp".
    static QString pictureName(int n);
    // A picture file smaller than this is taken as unusable and replaced by the default icon.
    static constexpr qint64 MinPictureBytes = 1000;

    struct Range {
        QDate from;
        QDate to;
    };
    // Selected date: that day. Coming days: today and the 7 days after it (8 days). Selected
    // month: the whole month of the selected date. Invalid dates for any other mode.
    static Range range(int mode, const QDate& selected, const QDate& today);

    // `folder` is the program folder the page and its pictures go to.
    EventExport(EventStore& store, QString folder) : m_store(store), m_folder(std::move(folder)) {}

    struct Result {
        QString page;  // the page's full path
        int rows = 0;  // occurrences written
        QString error; // why nothing usable was written; empty on success
        bool ok() const { return error.isEmpty(); }
    };
    // `flags` are the calendar window's copies of the holiday switches.
    Result write(int mode, const QDate& selected, const QDate& today, const HolidayFlags& flags);

private:
    EventStore& m_store;
    QString m_folder;
};
