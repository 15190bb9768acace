// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar as a tool of the main window, with what its buttons open: the event editor,
// Find Next and the HTML export.
#include "base/Clock.h"
#include "calendar/EventExport.h"
#include "calendar/EventSearch.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayUpdateJob.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/IcalModule.h"
#include "calendar/ical/IcsExport.h"
#include "calendar/ui/Calendar.h"
#include "calendar/ui/CalendarSyncBox.h"
#include "calendar/ui/EditEvents.h"
#include "calendar/ui/SubscribeDialog.h"
#include "data/ChangeHub.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "platform/NetworkStatus.h"
#include "shell/ShellTables.h"
#include "shell/ui/TrayController.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace {

void tell(AppContext& context, const QString& text, const QString& title) {
    context.dialogs.messageBox(text, title, MessageButtons::Ok, MessageIcon::Information);
}

void findNext(Calendar& calendar, AppContext& context, const QString& boxText) {
    EventStore& store = context.stores.get<EventStore>();
    const EventSearch::Result r =
        EventSearch(store).findNext(calendar.selectedDate(), boxText, calendar.holidayFlags());
    if (!r.error.isEmpty()) {
        tell(context, CalendarTool::tr("The events could not be searched.\n\n%1").arg(r.error),
             CalendarTool::tr("Message"));
        return;
    }
    if (!r.found()) {
        tell(context, EventSearch::tr(EventSearch::NoMoreResults), CalendarTool::tr("Message"));
        return;
    }
    calendar.setSelectedDate(r.date);
    calendar.redraw(true);
}

void exportEvents(Calendar& calendar, AppContext& context, int range) {
    EventStore& store = context.stores.get<EventStore>();
    const EventExport::Result r =
        EventExport(store, context.paths.programFolder())
            .write(range, calendar.selectedDate(), context.clock.today(), calendar.holidayFlags());
    if (!r.ok()) {
        tell(context, CalendarTool::tr("The events could not be exported.\n\n%1").arg(r.error),
             CalendarTool::tr("Message"));
        return;
    }
    if (!context.shell.openUrl(QUrl::fromLocalFile(r.page).toString(QUrl::FullyEncoded)))
        tell(context,
             CalendarTool::tr("No web browser could be started to show the events. They were "
                              "saved as %1.")
                 .arg(r.page),
             QStringLiteral("Plumora"));
}

// What a finished .ics export says: how many events went where.
QString exportedText(size_t events, const QString& path) {
    const QString where = QDir::toNativeSeparators(path);
    if (events == 0)
        return CalendarTool::tr("There were no events to export: an empty calendar was written "
                                "to %1.")
            .arg(where);
    return events == 1 ? CalendarTool::tr("1 event was exported to %1.").arg(where)
                       : CalendarTool::tr("%1 events were exported to %2.").arg(events).arg(where);
}

// "iCalendar file (.ics)...": the range and the holidays are chosen in the save dialog.
void exportIcs(Calendar& calendar, AppContext& context) {
    SaveChoices choices;
    choices.listLabel = CalendarTool::tr("&Events:");
    choices.items =
        QStringList{CalendarTool::tr("All events"), CalendarTool::tr("Selected date"),
                    CalendarTool::tr("Coming 7 days"), CalendarTool::tr("Selected month")};
    choices.check = CalendarTool::tr("Include holidays");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString path =
        context.dialogs.saveFile(&calendar, CalendarTool::tr("Export to an iCalendar file"),
                                 QDir(folder).filePath(QStringLiteral("calendar.ics")),
                                 CalendarTool::tr("iCalendar files (*.ics)"), &choices);
    if (path.isEmpty())
        return;
    EventStore& store = context.stores.get<EventStore>();
    std::vector<EventRow> rows;
    QString error;
    if (IcsExport::select(store, choices.item, calendar.selectedDate(), context.clock.today(),
                          choices.checked, calendar.holidayFlags(), rows, &error)) {
        // Every row of an event is at hand only when everything is exported.
        const QHash<QString, KeptEvent> kept =
            choices.item == IcsExport::All ? store.keptEvents() : QHash<QString, KeptEvent>();
        const QByteArray ics = IcsExport::write(rows, context.clock.now(), kept);
        QSaveFile file(path);
        if (ics.isEmpty()) {
            error = IcalModule::failure();
        } else if (file.open(QIODevice::WriteOnly) && file.write(ics) >= 0 && file.commit()) {
            tell(context, exportedText(rows.size(), path), CalendarTool::tr("Export"));
            return;
        } else {
            error = file.errorString();
        }
    }
    tell(context, CalendarTool::tr("The events could not be exported.\n\n%1").arg(error),
         CalendarTool::tr("Message"));
}

} // namespace

void CalendarTool::importFiles(AppContext& context, const QStringList& paths) {
    importQuietly(context, paths, [this, &context](const ImportSummary& summary) {
        showImportSummary(context, summary);
    });
}

