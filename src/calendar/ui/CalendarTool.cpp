// The calendar as a tool of the main window, with what its buttons open: the event editor,
// Find Next and the HTML export.
#include "base/Clock.h"
#include "calendar/EventExport.h"
#include "calendar/EventSearch.h"
#include "calendar/EventStore.h"
#include "calendar/ui/Calendar.h"
#include "calendar/ui/EditEvents.h"
#include "core/ShellTables.h"
#include "core/ui/ToolRegistry.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"

#include <QUrl>

namespace {

void tell(AppContext& context, const QString& text, const QString& title) {
    context.dialogs.messageBox(text, title, MessageButtons::Ok, MessageIcon::Information);
}

void findNext(Calendar& calendar, AppContext& context, const QString& boxText) {
    EventStore store(context.paths.dataFile());
    const EventSearch::Result r =
        EventSearch(store).findNext(calendar.selectedDate(), boxText, calendar.holidayFlags());
    if (!r.error.isEmpty()) {
        tell(context, QStringLiteral("The events could not be searched.\n\n") + r.error,
             QStringLiteral("Message"));
        return;
    }
    if (!r.found()) {
        tell(context, EventSearch::NoMoreResults, QStringLiteral("Message"));
        return;
    }
    calendar.setSelectedDate(r.date);
    calendar.redraw(true);
}

void exportEvents(Calendar& calendar, AppContext& context, int range) {
    EventStore store(context.paths.dataFile());
    const EventExport::Result r =
        EventExport(store, context.paths.programFolder())
            .write(range, calendar.selectedDate(), context.clock.today(), calendar.holidayFlags());
    if (!r.ok()) {
        tell(context, QStringLiteral("The events could not be exported.\n\n") + r.error,
             QStringLiteral("Message"));
        return;
    }
    if (!context.shell.openUrl(QUrl::fromLocalFile(r.page).toString(QUrl::FullyEncoded)))
        tell(context,
             QStringLiteral("No web browser could be started to show the events. They were "
                            "saved as ") +
                 r.page + u'.',
             QStringLiteral("Plumora"));
}

} // namespace

CalendarTool::CalendarTool(ToolRegistry& tools, AppContext& context) {
    tools.registerTool(MainToolbar::CalendarButton, [this, &context](QWidget* parent) {
        auto* calendar = new Calendar(context, parent);
        calendar->editEventsHook = [calendar, &context] {
            EditEvents editor(context, calendar->selectedDate(), calendar->holidayFlags(),
                              calendar);
            editor.exec();
        };
        calendar->findNextHook = [calendar, &context](const QString& text) {
            findNext(*calendar, context, text);
        };
        calendar->exportHook = [calendar, &context](int range) {
            exportEvents(*calendar, context, range);
        };
        m_page = calendar;
        return calendar;
    });
}

void CalendarTool::showDate(const QDate& date) {
    if (!m_page)
        return;
    m_page->setSelectedDate(date);
    m_page->redraw(true);
}
