// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MountTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A machine's mounts: the system disk, a second fixed disk, network shares, a USB stick
// (partitioned and encrypted) and a card reader automounted under /run/media.
const char* const Table = "26 1 254:1 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
                          "30 26 8:1 / /data rw shared:2 - xfs /dev/sda1 rw\n"
                          "31 26 0:40 / /mnt/share rw shared:3 - nfs4 server:/export rw,vers=4.2\n"
                          "32 26 0:41 / /mnt/win rw - cifs //nas/public rw\n"
                          "34 26 0:43 / /home/me/remote rw - fuse.sshfs me@host: rw\n"
                          "37 26 0:46 / /mnt/odd rw - nfsish //server/x rw\n"
                          "38 26 8:17 / /mnt/usb rw - vfat /dev/sdb1 rw\n"
                          "39 26 253:0 / /mnt/secret rw - ext4 /dev/dm-0 rw\n"
                          "40 26 8:33 / /run/media/me/CARD rw - exfat /dev/sdc1 rw\n"
                          "41 26 8:34 / /media/disk rw - ext4 /dev/sdc2 rw\n"
                          "42 26 8:2 / /mnt/over rw - ext4 /dev/sda2 rw\n"
                          "43 42 0:47 / /mnt/over rw - nfs server:/over rw\n"
                          "44 26 0:48 / /mnt/my\\040disk rw - nfs server:/spaced rw\n"
                          "45 26 0:49 / /mnt/net rw - nfs server:/net rw\n";
} // namespace

class MountTableTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_info;
    QString m_block;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_info = m_dir.filePath(QStringLiteral("mountinfo"));
        m_block = m_dir.filePath(QStringLiteral("block"));
        QFile info(m_info);
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write(Table);
        info.close();

        // disk -> removable flag and its partitions; dm-0 is a mapping over the stick's sdb2.
        const QList<std::tuple<QString, QByteArray, QStringList>> disks = {
            {QStringLiteral("nvme0n1"), "0\n", {QStringLiteral("nvme0n1p2")}},
            {QStringLiteral("sda"), "0\n", {QStringLiteral("sda1"), QStringLiteral("sda2")}},
            {QStringLiteral("sdb"), "1\n", {QStringLiteral("sdb1"), QStringLiteral("sdb2")}},
            {QStringLiteral("sdc"), "0\n", {QStringLiteral("sdc1"), QStringLiteral("sdc2")}},
            {QStringLiteral("dm-0"), "0\n", {QStringLiteral("slaves/sdb2")}},
        };
        QDir block(m_block);
        for (const auto& [disk, removable, parts] : disks) {
            for (const QString& part : parts)
                QVERIFY(block.mkpath(disk + u'/' + part));
            QFile flag(block.filePath(disk + QStringLiteral("/removable")));
            QVERIFY(flag.open(QIODevice::WriteOnly));
            flag.write(removable);
        }
    }

    void parsesFieldsAndEscapes() {
        const QList<MountTable::Mount> mounts =
            MountTable::parse(QByteArray(Table) + "garbage\n\n");
        QCOMPARE(mounts.size(), 14);
        QCOMPARE(mounts[0].mountPoint, QStringLiteral("/"));
        QCOMPARE(mounts[0].fsType, QStringLiteral("ext4"));
        QCOMPARE(mounts[0].source, QStringLiteral("/dev/nvme0n1p2"));
        QCOMPARE(mounts[12].mountPoint, QStringLiteral("/mnt/my disk"));
    }

    void fixedLocalDisk_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("fixed");

        QTest::newRow("system disk") << "/usr/local/bin/tool" << true;
        QTest::newRow("second fixed disk") << "/data/bin/tool" << true;
        QTest::newRow("nfs") << "/mnt/share/tool" << false;
        QTest::newRow("cifs") << "/mnt/win/tool.sh" << false;
        QTest::newRow("sshfs") << "/home/me/remote/tool" << false;
        QTest::newRow("share told by its source") << "/mnt/odd/tool" << false;
        QTest::newRow("removable stick") << "/mnt/usb/tool" << false;
        QTest::newRow("encrypted volume on a stick") << "/mnt/secret/tool" << false;
        QTest::newRow("under /run/media") << "/run/media/me/CARD/tool" << false;
        QTest::newRow("under /media") << "/media/disk/tool" << false;
        QTest::newRow("share mounted over a disk") << "/mnt/over/tool" << false;
        QTest::newRow("blank in the mount point") << "/mnt/my disk/tool" << false;
        QTest::newRow("prefix is not a parent") << "/mnt/network/tool" << true;
        QTest::newRow("path with dot-dot") << "/mnt/share/../usb2/tool" << true;
    }

    void fixedLocalDisk() {
        QFETCH(QString, path);
        QFETCH(bool, fixed);
        const MountTable table(m_info, m_block);
        QCOMPARE(table.isFixedLocalDisk(path), fixed);
    }

    void unreadableTableIsNotFixed() {
        const MountTable table(m_dir.filePath(QStringLiteral("missing")), m_block);
        QVERIFY(!table.isFixedLocalDisk(QStringLiteral("/usr/bin/env")));
    }
};

QTEST_GUILESS_MAIN(MountTableTest)
#include "tst_mounttable.moc"
