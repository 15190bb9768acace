// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/MonthLayout.h"

#include "calendar/EventRules.h"

#include <algorithm>

namespace MonthLayout {

QRectF cellRect(int cell, double W, double H) {
    return {(cell % 7) * W / 7, (cell / 7) * H / 6, W / 7, H / 6};
}

QRectF selectionRect(int cell, double W, double H) {
    const QRectF c = cellRect(cell, W, H);
    return {c.left() + 20, c.top() + 20, W / 7 - 20, H / 6 - 20};
}

int cellAt(double x, double y, double W, double H) {
    if (W <= 0 || H <= 0)
        return 0;
    const int row = std::clamp(int(y / (H / 6)), 0, 5);
    const int column = std::clamp(int(x / (W / 7)), 0, 6);
    return row * 7 + column;
}

CellFlow flowCell(const QRectF& cell, double iconSize, int count) {
    CellFlow flow;
    QPointF pos(cell.left() + 40, cell.top() + 40);
    for (int i = 0; i < count; ++i) {
        if (pos.y() + iconSize >= cell.bottom()) {
            flow.more = true;
            flow.morePos = QPointF(pos.x() + 20, pos.y() - 130);
            break;
        }
        flow.icons.push_back(pos);
        pos.rx() += iconSize;
        if (pos.x() + iconSize >= cell.right())
            pos = QPointF(cell.left() + 20, pos.y() + iconSize);
    }
    return flow;
}

QString dayNumberSample(int day) {
    return day > 9 ? QStringLiteral("88") : QStringLiteral("8");
}

QPointF dayNumberPos(const QRectF& cell, double sampleWidth, double digitHeight) {
    return {cell.left() + (cell.width() - sampleWidth) / 2 - 30,
            cell.top() + cell.height() - digitHeight - 30};
}

QPointF weekdayPos(int column, double stripWidth, double textWidth) {
    return {column * (stripWidth / 7) + ((stripWidth / 7) - textWidth) / 2, 60};
}

double titleLeft(double headerWidth, double titleWidth) {
    return (headerWidth - titleWidth) / 2 - 180;
}

double yearUpDownLeft(double titleLeftPos, double titleWidth) {
    return titleLeftPos + titleWidth + 120;
}

QString tooltipLine(const QString& description) {
    if (description.size() <= 70)
        return description;
    QString cut = description.left(70);
    // Never keep half of a character that needs two UTF-16 units.
    if (cut.back().isHighSurrogate())
        cut.chop(1);
    const qsizetype space = cut.lastIndexOf(u' ');
    if (space >= 0)
        cut.truncate(space);
    return cut + QStringLiteral(" ....");
}

QString tooltipText(const std::vector<TooltipEntry>& entries, int key, int* longest) {
    QString text;
    int most = 0;
    for (const TooltipEntry& e : entries) {
        if (e.key != key)
            continue;
        if (!text.isEmpty())
            text += u'\n';
        text += e.text + u'\n';
        most = std::max(most, int(e.text.size()));
    }
    if (longest)
        *longest = most;
    return text;
}

double tooltipWidth(int longest) {
    return longest < 30 ? 2000 : 3000;
}

bool nearEdge(double x, double y, double W, double H) {
    return x < 100 || x > W - 100 || y < 100 || y > H - 100;
}

double tooltipTop(double y, double H, double tooltipHeight) {
    return y > H - 2000 ? y - tooltipHeight - 50 : y + 360;
}

QDate stepMonth(const QDate& selected, int months, const QDate& today) {
    const QDate d = selected.addMonths(months);
    if (d.year() <= EventRules::EarliestYear || d.year() >= EventRules::LatestYear)
        return today;
    return d;
}

QDate stepYear(const QDate& selected, int years) {
    if (years < 0 && selected.year() <= EventRules::EarliestYear)
        return selected;
    if (years > 0 && selected.year() >= EventRules::LatestYear)
        return selected;
    return selected.addYears(years);
}

QDate stepDays(const QDate& selected, int days) {
    const QDate d = selected.addDays(days);
    return d < EventRules::EarliestDate || d > EventRules::LatestDate ? selected : d;
}

} // namespace MonthLayout
