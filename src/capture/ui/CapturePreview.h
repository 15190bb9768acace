// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QImage>

class QLabel;

// The viewing area `BackPic` (dark grey) with the picture `PreviewPic` at its natural size,
// pixel for pixel on the screen. The user drags the picture, or moves it with the arrow
// keys, to see the parts that do not fit; a picture let go wholly outside the area on one
// axis comes back to the margin on that axis.
class CapturePreview : public QFrame {
    Q_OBJECT
public:
    explicit CapturePreview(QWidget* parent = nullptr);

    // Shows `picture` at the margin; a null picture shows a note that it cannot be read.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    QWidget* pane() const { return m_pane; }

    void placeAtMargin();
    // Applies the margin rule to where the picture is now.
    void keepInSight();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitPaneToPicture();

    QImage m_picture;
    QWidget* m_pane;
    QLabel* m_unreadable;
    bool m_dragging = false;
    QPoint m_dragFrom; // global pointer position at the press
    QPoint m_paneFrom; // the picture's place at the press
};
