#include "calendar/MonthPainter.h"

#include "calendar/EventIcons.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace MonthPainter {

namespace {

using MonthLayout::toPixels;
using MonthLayout::toTwips;

QPointF px(const QPointF& twips) {
    return {toPixels(twips.x()), toPixels(twips.y())};
}

void drawTextAt(QPainter& p, const QPointF& topLeftTwips, const QString& text) {
    p.drawText(QRectF(px(topLeftTwips), QSizeF(4000, 4000)), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

std::vector<MonthLayout::TooltipEntry> paintGrid(QImage& image, double W, double H,
                                                 const MonthScene& scene, EventIcons& icons,
                                                 const QFont& font) {
    std::vector<MonthLayout::TooltipEntry> tooltips;
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);

    p.setPen(QColor::fromRgb(GridLineColour));
    for (int i = 1; i <= 6; ++i) {
        const int x = int(std::lround(toPixels(i * W / 7)));
        p.drawLine(x, 0, x, int(image.deviceIndependentSize().height()));
    }
    for (int j = 1; j <= 5; ++j) {
        const int y = int(std::lround(toPixels(j * H / 6)));
        p.drawLine(0, y, int(image.deviceIndependentSize().width()), y);
    }

    const QFontMetricsF metrics(font);
    const double digitHeight = toTwips(metrics.height());
    const double icon = MonthLayout::iconSize(scene.smallIcons);
    const int iconPixels = int(std::lround(toPixels(icon)));
    const std::vector<EventRow>& rows = *scene.rows;

    std::vector<int> visible;
    size_t next = 0;
    for (int k = 0; k < MonthLayout::Cells; ++k) {
        const QDate day = scene.first.addDays(k);
        const QRectF cell = MonthLayout::cellRect(k, W, H);

        visible.clear();
        for (; next < scene.occurrences.size() && scene.occurrences[next].cell == k; ++next) {
            const int r = scene.occurrences[next].row;
            if (!EventRules::isHidden(rows[r].holiday, scene.flags))
                visible.push_back(r);
        }
        const MonthLayout::CellFlow flow = MonthLayout::flowCell(cell, icon, int(visible.size()));
        for (size_t i = 0; i < flow.icons.size(); ++i) {
            const EventRow& row = rows[visible[i]];
            p.drawImage(px(flow.icons[i]), icons.rowIcon(row, scene.smallIcons, iconPixels));
            tooltips.push_back(
                {MonthLayout::tooltipLine(row.description), MonthLayout::tooltipKey(day)});
        }
        p.setPen(Qt::black);
        if (flow.more)
            drawTextAt(p, flow.morePos, QStringLiteral("..."));

        p.setPen(day.month() == scene.month ? QColor(Qt::black)
                                            : QColor::fromRgb(OtherMonthColour));
        const double sampleWidth =
            toTwips(metrics.horizontalAdvance(MonthLayout::dayNumberSample(day.day())));
        drawTextAt(p, MonthLayout::dayNumberPos(cell, sampleWidth, digitHeight),
                   QString::number(day.day()));
    }
    return tooltips;
}

void paintWeekdays(QImage& image, double stripWidth, const QDate& first, const QFont& font,
                   const QLocale& locale) {
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetricsF metrics(font);
    for (int c = 0; c < 7; ++c) {
        const QString name = locale.toString(first.addDays(c), QStringLiteral("ddd"));
        drawTextAt(p,
                   MonthLayout::weekdayPos(c, stripWidth, toTwips(metrics.horizontalAdvance(name))),
                   name);
    }
}

} // namespace MonthPainter
