// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/ui/OptionsDescriptor.h"

#include "options/ui/Options.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

using namespace Artwork;

void paintOptionsIcon(QPainter& p) {
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal a = qDegreesToRadians(i * 360.0 / (teeth * 4));
        const qreal r = (i % 4 < 2) ? 13 : 9.5;
        const QPointF pt(16 + r * qCos(a), 16 + r * qSin(a));
        i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(16, 16), 4, 4);
    p.setPen(pen(Ink, 1.5));
    p.setBrush(QColor(0x8a, 0x93, 0xa3));
    p.drawPath(gear.subtracted(hole));
}

ToolDescriptor optionsDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("Options");
    d.commandName = QStringLiteral("options");
    d.tip = QCoreApplication::translate("OptionsDescriptor", "Options");
    d.caption = QCoreApplication::translate("OptionsDescriptor", "Options");
    d.accelerator = QCoreApplication::translate("OptionsDescriptor", "&Options");
    d.paintIcon = &paintOptionsIcon;
    return d;
}

ToolDescriptor optionsTool(AppContext& context) {
    ToolDescriptor d = optionsDescriptor();
    OptionsTool* options = d.hold(std::make_shared<OptionsTool>(context, *d.link));
    d.takeOptionsGroup = [options](ToolDescriptor::OptionsGroupFactory group) {
        options->addGroup(std::move(group));
    };
    return d;
}
