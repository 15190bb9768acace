// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

class WindowSystem;
class QWidget;

// Keeps Plumora's open windows on the screens that exist. When a monitor is plugged in or
// out, or a screen's work area changes, every open framed window whose frame would lie
// off the screens is moved, and shrunk only if it must be, onto the nearest one
// (ScreenFit). A watched window is also checked each time it is shown, once the window
// manager has framed it, so a frame larger than the one guessed before showing it still
// ends on the screen. Nothing is stored: a window moved here records its place only once
// the user moves it again.
class ScreenKeeper : public QObject {
    Q_OBJECT
public:
    explicit ScreenKeeper(WindowSystem& windows, QObject* parent = nullptr);

    // Checks `window` each time it is shown.
    void watch(QWidget* window);
    // Moves `window` onto a screen when its frame lies off them; true when it moved.
    bool keep(QWidget* window);
    // keep() for every open top-level window.
    void keepAll();

Q_SIGNALS:
    // `window` was moved onto a screen: its frame's new top left and its client size.
    void moved(QWidget* window, const QRect& placed);
    // The screens changed and the windows were moved where they had to be.
    void screensChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followScreen(class QScreen* screen);

    WindowSystem& m_windows;
    QTimer m_settle; // the desktop reports a change in several steps; act once they are done
};
