// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortalGlobalKeys.h"

#include "base/Log.h"

#include <QDBusPendingCallWatcher>
#include <QRandomGenerator>
#include <QTimer>

namespace {
// A portal call answers at once; the user's confirmation comes later as a signal.
constexpr int CallTimeoutMs = 25000;

QString tokenPrefix() {
    return QStringLiteral("plumora%1_")
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}
} // namespace

PortalGlobalKeys::PortalGlobalKeys(const QDBusConnection& bus, const QString& appId,
                                   QObject* parent)
    : GlobalKeys(parent), m_bus(bus), m_dialogue(appId, bus.baseService(), tokenPrefix()) {
    // Any sender and any request path: the portal answers from its unique name, on the
    // request object the token names. The dialogue picks what is its own.
    const QString service;
    m_bus.connect(service, QString(), QLatin1String(PortalShortcuts::RequestInterface),
                  QStringLiteral("Response"), this, SLOT(onSignal(QDBusMessage)));
    m_bus.connect(service, QString(), QLatin1String(PortalShortcuts::SessionInterface),
                  QStringLiteral("Closed"), this, SLOT(onSignal(QDBusMessage)));
    for (const QString& member : {QStringLiteral("Activated"), QStringLiteral("ShortcutsChanged")})
        m_bus.connect(service, QLatin1String(PortalShortcuts::ObjectPath),
                      QLatin1String(PortalShortcuts::Interface), member, this,
                      SLOT(onSignal(QDBusMessage)));
    send(m_dialogue.start());
}

GlobalKeys::Way PortalGlobalKeys::way() const {
    return m_offered ? Way::Portal : Way::None;
}

GlobalKeys::State PortalGlobalKeys::bind(const QString& name, const QKeySequence& key) {
    if (key.isEmpty())
        m_keys.remove(name);
    else
        m_keys.insert(name, key);
    if (!m_flushQueued) {
        // Keys chosen together (all of them at start-up) go to the portal in one request.
        m_flushQueued = true;
        QTimer::singleShot(0, this, &PortalGlobalKeys::flush);
    }
    const State state = key.isEmpty() ? State::Unbound
                        : m_offered   ? State::Pending
                                      : State::Unusable;
    m_told.insert(name, state);
    return state;
}

void PortalGlobalKeys::describe(const QString& name, const QString& description) {
    m_descriptions.insert(name, description);
}

QString PortalGlobalKeys::trigger(const QString& name) const {
    return m_dialogue.triggerDescription(name);
}

QString PortalGlobalKeys::problem(const QString& name) const {
    return m_dialogue.problem(name);
}

void PortalGlobalKeys::flush() {
    m_flushQueued = false;
    QList<PortalShortcuts::Wanted> wanted;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it)
        wanted << PortalShortcuts::Wanted{it.key(), m_descriptions.value(it.key(), it.key()),
                                          it.value()};
    send(m_dialogue.setShortcuts(wanted));
    settle();
}

void PortalGlobalKeys::send(const QList<QDBusMessage>& calls) {
    for (const QDBusMessage& call : calls) {
        if (call.interface() == QLatin1String(PortalShortcuts::SessionInterface)) {
            // Closing a session needs no answer.
            if (!m_bus.send(call))
                qCWarning(lcDesktop)
                    << "the portal's session cannot be closed:" << m_bus.lastError().message();
            continue;
        }
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CallTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, call](QDBusPendingCallWatcher* w) {
                    w->deleteLater();
                    send(m_dialogue.replied(call, w->reply()));
                    settle();
                });
    }
}

void PortalGlobalKeys::onSignal(const QDBusMessage& signal) {
    if (const QString id = m_dialogue.activated(signal); !id.isEmpty()) {
        Q_EMIT activated(id);
        return;
    }
    QHash<QString, QString> triggers;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it)
        triggers.insert(it.key(), m_dialogue.triggerDescription(it.key()));
    send(m_dialogue.signalled(signal));
    settle();
    // A key the user changed in the desktop's settings is shown anew.
    for (auto it = triggers.cbegin(); it != triggers.cend(); ++it)
        if (m_dialogue.triggerDescription(it.key()) != it.value() &&
            m_told.value(it.key()) == State::Bound)
            Q_EMIT stateChanged(it.key(), State::Bound);
}

void PortalGlobalKeys::settle() {
    if (m_offered && !m_dialogue.offered()) {
        m_offered = false;
        Q_EMIT wayChanged();
    }
    if (m_flushQueued)
        return; // the dialogue has not been told the latest keys yet
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
        const State state = m_dialogue.state(it.key());
        if (m_told.value(it.key()) == state)
            continue;
        m_told.insert(it.key(), state);
        if (state == State::Refused)
            qCWarning(lcDesktop) << "the portal did not bind" << it.key() << ':'
                                 << m_dialogue.problem(it.key());
        Q_EMIT stateChanged(it.key(), state);
    }
}
