// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/GlobalKeys.h"
#include "platform/PortalShortcuts.h"

#include <QDBusConnection>
#include <QHash>
#include <QMap>

// Global keys through the desktop portal (a Wayland session): the dialogue of
// PortalShortcuts carried over the session bus. Keys chosen together are bound in one
// request, so the portal asks the user once; the answers come as stateChanged.
class PortalGlobalKeys final : public GlobalKeys {
    Q_OBJECT
public:
    // Starts at once: registers `appId` and asks whether the portal offers the interface.
    PortalGlobalKeys(const QDBusConnection& bus, const QString& appId, QObject* parent = nullptr);

    Way way() const override;
    State bind(const QString& name, const QKeySequence& key) override;
    void describe(const QString& name, const QString& description) override;
    QString trigger(const QString& name) const override;
    QString problem(const QString& name) const override;

    const PortalShortcuts& dialogue() const { return m_dialogue; }

private Q_SLOTS:
    void onSignal(const QDBusMessage& signal);

private:
    void send(const QList<QDBusMessage>& calls);
    void flush();
    // Tells every state that changed since it was last told.
    void settle();

    QDBusConnection m_bus;
    PortalShortcuts m_dialogue;
    QMap<QString, QKeySequence> m_keys;
    QHash<QString, QString> m_descriptions;
    QHash<QString, State> m_told;
    bool m_offered = true;
    bool m_flushQueued = false;
};
