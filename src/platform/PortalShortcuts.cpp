// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortalShortcuts.h"

#include "base/Log.h"
#include "platform/X11Keys.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {
const QString HandleToken = QStringLiteral("handle_token");
const QString Shortcuts = QStringLiteral("shortcuts");

QString pathOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}
} // namespace

QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcut& shortcut) {
    out.beginStructure();
    out << shortcut.id << shortcut.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcut& shortcut) {
    in.beginStructure();
    in >> shortcut.id >> shortcut.properties;
    in.endStructure();
    return in;
}

PortalShortcuts::PortalShortcuts(QString appId, QString uniqueName, QString tokenPrefix)
    : m_appId(std::move(appId)), m_sender(uniqueName.mid(1).replace(u'.', u'_')),
      m_tokenPrefix(std::move(tokenPrefix)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

QString PortalShortcuts::trigger(const QKeySequence& key) {
    if (key.isEmpty())
        return {};
    const QKeyCombination combination = key[0];
    const QString name = X11Keys::keysymName(combination.key());
    if (name.isEmpty())
        return {};
    QString text;
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        text += QStringLiteral("CTRL+");
    if (modifiers & Qt::AltModifier)
        text += QStringLiteral("ALT+");
    if (modifiers & Qt::ShiftModifier)
        text += QStringLiteral("SHIFT+");
    if (modifiers & Qt::MetaModifier)
        text += QStringLiteral("LOGO+");
    return text + name;
}

QString PortalShortcuts::nextToken() {
    return m_tokenPrefix + QString::number(++m_tokens);
}

QDBusMessage PortalShortcuts::portalCall(const char* interface, const char* method) const {
    return QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(ObjectPath),
                                          QLatin1String(interface), QLatin1String(method));
}

QString PortalShortcuts::requestFor(const QString& token) const {
    return QLatin1String(ObjectPath) + QStringLiteral("/request/") + m_sender + u'/' + token;
}

QList<QDBusMessage> PortalShortcuts::start() {
    if (m_phase != Phase::Idle)
        return {};
    m_phase = Phase::Registering;
    QDBusMessage call = portalCall(RegistryInterface, "Register");
    call << m_appId << QVariantMap();
    return {call};
}

QList<QDBusMessage> PortalShortcuts::setShortcuts(const QList<Wanted>& wanted) {
    m_wanted.clear();
    for (const Wanted& w : wanted)
        if (!w.key.isEmpty())
            m_wanted << w;
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Registering:
    case Phase::Detecting:
    case Phase::Unavailable:
        return {}; // taken once the interface is known to be there
    case Phase::CreatingSession:
    case Phase::Binding:
        m_again = true;
        return {};
    case Phase::Ready:
    case Phase::Bound:
    case Phase::Failed:
        break;
    }
    QList<QDBusMessage> calls = closeSession();
    calls << createSession();
    return calls;
}

QList<QDBusMessage> PortalShortcuts::closeSession() {
    m_bound.clear();
    m_triggers.clear();
    if (m_session.isEmpty())
        return {};
    const QDBusMessage close =
        QDBusMessage::createMethodCall(QLatin1String(Service), m_session,
                                       QLatin1String(SessionInterface), QStringLiteral("Close"));
    m_session.clear();
    return {close};
}

QList<QDBusMessage> PortalShortcuts::createSession() {
    m_problem.clear();
    if (m_wanted.isEmpty()) {
        m_phase = Phase::Ready;
        return {};
    }
    m_phase = Phase::CreatingSession;
    const QString token = nextToken();
    m_request = requestFor(token);
    const QString sessionToken = m_tokenPrefix + QStringLiteral("s") + QString::number(m_tokens);
    QDBusMessage call = portalCall(Interface, "CreateSession");
    call << QVariantMap{{HandleToken, QVariant(token)},
                        {QStringLiteral("session_handle_token"), QVariant(sessionToken)}};
    return {call};
}

QList<QDBusMessage> PortalShortcuts::bind() {
    m_phase = Phase::Binding;
    QList<PortalShortcut> list;
    for (const Wanted& w : std::as_const(m_wanted)) {
        QVariantMap properties{{QStringLiteral("description"), w.description}};
        if (const QString preferred = trigger(w.key); !preferred.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), preferred);
        list << PortalShortcut{w.id, properties};
    }
    const QString token = nextToken();
    m_request = requestFor(token);
    QDBusMessage call = portalCall(Interface, "BindShortcuts");
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(list)
         << QString() // no parent window: Plumora lives in the tray
         << QVariantMap{{HandleToken, QVariant(token)}};
    return {call};
}

QList<QDBusMessage> PortalShortcuts::settled() {
    if (!std::exchange(m_again, false))
        return {};
    QList<QDBusMessage> calls = closeSession();
    calls << createSession();
    return calls;
}

void PortalShortcuts::fail(const QString& problem, const QString& logged) {
    qCWarning(lcDesktop) << "global shortcuts through the portal:" << logged;
    m_phase = Phase::Failed;
    m_problem = problem;
    m_request.clear();
}

