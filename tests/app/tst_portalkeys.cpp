// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "capture/ui/FullScreen.h"
#include "capture/ui/ScreenCapture.h"
#include "keys/Shortcuts.h"
#include "keys/ui/KeysOptionsGroup.h"
#include "mock/Install.h"
#include "mock/PrivateBus.h"
#include "platform/PortalGlobalKeys.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include <memory>

// Global keys on a Wayland session: the program with the desktop portal's shortcuts, against
// a fake portal (python3-dbusmock) on a session bus of the test's own.
class TestPortalKeys : public QObject {
    Q_OBJECT

    PrivateBus m_bus;
    QString m_address;
    QProcess m_portal;
    int m_connections = 0;

    struct Program {
        Install in;
        PortalGlobalKeys keys;
        AppContext context;
        Application app;
        explicit Program(const QDBusConnection& bus)
            : keys(bus, QStringLiteral("org.example.Plumora")),
              context{in.context.paths,         in.context.clock,
                      in.context.windows,       in.context.shell,
                      in.context.dialogs,       in.context.registry,
                      in.context.network,       in.context.mail,
                      in.context.processes,     in.context.grabber,
                      in.context.pictureOutput, in.context.downloads,
                      in.context.secrets,       keys,
                      in.context.stores,        in.context.onlineAccounts},
              app(context) {
            app.dispatcher().setQuitHandler([] {});
            app.controller().create();
            in.desktop.grabber.answer = {QImage(QSize(64, 48), QImage::Format_RGB32), {}};
        }
        Shortcuts* shortcuts() { return app.tool<Shortcuts>(QStringLiteral("Keys")); }
        ScreenCapture* capture() {
            return app.tool<CaptureTool>(QStringLiteral("SCapture"))->page();
        }
    };

    // A connection of the program's own to the test's bus.
    QDBusConnection connect() {
        return QDBusConnection::connectToBus(m_address,
                                             QStringLiteral("program%1").arg(++m_connections));
    }

    // The fake portal, with the template's parameters (JSON).
    bool startPortal(const QByteArray& parameters) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        m_portal.setProcessEnvironment(env);
        m_portal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_portal.start(QStringLiteral(PLUMORA_DBUSMOCK_PYTHON),
                       {"-m", "dbusmock", "--template", PLUMORA_FAKE_PORTAL, "-p",
                        QString::fromUtf8(parameters)});
        if (!m_portal.waitForStarted())
            return false;
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("test"));
        const QDeadlineTimer deadline(10000);
        while (!bus.interface()->isServiceRegistered(
                   QStringLiteral("org.freedesktop.portal.Desktop")) &&
               m_portal.state() == QProcess::Running && !deadline.hasExpired())
            QTest::qWait(20);
        return m_portal.state() == QProcess::Running;
    }

    QDBusMessage mock(const QString& method, const QVariantList& args = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop",
                                                           "/org/freedesktop/portal/desktop",
                                                           "org.freedesktop.DBus.Mock", method);
        call.setArguments(args);
        return QDBusConnection::connectToBus(m_address, QStringLiteral("test")).call(call);
    }

    // The portal's calls in order, by name with their arguments.
    QList<std::pair<QString, QVariantList>> portalCalls() {
        QList<std::pair<QString, QVariantList>> calls;
        const QDBusMessage reply = mock("GetCalls");
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            qulonglong time = 0;
            QString name;
            QVariantList args;
            list.beginStructure();
            list >> time >> name >> args;
            list.endStructure();
            calls.append({name, args});
        }
        list.endArray();
        return calls;
    }

