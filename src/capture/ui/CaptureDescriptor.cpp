// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/ui/CaptureDescriptor.h"

#include "capture/CaptureStore.h"
#include "capture/ui/ScreenCapture.h"
#include "shell/RemoteCommand.h"

#include <QCoreApplication>
#include <QPainter>

using namespace Artwork;

void paintCaptureIcon(QPainter& p) {
    p.setPen(pen(Ink, 1.5));
    p.setBrush(QColor(0x55, 0x5a, 0x66));
    p.drawRoundedRect(QRectF(3, 9, 26, 18), 3, 3);
    p.drawRoundedRect(QRectF(11, 5, 10, 5), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 18), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Sky);
    p.drawEllipse(QPointF(16, 18), 4, 4);
    p.setBrush(Gold);
    p.drawEllipse(QPointF(24.5, 12.5), 1.5, 1.5);
}

ToolDescriptor captureDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("SCapture");
    d.commandName = QStringLiteral("capture");
    d.tip = QCoreApplication::translate("CaptureTool", "Screen Capture");
    d.caption = d.tip;
    d.accelerator = QCoreApplication::translate("CaptureTool", "&Screen Capture");
    d.paintIcon = &paintCaptureIcon;
    d.etchedRule = true;
    return d;
}

ToolDescriptor captureTool(AppContext& context) {
    ToolDescriptor d = captureDescriptor();
    CaptureTool* capture = d.hold(std::make_shared<CaptureTool>(context));
    const std::shared_ptr<ToolLink> link = d.link;
    d.actions.insert(QLatin1String(RemoteCommand::Capture), [capture, link](const QString&) {
        return capture->captureArea(
            [link] { Q_EMIT link->loadToolAsked(QStringLiteral("SCapture")); });
    });
    return d;
}
