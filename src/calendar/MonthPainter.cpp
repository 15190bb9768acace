// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/MonthPainter.h"

#include "calendar/EventIcons.h"
#include "calendar/ical/IcsImport.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
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

// Walks the 42 cells in order, handing `visit` each cell's number, rectangle, visible rows
// (hidden holidays skipped, so a later event takes their place) and their flow. Painting
// and the choice of rows to read both go through here, so they cannot disagree.
template <typename Visit>
void eachCell(const MonthScene& scene, double W, double H, const Visit& visit) {
    const double icon = MonthLayout::iconSize(scene.smallIcons);
    const std::vector<EventRow>& rows = *scene.rows;
    std::vector<int> visible;
    size_t next = 0;
    for (int k = 0; k < MonthLayout::Cells; ++k) {
        const QRectF cell = MonthLayout::cellRect(k, W, H);
        visible.clear();
        for (; next < scene.occurrences.size() && scene.occurrences[next].cell == k; ++next) {
            const int r = scene.occurrences[next].row;
            if (!EventRules::isHidden(rows[r].holiday, scene.flags))
                visible.push_back(r);
        }
        visit(k, cell, visible, MonthLayout::flowCell(cell, icon, int(visible.size())));
    }
}

} // namespace

std::vector<int> drawnRows(const MonthScene& scene, double W, double H) {
    std::vector<char> drawn(scene.rows->size(), 0);
    eachCell(scene, W, H,
             [&](int, const QRectF&, const std::vector<int>& visible,
                 const MonthLayout::CellFlow& flow) {
                 for (size_t i = 0; i < flow.icons.size(); ++i)
                     drawn[visible[i]] = 1;
             });
    std::vector<int> out;
    for (int r = 0; r < int(drawn.size()); ++r)
        if (drawn[r])
            out.push_back(r);
    return out;
}

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
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF boldMetrics(bold);
    const double digitHeight = toTwips(metrics.height());
    // Icons are made for the image's device pixels and drawn at their logical size.
    const qreal ratio = image.devicePixelRatio();
    const int iconPixels = int(std::lround(toPixels(MonthLayout::iconSize(scene.smallIcons))));
    const int iconDevicePixels = int(std::lround(iconPixels * ratio));
    const std::vector<EventRow>& rows = *scene.rows;

    eachCell(scene, W, H,
             [&](int k, const QRectF& cell, const std::vector<int>& visible,
                 const MonthLayout::CellFlow& flow) {
                 const QDate day = scene.first.addDays(k);
                 for (size_t i = 0; i < flow.icons.size(); ++i) {
                     const EventRow& row = rows[visible[i]];
                     QImage icon = icons.rowIcon(row, scene.smallIcons, iconDevicePixels);
                     icon.setDevicePixelRatio(ratio);
                     p.drawImage(px(flow.icons[i]), icon);
                     QString line = MonthLayout::tooltipLine(row.description);
                     if (scene.shownUntil && !row.uid.isEmpty()) {
                         const auto until = scene.shownUntil->constFind(row.uid);
                         if (until != scene.shownUntil->cend())
                             line += u'\n' + IcsImport::rollingText(*until);
                     }
                     tooltips.push_back({line, MonthLayout::tooltipKey(day)});
                 }
                 p.setPen(Qt::black);
                 if (flow.more)
                     drawTextAt(p, flow.morePos, QStringLiteral("..."));

                 p.setPen(day.month() == scene.month ? QColor(Qt::black)
                                                     : QColor::fromRgb(OtherMonthColour));
                 const double sampleWidth =
                     toTwips(metrics.horizontalAdvance(MonthLayout::dayNumberSample(day.day())));
                 const QPointF at = MonthLayout::dayNumberPos(cell, sampleWidth, digitHeight);
                 const QString number = QString::number(day.day());
                 if (day != scene.today) {
                     drawTextAt(p, at, number);
                     return;
                 }
                 p.setFont(bold);
                 drawTextAt(p, at, number);
                 p.setFont(font);
                 const QRectF text(
                     px(at), QSizeF(boldMetrics.horizontalAdvance(number), boldMetrics.height()));
                 const double radius = std::max(text.width(), text.height()) / 2 + 1.5;
                 p.save();
                 p.setRenderHint(QPainter::Antialiasing);
                 p.setPen(QPen(QColor::fromRgb(SelectionColour), 1.2));
                 p.setBrush(Qt::NoBrush);
                 p.drawEllipse(text.center(), radius, radius);
                 p.restore();
             });
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