void CalendarTool::importQuietly(AppContext& context, const QStringList& paths,
                                 std::function<void(const ImportSummary& summary)> done) {
    if (paths.isEmpty())
        return done(ImportSummary());
    QList<QByteArray> files;
    std::vector<ImportReport> opened; // a refusal, or the source name of a file read
    for (const QString& path : paths) {
        QByteArray data;
        ImportReport report;
        files << (CalendarImport::readFile(path, data, report) ? data : QByteArray());
        opened.push_back(report);
    }
    const QDate today = context.clock.today();
    // The subscriptions' object stands for the tool: what is read after it went is dropped.
    CalendarImport::readAside(
        files, today, QTimeZone::systemTimeZone(), &m_subscriptions,
        [this, &context, today, opened, done](const std::vector<IcsImport::Result>& reads) {
            EventStore store =
                context.stores.get<EventStore>(); // a copy: the import sets its "now"
            CalendarImport importer(store, today, context.clock.now());
            ImportSummary summary;
            QStringList texts;
            for (size_t i = 0; i < reads.size(); ++i) {
                const ImportReport report =
                    opened[i].ok() ? importer.store(reads[i], opened[i].source) : opened[i];
                const QString text = report.text();
                if (!report.ok() && !summary.failed)
                    summary.refusal = text.section(u'\n', 0, 0);
                summary.failed = summary.failed || !report.ok();
                texts << text;
            }
            summary.text = texts.join(QStringLiteral("\n\n"));
            if (!texts.isEmpty() && m_page)
                m_page->redraw(true);
            done(summary);
        });
}

void CalendarTool::showImportSummary(AppContext& context, const ImportSummary& summary) {
    if (summary.text.isEmpty())
        return;
    context.dialogs.messageBox(summary.text, tr("Import iCalendar file"), MessageButtons::Ok,
                               summary.failed ? MessageIcon::Warning : MessageIcon::Information);
}

CalendarTool::CalendarTool(AppContext& context, std::function<void(const QString&)> tell)
    : m_context(context),
      m_holidayUpdate(context.paths, context.stores, context.clock, context.downloads),
      m_subscriptions(context.stores, context.clock, context.downloads, tell),
      m_sync(context.stores, context.clock, context.secrets, tell) {
    // A subscription added or removed anywhere is read again at the next refresh.
    QObject::connect(&context.stores.changes, &ChangeHub::changed, &m_subscriptions,
                     [this](const QString& table) {
                         if (table == QLatin1String("Subscriptions"))
                             m_subscriptions.forgetKnown();
                     });
    QObject::connect(&m_subscriptions, &SubscriptionRefresh::refreshed, [this] {
        if (m_page)
            m_page->redraw(true);
    });
}

OptionsGroup* CalendarTool::makeOptionsGroup(QWidget* parent) {
    return new CalendarSyncBox(m_context.stores.get<CalDavStore>(), m_context.secrets,
                               m_context.dialogs, &m_sync, parent);
}

void CalendarTool::addJobs(TrayController& controller) {
    controller.addStartupJob(std::make_unique<ShippedHolidaysJob>(m_holidayUpdate));
    controller.addStartupJob(std::make_unique<CalendarSyncStartup>(
        m_sync, [&network = m_context.network] { return network.isOnline(); }));
    controller.addMinuteJob(
        std::make_unique<HolidayUpdateJob>([this] { m_holidayUpdate.start(); }));
    controller.addMinuteJob(std::make_unique<SubscriptionJob>(m_subscriptions));
    controller.addMinuteJob(std::make_unique<CalendarSyncJob>(m_sync));
    controller.addMinuteJob(
        std::make_unique<RepeatWindowJob>(m_context.stores.get<CalDavStore>(), m_sync));
}

Calendar* CalendarTool::makePage(QWidget* parent) {
    AppContext& context = m_context;
    auto* calendar = new Calendar(context, parent);
    QObject::connect(calendar, &Calendar::editEventsRequested, calendar,
                     [this, calendar, &context] {
                         EditEvents editor(context, calendar->selectedDate(),
                                           calendar->holidayFlags(), calendar);
                         editor.exec();
                         m_sync.editorClosed();
                     });
    QObject::connect(
        calendar, &Calendar::findNextRequested, calendar,
        [calendar, &context](const QString& text) { findNext(*calendar, context, text); });
    QObject::connect(calendar, &Calendar::exportRequested, calendar,
                     [calendar, &context](int range) { exportEvents(*calendar, context, range); });
    QObject::connect(calendar, &Calendar::icsExportRequested, calendar,
                     [calendar, &context] { exportIcs(*calendar, context); });
    QObject::connect(calendar, &Calendar::icsImportRequested, calendar, [this, calendar, &context] {
        importFiles(context, context.dialogs.openFiles(calendar, tr("Import iCalendar file"),
                                                       tr("iCalendar files (*.ics)")));
    });
    QObject::connect(calendar, &Calendar::subscribeRequested, calendar, [this, calendar, &context] {
        SubscribeDialog dialog(context, &m_subscriptions, calendar);
        QObject::connect(&dialog, &SubscribeDialog::changed, calendar,
                         [calendar] { calendar->redraw(true); });
        dialog.exec();
    });
    QObject::connect(calendar, &Calendar::icsDropped, calendar,
                     [this, &context](const QStringList& files) { importFiles(context, files); });
    m_page = calendar;
    return calendar;
}

void CalendarTool::showDate(const QDate& date) {
    if (!m_page)
        return;
    m_page->setSelectedDate(date);
    m_page->redraw(true);
}
