// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/GlobalKeys.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantMap>

// One shortcut as the portal takes and gives it (D-Bus "(sa{sv})"): its id and its
// properties (description, preferred_trigger, trigger_description).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)
QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcut& shortcut);

// The dialogue with the desktop portal's global shortcuts, without a bus: it says which
// calls to make and is fed their replies and the portal's signals.
//
// The app id is registered first (a portal without the registry is fine), then the
// interface's `version` is read: an error means the desktop offers no global shortcuts.
// Holding shortcuts is a session (CreateSession, answered by the Response of its request)
// with them bound (BindShortcuts, answered the same way once the user confirmed them in the
// portal's own dialog). A new set of shortcuts ends the session and starts another, after
// any request on its way has been answered.
class PortalShortcuts {
    Q_DECLARE_TR_FUNCTIONS(PortalShortcuts)
public:
    static constexpr char Service[] = "org.freedesktop.portal.Desktop";
    static constexpr char ObjectPath[] = "/org/freedesktop/portal/desktop";
    static constexpr char Interface[] = "org.freedesktop.portal.GlobalShortcuts";
    static constexpr char RegistryInterface[] = "org.freedesktop.host.portal.Registry";
    static constexpr char RequestInterface[] = "org.freedesktop.portal.Request";
    static constexpr char SessionInterface[] = "org.freedesktop.portal.Session";

    enum class Phase {
        Idle,            // not started
        Registering,     // the app id is being registered
        Detecting,       // the interface's version is being read
        Ready,           // offered; no session
        CreatingSession, // CreateSession asked, its Response awaited
        Binding,         // BindShortcuts asked, its Response awaited
        Bound,           // the session holds the shortcuts
        Failed,          // the portal refused; problem() says why
        Unavailable,     // the desktop offers no global shortcuts
    };

    struct Wanted {
        QString id;
        QString description;
        QKeySequence key; // the key asked for
    };

    // `uniqueName`: the caller's name on the bus (":1.42"), which request paths hold;
    // `tokenPrefix` starts every handle token.
    PortalShortcuts(QString appId, QString uniqueName, QString tokenPrefix);

    // A key in the portal's notation of triggers ("CTRL+ALT+n", "Print"); empty for a key
    // that has none.
    static QString trigger(const QKeySequence& key);

    // The calls each step asks for, in order.
    QList<QDBusMessage> start();
    QList<QDBusMessage> setShortcuts(const QList<Wanted>& wanted);
    // `reply` (a method return or an error) answers `call`, a call made earlier.
    QList<QDBusMessage> replied(const QDBusMessage& call, const QDBusMessage& reply);
    // A signal from the portal: a request's Response, ShortcutsChanged, a session's Closed.
    QList<QDBusMessage> signalled(const QDBusMessage& signal);
    // The id of the shortcut an Activated signal of this session names; empty otherwise.
    QString activated(const QDBusMessage& signal) const;

    Phase phase() const { return m_phase; }
    bool offered() const { return m_phase != Phase::Unavailable; }
    QString session() const { return m_session; }
    // The request whose Response is awaited.
    QString requestPath() const { return m_request; }
    uint version() const { return m_version; }

    GlobalKeys::State state(const QString& id) const;
    // The key as the portal describes what it bound ("Ctrl+Alt+N").
    QString triggerDescription(const QString& id) const { return m_triggers.value(id); }
    // Why the shortcut `id` was refused, for the user; empty when it was not.
    QString problem(const QString& id) const;

private:
    QString nextToken();
    QDBusMessage portalCall(const char* interface, const char* method) const;
    // The request path the portal makes for `token`.
    QString requestFor(const QString& token) const;
    QList<QDBusMessage> createSession();
    QList<QDBusMessage> bind();
    // A request's Response (or an error reply in its place) arrived: start over when the
    // shortcuts changed meanwhile.
    QList<QDBusMessage> settled();
    QList<QDBusMessage> closeSession();
    void fail(const QString& problem, const QString& logged);
    void takeShortcuts(const QVariant& list);

    QString m_appId;
    QString m_sender;
    QString m_tokenPrefix;
    int m_tokens = 0;
    Phase m_phase = Phase::Idle;
    uint m_version = 0;
    QList<Wanted> m_wanted;
    bool m_again = false; // the wanted set changed while a request was on its way
    QString m_request;
    QString m_session;
    QSet<QString> m_bound;
    QHash<QString, QString> m_triggers;
    QString m_problem;
};
