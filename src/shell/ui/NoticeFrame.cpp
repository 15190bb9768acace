// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/NoticeFrame.h"

#include "shell/SessionPlatform.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QWidget>
#include <QWindow>

namespace NoticeFrame {

QFrame* setUp(QWidget* window, const QString& objectName, const QString& title, QSize size) {
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setCursor(Qt::PointingHandCursor);
    window->setFixedSize(size);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        // A notification to the window manager (_NET_WM_WINDOW_TYPE_NOTIFICATION): placed
        // where it is put and never handed the keyboard focus. Qt's X11 windows take the
        // type from this property whenever their flags are set, so they are set anew.
        if (ownPlacementBypassesWindowManager(QGuiApplication::platformName().toUtf8(),
                                              qgetenv("XDG_CURRENT_DESKTOP"), qgetenv("SWAYSOCK")))
            window->setWindowFlag(Qt::X11BypassWindowManagerHint);
        window->winId();
        if (QWindow* handle = window->windowHandle()) {
            constexpr int NotificationType = 0x800;
            handle->setProperty("_q_xcb_wm_window_type", NotificationType);
            const Qt::WindowFlags flags = handle->flags();
            handle->setFlags(flags | Qt::WindowDoesNotAcceptFocus);
            handle->setFlags(flags);
        }
    }

    auto* outer = new QHBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QFrame(window);
    frame->setFrameShape(QFrame::Box);
    frame->setAutoFillBackground(true);
    frame->setBackgroundRole(QPalette::ToolTipBase);
    frame->setForegroundRole(QPalette::ToolTipText);
    outer->addWidget(frame);
    return frame;
}

} // namespace NoticeFrame
