// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/ui/MessagePopup.h"

#include "notify/PopAction.h"
#include "platform/DesktopShell.h"
#include "platform/WindowSystem.h"
#include "shell/NoticePlacement.h"
#include "shell/ui/AppIcon.h"
#include "shell/ui/NoticeFrame.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

namespace {
// The smallest window; a longer text makes it taller, then wider, within the screen.
constexpr QSize WindowSize(320, 72);
constexpr int IconSize = 32;
constexpr int WidthStep = 80;
} // namespace

MessagePopup::MessagePopup(WindowSystem& windows, DesktopShell& shell,
                           std::function<void(const QString&)> showTool, QWidget* parent)
    : QWidget(parent, NoticeFrame::Flags), m_windows(windows), m_shell(shell),
      m_showTool(std::move(showTool)) {
    QFrame* frame =
        NoticeFrame::setUp(this, QStringLiteral("PopMsg"), WindowTitles::PopMessage, WindowSize);

    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(10);
    auto* icon = new QLabel(frame);
    icon->setObjectName(QStringLiteral("IconImg"));
    icon->setPixmap(plumoraIcon().pixmap(IconSize, IconSize));
    icon->setFixedSize(IconSize, IconSize);
    row->addWidget(icon, 0, Qt::AlignTop);
    m_message = new QLabel(frame);
    m_message->setObjectName(QStringLiteral("MessageLB"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setForegroundRole(QPalette::ToolTipText);
    row->addWidget(m_message, 1);

    m_windows.makeTopmost(this);
    fitToText();

    m_msgTimer.setObjectName(QStringLiteral("MsgTimer"));
    m_msgTimer.setParent(this);
    m_msgTimer.setSingleShot(true);
    m_msgTimer.setInterval(ShowForMs);
    connect(&m_msgTimer, &QTimer::timeout, this, &QWidget::close);
    m_msgTimer.start();
}

void MessagePopup::setMessage(const QString& text) {
    m_message->setText(text);
    // The layouts keep the heights they measured for the old text: the boxes between the
    // label and the window are asked anew.
    for (QWidget* w = m_message->parentWidget(); w && w != this; w = w->parentWidget())
        w->updateGeometry();
    fitToText();
}

void MessagePopup::fitToText() {
    const QRect screen = m_windows.noticeScreen();
    const int widest =
        std::max(WindowSize.width(), std::min(screen.width(), 4 * WindowSize.width()));
    const int tallest = std::max(WindowSize.height(), screen.height());
    // Wider only while the text would stand taller than a third of the screen.
    QSize fit = WindowSize;
    for (int w = WindowSize.width(); w <= widest; w = std::min(w + WidthStep, widest)) {
        fit = QSize(w, std::clamp(layout()->totalHeightForWidth(w), WindowSize.height(), tallest));
        if (fit.height() <= tallest / 3 || w == widest)
            break;
    }
    setFixedSize(fit);
    move(NoticePlacement::place(size(), screen, m_windows.noticeWorkAreaBottom(), false));
}

QString MessagePopup::message() const {
    return m_message->text();
}

void MessagePopup::clicked() {
    // A double-click delivers two releases before the window is gone.
    if (m_done)
        return;
    m_done = true;
    m_msgTimer.stop();
    const QPointer<MessagePopup> self(this);
    const PopAction action = PopAction::parse(m_action);
    switch (action.kind) {
    case PopAction::OpenAddress:
        m_shell.openUrl(action.address);
        break;
    case PopAction::ShowTool:
        if (m_showTool)
            m_showTool(action.tool);
        break;
    case PopAction::None:
        break;
    }
    // The command may have ended the program's windows already.
    if (self)
        close();
}

void MessagePopup::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void MessagePopup::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        clicked();
}
