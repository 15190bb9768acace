// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: draws the program's icon as the PNG sizes of the hicolor icon theme,
// OUTPUT/<n>x<n>/apps/<NAME>.png.
#include "shell/AppIconArt.h"

#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        QTextStream(stderr) << "usage: mkappicons OUTPUT NAME\n";
        return 2;
    }
    const QString root = QFile::decodeName(argv[1]);
    const QString name = QFile::decodeName(argv[2]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) ||
            !drawAppIcon(size).save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            QTextStream(stderr) << "mkappicons: cannot write into " << folder << '\n';
            return 1;
        }
    }
    return 0;
}
