// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/CalendarOptionsGroup.h"

#include "calendar/WeekStart.h"
#include "data/ChangeHub.h"
#include "platform/Dialogs.h"
#include "shell/AppContext.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace {

// The choices in the order shown.
const WeekStart::Choice Choices[] = {WeekStart::Choice::Sunday, WeekStart::Choice::Monday,
                                     WeekStart::Choice::System};

} // namespace

CalendarOptionsGroup::CalendarOptionsGroup(AppContext& context, QWidget* parent)
    : OptionsGroup(tr("Calendar"), parent), m_context(context) {
    setObjectName(QStringLiteral("CalendarGroup"));
    m_weekStart = new QComboBox(this);
    m_weekStart->setObjectName(QStringLiteral("WeekStart"));
    m_weekStart->addItems({tr("Sunday"), tr("Monday"), tr("As the system does")});
    m_weekStart->setAccessibleName(tr("Weeks start on"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(caption(this, tr("&Weeks start on"), m_weekStart));
    row->addWidget(m_weekStart);
    row->addStretch();
    connect(m_weekStart, &QComboBox::activated, this, &CalendarOptionsGroup::chosen);
}

void CalendarOptionsGroup::load(const Settings&) {
    const WeekStart::Choice stored = WeekStart::read(m_context.paths.dataFile());
    const QSignalBlocker quiet(m_weekStart);
    m_weekStart->setCurrentIndex(
        int(std::find(std::begin(Choices), std::end(Choices), stored) - std::begin(Choices)));
}

QStringList CalendarOptionsGroup::tables() const {
    return {WeekStart::Table};
}

void CalendarOptionsGroup::chosen(int index) {
    if (index < 0 || index >= int(std::size(Choices)))
        return;
    const QString file = m_context.paths.dataFile();
    if (WeekStart::write(file, Choices[index], &m_context.stores.changes))
        return;
    m_context.dialogs.messageBox(tr("The week's first day could not be saved in %1.").arg(file),
                                 tr("Options"), MessageButtons::Ok, MessageIcon::Warning);
    load({});
}
