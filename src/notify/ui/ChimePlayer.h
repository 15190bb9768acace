#pragma once

#include <QObject>
#include <QPointer>

class QSoundEffect;

// Plays a short sound file once, in the background. Silent when the file is missing,
// cannot be read, or there is no audio output; it never waits and never reports.
class ChimePlayer : public QObject {
    Q_OBJECT
public:
    explicit ChimePlayer(QObject* parent = nullptr);

    void play(const QString& path);

private:
    QPointer<QSoundEffect> m_effect;
};