QList<QDBusMessage> PortalShortcuts::replied(const QDBusMessage& call, const QDBusMessage& reply) {
    const bool error = reply.type() == QDBusMessage::ErrorMessage;
    const QString member = call.member();
    if (m_phase == Phase::Registering && member == QLatin1String("Register")) {
        // Portals before the registry take the app id from elsewhere; that is fine.
        if (error)
            qCInfo(lcDesktop) << "the portal did not register the app id:" << reply.errorName()
                              << reply.errorMessage();
        m_phase = Phase::Detecting;
        QDBusMessage get = QDBusMessage::createMethodCall(
            QLatin1String(Service), QLatin1String(ObjectPath),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QLatin1String(Interface) << QStringLiteral("version");
        return {get};
    }
    if (m_phase == Phase::Detecting && member == QLatin1String("Get")) {
        const QVariant value = reply.arguments().value(0);
        if (error || !value.isValid()) {
            qCInfo(lcDesktop) << "the desktop offers no global shortcuts:" << reply.errorName()
                              << reply.errorMessage();
            m_phase = Phase::Unavailable;
            return {};
        }
        m_version = value.value<QDBusVariant>().variant().toUInt();
        m_phase = Phase::Ready;
        return createSession();
    }
    const bool creating =
        m_phase == Phase::CreatingSession && member == QLatin1String("CreateSession");
    const bool binding = m_phase == Phase::Binding && member == QLatin1String("BindShortcuts");
    if (!creating && !binding)
        return {}; // the reply to a request given up since
    // Only the current request's reply counts: its token is in the call's options.
    const QVariantMap options = call.arguments().last().toMap();
    if (requestFor(options.value(HandleToken).toString()) != m_request)
        return {};
    if (error) {
        fail(tr("The desktop refused the global shortcuts (%1).").arg(reply.errorMessage()),
             reply.errorName() + u' ' + reply.errorMessage());
        return settled();
    }
    // Portals older than the token convention pick a path of their own.
    if (const QString path = pathOf(reply.arguments().value(0)); !path.isEmpty())
        m_request = path;
    return {};
}

QList<QDBusMessage> PortalShortcuts::signalled(const QDBusMessage& signal) {
    const QList<QVariant> args = signal.arguments();
    if (signal.interface() == QLatin1String(RequestInterface) &&
        signal.member() == QLatin1String("Response")) {
        if (m_request.isEmpty() || signal.path() != m_request || args.size() < 2)
            return {};
        m_request.clear();
        const uint response = args[0].toUInt();
        const QVariantMap results = qdbus_cast<QVariantMap>(args[1]);
        if (response == 1) {
            fail(tr("The shortcuts were not confirmed in the desktop's dialog."),
                 QStringLiteral("cancelled by the user"));
            return settled();
        }
        if (response != 0) {
            fail(tr("The desktop refused the global shortcuts."),
                 QStringLiteral("refused, response %1").arg(response));
            return settled();
        }
        if (m_phase == Phase::CreatingSession) {
            m_session = pathOf(results.value(QStringLiteral("session_handle")));
            if (m_session.isEmpty()) {
                fail(tr("The desktop refused the global shortcuts."),
                     QStringLiteral("the session's answer named no session"));
                return settled();
            }
            if (m_again) {
                m_again = false;
                QList<QDBusMessage> calls = closeSession();
                calls << createSession();
                return calls;
            }
            return bind();
        }
        if (m_phase == Phase::Binding) {
            m_phase = Phase::Bound;
            takeShortcuts(results.value(Shortcuts));
            return settled();
        }
        return {};
    }
    if (signal.interface() == QLatin1String(Interface) &&
        signal.member() == QLatin1String("ShortcutsChanged") && args.size() >= 2) {
        if (m_phase == Phase::Bound && pathOf(args[0]) == m_session)
            takeShortcuts(args[1]);
        return {};
    }
    if (signal.interface() == QLatin1String(SessionInterface) &&
        signal.member() == QLatin1String("Closed") && !m_session.isEmpty() &&
        signal.path() == m_session) {
        m_session.clear();
        m_bound.clear();
        m_triggers.clear();
        if (m_phase == Phase::Bound)
            fail(tr("The desktop ended the global shortcuts. Choose the keys again to bind them."),
                 QStringLiteral("the portal closed the session"));
        return {};
    }
    return {};
}

void PortalShortcuts::takeShortcuts(const QVariant& list) {
    m_bound.clear();
    m_triggers.clear();
    for (const PortalShortcut& shortcut : qdbus_cast<QList<PortalShortcut>>(list)) {
        m_bound.insert(shortcut.id);
        m_triggers.insert(
            shortcut.id,
            shortcut.properties.value(QStringLiteral("trigger_description")).toString());
    }
}

QString PortalShortcuts::activated(const QDBusMessage& signal) const {
    const QList<QVariant> args = signal.arguments();
    if (signal.interface() != QLatin1String(Interface) ||
        signal.member() != QLatin1String("Activated") || args.size() < 2 ||
        m_phase != Phase::Bound || pathOf(args[0]) != m_session)
        return {};
    const QString id = args[1].toString();
    return m_bound.contains(id) ? id : QString();
}

GlobalKeys::State PortalShortcuts::state(const QString& id) const {
    bool wanted = false;
    for (const Wanted& w : m_wanted)
        wanted = wanted || w.id == id;
    if (!wanted)
        return GlobalKeys::State::Unbound;
    switch (m_phase) {
    case Phase::Unavailable:
        return GlobalKeys::State::Unusable;
    case Phase::Failed:
        return GlobalKeys::State::Refused;
    case Phase::Bound:
        return m_bound.contains(id) ? GlobalKeys::State::Bound : GlobalKeys::State::Refused;
    default:
        return GlobalKeys::State::Pending;
    }
}

QString PortalShortcuts::problem(const QString& id) const {
    if (state(id) != GlobalKeys::State::Refused)
        return {};
    // Bound, but not this one: the user left it out in the portal's dialog.
    return m_problem.isEmpty() ? tr("The shortcut was not confirmed in the desktop's dialog.")
                               : m_problem;
}
