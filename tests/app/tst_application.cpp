#include "app/Application.h"
#include "calendar/EventStore.h"
#include "core/DataFile.h"
#include "core/Schema.h"
#include "core/ui/MainWindow.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "notify/ui/PopMsg.h"
#include "notify/ui/Reminder.h"
#include "quickaccess/XbelWriter.h"

#include <QTemporaryDir>
#include <QTest>

// The whole program over fake desktop services: the wiring between the pieces.
class TestApplication : public QObject {
    Q_OBJECT

    struct Install {
        QTemporaryDir dir;
        FakeClock clock;
        FakeDesktop desktop;
        AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
        Install() { Schema::createTemplate(context.paths.templateFile(), QDate(2026, 1, 1)); }
    };

private Q_SLOTS:
    // "Show Reminder" loads the reminder; a click on it brings up the calendar with the
    // shown date selected.
    void theReminderOpensTheCalendarAtItsDate() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create(); // makes the data file; the first-run help is not our concern
        EventRow dentist;
        dentist.eDate = in.clock.today().addDays(2);
        dentist.description = QStringLiteral("Dentist");
        QVERIFY(EventStore(in.context.paths.dataFile()).add(dentist));

        app.dispatcher().dispatch(TrayMenu::ShowReminder);
        Reminder* r = app.notices().reminder();
        QVERIFY(r);
        r->remindTimerTick();
        r->clicked();
        Calendar* calendar = app.calendar().page();
        QVERIFY(calendar);
        QCOMPARE(app.dispatcher().mainWindow()->activePage(), calendar);
        QCOMPARE(calendar->selectedDate(), in.clock.today().addDays(2));
    }

    // With nothing coming, start-up and the tick load the reminder silently; the user who
    // asks for it is told so in a pop-up message.
    void nothingComingIsToldOnlyWhenAsked() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        QVERIFY(app.start());
        QVERIFY(!app.notices().popMsg());
        in.clock.advanceSecs(61 * 60);
        app.controller().tick().run();
        QVERIFY(!app.notices().popMsg());

        app.dispatcher().dispatch(TrayMenu::ShowReminder);
        QVERIFY(app.notices().popMsg());
        QCOMPARE(app.notices().popMsg()->message(),
                 QStringLiteral("No events in the coming 2 days."));
        QVERIFY(!app.notices().reminder());
    }

    // Start-up runs its jobs once: the mail account of the mail program is stored.
    void startupStoresTheMailAccount() {
        Install in;
        in.desktop.mail.account = {QStringLiteral("ann"), QStringLiteral("pop.example.org")};
        Application app(in.context);
        app.controller().create();
        const Settings s = SettingsStore(in.context.paths.dataFile()).load().value();
        QCOMPARE(s.mailUser, QStringLiteral("ann"));
        QCOMPARE(s.mailServer, QStringLiteral("pop.example.org"));
    }

    // Quick Access: the tick records the folders of today's documents, and the tool is the
    // QAccess page.
    void quickAccessTracksAndOpens() {
        Install in;
        in.desktop.shell.specialFolders.insert(int(SpecialFolder::Recent), in.dir.path() + '/');
        QFile list(in.dir.filePath(QStringLiteral("recently-used.xbel")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(XbelWriter::write({XbelWriter::mark(
            XbelWriter::fileHref(QStringLiteral("/home/ann/Garden/plan.odt")), in.clock.now())}));
        list.close();
        Application app(in.context);
        app.controller().create();
        app.controller().tick().run();
        QCOMPARE(DataFile(in.context.paths.dataFile())
                     .scalar(QStringLiteral("SELECT FullPath FROM QAccess"))
                     .toString(),
                 QStringLiteral("/home/ann/Garden"));

        app.dispatcher().dispatch(TrayMenu::QAccess);
        ToolPage* page = app.dispatcher().mainWindow()->activePage();
        QVERIFY(page);
        QCOMPARE(page->objectName(), QStringLiteral("QAccess"));
        QCOMPARE(page->windowTitle(), QStringLiteral("Quick Access"));
    }
};

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
