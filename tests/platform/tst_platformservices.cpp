// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/Fifo.h"
#include "platform/DesktopEntries.h"
#include "platform/LinuxDesktop.h"
#include "platform/NetworkReach.h"
#include "platform/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {
void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
using Files = QMap<QString, QString>;
const QString Root = QStringLiteral("HKEY_CURRENT_USER");
const QString Key = QStringLiteral("Control Panel\\Desktop");
} // namespace

class TestPlatformServices : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    // Online needs a default route that is up, off loopback and not a refusal, in either
    // table; the kernel's tables as they read on a machine with and without a network.
    void onlineByTheDefaultRoute_data() {
        QTest::addColumn<QByteArray>("ipv4");
        QTest::addColumn<QByteArray>("ipv6");
        QTest::addColumn<bool>("online");
        const QByteArray head = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask"
                                "\t\tMTU\tWindow\tIRTT\n";
        const QByteArray lan = "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
        const QByteArray v6Unreachable = "00000000000000000000000000000000 00 "
                                         "00000000000000000000000000000000 00 "
                                         "00000000000000000000000000000000 ffffffff 00000001 "
                                         "00000000 00200200       lo\n";
        QTest::newRow("ipv4 default") << head + lan +
                                             "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t"
                                             "00000000\t0\t0\t0\n"
                                      << v6Unreachable << true;
        QTest::newRow("local network only") << head + lan << v6Unreachable << false;
        QTest::newRow("default route down") << head + lan +
                                                   "eth0\t00000000\t0102A8C0\t0002\t0\t0\t100\t"
                                                   "00000000\t0\t0\t0\n"
                                            << QByteArray() << false;
        QTest::newRow("ipv6 default")
            << head
            << QByteArray("00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                          "fe800000000000000000000000000001 00000400 00000001 00000000 00450003 "
                          "    wlan0\n")
            << true;
        QTest::newRow("nothing readable") << QByteArray() << QByteArray() << false;
    }
    void onlineByTheDefaultRoute() {
        QFETCH(QByteArray, ipv4);
        QFETCH(QByteArray, ipv6);
        QFETCH(bool, online);
        QCOMPARE(NetworkReach::hasDefaultRoute(ipv4, ipv6), online);
    }

    void networkManagerStatesThatDecide() {
        QCOMPARE(NetworkReach::fromManagerState(70), std::optional<bool>(true));
        QCOMPARE(NetworkReach::fromManagerState(60), std::optional<bool>(true));
        QCOMPARE(NetworkReach::fromManagerState(50), std::optional<bool>(false));
        QCOMPARE(NetworkReach::fromManagerState(20), std::optional<bool>(false));
        // Unknown, or a state it may add: the routing table decides.
        QCOMPARE(NetworkReach::fromManagerState(0), std::nullopt);
        QCOMPARE(NetworkReach::fromManagerState(80), std::nullopt);
    }

    // Opening an address is a success only when a program took it: xdg-open's verdict.
    void openingTellsWhetherAProgramTookTheAddress_data() {
        QTest::addColumn<QByteArray>("opener");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no handler")
            << QByteArray("echo 'no method available' >&2; exit 3") << false;
        QTest::newRow("handed over") << QByteArray("exit 0") << true;
    }
    void openingTellsWhetherAProgramTookTheAddress() {
        QFETCH(QByteArray, opener);
        QFETCH(bool, opened);
        QTemporaryDir bin;
        writeFile(bin.filePath("xdg-open"), "#!/bin/sh\n" + opener + "\n");
        QFile(bin.filePath("xdg-open"))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        QCOMPARE(LinuxDesktopShell().openUrl(QStringLiteral("/nowhere/page.htm")), opened);
    }

    // Pickers start in the user's folder, or at home when it was never made.
    void missingUserFoldersFallBackToHome() {
        QTemporaryDir home;
        const QByteArray was = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", was);
            qputenv("XDG_CONFIG_HOME", config);
        });
        LinuxDesktopShell shell;
        QCOMPARE(shell.specialFolderPath(SpecialFolder::Documents), home.path() + '/');
        QVERIFY(QDir(home.path()).mkdir("Documents"));
        QCOMPARE(shell.specialFolderPath(SpecialFolder::Documents), home.path() + "/Documents/");
    }

    void registryValues_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("read");
        QTest::newRow("plain") << QStringLiteral("2") << QStringLiteral("2");
        QTest::newRow("255 characters fit") << QString(255, u'a') << QString(255, u'a');
        QTest::newRow("256 characters give nothing") << QString(256, u'a') << QString();
        QTest::newRow("non-ASCII")
            << QStringLiteral("Grüße, 東京") << QStringLiteral("Grüße, 東京");
    }
    void registryValues() {
        QFETCH(QString, stored);
        QFETCH(QString, read);
        RegistryStore store(m_dir.filePath(QStringLiteral("registry.ini")));
        store.writeString(Root, Key, QStringLiteral("WallpaperStyle"), stored);
        QCOMPARE(store.readString(Root, Key, QStringLiteral("WallpaperStyle")), read);
    }

    void missingRegistryValuesReadEmpty() {
        RegistryStore store(m_dir.filePath(QStringLiteral("none/registry.ini")));
        QCOMPARE(store.readString(Root, Key, QStringLiteral("Nothing")), QString());
        RegistryStore other(m_dir.filePath(QStringLiteral("registry.ini")));
        QCOMPARE(other.readString(Root, QStringLiteral("Other\\Key"), QStringLiteral("Nothing")),
                 QString());
    }

    void execLinesSplitAsDesktopFilesQuote_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("field codes dropped")
            << QStringLiteral("thunderbird %u") << QStringList{QStringLiteral("thunderbird")};
        QTest::newRow("quoted path with blanks")
            << QStringLiteral("\"/opt/My Mail/mail\" --compose %U")
            << QStringList{QStringLiteral("/opt/My Mail/mail"), QStringLiteral("--compose")};
        QTest::newRow("escaped quote and percent")
            << QStringLiteral("sh-free \"say \\\"hi\\\"\" 100%%")
            << QStringList{QStringLiteral("sh-free"), QStringLiteral("say \"hi\""),
                           QStringLiteral("100%")};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void execLinesSplitAsDesktopFilesQuote() {
        QFETCH(QString, exec);
        QFETCH(QStringList, args);
        QCOMPARE(DesktopEntries::splitExec(exec), args);
    }

    // The mailto handler found as the MIME-applications rules say, in a tree of folders:
    // C (config home), C2 (a config dir), D (data home), D2 (a data dir). D2 has
    // evolution, thunderbird, a hidden entry and kde4/kmail installed; D has geary.
    void defaultMailHandler_data() {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("desktops");
        QTest::addColumn<QString>("expected");

        const QString cache = QStringLiteral("D2/applications/mimeinfo.cache");
        const auto group = [](const char* name, const char* ids) {
            return QStringLiteral("[%1]\nx-scheme-handler/mailto=%2\n")
                .arg(QLatin1String(name), QLatin1String(ids));
        };
        const auto defaults = [&](const char* ids) { return group("Default Applications", ids); };
        const QString cached = QStringLiteral("[MIME Cache]\nx-scheme-handler/mailto="
                                              "thunderbird.desktop;evolution.desktop;\n");
        const QStringList none;
        const QStringList xfce{QStringLiteral("xfce")};

        QTest::newRow("nothing registered") << Files{} << none << QString();
        QTest::newRow("registered only by its package")
            << Files{{cache, cached}} << none << "thunderbird.desktop";
        QTest::newRow("the distribution's defaults.list")
            << Files{{cache, cached},
                     {"D2/applications/defaults.list", defaults("evolution.desktop")}}
            << none << "evolution.desktop";
        QTest::newRow("the desktop's own list first")
            << Files{{"C/xfce-mimeapps.list", defaults("geary.desktop")},
                     {"C/mimeapps.list", defaults("evolution.desktop")}}
            << xfce << "geary.desktop";
        QTest::newRow("another desktop's list is not read")
            << Files{{"C/xfce-mimeapps.list", defaults("geary.desktop")},
                     {"C/mimeapps.list", defaults("evolution.desktop")}}
            << QStringList{"gnome"} << "evolution.desktop";
        QTest::newRow("the user's choice over the system's")
            << Files{{"C/mimeapps.list", defaults("evolution.desktop")},
                     {"C2/mimeapps.list", defaults("thunderbird.desktop")}}
            << none << "evolution.desktop";
        QTest::newRow("a default not installed gives way to the next list")
            << Files{{"C/mimeapps.list", defaults("gone.desktop")},
                     {"D2/applications/mimeapps.list", defaults("evolution.desktop")}}
            << none << "evolution.desktop";
        QTest::newRow("a hidden entry is not installed")
            << Files{{"C/mimeapps.list", defaults("hidden.desktop;evolution.desktop;")}} << none
            << "evolution.desktop";
        QTest::newRow("an added association before the cache")
            << Files{{"C/mimeapps.list", group("Added Associations", "geary.desktop")},
                     {cache, cached}}
            << none << "geary.desktop";
        QTest::newRow("a removed association leaves the cache's next entry")
            << Files{{"C/mimeapps.list", group("Removed Associations", "thunderbird.desktop")},
                     {cache, cached}}
            << none << "evolution.desktop";
        QTest::newRow("the desktop's own list adds no associations")
            << Files{{"C/xfce-mimeapps.list", group("Added Associations", "geary.desktop")},
                     {cache, cached}}
            << xfce << "thunderbird.desktop";
        QTest::newRow("an id naming a subfolder")
            << Files{{"C/mimeapps.list", defaults("kde4-kmail.desktop")}} << none
            << "kde4-kmail.desktop";
    }
    void defaultMailHandler() {
        QFETCH(Files, files);
        QFETCH(QStringList, desktops);
        QFETCH(QString, expected);
        QTemporaryDir tree;
        const auto at = [&](const QString& relative) { return tree.filePath(relative); };
        writeFile(at("D2/applications/evolution.desktop"),
                  "[Desktop Entry]\nName=Evolution\nExec=evolution %U\n");
        writeFile(at("D2/applications/thunderbird.desktop"),
                  "[Desktop Entry]\nName=Thunderbird Mail\nExec=thunderbird %u\n");
        writeFile(at("D2/applications/hidden.desktop"),
                  "[Desktop Entry]\nName=Old\nExec=old\nHidden=true\n");
        writeFile(at("D2/applications/kde4/kmail.desktop"),
                  "[Desktop Entry]\nName=KMail\nExec=kmail\n");
        writeFile(at("D/applications/geary.desktop"),
                  "[Desktop Entry]\nName=Geary\nExec=geary --compose %u\n");
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            writeFile(at(it.key()), it.value().toUtf8());
        const DesktopEntries::Folders folders{{at("C"), at("C2")}, {at("D"), at("D2")}, desktops};
        QCOMPARE(
            DesktopEntries::defaultApplication(QStringLiteral("x-scheme-handler/mailto"), folders),
            expected);
    }

    void desktopEntries() {
        QTemporaryDir tree;
        writeFile(tree.filePath("share/applications/thunderbird.desktop"),
                  "# comment\n[Desktop Action Compose]\nExec=other\n"
                  "[Desktop Entry]\nName=Thunderbird Mail\nName[de]=Post\n"
                  "Exec=thunderbird %u\n");
        const QStringList data{tree.filePath("share")};
        const auto entry = DesktopEntries::find(QStringLiteral("thunderbird.desktop"), data);
        QVERIFY(entry.valid);
        QCOMPARE(entry.name, QStringLiteral("Thunderbird Mail"));
        QCOMPARE(entry.exec, QStringList{QStringLiteral("thunderbird")});
        QVERIFY(!DesktopEntries::find(QStringLiteral("../thunderbird.desktop"), data).valid);
        QVERIFY(!DesktopEntries::find(QStringLiteral("missing.desktop"), data).valid);
    }

    // A named pipe in place of any file the lookup reads: it is passed over at once.
    void aPipeInPlaceOfAFileDoesNotBlock_data() {
        QTest::addColumn<QString>("pipe");
        QTest::newRow("mimeapps.list") << "C/mimeapps.list";
        QTest::newRow("desktop-specific list") << "C/xfce-mimeapps.list";
        QTest::newRow("defaults.list") << "D/applications/defaults.list";
        QTest::newRow("mimeinfo.cache") << "D/applications/mimeinfo.cache";
        QTest::newRow("desktop entry") << "D/applications/geary.desktop";
    }
    void aPipeInPlaceOfAFileDoesNotBlock() {
        QFETCH(QString, pipe);
        QTemporaryDir tree;
        QDir().mkpath(tree.filePath("C"));
        QDir().mkpath(tree.filePath("D/applications"));
        writeFile(tree.filePath("D/applications/evolution.desktop"),
                  "[Desktop Entry]\nName=Evolution\nExec=evolution\n");
        writeFile(tree.filePath("C/mimeapps.list"),
                  "[Default Applications]\nx-scheme-handler/mailto=geary.desktop;"
                  "evolution.desktop\n");
        QFile::remove(tree.filePath(pipe));
        QVERIFY(Fifo::make(tree.filePath(pipe)));
        const DesktopEntries::Folders folders{
            {tree.filePath("C")}, {tree.filePath("D")}, {QStringLiteral("xfce")}};
        QString found;
        QVERIFY(Fifo::finishesWithin(
            [&] {
                found = DesktopEntries::defaultApplication(
                    QStringLiteral("x-scheme-handler/mailto"), folders);
            },
            {tree.filePath(pipe)}));
        QCOMPARE(found,
                 pipe == "C/mimeapps.list" ? QString() : QStringLiteral("evolution.desktop"));
    }
};

QTEST_GUILESS_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"
