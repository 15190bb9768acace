// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

class QFrame;

// The month grid surface (CalPic): shows the image the last full redraw painted, carries
// the selection rectangle SelShape, and reports the user's input on it in twips. A frame in
// the highlight colour shows when it has the keyboard focus. It keeps no calendar state;
// the Calendar window decides what every input does.
class CalendarGrid : public QWidget {
    Q_OBJECT
public:
    explicit CalendarGrid(QWidget* parent = nullptr);

    void setImage(QImage image);
    const QImage& image() const { return m_image; }
    // Moves SelShape to a rectangle given in twips.
    void setSelection(const QRectF& twips);

Q_SIGNALS:
    void pressed(QPointF twips);
    void moved(QPointF twips);
    void doubleClicked();
    // Arrow keys, Page Up and Page Down (with Ctrl too), Enter and Return; other keys go on
    // to the window.
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QImage m_image;
    QFrame* m_shape;
};
