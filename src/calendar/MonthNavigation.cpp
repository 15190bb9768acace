// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/MonthNavigation.h"

#include "base/LocaleFormats.h"

#include <QCoreApplication>
#include <QStringList>

namespace MonthNavigation {

namespace {

Step select(const QDate& date, bool redrawAll) {
    return {Step::Kind::Select, date, redrawAll};
}

} // namespace

Step monthButton(const QDate& selected, bool next, const QDate& today) {
    return select(MonthLayout::stepMonth(selected, next ? 1 : -1, today), false);
}

Step yearButton(const QDate& selected, int years) {
    const QDate d = MonthLayout::stepYear(selected, years);
    return d == selected ? Step{} : select(d, true);
}

Step goToday(const QDate& today) {
    return select(today, true);
}

Step key(const QDate& selected, int key, Qt::KeyboardModifiers modifiers, const QDate& today) {
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int step = key == Qt::Key_PageUp ? -1 : 1;
        return modifiers.testFlag(Qt::ControlModifier) ? yearButton(selected, step)
                                                       : monthButton(selected, step > 0, today);
    }
    case Qt::Key_Up:
        return select(MonthLayout::stepDays(selected, -7), false);
    case Qt::Key_Down:
        return select(MonthLayout::stepDays(selected, 7), false);
    case Qt::Key_Left:
        return select(MonthLayout::stepDays(selected, -1), false);
    case Qt::Key_Right:
        return select(MonthLayout::stepDays(selected, 1), false);
    default:
        return {Step::Kind::Edit, {}, false};
    }
}

Step press(const QDate& selected, int cell, int selectedCell) {
    return select(MonthLayout::stepDays(selected, cell - selectedCell), false);
}

QString title(const QDate& selected, const QLocale& locale) {
    return LocaleFormats::monthHeading(selected, locale);
}

QString dayName(const QDate& selected, const QLocale& locale) {
    return locale.toString(selected, QLocale::LongFormat);
}

QString eventsText(const std::vector<MonthLayout::TooltipEntry>& tooltips, const QDate& selected) {
    QStringList events;
    for (const MonthLayout::TooltipEntry& e : tooltips)
        if (e.key == MonthLayout::tooltipKey(selected))
            events << e.text;
    return events.isEmpty() ? QCoreApplication::translate("MonthNavigation", "No events.")
                            : QCoreApplication::translate("MonthNavigation", "Events: %1")
                                  .arg(events.join(QStringLiteral("; ")));
}

} // namespace MonthNavigation
