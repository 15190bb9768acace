// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/ical/IcsImport.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <functional>

class EventStore;
class QObject;

// What an import did, for the summary window.
struct ImportReport {
    QString source; // the file's name or the subscription's
    int added = 0;
    int updated = 0;
    int unchanged = 0;
    QStringList skipped; // one line per kind of thing left out, with the reason
    QString error;       // nothing was imported; why

    bool ok() const { return error.isEmpty(); }
    // The report as the summary window shows it.
    QString text() const;
};

// The one way an iCalendar file reaches Events, whether it came from the Import menu, a
// drop, the command line or a subscription: read it whole, then store every event in one
// transaction, so a fault leaves the calendar as it was.
class CalendarImport {
    Q_DECLARE_TR_FUNCTIONS(CalendarImport)

public:
    CalendarImport(EventStore& store, const QDate& today, const QDateTime& now,
                   const QTimeZone& zone = QTimeZone::systemTimeZone())
        : m_store(store), m_today(today), m_now(now), m_zone(zone) {}

    ImportReport importFile(const QString& path);
    // With a `subscription`, the rows become that subscription's and mirror the data.
    ImportReport importData(const QByteArray& data, const QString& source, int subscription = 0);
    // The second half of importData: stores what IcsImport read.
    ImportReport store(const IcsImport::Result& read, const QString& source, int subscription = 0);

    // The bytes of a file to import; false, with `refused` saying why, when it is too large
    // or cannot be read.
    static bool readFile(const QString& path, QByteArray& data, ImportReport& refused);

    using Reads = std::function<void(const std::vector<IcsImport::Result>& reads)>;
    // Reads each of `files` (IcsImport::read, expansion included) on a worker thread, so
    // that a large or densely repeating calendar never holds up the event loop; `done` then
    // runs on the calling thread's event loop with the reads in order, unless `receiver` is
    // gone by then.
    static void readAside(const QList<QByteArray>& files, const QDate& today, const QTimeZone& zone,
                          QObject* receiver, Reads done);

    // The report lines for what IcsImport left out.
    static QStringList skippedLines(const IcsImport::Notes& notes, int holidays);

private:
    EventStore& m_store;
    QDate m_today;
    QDateTime m_now;
    QTimeZone m_zone;
};
