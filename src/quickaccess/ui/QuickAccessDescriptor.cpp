// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/ui/QuickAccessDescriptor.h"

#include "quickaccess/FolderTrackingJob.h"
#include "quickaccess/QuickAccessStore.h"
#include "quickaccess/ui/QuickAccessPage.h"
#include "shell/ui/TrayController.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

using namespace Artwork;

void paintQuickAccessIcon(QPainter& p) {
    QPainterPath folder;
    folder.moveTo(3, 9);
    folder.lineTo(3, 26);
    folder.lineTo(29, 26);
    folder.lineTo(29, 11);
    folder.lineTo(15, 11);
    folder.lineTo(12, 7);
    folder.lineTo(4, 7);
    folder.closeSubpath();
    p.setPen(pen(QColor(0xa8, 0x74, 0x10), 1.5));
    p.setBrush(QColor(0xf6, 0xc3, 0x4a));
    p.drawPath(folder);
    // A star: the folders used most.
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 == 0 ? 6.5 : 2.8;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF pt(16 + r * qCos(a), 18.5 + r * qSin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(pen(QColor(0x9a, 0x1c, 0x1c), 1));
    p.setBrush(Alert);
    p.drawPath(star);
}

ToolDescriptor quickAccessDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("QAccess");
    d.commandName = QStringLiteral("quick-access");
    d.tip = QCoreApplication::translate("QuickAccessDescriptor", "Quick Access");
    d.caption = QCoreApplication::translate("QuickAccessDescriptor", "Quick Access");
    d.accelerator = QCoreApplication::translate("QuickAccessDescriptor", "Quick &Access");
    d.paintIcon = &paintQuickAccessIcon;
    // Each minute the list changed, the documents opened lately count for their folders.
    d.addJobs = [](TrayController& controller) {
        const AppContext& context = controller.context();
        controller.addMinuteJob(std::make_unique<FolderTrackingJob>(
            context.stores.get<QuickAccessStore>(), context.shell,
            [&tick = controller.tick()] { tick.wakeJobs(); }));
    };
    d.etchedRule = true;
    return d;
}

ToolDescriptor quickAccessTool(AppContext& context) {
    ToolDescriptor d = quickAccessDescriptor();
    d.page = QuickAccessPage::pages(context);
    return d;
}
