// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/ScreenKeeper.h"

#include "base/Log.h"
#include "platform/WindowSystem.h"
#include "shell/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {
// Long enough for the desktop to settle its screens and for a window manager to frame a
// window just shown.
constexpr int SettleMs = 250;
} // namespace

ScreenKeeper::ScreenKeeper(WindowSystem& windows, QObject* parent)
    : QObject(parent), m_windows(windows) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        keepAll();
        Q_EMIT screensChanged();
    });
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        followScreen(s);
        m_settle.start();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] { m_settle.start(); });
    for (QScreen* s : QGuiApplication::screens())
        followScreen(s);
}

void ScreenKeeper::followScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(screen, &QScreen::availableGeometryChanged, &m_settle, qOverload<>(&QTimer::start));
}

void ScreenKeeper::watch(QWidget* window) {
    window->installEventFilter(this);
}

bool ScreenKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        QPointer<QWidget> window = qobject_cast<QWidget*>(watched);
        QTimer::singleShot(SettleMs, this, [this, window] {
            if (window)
                keep(window);
        });
    }
    return QObject::eventFilter(watched, event);
}

bool ScreenKeeper::keep(QWidget* window) {
    if (!window || !window->isWindow() || !window->isVisible() || window->isMinimized() ||
        window->isMaximized() || window->isFullScreen())
        return false;
    // Popups, tool tips and the frameless windows (notices, the frozen screen) place
    // themselves.
    const Qt::WindowType type = window->windowType();
    if ((type != Qt::Window && type != Qt::Dialog && type != Qt::Tool) ||
        window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return false;
    const QRect client = window->geometry();
    const QRect outer = window->frameGeometry();
    const QMargins frame(client.left() - outer.left(), client.top() - outer.top(),
                         outer.right() - client.right(), outer.bottom() - client.bottom());
    const QRect placed = ScreenFit(m_windows.workAreas()).place(client, frame);
    if (placed == client)
        return false;
    qCInfo(lcDesktop) << "moving" << window->objectName() << "from" << client << "to" << placed
                      << "so that it lies on a screen";
    window->setGeometry(placed);
    Q_EMIT moved(window,
                 QRect(placed.topLeft() - QPoint(frame.left(), frame.top()), placed.size()));
    return true;
}

void ScreenKeeper::keepAll() {
    for (QWidget* w : QApplication::topLevelWidgets())
        keep(w);
}
