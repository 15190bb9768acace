// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class Clock;
class TickTimer;

// The reminder's timing: nothing is shown for a second after it loads; then it shows
// (or closes at once when it has nothing to announce), displays the first entry, moves
// on every 6 seconds, wraps after the last, and closes at the first tick 50 seconds or
// more after it was shown. The step buttons move one entry without wrapping and keep the
// window at least 10 seconds longer.
//
// Elapsed time is measured on the monotonic clock, so a showing across midnight or a
// clock change still closes on time.
class ReminderCycle {
public:
    // What the window does when the cycle says so.
    class View {
    public:
        virtual ~View() = default;
        // Place, raise and show the window, and play the sound.
        virtual void showNotice() = 0;
        // Show entry `index` (0-based).
        virtual void display(int index) = 0;
        // Close the window for good; the cycle is not used after this.
        virtual void closeNotice() = 0;
    };

    static constexpr int FirstInterval = 1000;
    static constexpr int StepInterval = 6000;
    static constexpr qint64 ShowForMs = 50000;
    static constexpr qint64 KeepAliveMs = 40000;

    ReminderCycle(const Clock& clock, TickTimer& timer, View& view, int entryCount);

    // Loading: the timer starts with its first, short interval.
    void start();
    // RemindTimer.
    void tick();
    // EventsUD: next and previous entry.
    void stepUp();
    void stepDown();

    int currentIndex() const { return m_current; }
    bool isShown() const { return m_shown; }
    bool isClosed() const { return m_closed; }

private:
    void regularTick();
    void keepAlive();
    void close();

    const Clock& m_clock;
    TickTimer& m_timer;
    View& m_view;
    int m_count;
    int m_current = -1;
    bool m_shown = false;
    bool m_closed = false;
    qint64 m_shownSince = 0; // monotonic ms
};
