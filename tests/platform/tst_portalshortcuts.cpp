// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortalShortcuts.h"

#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTest>

// The dialogue with the portal's global shortcuts, fed the replies and signals a portal
// sends, without a bus.
class TestPortalShortcuts : public QObject {
    Q_OBJECT

    using State = GlobalKeys::State;
    using Phase = PortalShortcuts::Phase;
    const QString Request = QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/");
    const QString Session = QStringLiteral("/org/freedesktop/portal/desktop/session/1_42/s");
    const QList<PortalShortcuts::Wanted> Wanted{
        {QStringLiteral("CaptureKey"), QStringLiteral("Capture an area"),
         QKeySequence(Qt::Key_Print)},
        {QStringLiteral("NewNoteKey"), QStringLiteral("New note"),
         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N)}};

    static QDBusMessage response(const QString& path, uint code, const QVariantMap& results) {
        QDBusMessage signal = QDBusMessage::createSignal(
            path, QLatin1String(PortalShortcuts::RequestInterface), QStringLiteral("Response"));
        signal << code << results;
        return signal;
    }
    static QDBusMessage portalSignal(const char* name, const QVariantList& args) {
        QDBusMessage signal =
            QDBusMessage::createSignal(QLatin1String(PortalShortcuts::ObjectPath),
                                       QLatin1String(PortalShortcuts::Interface), name);
        signal.setArguments(args);
        return signal;
    }
    static QVariant bound(const QList<std::pair<QString, QString>>& triggers) {
        QList<PortalShortcut> list;
        for (const auto& [id, trigger] : triggers)
            list << PortalShortcut{id, {{QStringLiteral("trigger_description"), trigger}}};
        return QVariant::fromValue(list);
    }
    // Up to the offered interface: the registry answered with `registry`, the version read.
    static QDBusMessage detected(PortalShortcuts& portal, const QDBusMessage& registry) {
        const QList<QDBusMessage> first = portal.start();
        const QDBusMessage reg = first.value(0);
        const QList<QDBusMessage> get =
            portal.replied(reg, registry.type() == QDBusMessage::ErrorMessage
                                    ? reg.createErrorReply(registry.errorName(), {})
                                    : reg.createReply());
        return get.value(0);
    }

