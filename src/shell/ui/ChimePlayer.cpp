// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/ChimePlayer.h"

#include <QFileInfo>

ChimePlayer::ChimePlayer(const QString& soundModule, QObject* parent)
    : QObject(parent), m_sound(soundModule) {}

void ChimePlayer::play(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    const auto playSound =
        m_sound.entry<QObject* (*)(const QString&, QObject*)>("plumoraPlaySound");
    if (!playSound)
        return;
    // A fresh effect each time: the user may have replaced the file since the last showing,
    // and an effect caches what it loaded.
    delete m_effect.data();
    m_effect = playSound(path, this);
    ++m_played;
}
