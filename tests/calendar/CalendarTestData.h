// SPDX-License-Identifier: GPL-3.0-or-later
// Dates, event rows and plain pictures as the calendar tests write them.
#pragma once

#include "calendar/EventRow.h"
#include "data/DataFile.h"

#include <QCoreApplication>
#include <QImage>
#include <QStringList>
#include <QThreadPool>

#include <vector>

inline QDate D(const char* iso) {
    return QDate::fromString(QLatin1String(iso), Qt::ISODate);
}

inline EventRow makeEvent(const QDate& date, int frequency, const QString& text = "event",
                          int holiday = 0, QByteArray icon = {}) {
    EventRow r;
    r.eDate = date;
    r.frequency = frequency;
    r.description = text;
    r.holiday = holiday;
    r.iconImg = std::move(icon);
    return r;
}

inline EventRow makeEvent(const char* date, int frequency, const QString& text = "event",
                          int holiday = 0, QByteArray icon = {}) {
    return makeEvent(D(date), frequency, text, holiday, std::move(icon));
}

// Rows as "date|frequency|text", sorted.
inline QStringList rowLines(const std::vector<EventRow>& rows) {
    QStringList out;
    for (const EventRow& r : rows)
        out << r.eDate.toString(Qt::ISODate) + u'|' + QString::number(r.frequency) + u'|' +
                   r.description;
    out.sort();
    return out;
}

inline QImage filled(QRgb colour, int side = 32) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// Every row of Events as "date|text|frequency|holiday", in table order.
inline QStringList holidayTable(const QString& dataFile) {
    QStringList out;
    DataFile db(dataFile);
    db.forEach(QStringLiteral("SELECT eDate, Description, Frequency, Holiday FROM Events "
                              "ORDER BY rowid"),
               {}, [&](DataFile::Row q) {
                   out << QStringList{q.value(0).toString(), q.value(1).toString(),
                                      q.value(2).toString(), q.value(3).toString()}
                              .join(u'|');
                   return true;
               });
    return out;
}

// Lets the calendar reads under way on worker threads end and hand over what they read.
inline void readsDone() {
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}
