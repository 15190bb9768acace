#include "core/options/SoundChoice.h"

#include "base/AppPaths.h"
#include "base/Log.h"
#include "platform/RegularFile.h"

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
    // A sound is played whole from memory; anything larger than this is not a reminder chime.
    constexpr qint64 MaxSoundBytes = 64 * 1024 * 1024;
    QString error;
    const std::optional<QByteArray> sound = RegularFile::read(chosen, MaxSoundBytes, &error);
    if (!sound) {
        qCWarning(lcData) << "cannot read the sound file" << chosen << ":" << error;
        return false;
    }
    QSaveFile out(paths.file(QStringLiteral("rmwav")));
    if (!out.open(QIODevice::WriteOnly) || out.write(*sound) != sound->size() || !out.commit()) {
        qCWarning(lcData) << "cannot write" << out.fileName() << ":" << out.errorString();
        return false;
    }
    return true;
}

} // namespace SoundChoice
