// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Module.h"

#include <QObject>
#include <QPointer>

// Plays a short sound file once, in the background. Silent when the file is missing,
// cannot be read, or there is no audio output; it never waits and never reports to the user.
// The audio libraries come with the sound module, loaded at the first sound.
class ChimePlayer : public QObject {
    Q_OBJECT
public:
    // `soundModule`: the sound module's file (AppPaths::helperProgram).
    explicit ChimePlayer(const QString& soundModule, QObject* parent = nullptr);

    void play(const QString& path);
    // How many sounds were handed to the sound module.
    int playedCount() const { return m_played; }

private:
    Module m_sound;
    QPointer<QObject> m_effect;
    int m_played = 0;
};