private Q_SLOTS:
    // Registered, detected, a session made and the shortcuts bound; then pressed and changed
    // in the desktop's settings.
    void bindsThroughASession() {
        PortalShortcuts portal("org.example.Plumora", ":1.42", "t");
        const QList<QDBusMessage> first = portal.start();
        QCOMPARE(first.size(), 1);
        QCOMPARE(first[0].interface(), "org.freedesktop.host.portal.Registry");
        QCOMPARE(first[0].member(), "Register");
        QCOMPARE(first[0].arguments().value(0).toString(), "org.example.Plumora");
        // Keys chosen before the portal is known wait for it.
        QVERIFY(portal.setShortcuts(Wanted).isEmpty());
        QCOMPARE(portal.state("CaptureKey"), State::Pending);
        QCOMPARE(portal.state("CalendarKey"), State::Unbound);

        // A portal without the registry is fine.
        const QList<QDBusMessage> get = portal.replied(
            first[0], first[0].createErrorReply("org.freedesktop.DBus.Error.UnknownMethod", "no"));
        QCOMPARE(get.size(), 1);
        QCOMPARE(get[0].member(), "Get");
        QCOMPARE(get[0].arguments(),
                 (QVariantList{"org.freedesktop.portal.GlobalShortcuts", "version"}));
        const QList<QDBusMessage> create =
            portal.replied(get[0], get[0].createReply(QVariant::fromValue(QDBusVariant(2u))));
        QCOMPARE(portal.version(), 2u);
        QCOMPARE(create.size(), 1);
        QCOMPARE(create[0].member(), "CreateSession");
        const QVariantMap options = create[0].arguments().value(0).toMap();
        QCOMPARE(options.value("handle_token").toString(), "t1");
        QCOMPARE(options.value("session_handle_token").toString(), "ts1");
        QCOMPARE(portal.requestPath(), Request + "t1");
        QVERIFY(portal
                    .replied(create[0], create[0].createReply(
                                            QVariant::fromValue(QDBusObjectPath(Request + "t1"))))
                    .isEmpty());

        // Another request's answer is not this one's.
        QVERIFY(portal.signalled(response(Request + "other", 0, {{"session_handle", Session}}))
                    .isEmpty());
        QCOMPARE(portal.phase(), Phase::CreatingSession);
        const QList<QDBusMessage> bind =
            portal.signalled(response(Request + "t1", 0, {{"session_handle", Session}}));
        QCOMPARE(portal.session(), Session);
        QCOMPARE(bind.size(), 1);
        QCOMPARE(bind[0].member(), "BindShortcuts");
        const QVariantList args = bind[0].arguments();
        QCOMPARE(args.value(0).value<QDBusObjectPath>().path(), Session);
        const auto shortcuts = qdbus_cast<QList<PortalShortcut>>(args.value(1));
        QCOMPARE(shortcuts.size(), 2);
        QCOMPARE(shortcuts[0].id, "CaptureKey");
        QCOMPARE(shortcuts[0].properties.value("description").toString(), "Capture an area");
        QCOMPARE(shortcuts[0].properties.value("preferred_trigger").toString(), "Print");
        QCOMPARE(shortcuts[1].properties.value("preferred_trigger").toString(), "CTRL+ALT+n");
        QCOMPARE(args.value(2).toString(), QString());
        QCOMPARE(args.value(3).toMap().value("handle_token").toString(), "t2");
        QCOMPARE(portal.state("CaptureKey"), State::Pending);

        // The user confirmed the capture only.
        QVERIFY(portal
                    .signalled(response(Request + "t2", 0,
                                        {{"shortcuts", bound({{"CaptureKey", "Print"}})}}))
                    .isEmpty());
        QCOMPARE(portal.phase(), Phase::Bound);
        QCOMPARE(portal.state("CaptureKey"), State::Bound);
        QCOMPARE(portal.triggerDescription("CaptureKey"), "Print");
        QCOMPARE(portal.state("NewNoteKey"), State::Refused);
        QVERIFY(portal.problem("NewNoteKey").contains("not confirmed"));
        QVERIFY(portal.problem("CaptureKey").isEmpty());

        const quint64 time = 0;
        QCOMPARE(portal.activated(
                     portalSignal("Activated", {QVariant::fromValue(QDBusObjectPath(Session)),
                                                "CaptureKey", time, QVariantMap()})),
                 "CaptureKey");
        QCOMPARE(portal.activated(
                     portalSignal("Activated", {QVariant::fromValue(QDBusObjectPath(Session + "x")),
                                                "CaptureKey", time, QVariantMap()})),
                 QString());
        QCOMPARE(portal.activated(
                     portalSignal("Activated", {QVariant::fromValue(QDBusObjectPath(Session)),
                                                "NewNoteKey", time, QVariantMap()})),
                 QString());

        portal.signalled(portalSignal("ShortcutsChanged",
                                      {QVariant::fromValue(QDBusObjectPath(Session)),
                                       bound({{"CaptureKey", "Ctrl+P"}, {"NewNoteKey", "F9"}})}));
        QCOMPARE(portal.triggerDescription("CaptureKey"), "Ctrl+P");
        QCOMPARE(portal.state("NewNoteKey"), State::Bound);

        // The portal ending the session unbinds everything, with a reason.
        QDBusMessage closed = QDBusMessage::createSignal(
            Session, QLatin1String(PortalShortcuts::SessionInterface), QStringLiteral("Closed"));
        closed << QVariantMap();
        portal.signalled(closed);
        QCOMPARE(portal.state("CaptureKey"), State::Refused);
        QVERIFY(!portal.problem("CaptureKey").isEmpty());
    }

    // Keys changed while a request is on its way wait for its answer, then the session is
    // closed and a new one binds the new keys; the old request's late reply changes nothing.
    void aNewSetStartsANewSession() {
        PortalShortcuts portal("app", ":1.42", "t");
        const QDBusMessage get =
            detected(portal, QDBusMessage::createError("x.Unknown", QString()));
        QVERIFY(portal.replied(get, get.createReply(QVariant::fromValue(QDBusVariant(1u))))
                    .isEmpty()); // nothing wanted, no session
        QCOMPARE(portal.phase(), Phase::Ready);
        const QList<QDBusMessage> create = portal.setShortcuts(Wanted.mid(0, 1));
        QCOMPARE(create.size(), 1);
        const QList<QDBusMessage> bind =
            portal.signalled(response(Request + "t1", 0, {{"session_handle", Session}}));
        QVERIFY(portal.setShortcuts(Wanted).isEmpty());
        QCOMPARE(portal.state("NewNoteKey"), State::Pending);
        const QList<QDBusMessage> again = portal.signalled(
            response(Request + "t2", 0, {{"shortcuts", bound({{"CaptureKey", "Print"}})}}));
        QCOMPARE(again.size(), 2);
        QCOMPARE(again[0].path(), Session);
        QCOMPARE(again[0].member(), "Close");
        QCOMPARE(again[1].member(), "CreateSession");
        QCOMPARE(portal.requestPath(), Request + "t3");
        QCOMPARE(portal.state("CaptureKey"), State::Pending);
        // The first BindShortcuts' reply, late: not the request awaited now.
        QVERIFY(portal.replied(bind[0], bind[0].createErrorReply("x.Failed", "late")).isEmpty());
        QCOMPARE(portal.phase(), Phase::CreatingSession);

        // No key left: the session is closed and nothing is asked.
        portal.signalled(response(Request + "t3", 0, {{"session_handle", QString(Session + "2")}}));
        portal.signalled(
            response(Request + "t4", 0, {{"shortcuts", bound({{"CaptureKey", "Print"}})}}));
        const QList<QDBusMessage> none = portal.setShortcuts({});
        QCOMPARE(none.size(), 1);
        QCOMPARE(none[0].member(), "Close");
        QCOMPARE(portal.phase(), Phase::Ready);
        QCOMPARE(portal.state("CaptureKey"), State::Unbound);
    }

    // Refusals are told with their reason; a portal without the interface has no way.
    void refusals_data() {
        QTest::addColumn<QString>("step"); // where it fails
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no interface") << "detect" << 0u << "";
        QTest::newRow("session refused")
            << "create" << 0u << "refused the global shortcuts (denied)";
        QTest::newRow("session cancelled") << "session" << 1u << "not confirmed";
        QTest::newRow("user cancelled") << "bind" << 1u << "not confirmed";
        QTest::newRow("bind failed") << "bind" << 2u << "refused the global shortcuts";
    }
    void refusals() {
        QFETCH(QString, step);
        QFETCH(uint, code);
        QFETCH(QString, problem);
        PortalShortcuts portal("app", ":1.42", "t");
        portal.setShortcuts(Wanted);
        const QDBusMessage get = detected(portal, QDBusMessage());
        if (step == "detect") {
            portal.replied(get, get.createErrorReply("org.freedesktop.DBus.Error.InvalidArgs",
                                                     "No such interface"));
            QVERIFY(!portal.offered());
            QCOMPARE(portal.state("CaptureKey"), State::Unusable);
            QVERIFY(portal.setShortcuts(Wanted).isEmpty());
            return;
        }
        const QList<QDBusMessage> create =
            portal.replied(get, get.createReply(QVariant::fromValue(QDBusVariant(1u))));
        if (step == "create") {
            portal.replied(create[0], create[0].createErrorReply("x.Denied", "denied"));
        } else if (step == "session") {
            portal.signalled(response(Request + "t1", code, {}));
        } else {
            portal.signalled(response(Request + "t1", 0, {{"session_handle", Session}}));
            portal.signalled(response(Request + "t2", code, {}));
        }
        QCOMPARE(portal.phase(), Phase::Failed);
        QCOMPARE(portal.state("CaptureKey"), State::Refused);
        QVERIFY2(portal.problem("NewNoteKey").contains(problem),
                 qPrintable(portal.problem("NewNoteKey")));
        // Choosing again tries again.
        QCOMPARE(portal.setShortcuts(Wanted).last().member(), "CreateSession");
        QCOMPARE(portal.state("CaptureKey"), State::Pending);
    }

    void triggers() {
        QCOMPARE(PortalShortcuts::trigger(QKeySequence(Qt::Key_Print)), "Print");
        QCOMPARE(PortalShortcuts::trigger(QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_F9)),
                 "SHIFT+LOGO+F9");
        QCOMPARE(PortalShortcuts::trigger(QKeySequence(Qt::CTRL | Qt::Key_Comma)), "CTRL+comma");
        QCOMPARE(PortalShortcuts::trigger(QKeySequence(Qt::ALT | Qt::Key_PageDown)),
                 "ALT+Page_Down");
        QCOMPARE(PortalShortcuts::trigger(QKeySequence(Qt::Key_Shift)), QString());
        QCOMPARE(PortalShortcuts::trigger({}), QString());
    }
};

QTEST_GUILESS_MAIN(TestPortalShortcuts)
#include "tst_portalshortcuts.moc"
