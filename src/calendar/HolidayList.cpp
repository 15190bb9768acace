// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/HolidayList.h"

#include "calendar/EventRules.h"

#include <QStringDecoder>

#include <algorithm>

namespace HolidayList {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QString decode(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

// The fields of one line, or nothing when the line is not well formed.
std::optional<std::vector<QString>> fieldsOf(QStringView line) {
    std::vector<QString> fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i < n && line[i] == u'"') {
            const qsizetype close = line.indexOf(u'"', i + 1);
            if (close < 0)
                return std::nullopt;
            fields.push_back(line.mid(i + 1, close - i - 1).toString());
            i = close + 1;
            while (i < n && isBlank(line[i]))
                ++i;
            if (i < n && line[i] != u',')
                return std::nullopt;
        } else {
            qsizetype end = line.indexOf(u',', i);
            if (end < 0)
                end = n;
            QStringView value = line.mid(i, end - i);
            while (!value.isEmpty() && isBlank(value.back()))
                value.chop(1);
            fields.push_back(value.toString());
            i = end;
        }
        if (fields.size() > 4)
            return std::nullopt;
        if (i >= n)
            break;
        ++i; // the comma
    }
    return fields;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int number(QStringView digits) {
    int v = 0;
    for (QChar c : digits)
        v = v * 10 + (c.unicode() - '0');
    return v;
}

QDate dateOf(const QString& text) {
    if (text.size() != 10)
        return {};
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!isDigit(text[i]))
            return {};
    if (isDigit(text[2]) || isDigit(text[5]))
        return {};
    const QDate d(number(QStringView(text).mid(6, 4)), number(QStringView(text).mid(0, 2)),
                  number(QStringView(text).mid(3, 2)));
    if (!d.isValid() || d < EventRules::EarliestDate || d > EventRules::LatestDate)
        return {};
    return d;
}

} // namespace

Parsed parse(QByteArrayView bytes) {
    Parsed out;
    if (bytes.size() > MaxBytes) {
        out.tooLarge = true;
        return out;
    }
    const QString text = decode(bytes);
    const QStringView all(text);
    qsizetype start = 0;
    int lineNumber = 0;
    while (start <= all.size()) {
        qsizetype end = start;
        while (end < all.size() && all[end] != u'\n' && all[end] != u'\r')
            ++end;
        ++lineNumber;
        const QStringView line = all.mid(start, end - start);
        if (!line.trimmed().isEmpty()) {
            const auto fields = fieldsOf(line);
            if (fields && fields->size() == 4)
                out.records.push_back(
                    {(*fields)[0], (*fields)[1], (*fields)[2], (*fields)[3], lineNumber});
            else
                ++out.malformed;
        }
        if (end >= all.size())
            break;
        // CR LF is one line end.
        start = end + (all[end] == u'\r' && end + 1 < all.size() && all[end + 1] == u'\n' ? 2 : 1);
    }
    return out;
}

std::optional<QByteArray> completeTransfer(const QByteArray& transfer) {
    if (!transfer.endsWith(CompleteMark) || transfer.size() - 1 > MaxBytes)
        return std::nullopt;
    return transfer.first(transfer.size() - 1);
}

int frequencyOf(const QString& icon) {
    const bool yearly = icon == u"2" || icon == u"3" || icon.compare(u"7") >= 0;
    return yearly ? EventFrequency::Yearly : EventFrequency::OneTime;
}

std::optional<EventRow> eventRow(const Record& record) {
    const QString icon = record.icon.trimmed();
    if (icon.isEmpty() || icon.size() > 2 || !std::all_of(icon.begin(), icon.end(), isDigit))
        return std::nullopt;
    const int k = number(icon);
    const QDate date = dateOf(record.date.trimmed());
    if (k < 1 || !date.isValid())
        return std::nullopt;

    EventRow row;
    row.eDate = date;
    row.description = record.text;
    row.frequency = frequencyOf(icon);
    const QString country = record.country.trimmed();
    row.holiday = k + (country == u"C" ? 100 : country == u"A" ? 200 : 0);
    return row;
}

std::optional<QByteArray> write(const std::vector<Record>& records) {
    QByteArray out;
    for (const Record& r : records) {
        const QString fields[4] = {r.text, r.date, r.icon, r.country};
        for (int i = 0; i < 4; ++i) {
            const QString& f = fields[i];
            if (f.contains(u'"') || f.contains(u'\n') || f.contains(u'\r'))
                return std::nullopt;
            if (i > 0)
                out += ',';
            out += '"' + f.toUtf8() + '"';
        }
        out += "\r\n";
    }
    return out;
}

} // namespace HolidayList
