// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AppPaths.h"
#include "shell/Chime.h"
#include "shell/ReminderSound.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {
bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestNoticeRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A header a player accepts, short, loud enough, never clipped, and no click at the
    // start or the end.
    void chimeIsAShortCleanWave() {
        const QByteArray wav = Chime::wav();
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        QVERIFY(wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt " && wav.mid(36, 4) == "data");
        QCOMPARE(u32(4), quint32(wav.size() - 8));
        QCOMPARE(u16(20) << 16 | u16(22), 1 << 16 | 1); // PCM, mono
        QCOMPARE(u16(34), quint16(16));
        QCOMPARE(u32(40), quint32(wav.size() - 44));
        QVERIFY(double(u32(40)) / 2 / u32(24) < 1.5);

        const std::vector<qint16> s = Chime::samples();
        int peak = 0;
        for (qint16 v : s)
            peak = std::max(peak, std::abs(int(v)));
        QVERIFY(peak > 32767 / 4 && peak < 32767);
        QVERIFY(std::abs(int(s.front())) < 100 && std::abs(int(s.back())) < 100);
    }

    void soundFileIsCopiedOnlyWhenMissing() {
        QTemporaryDir program, executable;
        const AppPaths paths(program.path(), executable.path());
        const QString rmwav = program.filePath(QStringLiteral("rmwav"));
        QCOMPARE(ReminderSound::prepare(paths), QString());

        QVERIFY(writeFile(executable.filePath(QStringLiteral("reminder.wav")), "chime"));
        QCOMPARE(ReminderSound::prepare(paths), rmwav);
        QCOMPARE(readFile(rmwav), QByteArray("chime"));

        // The user's own sound is never overwritten.
        QVERIFY(writeFile(rmwav, "mine"));
        QCOMPARE(ReminderSound::prepare(paths), rmwav);
        QCOMPARE(readFile(rmwav), QByteArray("mine"));
    }
};

QTEST_GUILESS_MAIN(TestNoticeRules)
#include "tst_noticerules.moc"
