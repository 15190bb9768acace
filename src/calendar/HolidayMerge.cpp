// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/HolidayMerge.h"

#include "calendar/CalendarLog.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayList.h"
#include "platform/RegularFile.h"

#include <QFile>

Q_LOGGING_CATEGORY(lcCalendar, "plumora.calendar", QtCriticalMsg)

namespace HolidayMerge {

namespace {

Result refused(const QString& why) {
    Result r;
    r.error = why;
    qCWarning(lcCalendar) << "holiday list not merged:" << why;
    return r;
}

} // namespace

Result mergeList(EventStore& store, const QByteArray& list) {
    const HolidayList::Parsed parsed = HolidayList::parse(list);
    if (parsed.tooLarge)
        return refused(QStringLiteral("the list is over 1 MB"));

    Result result;
    result.skipped = parsed.malformed;
    if (parsed.malformed > 0)
        qCWarning(lcCalendar) << "holiday list:" << parsed.malformed << "malformed line(s) skipped";
    std::vector<EventRow> rows;
    for (const HolidayList::Record& record : parsed.records) {
        if (std::optional<EventRow> row = HolidayList::eventRow(record)) {
            rows.push_back(std::move(*row));
        } else {
            ++result.skipped;
            qCWarning(lcCalendar) << "holiday list line" << record.line
                                  << "skipped: bad date or icon number" << record.date
                                  << record.icon;
        }
    }
    // A list with nothing usable (an error page, a damaged file) is no update: the next
    // attempt should try again.
    if (rows.empty())
        return refused(QStringLiteral("the list holds no usable record"));

    int added = 0;
    if (!store.mergeHolidays(rows, &added))
        return refused(store.lastError());
    result.complete = true;
    result.added = added;
    result.updated = int(rows.size()) - added;
    return result;
}

Result mergeTransfer(EventStore& store, const QByteArray& transfer) {
    if (transfer.size() - 1 > HolidayList::MaxBytes)
        return refused(QStringLiteral("the download is over 1 MB"));
    const std::optional<QByteArray> list = HolidayList::completeTransfer(transfer);
    if (!list)
        return refused(QStringLiteral("the download is incomplete"));
    return mergeList(store, *list);
}

Result mergeFile(EventStore& store, const QString& path) {
    // Only a regular file of at most 1 MB: a pipe or a device put in its place never blocks.
    QString error;
    const std::optional<QByteArray> list = RegularFile::read(path, HolidayList::MaxBytes, &error);
    if (!list)
        return refused(path + QStringLiteral(": ") + error);
    return mergeList(store, *list);
}

} // namespace HolidayMerge
