// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/HelpKey.h"

#include "base/IdlePath.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

HelpKey::HelpKey(std::function<void(const QString&)> showTopic, QObject* parent)
    : QObject(parent), m_showTopic(std::move(showTopic)) {}

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

PLUMORA_IDLE_PATH bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease || !watched->isWidgetType())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->isAutoRepeat() || key->modifiers() != Qt::NoModifier)
        return false;
    // The first widget to see the key decides; the parents it would propagate to must not
    // open the topic a second time.
    if (m_showTopic)
        m_showTopic(topicFor(static_cast<QWidget*>(watched)));
    return true;
}
