// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QuietReadNotifier;

// SIGTERM, SIGINT and SIGHUP as a Qt signal on the event loop, through a self-pipe (watched
// off the event loop, as it is seldom ready): the
// handler only writes one byte, and the program ends in order from the loop. A second
// such signal, once the first has come, ends the process at once by the signal's own
// default action: a stuck unload can always be cut short.
// One instance per process; its handlers stay until it is destroyed.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    // False when the pipe or the handlers could not be set up (logged).
    bool isActive() const;

Q_SIGNALS:
    // Emitted once, for the first of the signals.
    void stopRequested(int signalNumber);

private:
    void readPipe();

    QuietReadNotifier* m_notifier = nullptr;
};
