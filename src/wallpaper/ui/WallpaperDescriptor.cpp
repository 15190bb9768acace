// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/ui/WallpaperDescriptor.h"

#include "shell/ui/TrayController.h"
#include "wallpaper/CheckWallpaper.h"
#include "wallpaper/WallpaperStore.h"
#include "wallpaper/ui/WallpaperChanger.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

using namespace Artwork;

void paintWallpaperIcon(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(QColor(0xbf, 0xe0, 0xff));
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(Gold);
    p.drawEllipse(QPointF(22, 11), 3, 3);
    QPainterPath hills;
    hills.moveTo(3.75, 26.25);
    hills.lineTo(3.75, 21);
    hills.lineTo(11, 13);
    hills.lineTo(17, 20);
    hills.lineTo(21, 16);
    hills.lineTo(28.25, 23);
    hills.lineTo(28.25, 26.25);
    hills.closeSubpath();
    p.setBrush(Leaf);
    p.drawPath(hills);
}

ToolDescriptor wallpaperDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("SSWP");
    d.commandName = QStringLiteral("wallpaper");
    d.tip = QCoreApplication::translate("WallpaperTool", "Wallpaper Changer");
    d.caption = d.tip;
    d.accelerator = QCoreApplication::translate("WallpaperTool", "&Wallpaper Changer");
    d.paintIcon = &paintWallpaperIcon;
    // At start-up, the rotation's next picture when the user's option says one is due.
    d.addJobs = [link = d.link](TrayController& controller) {
        controller.addStartupJob(std::make_unique<CheckWallpaper>(
            controller.context(), [link](const QString& text) { link->tell(text); }));
    };
    d.startsGroup = true;
    return d;
}

ToolDescriptor wallpaperTool(AppContext& context) {
    ToolDescriptor d = wallpaperDescriptor();
    d.page = WallpaperChanger::pages(context);
    return d;
}
