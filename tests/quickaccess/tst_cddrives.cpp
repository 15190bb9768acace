// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/FuzzSeeds.h"
#include "quickaccess/CdDrives.h"
#include "quickaccess/SystemShortcuts.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {
void writeFile(const QString& path, const QByteArray& data, bool executable = false) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}
} // namespace

class TestCdDrives : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Drives in device order whatever the kernel's column order, each with its own flags.
    void parseInfo() {
        const QList<CdDrives::Drive> drives =
            CdDrives::parse("CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
                            "drive name:\t\tsr1\tsr0\tsr10\n"
                            "Can close tray:\t\t0\t1\t1\n"
                            "Can open tray:\t\t1\t1\t1\n");
        QCOMPARE(drives.size(), 3);
        QCOMPARE(drives[0].device, QStringLiteral("/dev/sr0"));
        QCOMPARE(drives[2].device, QStringLiteral("/dev/sr10"));
        QVERIFY(drives[0].canCloseTray && !drives[1].canCloseTray && drives[1].canOpenTray);
        QVERIFY(CdDrives::parse("CD-ROM information\n\ndrive name:\n").isEmpty());
        QCOMPARE(CdDrives::parse("drive name:\t../sda\tsr0\n").size(), 1);
        QVERIFY(CdDrives::list("/nonexistent/cdrom/info").isEmpty());

        QTemporaryDir dir; // a mount by a link to the device counts
        writeFile(dir.filePath("sr0"), {});
        QVERIFY(QFile::link(dir.filePath("sr0"), dir.filePath("cdrom")));
        const QList<MountTable::Mount> mounts = {{"/", "ext4", "/dev/sda1"},
                                                 {"/media/DISC", "iso9660", dir.filePath("cdrom")}};
        QCOMPARE(CdDrives::mountPointOf(dir.filePath("sr0"), mounts),
                 QStringLiteral("/media/DISC"));
        QCOMPARE(CdDrives::mountPointOf("/dev/sr9", mounts), QString());
    }

    void autorunInf() {
        QCOMPARE(
            CdDrives::autorunInfOpen("[AutoRun]\r\n;open=x.exe\r\n  OPEN = \"Setup 1.exe\" \r\n"),
            QStringLiteral("Setup 1.exe"));
        QCOMPARE(CdDrives::autorunInfOpen("[other]\nopen=x.exe\n[autorun]\nicon=a.ico\n"),
                 QString());
        auto utf16 = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QCOMPARE(CdDrives::autorunInfOpen(utf16(u"[autorun]\r\nopen=démo.exe\r\n")),
                 QStringLiteral("démo.exe"));
    }

    void autorunOfDisc() {
        QTemporaryDir dir;
        const QString disc = dir.filePath("disc");
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

    // Installed tools by name; the terminal as program and arguments, "" when none.
    void shortcuts_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("terminalVariable");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("expected"); // terminal..., settings, information
        QTest::newRow("Debian alternatives first")
            << QStringList{"x-terminal-emulator", "kitty", "gnome-control-center", "hardinfo"}
            << "kitty"
            << "GNOME" << QStringList{"x-terminal-emulator", "gnome-control-center", "hardinfo"};
        QTest::newRow("$TERMINAL with arguments") << QStringList{"kitty", "xterm"} << "kitty -1"
                                                  << "" << QStringList{"kitty", "-1", "", ""};
        QTest::newRow("Plasma's own console, konsole told the folder")
            << QStringList{"konsole", "gnome-control-center", "systemsettings",
                           "plasma-systemmonitor"}
            << ""
            << "KDE"
            << QStringList{"konsole", "--workdir", "/src", "systemsettings",
                           "plasma-systemmonitor"};
        QTest::newRow("nothing installed") << QStringList{} << "kitty"
                                           << "" << QStringList{"", "", ""};
    }
    void shortcuts() {
        QFETCH(QStringList, installed);
        QFETCH(QString, terminalVariable);
        QFETCH(QString, desktop);
        QFETCH(QStringList, expected);
        const SystemShortcuts shortcuts(
            [&](const QString& name) {
                return installed.contains(name) ? "/usr/bin/" + name : QString();
            },
            terminalVariable, desktop);
        const LaunchCommand terminal = shortcuts.terminal("/src");
        QVERIFY(!terminal.isValid() || terminal.workingFolder == "/src");
        QStringList got = QStringList{terminal.program} + terminal.arguments;
        got << shortcuts.settingsConsole().program << shortcuts.systemInformation().program;
        QCOMPARE(got.replaceInStrings("/usr/bin/", ""), expected);
    }

    // One corpus for autorun.inf, the CD-ROM info table and the mount table.
    void writeSeedCorpus() {
        PLUMORA_WRITE_FUZZ_SEEDS(
            {{"autorun.inf", "[autorun]\r\nopen=\"setup.exe\" /x\r\nicon=a.ico\r\n"},
             {"cdrom-info", "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
                            "drive name:\t\tsr1\tsr0\ndrive speed:\t\t24\t48\n"
                            "Can close tray:\t\t1\t0\nCan open tray:\t\t1\t1\n"},
             {"mountinfo", "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                           "40 22 11:0 / /media/ann/DISC\\040ONE ro - iso9660 /dev/sr0 ro\n"}});
    }
};

QTEST_GUILESS_MAIN(TestCdDrives)
#include "tst_cddrives.moc"
