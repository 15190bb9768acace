// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: writes the reminder's chime, reminder.wav, synthesised by our own code.
#include "shell/Chime.h"

#include <QFile>
#include <QString>
#include <QTextStream>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        QTextStream(stderr) << "usage: mkchime OUTPUT.wav\n";
        return 2;
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    const QByteArray wav = Chime::wav();
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(wav) != wav.size()) {
        QTextStream(stderr) << "mkchime: cannot write " << out.fileName() << '\n';
        return 1;
    }
    return 0;
}
