// SPDX-License-Identifier: GPL-3.0-or-later
// The one part of Plumora that needs Qt Multimedia. It is a module loaded on the first
// sound, so the audio libraries cost neither start-up time nor memory until a chime plays.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

// Plays the file once and returns the effect (owned by `parent`), or nullptr when there is
// no audio output.
extern "C" Q_DECL_EXPORT QObject* plumoraPlaySound(const QString& path, QObject* parent) {
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return nullptr;
    auto* effect = new QSoundEffect(output, parent);
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Ready && !effect->isPlaying())
            effect->play();
    });
    effect->setSource(QUrl::fromLocalFile(path));
    return effect;
}
