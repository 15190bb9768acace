// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class StopSignals;

// The ways the program is ended from outside, all led into the one orderly exit that
// "Unload Plumora" takes: SIGTERM, SIGINT or SIGHUP (a kill, a logout that signals the
// session's processes, Ctrl+C in a terminal) and the session manager's request to save
// before the session ends. The exit runs once, whichever comes first.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    // `unload`: the exit sequence without its question. With `catchSignals` false the
    // process's signal handling is left alone (tests).
    explicit SessionEnd(std::function<void()> unload, bool catchSignals = true,
                        QObject* parent = nullptr);
    ~SessionEnd() override;

    // Runs the exit sequence, unless it already ran.
    void end(const char* why);
    bool ended() const { return m_ended; }

private:
    std::function<void()> m_unload;
    StopSignals* m_signals = nullptr;
    bool m_ended = false;
};
