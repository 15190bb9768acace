// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/AppEventRules.h"

#include "shell/ui/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>

AppEventRules* AppEventRules::install() {
    auto* app = qApp;
    if (!app)
        return nullptr;
    if (auto* rules = app->findChild<AppEventRules*>(QString(), Qt::FindDirectChildrenOnly))
        return rules;
    auto* rules = new AppEventRules(app);
    app->installEventFilter(rules);
    return rules;
}

void AppEventRules::setOnlyWhileActive(bool on) {
    if (on == m_onlyWhileActive)
        return;
    m_onlyWhileActive = on;
    if (on)
        connect(qApp, &QGuiApplication::applicationStateChanged, this, &AppEventRules::follow);
    else
        disconnect(qApp, &QGuiApplication::applicationStateChanged, this, &AppEventRules::follow);
    follow(on ? QGuiApplication::applicationState() : Qt::ApplicationActive);
}

void AppEventRules::follow(Qt::ApplicationState state) {
    // The state turns active before the window's first key or tooltip is delivered.
    if (state == Qt::ApplicationActive)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool AppEventRules::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            break;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            break;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        // Only the button that has the keys: a key passed on to its parents is not its own.
        if (!button || !button->hasFocus() || !button->isEnabled() ||
            !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button)))
            break;
        // Held down, the key presses the button once.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->isAutoRepeat() || key->modifiers() != Qt::NoModifier ||
            !watched->isWidgetType() ||
            !isSignalConnected(QMetaMethod::fromSignal(&AppEventRules::helpRequested)))
            break;
        // The first widget to see the key decides; the parents it would propagate to must
        // not ask for the topic a second time.
        Q_EMIT helpRequested(HelpKey::topicFor(static_cast<QWidget*>(watched)));
        return true;
    }
    case QEvent::Show: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->isWindow() || widget->windowType() == Qt::ToolTip ||
            widget->windowType() == Qt::Popup || !QToolTip::isVisible())
            break;
        // At once: QToolTip::hideText() lets the tip linger a moment over the new window.
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* tip : windows)
            if (tip->windowType() == Qt::ToolTip && tip->isVisible())
                tip->hide();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
