// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "capture/CaptureRules.h"
#include "capture/ui/CaptureToolBox.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class WindowSystem;

// `FullScrn`: a borderless topmost window over the whole desktop (every monitor) or one
// screen, in one of two modes.
// Capture: it shows the frozen screen with a black line every 30 pixels, lets the user drag
// out an area (a yellow outline, in any direction) and shows CapTBox with the choices; a
// capture always comes from the clean copy of the screen. View: it shows one stored picture
// centred, pixel for pixel, and a click or Esc closes it.
class FullScreen : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Capture, View };

    // `screen` is the geometry covered; `picture` the frozen screen (capture, in device
    // pixels with its ratio set) or the stored picture (view). `screens` tells where each
    // monitor lies in a picture of the whole desktop (desktop coordinates); without them
    // the picture shows `screen` alone. The window deletes itself when closed.
    FullScreen(WindowSystem& windows, Mode mode, const QRect& screen, const QImage& picture,
               const QList<ScreenGrab::Screen>& screens = {});
    ~FullScreen() override;

    // Covers the screen, a capture with its box on top; a viewer is modal.
    void open();

    Mode mode() const { return m_mode; }
    // The capture box, from open() on.
    CaptureToolBox* toolBox() const { return m_box; }
    const CaptureRules::Selection& selection() const { return m_selection; }
    // Where the viewer shows its picture, in the window.
    QRect pictureRect() const;

Q_SIGNALS:
    // Capture mode's end: the chosen part of the clean screen, or a null picture when the
    // capture was cancelled. Emitted once; the window then waits to be closed.
    void finished(const QImage& capture);
    // The viewer was closed.
    void viewClosed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showToolBox();
    // The monitor (an index of m_screens, -1 for none) under the pointer, and under a point
    // of the window.
    int screenUnderCursor() const;
    int screenUnder(const QPoint& local) const;
    // A monitor's geometry on the desktop; the whole window's for none.
    QRect monitor(int index) const;
    // Where a monitor's part of the picture is shown in the window.
    QRect inWindow(const ScreenGrab::Screen& screen) const;
    // The part of the clean picture that shows `area` of the window.
    QImage pictureOf(const QRect& area) const;
    void choose(int choice);
    void finish(const QImage& capture);

    WindowSystem& m_windows;
    Mode m_mode;
    QRect m_screen;
    QImage m_picture;                    // the clean screen, or the viewed picture
    QImage m_lined;                      // the frozen screen as shown, with its guide lines
    QList<ScreenGrab::Screen> m_screens; // the monitors, in desktop coordinates
    // Over several monitors: the picture's pixels to a pixel of the window, which then
    // covers the picture at one scale; 0 when each monitor's part is drawn where the desktop
    // puts it instead.
    qreal m_scale = 0;
    CaptureRules::Selection m_selection;
    QRect m_band; // the outline drawn, empty before the first drag
    bool m_pressed = false;
    bool m_finished = false;
    QPointer<CaptureToolBox> m_box;
};
