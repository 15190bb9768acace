// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteAutosave.h"

#include "base/Clock.h"
#include "base/TickTimer.h"

#include <algorithm>

NoteAutosave::NoteAutosave(const Clock& clock, TickTimer& timer, std::function<bool()> save)
    : m_clock(clock), m_timer(timer), m_save(std::move(save)) {}

void NoteAutosave::changed() {
    const qint64 now = m_clock.monotonicMs();
    if (!m_pending) {
        m_pending = true;
        m_firstChange = now;
    }
    const qint64 left = m_firstChange + LongestWaitMs - now;
    m_timer.setInterval(int(std::clamp<qint64>(left, 0, QuietMs)));
    m_timer.start();
}

void NoteAutosave::timeout() {
    m_timer.stop();
    if (m_pending)
        save();
}

bool NoteAutosave::flush() {
    m_timer.stop();
    return !m_pending || save();
}

void NoteAutosave::drop() {
    m_timer.stop();
    m_pending = false;
}

bool NoteAutosave::save() {
    if (m_save()) {
        m_pending = false;
        return true;
    }
    // Tried again after a pause; the first change stays the oldest one not saved.
    m_timer.setInterval(QuietMs);
    m_timer.start();
    return false;
}
