// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>

class Clock;
class TickTimer;

// Saves changed notes soon after typing stops, so a crash or a shut-down loses at most the
// last seconds. The window reports every change and calls flush() before it closes, when
// the program exits and before a shut-down entry runs; `save` writes the changed notes.
// A save waits for a pause of QuietMs in the changes, but never more than LongestWaitMs
// after the first unsaved change, so steady typing is saved too.
class NoteAutosave {
public:
    static constexpr int QuietMs = 3000;
    static constexpr int LongestWaitMs = 15000;

    // `save` returns false when the data file refused; the changes then stay pending and
    // are tried again after the next pause.
    NoteAutosave(const Clock& clock, TickTimer& timer, std::function<bool()> save);

    void changed();
    // The timer fired.
    void timeout();
    // Saves now when anything is pending. True when nothing is left unsaved.
    bool flush();
    // The unsaved changes were given up (the notes were read again): nothing is pending.
    void drop();
    bool pending() const { return m_pending; }

private:
    bool save();

    const Clock& m_clock;
    TickTimer& m_timer;
    std::function<bool()> m_save;
    bool m_pending = false;
    qint64 m_firstChange = 0; // monotonic ms
};
