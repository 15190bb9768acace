// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TickTimer.h"
#include "notify/ReminderCycle.h"
#include "notify/ReminderList.h"
#include "shell/AppContext.h"

#include <QDate>
#include <QList>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;
class QToolButton;

// The reminder "- Reminder -": the coming events, one at a time, in the bottom-right
// corner. It reads its list once when created and stays invisible until RemindTimer's
// first tick a second later, which closes it at once when there is nothing to announce.
// Timing is ReminderCycle's. A click shows the displayed event's date in the calendar.
// It deletes itself when closed.
class Reminder : public QWidget, private ReminderCycle::View {
    Q_OBJECT
public:
    static constexpr int IconSize = 32;
    static constexpr double Opacity = 220 / 255.0;

    explicit Reminder(AppContext& context, QWidget* parent = nullptr);
    // With the list already read (the loader reads it first to skip an empty window).
    Reminder(AppContext& context, ReminderList list, QWidget* parent = nullptr);

    const ReminderList& list() const { return m_list; }
    const ReminderCycle& cycle() const { return m_cycle; }

    // RemindTimer's tick and the two arrows of EventsUD.
    void remindTimerTick() { m_cycle.tick(); }
    void stepUp() { m_cycle.stepUp(); }
    void stepDown() { m_cycle.stepDown(); }
    // A click on the window, IconImg, DaysLB or MessageLB.
    void clicked();

    // `text` as it fits a box of `box` pixels in `font`: wrapped at words, and when it needs
    // more lines than the box holds, cut on the last whole line with "…" at its end.
    static QString fitText(const QString& text, const QFont& font, const QSize& box);

Q_SIGNALS:
    // The window has just been shown: time for the sound.
    void shown();
    // The user clicked the displayed event: open the calendar at its date.
    void calendarRequested(const QDate& date);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildControls(QFrame* frame);
    void showNotice() override;
    void display(int index) override;
    void closeNotice() override;

    AppContext& m_context;
    ReminderList m_list;
    QList<QPixmap> m_icons; // IconsIL: picture k of the list is m_icons[k - 1]
    QTimer m_remindTimer;
    QtTickTimer m_tickTimer{m_remindTimer};
    ReminderCycle m_cycle;
    QLabel* m_iconImg = nullptr;
    QLabel* m_daysLb = nullptr;
    QLabel* m_messageLb = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
};
