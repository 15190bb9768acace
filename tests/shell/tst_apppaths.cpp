// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AppPaths.h"
#include "mock/FakeDesktop.h"
#include "mock/Unprivileged.h"
#include "shell/Autostart.h"
#include "shell/SessionPlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}
} // namespace

// Where the data lives, the installed layout's resources, the autostart entry and the
// platform choice on Wayland.
class TestAppPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theProgramFolderIsChosenByItsRule_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("home");
        QTest::addColumn<QString>("expected");
        QTest::newRow("PLUMORA_HOME wins") << "writable" << true << "home";
        QTest::newRow("a writable program folder stays portable") << "writable" << false << "exe";
        QTest::newRow("a folder holding data.plm keeps it") << "data" << false << "exe";
        QTest::newRow("an installed copy keeps data in the home") << "installed" << false << "xdg";
        QTest::newRow("an installed copy with data beside it keeps it")
            << "installed+data" << false << "exe";
        QTest::newRow("a read-only folder keeps data in the home") << "readonly" << false << "xdg";
    }
    void theProgramFolderIsChosenByItsRule() {
        QFETCH(QString, layout);
        QFETCH(bool, home);
        QFETCH(QString, expected);
        if (layout == QLatin1String("readonly"))
            RUN_UNPRIVILEGED_AS_ROOT(); // root writes to read-only folders
        QTemporaryDir root;
        const QString exe = root.filePath(QStringLiteral("usr/bin"));
        QDir().mkpath(exe);
        if (layout.contains(QLatin1String("installed")))
            touch(root.filePath(QStringLiteral("usr/share/plumora/data.src")));
        if (layout.contains(QLatin1String("data")))
            touch(exe + QStringLiteral("/data.plm"));
        if (layout == QLatin1String("readonly"))
            QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner);

        const AppPaths::Choice choice{home ? root.filePath(QStringLiteral("mine")) : QString(), exe,
                                      root.filePath(QStringLiteral("xdg"))};
        const QString chosen = AppPaths::programFolderFor(choice);
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString want = expected == QLatin1String("home")  ? root.filePath("mine")
                             : expected == QLatin1String("exe") ? exe
                                                                : root.filePath("xdg/plumora");
        QCOMPARE(chosen, want);
    }

    // Resources: the program folder first, then beside the program, then the share folder;
    // the ShutDown helper beside the program or in libexec.
    void resourcesAndHelpersOfAnInstalledCopy() {
        QTemporaryDir root;
        const QString exe = root.filePath(QStringLiteral("usr/bin"));
        touch(root.filePath(QStringLiteral("usr/share/plumora/help/index.htm")));
        touch(root.filePath(QStringLiteral("usr/share/plumora/data.src")));
        touch(root.filePath(QStringLiteral("usr/libexec/plumora/ShutDown")));
        const AppPaths paths(root.filePath(QStringLiteral("data")), exe);
        QVERIFY(paths.isInstalledCopy());
        QCOMPARE(paths.resource(QStringLiteral("help")),
                 root.filePath(QStringLiteral("usr/share/plumora/help")));
        QCOMPARE(paths.helperProgram(QStringLiteral("ShutDown")),
                 root.filePath(QStringLiteral("usr/libexec/plumora/ShutDown")));
        touch(root.filePath(QStringLiteral("data/help")));
        QCOMPARE(paths.resource(QStringLiteral("help")),
                 root.filePath(QStringLiteral("data/help")));
        QVERIFY(!AppPaths(exe, exe).isInstalledCopy());
    }

    void autostartIsWrittenOnceForAnInstalledCopy() {
        QTemporaryDir config;
        const Autostart autostart(config.path(), QStringLiteral("org.example.Plumora"),
                                  QStringLiteral("/opt/my apps/plumora"));
        FakeRegistry registry;
        AutostartOnFirstRun(autostart, registry, false).run();
        QVERIFY(!autostart.isEnabled()); // a portable copy never registers itself
        AutostartOnFirstRun(autostart, registry, true).run();
        QVERIFY(autostart.isEnabled());
        QFile entry(autostart.entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("Exec=\"/opt/my apps/plumora\"\n"));
        entry.close();

        Autostart(autostart).setEnabled(false); // the user switches it off in Options
        AutostartOnFirstRun(autostart, registry, true).run();
        QVERIFY(!autostart.isEnabled());
    }

    void waylandSessionsRunOnXWaylandUnlessChosen_data() {
        QTest::addColumn<QByteArray>("qpa");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("x11");
        QTest::addColumn<QByteArray>("expected");
        using B = QByteArray;
        QTest::newRow("Wayland with XWayland") << B() << B("wayland-0") << B(":0") << B("xcb");
        QTest::newRow("the user's choice stays")
            << B("wayland") << B("wayland-0") << B(":0") << B();
        QTest::newRow("no XWayland") << B() << B("wayland-0") << B() << B();
        QTest::newRow("plain X11") << B() << B() << B(":0") << B();
    }
    void waylandSessionsRunOnXWaylandUnlessChosen() {
        QFETCH(QByteArray, qpa);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, x11);
        QFETCH(QByteArray, expected);
        QCOMPARE(preferredQtPlatform(qpa, wayland, x11, wayland.isEmpty() ? "x11" : "wayland"),
                 expected);
    }

    // Only sway's X11 windows leave the window manager out, whichever way sway is told.
    void ownPlacementBypassesSwayOnly() {
        QVERIFY(ownPlacementBypassesWindowManager("xcb", "sway", ""));
        QVERIFY(ownPlacementBypassesWindowManager("xcb", "Sway:wlroots", ""));
        QVERIFY(ownPlacementBypassesWindowManager("xcb", "", "/run/user/1000/sway-ipc.sock"));
        QVERIFY(!ownPlacementBypassesWindowManager("xcb", "GNOME", ""));
        QVERIFY(!ownPlacementBypassesWindowManager("xcb", "swayfx-like", ""));
        QVERIFY(!ownPlacementBypassesWindowManager("wayland", "sway", "/run/sway-ipc.sock"));
    }
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
