// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ui/ScheduleDescriptor.h"

#include "platform/MountTable.h"
#include "scheduler/ScheduleDueReader.h"
#include "scheduler/ScheduleStore.h"
#include "scheduler/ui/Schedule.h"
#include "scheduler/ui/ScheduleEditor.h"

#include <QCoreApplication>
#include <QPainter>

using namespace Artwork;

void paintScheduleIcon(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 17), 12, 12);
    p.setPen(pen(Sky, 2.5));
    p.drawLine(QPointF(16, 17), QPointF(16, 9));
    p.drawLine(QPointF(16, 17), QPointF(21.5, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(Alert);
    p.drawEllipse(QPointF(16, 17), 2, 2);
    p.setPen(pen(Ink, 2));
    p.drawLine(QPointF(7, 5), QPointF(10, 3));
    p.drawLine(QPointF(25, 5), QPointF(22, 3));
}

ToolDescriptor scheduleDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("Schedule");
    d.commandName = QStringLiteral("scheduler");
    d.tip = QCoreApplication::translate("ScheduleTool", "Power Scheduler");
    d.caption = d.tip;
    d.accelerator = QCoreApplication::translate("ScheduleTool", "Power &Scheduler");
    d.paintIcon = &paintScheduleIcon;
    d.dueTables = {QStringLiteral("Schedule")};
    d.dueReader = &readScheduledEntries;
    d.etchedRule = true;
    d.startsGroup = true;
    d.offers.insert(ScheduleEditingOffer, ScheduleEditing(&ScheduleEditor::edit));
    return d;
}

ToolDescriptor scheduleTool(AppContext& context) {
    ToolDescriptor d = scheduleDescriptor();
    d.hold(std::make_shared<ScheduleTool>(context));
    ToolLink* link = d.link.get();
    d.dueActions = scheduleDueActions(
        context.shell,
        [table = MountTable()](const QString& path) { return table.isFixedLocalDisk(path); },
        [link] { Q_EMIT link->saveOpenWorkAsked(); });
    return d;
}
