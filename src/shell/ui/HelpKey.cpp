// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/HelpKey.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

QString HelpKey::topicFor(const QWidget* widget) {
    const QWidget* w = widget;
    while (w && !w->isWindow() && !w->property(WindowProperty).toBool())
        w = w->parentWidget();
    if (w) {
        const QString topic = w->property(TopicProperty).toString();
        if (!topic.isEmpty())
            return topic;
    }
    if (!w || w->objectName().isEmpty())
        return QStringLiteral("index.htm");
    return w->objectName().toLower() + QStringLiteral(".htm");
}

void HelpKey::send(QWidget* target) {
    if (!target)
        return;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, {}));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_F1, {}));
}
