// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/DayEdit.h"

#include "calendar/EventIcons.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"

#include <QPainter>

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb DarkGrey = 0xFF404040;

} // namespace

const QStringList DayEdit::RepeatItems = {QStringLiteral("none"), QStringLiteral("weekly"),
                                          QStringLiteral("monthly"), QStringLiteral("yearly")};

bool DayEditRow::used() const {
    return holiday || marked || picked || !description.isEmpty() || !date.isEmpty() ||
           !repeat.isEmpty() || !picture.isNull();
}

QString DayEdit::repeatText(int frequency) {
    switch (frequency) {
    case EventFrequency::Weekly:
        return RepeatItems[1];
    case EventFrequency::Monthly:
        return RepeatItems[2];
    case EventFrequency::Yearly:
        return RepeatItems[3];
    default:
        return RepeatItems[0];
    }
}

int DayEdit::frequencyOf(const QString& repeat) {
    if (repeat == RepeatItems[1])
        return EventFrequency::Weekly;
    if (repeat == RepeatItems[2])
        return EventFrequency::Monthly;
    if (repeat == RepeatItems[3])
        return EventFrequency::Yearly;
    return EventFrequency::OneTime;
}

QString DayEdit::dateText(const QDate& date) {
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QDate DayEdit::readDate(const QString& text) {
    return QDate::fromString(text.trimmed(), Qt::ISODate);
}

QImage DayEdit::smallPicture(const QImage& picture) {
    QImage surface(SmallSide, SmallSide, QImage::Format_RGB32);
    surface.fill(IconMaskColour);
    if (!picture.isNull()) {
        QPainter p(&surface);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(0, 0, SmallSide, SmallSide), withMaskColour(picture));
    }
    for (int y = 0; y < SmallSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(surface.scanLine(y));
        for (int x = 0; x < SmallSide; ++x)
            if (line[x] == Black)
                line[x] = DarkGrey;
    }
    return surface;
}

DayEdit::DayEdit(const QDate& day, const HolidayFlags& flags, QImage defaultIcon)
    : m_day(day), m_flags(flags), m_defaultIcon(std::move(defaultIcon)) {
    keepSpareRow();
}

void DayEdit::load(const std::vector<EventRow>& rows) {
    m_rows.clear();
    for (int i : EventRules::editorList(rows, m_day, m_flags)) {
        const EventRow& e = rows[i];
        DayEditRow r;
        // A subscribed calendar's event is listed like a holiday: for information only.
        r.holiday = e.holiday != 0 || e.subscription != 0;
        if (e.holiday != 0) {
            r.picture = HolidaysIL::raw(EventRules::holidayPicture(e.holiday));
        } else {
            // A stored picture that does not decode counts as none: the default icon.
            r.picture = QImage::fromData(e.iconImg);
            if (r.picture.isNull())
                r.picture = m_defaultIcon;
            else
                r.stored = e.iconImg;
        }
        r.description = e.description;
        r.date = dateText(EventRules::editorDate(e, m_day));
        r.repeat = repeatText(e.frequency);
        r.uid = e.uid;
        r.modified = e.modified;
        r.listedDescription = r.description;
        r.listedDate = r.date;
        r.listedFrequency = frequencyOf(r.repeat);
        m_rows.push_back(std::move(r));
    }
    keepSpareRow();
}

bool DayEditRow::changed() const {
    return picked || description != listedDescription || date != listedDate ||
           DayEdit::frequencyOf(repeat) != listedFrequency;
}

bool DayEdit::editable(int r) const {
    return r >= 0 && r < rowCount() && !m_rows[r].holiday && !m_rows[r].marked;
}

bool DayEdit::toggleMark(int r) {
    if (r < 0 || r >= rowCount() || m_rows[r].holiday)
        return false;
    // A blank line holds nothing to delete; its mark would only hide the line.
    if (!m_rows[r].marked && !m_rows[r].used())
        return false;
    m_rows[r].marked = !m_rows[r].marked;
    keepSpareRow();
    return true;
}

void DayEdit::fillDate(int r) {
    if (m_rows[r].date.isEmpty())
        m_rows[r].date = dateText(m_day);
}

void DayEdit::descriptionTyped(int r) {
    if (!editable(r))
        return;
    fillDate(r);
    keepSpareRow();
}

void DayEdit::setDescription(int r, const QString& text) {
    if (!editable(r))
        return;
    m_rows[r].description = text;
    keepSpareRow();
}

void DayEdit::pickIcon(int r, const QImage& picture) {
    if (!editable(r) || picture.isNull())
        return;
    m_rows[r].picture = picture;
    m_rows[r].stored.clear();
    m_rows[r].picked = true;
    fillDate(r);
    keepSpareRow();
}

bool DayEdit::takesPickedDate(int r) const {
    return editable(r) && (!m_rows[r].description.isEmpty() || m_rows[r].picked);
}

void DayEdit::setDate(int r, const QDate& date) {
    if (takesPickedDate(r) && date.isValid())
        m_rows[r].date = dateText(date);
}

QDate DayEdit::pickerDate(int r) const {
    const QDate d = r >= 0 && r < rowCount() ? readDate(m_rows[r].date) : QDate();
    return d.isValid() ? d : m_day;
}

void DayEdit::setRepeat(int r, const QString& item) {
    if (!editable(r))
        return;
    m_rows[r].repeat = item == RepeatItems[0] ? QString() : item;
    keepSpareRow();
}

QString DayEdit::repeatChoice(int r) const {
    const QString& text = m_rows.at(r).repeat;
    return text.isEmpty() ? RepeatItems[0] : text;
}

std::vector<EventRow> DayEdit::rowsToSave() const {
    std::vector<EventRow> out;
    for (const DayEditRow& r : m_rows) {
        if (r.holiday || r.marked || r.description.isEmpty())
            continue;
        EventRow e;
        const QImage& picture = r.picture.isNull() ? m_defaultIcon : r.picture;
        e.iconImg = !r.stored.isEmpty() ? r.stored : toPng(picture);
        e.smallImg = toPng(smallPicture(picture));
        e.description = r.description;
        e.eDate = readDate(r.date);
        if (!e.eDate.isValid())
            e.eDate = m_day;
        e.frequency = frequencyOf(r.repeat);
        e.uid = r.uid;
        if (!r.uid.isEmpty() && !r.changed())
            e.modified = r.modified;
        out.push_back(std::move(e));
    }
    return out;
}

bool DayEdit::save(EventStore& store, QString* error) const {
    const bool ok = store.replaceUserEventsOn(m_day, rowsToSave());
    if (error)
        *error = ok ? QString() : store.lastError();
    return ok;
}

void DayEdit::keepSpareRow() {
    while (rowCount() < MinimumRows || m_rows.back().used())
        m_rows.emplace_back();
}
