#include "quickaccess/CdDrives.h"
#include "quickaccess/SystemShortcuts.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray TwoDrives = "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n"
                             "\n"
                             "drive name:\t\tsr1\tsr0\n"
                             "drive speed:\t\t24\t48\n"
                             "drive # of slots:\t1\t1\n"
                             "Can close tray:\t\t0\t1\n"
                             "Can open tray:\t\t1\t1\n"
                             "Can lock tray:\t\t1\t1\n"
                             "\n";

void writeFile(const QString& path, const QByteArray& data, bool executable = false) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}

} // namespace

class TestCdDrives : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseInfo() {
        const QList<CdDrives::Drive> drives = CdDrives::parse(TwoDrives);
        QCOMPARE(drives.size(), 2);
        QCOMPARE(drives[0].device, QStringLiteral("/dev/sr0"));
        QVERIFY(drives[0].canCloseTray);
        QCOMPARE(drives[1].device, QStringLiteral("/dev/sr1"));
        QVERIFY(!drives[1].canCloseTray && drives[1].canOpenTray);

        QVERIFY(CdDrives::parse("CD-ROM information\n\ndrive name:\n").isEmpty());
        QVERIFY(CdDrives::parse(QByteArray("\x00\xff garbage", 10)).isEmpty());
        QCOMPARE(CdDrives::parse("drive name:\t../sda\tsr0\n").size(), 1);
        QVERIFY(CdDrives::list(QStringLiteral("/nonexistent/cdrom/info")).isEmpty());
    }

    void mountPoint() {
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("sr0"));
        writeFile(device, {});
        QVERIFY(QFile::link(device, dir.filePath(QStringLiteral("cdrom"))));
        const QList<MountTable::Mount> mounts = {
            {"/", "ext4", "/dev/sda1"}, {"/media/ann/DISC", "iso9660", dir.filePath("cdrom")}};
        QCOMPARE(CdDrives::mountPointOf(device, mounts), QStringLiteral("/media/ann/DISC"));
        QCOMPARE(CdDrives::mountPointOf(QStringLiteral("/dev/sr9"), mounts), QString());
    }

    void autorunInf_data() {
        QTest::addColumn<QByteArray>("inf");
        QTest::addColumn<QString>("open");
        QTest::newRow("plain") << QByteArray("[autorun]\r\nopen=setup.exe\r\nicon=a.ico\r\n")
                               << "setup.exe";
        QTest::newRow("any case, blanks, quotes")
            << QByteArray("[AutoRun]\n  OPEN = \"Setup Tool.exe\" \n") << "Setup Tool.exe";
        QTest::newRow("other section")
            << QByteArray("[other]\nopen=x.exe\n[autorun]\nicon=a.ico\n") << "";
        QTest::newRow("comment") << QByteArray("[autorun]\n;open=x.exe\n") << "";
        auto utf16 = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16") << QByteArray(utf16(u"[autorun]\r\nopen=démo.exe\r\n"))
                                << "démo.exe";
    }
    void autorunInf() {
        QFETCH(QByteArray, inf);
        QFETCH(QString, open);
        QCOMPARE(CdDrives::autorunInfOpen(inf), open);
    }

    void autorunOfDisc() {
        QTemporaryDir dir;
        const QString disc = dir.filePath(QStringLiteral("disc"));
        QVERIFY(QDir().mkpath(disc));
        QVERIFY(!CdDrives::autorunOf(disc).isValid()); // nothing to run: the window beeps

        // A disc made for a case-blind system.
        writeFile(disc + "/AUTORUN.INF", "[autorun]\nopen=BIN\\SETUP.EXE\n");
        writeFile(disc + "/bin/setup.exe", "MZ");
        QCOMPARE(CdDrives::autorunOf(disc), (LaunchCommand{disc + "/bin/setup.exe", {}, disc}));

        // A value that climbs out of the disc is not followed; the freedesktop files are.
        writeFile(disc + "/AUTORUN.INF", "[autorun]\nopen=..\\..\\..\\usr\\bin\\env\n");
        QVERIFY(!CdDrives::autorunOf(disc).isValid());
        writeFile(disc + "/autorun.sh", "echo hi\n");
        QCOMPARE(CdDrives::autorunOf(disc),
                 (LaunchCommand{"/bin/sh", {disc + "/autorun.sh"}, disc}));
        writeFile(disc + "/.autorun", "#!/bin/sh\n", true);
        QCOMPARE(CdDrives::autorunOf(disc), (LaunchCommand{disc + "/.autorun", {}, disc}));
    }

    void shortcuts_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("terminalVariable");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("terminal"); // program and arguments; empty when none
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("information");
        QTest::newRow("Debian alternatives first")
            << QStringList{"x-terminal-emulator", "konsole", "gnome-control-center", "hardinfo"}
            << "kitty"
            << "GNOME" << QStringList{"/usr/bin/x-terminal-emulator"}
            << "/usr/bin/gnome-control-center"
            << "/usr/bin/hardinfo";
        QTest::newRow("$TERMINAL with its own arguments")
            << QStringList{"kitty", "xterm"} << "kitty --single-instance"
            << "" << QStringList{"/usr/bin/kitty", "--single-instance"} << ""
            << "";
        QTest::newRow("gnome-terminal told the folder")
            << QStringList{"gnome-terminal", "gnome-system-monitor"} << ""
            << "ubuntu:GNOME"
            << QStringList{"/usr/bin/gnome-terminal", "--working-directory=/home/ann/src"} << ""
            << "/usr/bin/gnome-system-monitor";
        QTest::newRow("Plasma prefers its own console")
            << QStringList{"konsole", "gnome-control-center", "systemsettings",
                           "plasma-systemmonitor"}
            << ""
            << "KDE" << QStringList{"/usr/bin/konsole", "--workdir", "/home/ann/src"}
            << "/usr/bin/systemsettings"
            << "/usr/bin/plasma-systemmonitor";
        QTest::newRow("nothing installed") << QStringList{} << "kitty"
                                           << "XFCE" << QStringList{} << ""
                                           << "";
    }
    void shortcuts() {
        QFETCH(QStringList, installed);
        QFETCH(QString, terminalVariable);
        QFETCH(QString, desktop);
        QFETCH(QStringList, terminal);
        QFETCH(QString, settings);
        QFETCH(QString, information);
        const SystemShortcuts shortcuts(
            [&](const QString& name) {
                return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
            },
            terminalVariable, desktop);
        const QString folder = QStringLiteral("/home/ann/src");
        const LaunchCommand term = shortcuts.terminal(folder);
        QCOMPARE(term.isValid() ? QStringList{term.program} + term.arguments : QStringList{},
                 terminal);
        if (term.isValid())
            QCOMPARE(term.workingFolder, folder);
        QCOMPARE(shortcuts.settingsConsole().program, settings);
        QCOMPARE(shortcuts.systemInformation().program, information);
    }
};

QTEST_GUILESS_MAIN(TestCdDrives)
#include "tst_cddrives.moc"
