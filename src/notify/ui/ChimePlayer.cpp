#include "notify/ui/ChimePlayer.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

ChimePlayer::ChimePlayer(QObject* parent) : QObject(parent) {}

void ChimePlayer::play(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return;
    // A fresh effect each time: the user may have replaced the file since the last showing,
    // and an effect caches what it loaded.
    delete m_effect.data();
    auto* effect = new QSoundEffect(output, this);
    m_effect = effect;
    connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Ready && !effect->isPlaying())
            effect->play();
    });
    effect->setSource(QUrl::fromLocalFile(path));
}
