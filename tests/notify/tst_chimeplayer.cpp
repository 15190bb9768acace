// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Chime.h"
#include "shell/ui/ChimePlayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ChimePlayerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A missing module or file is silence, never a crash; each sound replaces the last.
    void missingPiecesAreSilentAndSoundsDoNotPileUp() {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("reminder.wav"));
        QFile f(wav);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(Chime::wav()) > 0);
        f.close();

        ChimePlayer lost(dir.filePath(QStringLiteral("libnothing.so")));
        lost.play(wav);
        QVERIFY(lost.children().isEmpty());
        QCOMPARE(lost.playedCount(), 0);

        ChimePlayer player(QStringLiteral(PLUMORA_SOUND_MODULE));
        player.play(dir.filePath(QStringLiteral("missing.wav")));
        QVERIFY(player.children().isEmpty());
        QCOMPARE(player.playedCount(), 0);
        for (int i = 0; i < 3; ++i)
            player.play(wav);
        // The module got the sound each time (whether a sound card plays it is the
        // machine's matter), and keeps one effect at most.
        QCOMPARE(player.playedCount(), 3);
        QVERIFY(player.children().size() <= 1);
    }
};

QTEST_MAIN(ChimePlayerTest)
#include "tst_chimeplayer.moc"
