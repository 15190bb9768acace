// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/CalendarImport.h"

#include "calendar/EventStore.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>

#include <libical/ical.h>

#include <memory>

namespace {

// "1 event has ..." or "3 events have ...".
QString counted(int n, const QString& one, const QString& many) {
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

// The events whose rules repeat without end, shown up to `until` at least.
QString rollingLine(int n, const QDate& until) {
    return counted(n,
                   QStringLiteral("event repeats without end; its dates are shown up to %1 and "
                                  "extended as time passes"),
                   QStringLiteral("events repeat without end; their dates are shown up to %1 "
                                  "or later and extended as time passes"))
        .arg(IcsImport::dateText(until));
}

} // namespace

QString ImportReport::text() const {
    if (!ok())
        return QStringLiteral("Nothing was imported from %1.\n\n%2").arg(source, error);
    QStringList lines;
    lines << QStringLiteral("Imported from %1:").arg(source);
    lines << counted(added, QStringLiteral("event added"), QStringLiteral("events added"));
    lines << counted(updated, QStringLiteral("event updated"), QStringLiteral("events updated"));
    lines << counted(unchanged, QStringLiteral("event unchanged"),
                     QStringLiteral("events unchanged"));
    if (!skipped.isEmpty()) {
        lines << QString() << QStringLiteral("Skipped or changed:");
        lines << skipped;
    }
    return lines.join(u'\n');
}

QStringList CalendarImport::skippedLines(const IcsImport::Notes& n, int holidays) {
    QStringList out;
    if (n.expanded)
        out << counted(n.expanded,
                       QStringLiteral("event repeats in a way Plumora keeps as single dates"),
                       QStringLiteral("events repeat in a way Plumora keeps as single dates"));
    if (n.capped)
        out << counted(
            n.capped,
            QStringLiteral("event repeats more than 1,000 times; its first 1,000 dates were kept"),
            QStringLiteral(
                "events repeat more than 1,000 times; their first 1,000 dates were kept"));
    if (n.rolling)
        out << rollingLine(n.rolling, n.rollingUntil);
    if (n.subDaily)
        out << counted(n.subDaily,
                       QStringLiteral("event repeats more often than daily; it is shown at its "
                                      "first time of each day"),
                       QStringLiteral("events repeat more often than daily; they are shown at "
                                      "their first time of each day"));
    if (n.subDailyLeft)
        out << counted(n.subDailyLeft,
                       QStringLiteral("event repeats more often than daily in a pattern Plumora "
                                      "does not follow; its rule was left out"),
                       QStringLiteral("events repeat more often than daily in a pattern Plumora "
                                      "does not follow; their rules were left out"));
    if (n.unfollowed)
        out << counted(n.unfollowed,
                       QStringLiteral("event repeats too densely to be followed to its end; the "
                                      "dates found first were kept"),
                       QStringLiteral("events repeat too densely to be followed to their end; "
                                      "the dates found first were kept"));
    if (n.overBudget)
        out << counted(n.overBudget,
                       QStringLiteral("event was left out: one import makes at most 50,000 "
                                      "calendar rows"),
                       QStringLiteral("events were left out: one import makes at most 50,000 "
                                      "calendar rows"));
    if (n.outOfWindow)
        out << counted(n.outOfWindow,
                       QStringLiteral("event has no date from a year ago to five years ahead"),
                       QStringLiteral("events have no date from a year ago to five years ahead"));
    if (n.tooLong)
        out << counted(
            n.tooLong, QStringLiteral("event lasts more than 31 days; its first 31 days were kept"),
            QStringLiteral("events last more than 31 days; their first 31 days were kept"));
    if (n.noDate)
        out << counted(n.noDate, QStringLiteral("event has no date"),
                       QStringLiteral("events have no date"));
    if (n.cancelled)
        out << counted(n.cancelled, QStringLiteral("event is cancelled"),
                       QStringLiteral("events are cancelled"));
    if (n.duplicates)
        out << counted(n.duplicates, QStringLiteral("event repeats the UID of an earlier one"),
                       QStringLiteral("events repeat the UID of earlier ones"));
    if (holidays)
        out << counted(holidays, QStringLiteral("event is a holiday the calendar already has"),
                       QStringLiteral("events are holidays the calendar already has"));
    if (n.otherItems)
        out << counted(n.otherItems,
                       QStringLiteral("item is not an event (a to-do, a journal entry)"),
                       QStringLiteral("items are not events (to-dos, journal entries)"));
    return out;
}

bool CalendarImport::readFile(const QString& path, QByteArray& data, ImportReport& refused) {
    refused = ImportReport();
    refused.source = QFileInfo(path).fileName();
    QFile file(path);
    if (file.size() > IcsImport::MaxBytes) {
        refused.error = QStringLiteral("The file is larger than 20 MB, which is more than a "
                                       "calendar holds; nothing was imported.");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        refused.error = QStringLiteral("The file could not be read: %1").arg(file.errorString());
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
    // libical fills its list of built-in zones on first use, which is not safe against a
    // second thread doing the same: it is filled here, on the calling thread, first.
    static const bool primed = icaltimezone_get_builtin_timezones() != nullptr;
    Q_UNUSED(primed);
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
        report.error =
            QStringLiteral("The calendar could not be written: %1").arg(m_store.lastError());
        return report;
    }
    report.added = counts.added;
    report.updated = counts.updated;
    report.unchanged = counts.unchanged;
    report.skipped = skippedLines(read.notes, counts.holidays);
    return report;
}
