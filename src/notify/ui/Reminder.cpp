// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/ui/Reminder.h"

#include "base/Clock.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"
#include "data/PlainText.h"
#include "platform/WindowSystem.h"
#include "shell/NoticePlacement.h"
#include "shell/ui/NoticeFrame.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr QSize WindowSize(340, 76);
} // namespace

QString Reminder::fitText(const QString& text, const QFont& font, const QSize& box) {
    const QFontMetricsF metrics(font);
    const int maxLines =
        std::max(1, int(std::floor((box.height() + metrics.leading()) / metrics.lineSpacing())));
    QString oneLine = text;
    oneLine.replace(u'\n', u' ');
    QTextLayout layout(oneLine, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<int> starts;
    bool overflows = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        if (starts.size() == maxLines) {
            overflows = true;
            break;
        }
        starts << line.textStart();
    }
    layout.endLayout();
    if (!overflows)
        return text;
    QStringList lines;
    for (int i = 0; i + 1 < starts.size(); ++i)
        lines << oneLine.mid(starts[i], starts[i + 1] - starts[i]).trimmed();
    // The last line that fits takes what is left, cut short with an ellipsis.
    const QChar ellipsis(0x2026);
    QString last =
        metrics.elidedText(oneLine.mid(starts.last()).trimmed(), Qt::ElideRight, box.width());
    while (!last.endsWith(ellipsis)) {
        last.chop(1);
        last = metrics.elidedText(last.trimmed() + ellipsis, Qt::ElideRight, box.width());
    }
    lines << last;
    return lines.join(u'\n');
}

Reminder::Reminder(AppContext& context, QWidget* parent)
    : Reminder(context,
               ReminderRules::load(context.stores.settings, context.stores.get<EventStore>(),
                                   context.clock.today()),
               parent) {}

Reminder::Reminder(AppContext& context, ReminderList list, QWidget* parent)
    : QWidget(parent, NoticeFrame::Flags), m_context(context), m_list(std::move(list)),
      m_cycle(context.clock, m_tickTimer, *this, int(m_list.entries.size())) {
    // Where the desktop cannot blend windows it simply stays opaque.
    setWindowOpacity(Opacity);
    buildControls(
        NoticeFrame::setUp(this, QStringLiteral("Reminder"), WindowTitles::Reminder, WindowSize));

    EventIcons pictures;
    const qreal ratio = devicePixelRatioF();
    for (const EventRow& row : m_list.found) {
        QPixmap p = QPixmap::fromImage(pictures.rowIcon(row, false, qRound(IconSize * ratio)));
        p.setDevicePixelRatio(ratio);
        m_icons << p;
    }

    m_remindTimer.setObjectName(QStringLiteral("RemindTimer"));
    m_remindTimer.setParent(this);
    connect(&m_remindTimer, &QTimer::timeout, this, &Reminder::remindTimerTick);
    m_cycle.start();
}

void Reminder::buildControls(QFrame* frame) {
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(10, 6, 4, 6);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);

    m_iconImg = new QLabel(frame);
    m_iconImg->setObjectName(QStringLiteral("IconImg"));
    m_iconImg->setFixedSize(IconSize, IconSize);
    m_iconImg->setAccessibleName(tr("Event picture"));
    grid->addWidget(m_iconImg, 0, 0, 2, 1, Qt::AlignVCenter);

    m_daysLb = new QLabel(frame);
    m_daysLb->setObjectName(QStringLiteral("DaysLB"));
    m_daysLb->setTextFormat(Qt::PlainText);
    m_daysLb->setForegroundRole(QPalette::ToolTipText);
    QFont bold = m_daysLb->font();
    bold.setBold(true);
    m_daysLb->setFont(bold);
    grid->addWidget(m_daysLb, 0, 1);

    // Descriptions are the user's own text: never read as markup.
    m_messageLb = new QLabel(frame);
    m_messageLb->setObjectName(QStringLiteral("MessageLB"));
    m_messageLb->setTextFormat(Qt::PlainText);
    m_messageLb->setWordWrap(true);
    m_messageLb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_messageLb->setForegroundRole(QPalette::ToolTipText);
    grid->addWidget(m_messageLb, 1, 1);

    auto* steps = new QWidget(frame);
    steps->setObjectName(QStringLiteral("EventsUD"));
    steps->setCursor(Qt::ArrowCursor);
    auto* column = new QVBoxLayout(steps);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_up = new QToolButton(steps);
    m_up->setObjectName(QStringLiteral("EventsUDUp"));
    m_up->setArrowType(Qt::UpArrow);
    m_up->setToolTip(tr("Next"));
    m_up->setAccessibleName(tr("Next event"));
    m_down = new QToolButton(steps);
    m_down->setObjectName(QStringLiteral("EventsUDDown"));
    m_down->setArrowType(Qt::DownArrow);
    m_down->setToolTip(tr("Previous"));
    m_down->setAccessibleName(tr("Previous event"));
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(18, 18);
        column->addWidget(b);
    }
    connect(m_up, &QToolButton::clicked, this, &Reminder::stepUp);
    connect(m_down, &QToolButton::clicked, this, &Reminder::stepDown);
    grid->addWidget(steps, 0, 2, 2, 1, Qt::AlignVCenter);
    // Laid out now, so the message knows its room before the window is first shown.
    layout()->activate();
    grid->activate();
}

void Reminder::showNotice() {
    WindowSystem& windows = m_context.windows;
    windows.makeTopmost(this);
    // It stands clear of the mail notice and of a pop-up message, which take the same
    // corner.
    const bool lifted = windows.isNewMailOpen() || windows.isWindowOpen(WindowTitles::PopMessage);
    move(NoticePlacement::place(size(), windows, lifted));
    windows.showWindow(this, false);
    Q_EMIT shown();
}

void Reminder::display(int index) {
    const Announcement& entry = m_list.entries[size_t(index)];
    m_daysLb->setText(ReminderRules::daysText(m_context.clock.today(), entry.date));
    // A description longer than the window holds ends with an ellipsis on its last whole
    // line, and can still be read in full in the tool tip, markup shown as written.
    m_messageLb->setText(
        fitText(entry.text, m_messageLb->font(), m_messageLb->contentsRect().size()));
    m_messageLb->setToolTip(asRichText(entry.text));
    m_messageLb->setAccessibleDescription(entry.text);
    m_iconImg->setPixmap(m_icons.value(entry.icon - 1));
}

void Reminder::closeNotice() {
    close();
}

void Reminder::clicked() {
    const int index = m_cycle.currentIndex();
    if (index < 0 || m_cycle.isClosed())
        return;
    Q_EMIT calendarRequested(m_list.entries[size_t(index)].date);
}

void Reminder::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void Reminder::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        clicked();
}
