// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/FocusRingStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>

void FocusRingStyle::install() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        qobject_cast<FocusRingStyle*>(QApplication::style()))
        return;
    // The proxy takes the current style over: the desktop's look stays.
    QApplication::setStyle(new FocusRingStyle(QApplication::style()->name()));
}

void FocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameFocusRect || !qobject_cast<const QAbstractButton*>(widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // A push button has its ring from drawControl(), whatever the style does here.
    if (!qobject_cast<const QPushButton*>(widget))
        drawRing(option, option->rect, painter);
}

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_PushButton && (option->state & State_HasFocus) &&
        (option->state & State_Enabled))
        // Along the bevel's inner edge: the caption keeps its room.
        drawRing(option, option->rect.adjusted(1, 1, -1, -1), painter);
}

void FocusRingStyle::drawRing(const QStyleOption* option, const QRect& rect, QPainter* painter) {
    // Inside the rectangle, so the ring is never clipped by the button's edge.
    const qreal half = RingWidth / 2.0;
    const QRectF ring = QRectF(rect).adjusted(half, half, -half, -half);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), RingWidth));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(ring);
    painter->restore();
}
