// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/SoundChoice.h"

#include "base/AppPaths.h"
#include "base/Log.h"
#include "platform/RegularFile.h"

#include <QCoreApplication>
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

bool isPlayableWave(const QByteArray& file) {
    const auto u16 = [&](qsizetype at) {
        return quint16(quint8(file[at]) | quint8(file[at + 1]) << 8);
    };
    const auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return false;
    bool format = false;
    // Chunks of an id and a size, padded to even lengths.
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qint64 size = u32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > file.size())
                return false;
            const quint16 tag = u16(body);
            // PCM, IEEE float, or the extensible form that names either.
            format = (tag == 1 || tag == 3 || tag == 0xFFFE) && u16(body + 2) > 0 &&
                     u32(body + 4) > 0 && u16(body + 14) > 0;
            if (!format)
                return false;
        } else if (id == "data") {
            return format && size > 0 && body < file.size();
        }
        at = body + size + (size & 1);
    }
    return false;
}

bool install(const AppPaths& paths, const QString& chosen, QString* error) {
    // A sound is played whole from memory; anything larger than this is not a reminder chime.
    constexpr qint64 MaxSoundBytes = 64 * 1024 * 1024;
    QString why;
    const std::optional<QByteArray> sound = RegularFile::read(chosen, MaxSoundBytes, &why);
    if (!sound) {
        qCWarning(lcData) << "cannot read the sound file" << chosen << ":" << why;
        if (error)
            *error = QCoreApplication::translate("SoundChoice", "it cannot be read (%1)").arg(why);
        return false;
    }
    if (!isPlayableWave(*sound)) {
        if (error)
            *error = QCoreApplication::translate(
                "SoundChoice", "it is not a sound that can be played (a WAVE file of PCM "
                               "sound is needed)");
        return false;
    }
    QSaveFile out(paths.file(QStringLiteral("rmwav")));
    if (!out.open(QIODevice::WriteOnly) || out.write(*sound) != sound->size() || !out.commit()) {
        qCWarning(lcData) << "cannot write" << out.fileName() << ":" << out.errorString();
        if (error)
            *error = QCoreApplication::translate("SoundChoice",
                                                 "it cannot be copied into the program folder (%1)")
                         .arg(out.errorString());
        return false;
    }
    return true;
}

} // namespace SoundChoice