private Q_SLOTS:
    void initTestCase() {
        if (!PrivateBus::available())
            QSKIP("dbus-daemon is not installed");
        if (QProcess::execute(PLUMORA_DBUSMOCK_PYTHON, {"-c", "import dbusmock"}) != 0)
            QSKIP("python3-dbusmock is not installed");
        QVERIFY(m_bus.start());
        m_address = m_bus.address();
    }
    void cleanup() {
        m_portal.terminate();
        m_portal.waitForFinished();
    }
    void cleanupTestCase() { m_bus.stop(); }

    // The app id is registered before anything else; the key chosen is bound through a
    // session, Options shows the key the desktop bound, and the desktop's Activated opens the
    // area selector. A key changed in the desktop's settings shows in Options.
    void aKeyBoundByThePortalOpensTheSelector() {
        QVERIFY(startPortal(R"({"shortcuts": true})"));
        Program p(connect());
        QTRY_COMPARE(p.keys.dialogue().phase(), PortalShortcuts::Phase::Ready);
        QCOMPARE(p.keys.way(), GlobalKeys::Way::Portal);
        KeysOptionsGroup group(*p.shortcuts());
        QVERIFY(group.findChild<QLabel*>("KeysIntroLB")->text().contains("confirm"));
        QVERIFY(group.editor(0)->isEnabled());

        p.shortcuts()->choose(0, QKeySequence(Qt::Key_Print));
        QCOMPARE(p.shortcuts()->state(0), GlobalKeys::State::Pending);
        QCOMPARE(group.statusLabel(0)->text(), "Waiting for the desktop to confirm Print…");
        QTRY_COMPARE(p.shortcuts()->state(0), GlobalKeys::State::Bound);
        QCOMPARE(group.statusLabel(0)->text(), "The desktop runs it on Bound Print.");
        QCOMPARE(p.in.value("SELECT CaptureKey FROM KeySettings").toString(), "Print");

        const auto calls = portalCalls();
        QStringList names;
        for (const auto& [name, args] : calls)
            names << name;
        QCOMPARE(names, (QStringList{"Register", "CreateSession", "BindShortcuts"}));
        QCOMPARE(calls[0].second.value(0).toString(), "org.example.Plumora");
        const auto bound = qdbus_cast<QList<PortalShortcut>>(calls[2].second.value(1));
        QCOMPARE(bound.size(), 1);
        QCOMPARE(bound[0].id, "CaptureKey");
        QCOMPARE(bound[0].properties.value("description").toString(), "Capture an area");
        QCOMPARE(bound[0].properties.value("preferred_trigger").toString(), "Print");

        QVERIFY(!p.capture() || !p.capture()->fullScreen());
        QCOMPARE(mock("Press", {"CaptureKey"}).type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(p.capture() && p.capture()->fullScreen());
        QCOMPARE(p.capture()->fullScreen()->mode(), FullScreen::Mode::Capture);

        mock("Change", {"CaptureKey", "Ctrl+Alt+P"});
        QTRY_COMPARE(group.statusLabel(0)->text(), "The desktop runs it on Ctrl+Alt+P.");
    }

    // The user cancels the portal's dialog: Options says so, nothing is bound.
    void aCancelledDialogIsReported() {
        QVERIFY(startPortal(R"({"bind_response": 1, "registry": false})"));
        Program p(connect());
        KeysOptionsGroup group(*p.shortcuts());
        p.shortcuts()->choose(1, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
        QTRY_COMPARE(p.shortcuts()->state(1), GlobalKeys::State::Refused);
        QCOMPARE(group.statusLabel(1)->text(),
                 "The shortcuts were not confirmed in the desktop's dialog.");
        QVERIFY(!group.statusLabel(1)->isHidden());
    }

    // A portal without global shortcuts: the group falls back to the commands to bind, and
    // a key chosen before that was known is not left waiting.
    void aPortalWithoutTheInterfaceFallsBack() {
        QVERIFY(startPortal(R"({"shortcuts": false})"));
        Program p(connect());
        KeysOptionsGroup group(*p.shortcuts());
        p.shortcuts()->choose(0, QKeySequence(Qt::Key_Print));
        QTRY_COMPARE(p.keys.way(), GlobalKeys::Way::None);
        const QString intro = group.findChild<QLabel*>("KeysIntroLB")->text();
        QVERIFY2(intro.contains("offers no global shortcuts"), qPrintable(intro));
        QVERIFY(intro.contains("plumora --capture"));
        QVERIFY(!group.editor(0)->isEnabled());
        QCOMPARE(p.shortcuts()->state(0), GlobalKeys::State::Unusable);
        QVERIFY(group.statusLabel(0)->isHidden());
    }
};

QTEST_MAIN(TestPortalKeys)
#include "tst_portalkeys.moc"
