// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/NoticeFrame.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QWidget>

namespace NoticeFrame {

QFrame* setUp(QWidget* window, const QString& objectName, const QString& title, QSize size) {
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setCursor(Qt::PointingHandCursor);
    window->setFixedSize(size);

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
