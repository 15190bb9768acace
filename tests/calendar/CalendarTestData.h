// Dates, event rows and plain pictures as the calendar tests write them.
#pragma once

#include "calendar/EventRow.h"

#include <QImage>

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

inline QImage filled(QRgb colour, int side = 32) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}
