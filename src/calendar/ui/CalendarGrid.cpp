// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/CalendarGrid.h"

#include "calendar/MonthLayout.h"
#include "calendar/MonthPainter.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

using MonthLayout::toPixels;
using MonthLayout::toTwips;

CalendarGrid::CalendarGrid(QWidget* parent) : QWidget(parent), m_shape(new QFrame(this)) {
    setObjectName(QStringLiteral("CalPic"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_shape->setObjectName(QStringLiteral("SelShape"));
    m_shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_shape->setStyleSheet(QStringLiteral("#SelShape { border: 2px solid %1; background: "
                                          "transparent; }")
                               .arg(QColor::fromRgb(MonthPainter::SelectionColour).name()));
}

void CalendarGrid::setImage(QImage image) {
    m_image = std::move(image);
    update();
}

void CalendarGrid::setSelection(const QRectF& twips) {
    const auto px = [](double t) { return int(std::lround(toPixels(t))); };
    m_shape->setGeometry(px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height()));
}

void CalendarGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_image.isNull())
        p.drawImage(QPoint(0, 0), m_image);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void CalendarGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CalendarGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void CalendarGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    Q_EMIT pressed(QPointF(toTwips(event->position().x()), toTwips(event->position().y())));
}

void CalendarGrid::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT moved(QPointF(toTwips(event->position().x()), toTwips(event->position().y())));
}

void CalendarGrid::mouseDoubleClickEvent(QMouseEvent*) {
    Q_EMIT doubleClicked();
}

void CalendarGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT keyPressed(event->key(), event->modifiers() & ~Qt::KeypadModifier);
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
