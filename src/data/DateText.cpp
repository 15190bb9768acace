// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DateText.h"

namespace DateText {

QString fromDate(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString fromDateTime(const QDateTime& dt) {
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QDateTime toDateTime(const QVariant& v) {
    if (v.isNull())
        return {};
    const QString text = v.toString().trimmed();
    for (const auto* format :
         {"yyyy-MM-dd HH:mm", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-ddTHH:mm"}) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(format));
        if (dt.isValid())
            return dt;
    }
    const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    return d.isValid() && text.size() == 10 ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

QDate toDate(const QVariant& v) {
    if (v.isNull())
        return {};
    const QString text = v.toString().trimmed();
    const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return {};
    return text.size() == 10 || toDateTime(v).isValid() ? d : QDate();
}

} // namespace DateText
