// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/CalendarDescriptor.h"

#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/ical/Subscriptions.h"

#include <QPainter>

using namespace Artwork;

void paintCalendarIcon(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4, 6, 24, 22), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Alert);
    p.drawRoundedRect(QRectF(4.75, 6.75, 22.5, 6), 2, 2);
    p.setBrush(Ink);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(7.5 + col * 4.5, 15 + row * 4, 3, 2.5));
    }
    p.setPen(pen(Ink, 2));
    p.drawLine(QPointF(10, 3.5), QPointF(10, 8.5));
    p.drawLine(QPointF(22, 3.5), QPointF(22, 8.5));
}

ToolDescriptor calendarDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("Calendar");
    d.tip = QStringLiteral("Personal Calendar");
    d.caption = QStringLiteral("Personal Calendar");
    d.accelerator = QStringLiteral("Personal &Calendar");
    d.paintIcon = &paintCalendarIcon;
    d.startsGroup = true;
    d.schema = {EventStore::tables(), SubscriptionStore::tables(), CalDavStore::tables()};
    return d;
}
