#include "core/options/SoundChoice.h"

#include "core/AppPaths.h"
#include "core/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SoundChoice {

QString current(const AppPaths& paths, const QString& reminderSound) {
    return reminderSound.isEmpty() ? paths.resource(QStringLiteral("reminder.wav")) : reminderSound;
}

QString caption(const QString& path) {
    return QFileInfo(path).fileName();
}

bool install(const AppPaths& paths, const QString& chosen) {
    QFile in(chosen);
    if (!QFileInfo(chosen).isFile() || !in.open(QIODevice::ReadOnly)) {
        qCWarning(lcData) << "cannot read the sound file" << chosen << ":" << in.errorString();
        return false;
    }
    QSaveFile out(paths.file(QStringLiteral("rmwav")));
    if (!out.open(QIODevice::WriteOnly)) {
        qCWarning(lcData) << "cannot write" << out.fileName() << ":" << out.errorString();
        return false;
    }
    QByteArray chunk;
    while (!(chunk = in.read(64 * 1024)).isEmpty()) {
        if (out.write(chunk) != chunk.size())
            break;
    }
    if (in.error() != QFileDevice::NoError || out.error() != QFileDevice::NoError) {
        qCWarning(lcData) << "cannot copy" << chosen << "to" << out.fileName();
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace SoundChoice
