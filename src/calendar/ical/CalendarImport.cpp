// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/CalendarImport.h"

#include "calendar/EventStore.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>

#include <memory>

namespace {

// "1 event has ..." or "3 events have ...": `one` and `many` put the number at %1.
QString counted(int n, const QString& one, const QString& many) {
    return (n == 1 ? one : many).arg(n);
}

// The events whose rules repeat without end, shown up to `until` at least.
QString rollingLine(int n, const QDate& until) {
    return counted(n,
                   CalendarImport::tr("%1 event repeats without end; its dates are shown up "
                                      "to %2 and extended as time passes"),
                   CalendarImport::tr("%1 events repeat without end; their dates are shown up "
                                      "to %2 or later and extended as time passes"))
        .arg(IcsImport::dateText(until));
}

} // namespace

QString ImportReport::text() const {
    if (!ok())
        return CalendarImport::tr("Nothing was imported from %1.\n\n%2").arg(source, error);
    QStringList lines;
    lines << CalendarImport::tr("Imported from %1:").arg(source);
    lines << counted(added, CalendarImport::tr("%1 event added"),
                     CalendarImport::tr("%1 events added"));
    lines << counted(updated, CalendarImport::tr("%1 event updated"),
                     CalendarImport::tr("%1 events updated"));
    lines << counted(unchanged, CalendarImport::tr("%1 event unchanged"),
                     CalendarImport::tr("%1 events unchanged"));
    if (!skipped.isEmpty()) {
        lines << QString() << CalendarImport::tr("Skipped or changed:");
        lines << skipped;
    }
    return lines.join(u'\n');
}

