// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/PrivateBus.h"
#include "shutdown/PowerControl.h"
#include "shutdown/ShutDownCommand.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// Records what it was asked and answers as the test says; never touches the machine.
struct FakePower final : PowerControl {
    QStringList calls;
    Result answer;
    Result powerOff() override {
        calls << QStringLiteral("powerOff");
        return answer;
    }
    Result hibernate() override {
        calls << QStringLiteral("hibernate");
        return answer;
    }
};

} // namespace

// A stand-in for logind's manager object on a private bus.
class FakeLogind : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    QAtomicInt refuse = 0;
    QStringList calls; // "PowerOff true" ...; read after the calls returned

public Q_SLOTS:
    void PowerOff(bool interactive) { answer(QStringLiteral("PowerOff"), interactive); }
    void Hibernate(bool interactive) { answer(QStringLiteral("Hibernate"), interactive); }

private:
    void answer(const QString& method, bool interactive) {
        calls << method + (interactive ? QStringLiteral(" true") : QStringLiteral(" false"));
        if (refuse.loadRelaxed())
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Permission denied"));
    }
};

class ShutDownTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void command_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("message");

        const int done = PowerControl::Result::Done;
        const int refused = PowerControl::Result::Refused;
        const int unreachable = PowerControl::Result::Unreachable;
        QTest::newRow("1 powers off")
            << QStringList{"1"} << done << 0 << QStringList{"powerOff"} << "";
        QTest::newRow("0 hibernates")
            << QStringList{"0"} << done << 0 << QStringList{"hibernate"} << "";
        QTest::newRow("refused") << QStringList{"1"} << refused << 1 << QStringList{"powerOff"}
                                 << "ShutDown: the request to power off was refused: Denied";
        QTest::newRow("logind unreachable")
            << QStringList{"0"} << unreachable << 1 << QStringList{"hibernate"}
            << "ShutDown: could not ask systemd-logind to hibernate: Denied";
        QTest::newRow("no argument") << QStringList{} << done << 2 << QStringList{} << "Usage";
        QTest::newRow("other argument")
            << QStringList{"2"} << done << 2 << QStringList{} << "Usage";
        QTest::newRow("two arguments")
            << QStringList{"1", "1"} << done << 2 << QStringList{} << "Usage";
    }

    void command() {
        QFETCH(QStringList, args);
        QFETCH(int, outcome);
        QFETCH(int, exitCode);
        QFETCH(QStringList, calls);
        QFETCH(QString, message);
        FakePower power;
        power.answer = {PowerControl::Result::Outcome(outcome), QStringLiteral("Denied")};
        QString text;
        QTextStream err(&text);
        QCOMPARE(runShutDown(args, power, err), exitCode);
        QCOMPARE(power.calls, calls);
        if (message.isEmpty())
            QVERIFY(text.isEmpty());
        else
            QVERIFY2(text.startsWith(message), qPrintable(text));
    }

    // The real D-Bus calls against a fake logind on a bus of the test's own.
    void logindOverPrivateBus() {
        if (!PrivateBus::available())
            QSKIP("dbus-daemon is not installed");
        PrivateBus bus;
        QVERIFY(bus.start());
        const QString address = bus.address();

        // The service answers from a thread of its own while the helper's call blocks.
        QThread serviceThread;
        FakeLogind logind;
        logind.moveToThread(&serviceThread);
        serviceThread.start();
        const auto stopThread = qScopeGuard([&] {
            serviceThread.quit();
            serviceThread.wait();
        });
        QDBusConnection server = QDBusConnection::connectToBus(address, QStringLiteral("server"));
        QVERIFY(server.isConnected());
        QVERIFY(server.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind,
                                      QDBusConnection::ExportAllSlots));
        QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("client"));
        LogindPowerControl power(client, 5000);

        // Before logind is there: unreachable.
        QCOMPARE(power.powerOff().outcome, PowerControl::Result::Unreachable);

        QVERIFY(server.registerService(QStringLiteral("org.freedesktop.login1")));
        QCOMPARE(power.powerOff().outcome, PowerControl::Result::Done);
        QCOMPARE(power.hibernate().outcome, PowerControl::Result::Done);
        logind.refuse = 1;
        const PowerControl::Result refused = power.powerOff();
        QCOMPARE(refused.outcome, PowerControl::Result::Refused);
        QCOMPARE(refused.detail, QStringLiteral("Permission denied"));
        QCOMPARE(logind.calls, (QStringList{"PowerOff true", "Hibernate true", "PowerOff true"}));

        // The helper itself, pointed at this bus, explains the refusal and fails.
        QProcess helper;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
        helper.setProcessEnvironment(env);
        helper.start(QStringLiteral(SHUTDOWN_EXE), {QStringLiteral("0")});
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitCode(), 1);
        QVERIFY(helper.readAllStandardError().contains("hibernate was refused: Permission denied"));
        QCOMPARE(logind.calls.size(), 4);

        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
    }
};

QTEST_GUILESS_MAIN(ShutDownTest)
#include "tst_shutdown.moc"
