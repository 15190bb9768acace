// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/CalendarDescriptor.h"

#include "calendar/ui/Calendar.h"
#include "calendar/ui/CalendarOptionsGroup.h"

#include <QPainter>
#include <QTimer>

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
    d.commandName = QStringLiteral("calendar");
    d.tip = Calendar::tr("Personal Calendar");
    d.caption = Calendar::tr("Personal Calendar");
    d.accelerator = Calendar::tr("Personal &Calendar");
    d.paintIcon = &paintCalendarIcon;
    d.startsGroup = true;
    return d;
}

ToolDescriptor calendarTool(AppContext& context) {
    ToolDescriptor d = calendarDescriptor();
    const std::shared_ptr<ToolLink> link = d.link;
    CalendarTool* calendar = d.hold(
        std::make_shared<CalendarTool>(context, [link](const QString& text) { link->tell(text); }));
    // The question about removals from the server is answered in Options: a click on it
    // opens them.
    calendar->sync().setAsk(
        [link](const QString& text) { link->tell(text, QStringLiteral("Options")); });
    d.addJobs = [calendar](TrayController& controller) { calendar->addJobs(controller); };
    d.optionsGroups = {
        [calendar](QWidget* owner) { return calendar->makeOptionsGroup(owner); },
        [&context](QWidget* owner) { return new CalendarOptionsGroup(context, owner); }};
    d.openFiles = [calendar, &context, link](const QStringList& paths,
                                             const SingleInstance::Answer& answer) {
        calendar->importQuietly(
            context, paths,
            [calendar, &context, link, answer](const CalendarTool::ImportSummary& summary) {
                // The answer goes back before the calendar and the summary show: their event
                // loops must not run while a second start still waits on the socket.
                answer(summary.refusal);
                QTimer::singleShot(0, link.get(), [calendar, &context, link, summary] {
                    Q_EMIT link->showTool(QStringLiteral("Calendar"));
                    calendar->showImportSummary(context, summary);
                });
            });
    };
    return d;
}