QStringList CalendarImport::skippedLines(const IcsImport::Notes& n, int holidays) {
    // One line per kind of thing left out or changed, in this order, for one and for many.
    struct Kind {
        int count;
        const char* one;
        const char* many;
    };
    const Kind kinds[] = {
        {n.expanded,
         QT_TRANSLATE_NOOP("CalendarImport",
                           "%1 event repeats in a way Plumora keeps as single dates"),
         QT_TRANSLATE_NOOP("CalendarImport",
                           "%1 events repeat in a way Plumora keeps as single dates")},
        {n.capped,
         QT_TRANSLATE_NOOP(
             "CalendarImport",
             "%1 event repeats more than 1,000 times; its first 1,000 dates were kept"),
         QT_TRANSLATE_NOOP(
             "CalendarImport",
             "%1 events repeat more than 1,000 times; their first 1,000 dates were kept")},
        {0, nullptr, nullptr}, // the endless rules' line, with its date, goes here
        {n.subDaily,
         QT_TRANSLATE_NOOP(
             "CalendarImport",
             "%1 event repeats more often than daily; it is shown at its first time of each day"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 events repeat more often than daily; they are "
                                             "shown at their first time of each day")},
        {n.subDailyLeft,
         QT_TRANSLATE_NOOP("CalendarImport", "%1 event repeats more often than daily in a pattern "
                                             "Plumora does not follow; its rule was left out"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 events repeat more often than daily in a pattern "
                                             "Plumora does not follow; their rules were left out")},
        {n.unfollowed,
         QT_TRANSLATE_NOOP("CalendarImport", "%1 event repeats too densely to be followed to its "
                                             "end; the dates found first were kept"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 events repeat too densely to be followed to their "
                                             "end; the dates found first were kept")},
        {n.overBudget,
         QT_TRANSLATE_NOOP("CalendarImport",
                           "%1 event was left out: one import makes at most 50,000 calendar rows"),
         QT_TRANSLATE_NOOP(
             "CalendarImport",
             "%1 events were left out: one import makes at most 50,000 calendar rows")},
        {n.outOfWindow,
         QT_TRANSLATE_NOOP("CalendarImport",
                           "%1 event has no date from a year ago to five years ahead"),
         QT_TRANSLATE_NOOP("CalendarImport",
                           "%1 events have no date from a year ago to five years ahead")},
        {n.tooLong,
         QT_TRANSLATE_NOOP("CalendarImport",
                           "%1 event lasts more than 31 days; its first 31 days were kept"),
         QT_TRANSLATE_NOOP("CalendarImport",
                           "%1 events last more than 31 days; their first 31 days were kept")},
        {n.noDate, QT_TRANSLATE_NOOP("CalendarImport", "%1 event has no date"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 events have no date")},
        {n.cancelled, QT_TRANSLATE_NOOP("CalendarImport", "%1 event is cancelled"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 events are cancelled")},
        {n.duplicates,
         QT_TRANSLATE_NOOP("CalendarImport", "%1 event repeats the UID of an earlier one"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 events repeat the UID of earlier ones")},
        {holidays,
         QT_TRANSLATE_NOOP("CalendarImport", "%1 event is a holiday the calendar already has"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 events are holidays the calendar already has")},
        {n.otherItems,
         QT_TRANSLATE_NOOP("CalendarImport", "%1 item is not an event (a to-do, a journal entry)"),
         QT_TRANSLATE_NOOP("CalendarImport", "%1 items are not events (to-dos, journal entries)")},
    };
    QStringList out;
    for (const Kind& k : kinds) {
        if (!k.one && n.rolling)
            out << rollingLine(n.rolling, n.rollingUntil);
        else if (k.count)
            out << counted(k.count, tr(k.one), tr(k.many));
    }
    return out;
}

bool CalendarImport::readFile(const QString& path, QByteArray& data, ImportReport& refused) {
    refused = ImportReport();
    refused.source = QFileInfo(path).fileName();
    QFile file(path);
    if (file.size() > IcsImport::MaxBytes) {
        refused.error = tr("The file is larger than 20 MB, which is more than a "
                           "calendar holds; nothing was imported.");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        refused.error = tr("The file could not be read: %1").arg(file.errorString());
        return false;
    }
    data = file.read(IcsImport::MaxBytes + 1);
    return true;
}

ImportReport CalendarImport::importFile(const QString& path) {
    QByteArray data;
    ImportReport refused;
    if (!readFile(path, data, refused))
        return refused;
    return importData(data, refused.source);
}

ImportReport CalendarImport::importData(const QByteArray& data, const QString& source,
                                        int subscription) {
    return store(IcsImport::read(data, m_today, m_zone), source, subscription);
}

void CalendarImport::readAside(const QList<QByteArray>& files, const QDate& today,
                               const QTimeZone& zone, QObject* receiver, Reads done) {
    IcsImport::prepare();
    // The answer goes through an object of the calling thread; the receiver is looked at
    // only there.
    auto* relay = new QObject;
    QPointer<QObject> guard(receiver);
    QThreadPool::globalInstance()->start(
        [relay, guard, files, today, zone, done = std::move(done)]() mutable {
            auto reads = std::make_shared<std::vector<IcsImport::Result>>();
            for (const QByteArray& data : files)
                reads->push_back(IcsImport::read(data, today, zone));
            QMetaObject::invokeMethod(
                relay,
                [relay, guard, reads, done = std::move(done)] {
                    relay->deleteLater();
                    if (guard)
                        done(*reads);
                },
                Qt::QueuedConnection);
        });
}

ImportReport CalendarImport::store(const IcsImport::Result& read, const QString& source,
                                   int subscription) {
    ImportReport report;
    report.source = source;
    if (!read.ok()) {
        report.error = read.error;
        return report;
    }
    std::vector<EventRow> rows;
    QHash<QString, QByteArray> components;
    for (const IcsImport::Event& e : read.events) {
        if (subscription == 0)
            components.insert(e.uid, e.component);
        for (const EventRow& r : e.rows) {
            rows.push_back(r);
            rows.back().modified = m_now;
        }
    }
    m_store.setNow(m_now);
    EventStore::PutCounts counts;
    if (!m_store.putEvents(rows, &counts, subscription, components)) {
        report.error = tr("The calendar could not be written: %1").arg(m_store.lastError());
        return report;
    }
    report.added = counts.added;
    report.updated = counts.updated;
    report.unchanged = counts.unchanged;
    report.skipped = skippedLines(read.notes, counts.holidays);
    return report;
}
