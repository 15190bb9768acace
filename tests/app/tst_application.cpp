// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "calendar/EventStore.h"
#include "data/DataBackup.h"
#include "data/DataFile.h"
#include "mail/ui/MailWatch.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/Install.h"
#include "mock/Pop3Stub.h"
#include "mock/ProgramTools.h"
#include "notes/ui/NoteCard.h"
#include "notify/ui/MessagePopup.h"
#include "notify/ui/Reminder.h"
#include "options/ui/Options.h"
#include "quickaccess/XbelWriter.h"
#include "shell/ui/MainWindow.h"

#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

// The whole program over fake desktop services: the wiring between the pieces.
class TestApplication : public QObject {
    Q_OBJECT

    static void exec(Install& in, const char* sql) {
        DataFile db(in.context.paths.dataFile());
        QVERIFY2(db.exec(QLatin1String(sql)), qPrintable(db.lastError()));
    }
    static QString content(Install& in) {
        return DataFile(in.context.paths.dataFile())
            .scalar(QStringLiteral("SELECT Content FROM QNotes"))
            .toString();
    }

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
        Calendar* calendar = app.tool<CalendarTool>("Calendar")->page();
        QVERIFY(calendar);
        QCOMPARE(app.dispatcher().mainWindow()->activePage(), calendar);
        QCOMPARE(calendar->selectedDate(), in.clock.today().addDays(2));
    }

    // Every page is made by its tool's descriptor, in the order of the tray menu, and the
    // tools that keep their page hand out the one shown.
    void eachToolsPageComesFromItsDescriptor() {
        Install in;
        Application app(in.context);
        app.controller().create();
        const QList<ToolDescriptor>& tools = app.dispatcher().tools().tools();
        QCOMPARE(tools.size(), qsizetype(TrayMenu::ToolSlots));
        const QList<const char*> classes{"Calendar",        "NotesPage",     "Schedule",
                                         "QuickAccessPage", "ScreenCapture", "WallpaperChanger",
                                         "Options"};
        for (int index = 0; index < TrayMenu::ToolSlots; ++index) {
            QVERIFY(tools[index].page);
            app.dispatcher().dispatch(index);
            ToolPage* page = app.dispatcher().mainWindow()->activePage();
            QVERIFY(page);
            QCOMPARE(page->metaObject()->className(), classes[index]);
            QCOMPARE(page->objectName(), tools[index].id);
        }
        QCOMPARE(app.dispatcher().mainWindow()->loadedPage(toolButton("Calendar")),
                 app.tool<CalendarTool>("Calendar")->page());
        QCOMPARE(app.dispatcher().mainWindow()->loadedPage(toolButton("QNotes")),
                 app.tool<NotesTool>("QNotes")->page());
    }

    // The jobs run in one order: the tools' own in the tools' order (the calendar's from its
    // object), then the mail watch's and the shell's.
    void theJobsKeepTheirOrder() {
        Install in;
        Application app(in.context);
        QStringList startup = app.controller().startupJobNames();
        startup.removeAll(QStringLiteral("tool tables")); // one per tool with tables
        QCOMPARE(startup, (QStringList{"shipped holidays", "calendar sync after start-up",
                                       "wallpaper", "mail account", "bind keys", "autostart"}));
        QCOMPARE(app.controller().tick().jobNames(),
                 (QStringList{"holiday update", "calendar subscriptions", "calendar sync",
                              "repeat window", "folder tracking", "mail check", "key check",
                              "reminder", "due entries", "missed entries"}));
    }

    // With nothing coming, start-up and the tick load the reminder silently; the user who
    // asks for it is told so in a pop-up message.
    void nothingComingIsToldOnlyWhenAsked() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        QVERIFY(app.start());
        QCoreApplication::processEvents(); // creation follows the icon
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

    // A note alarm of the tick opens Quick Notes with the due note flashing; a later alarm
    // while it is loaded makes it flash again.
    void noteAlarmsFlashTheDueNote() {
        Install in;
        Application app(in.context);
        app.controller().create();
        exec(in, "INSERT INTO QNotes (ZOrder, CDate, Frequency, SchDT) VALUES "
                 "(2, '2026-03-01', 2, '2026-03-01 08:31'), (1, '2026-03-01', 0, NULL)");
        in.clock.set(QDateTime(QDate(2026, 3, 10), QTime(8, 31, 1)));
        app.controller().tick().run();
        NotesPage* notes = app.tool<NotesTool>("QNotes")->page();
        QVERIFY(notes);
        QCOMPARE(app.dispatcher().mainWindow()->activePage(), notes);
        auto* flash = notes->findChild<QTimer*>("FlashTimer");
        QVERIFY(flash->isActive());
        QCOMPARE(notes->deck().focused(), 0);

        notes->setNoteFocus(1);
        QTest::mouseClick(notes->card(1)->text()->viewport(), Qt::LeftButton);
        QVERIFY(!flash->isActive());
        in.clock.set(QDateTime(QDate(2026, 3, 11), QTime(8, 31, 1)));
        app.controller().tick().run();
        QCOMPARE(app.tool<NotesTool>("QNotes")->page(), notes);
        QVERIFY(flash->isActive());
        QCOMPARE(notes->deck().focused(), 0);
    }

    // Typing not yet saved reaches the data file before a shut-down entry starts the
    // helper, and when Plumora is unloaded.
    void unsavedNotesAreSavedBeforeShutDownAndExit() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create();
        exec(in, "INSERT INTO QNotes (ZOrder, CDate) VALUES (1, '2026-03-01')");
        app.dispatcher().dispatch(trayIndex("QNotes"));
        QTextDocument* doc = app.tool<NotesTool>("QNotes")->page()->card(0)->text()->document();
        QTextCursor(doc).insertText(QStringLiteral("before the shut-down"));
        exec(in, "INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) "
                 "VALUES (2, '', '2026-03-10 08:31', 1)");
        in.clock.set(QDateTime(QDate(2026, 3, 10), QTime(8, 31, 1)));
        app.controller().tick().run();
        QVERIFY(content(in).contains(QLatin1String("before the shut-down")));

        QTextCursor(doc).insertText(QStringLiteral("at the end, "));
        in.desktop.dialogs.answers = {MessageAnswer::Yes};
        QVERIFY(app.dispatcher().unload());
        QVERIFY(content(in).contains(QLatin1String("at the end, before")));
    }

    // A restore has the open pages save first, then read the restored file through the
    // change signal: the Quick Notes page stays and shows the restored notes. Typing not
    // saved yet when another writer changes the notes is kept as it is.
    void restoreReloadsOpenPagesWithoutClosingThem() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create();
        exec(in, "INSERT INTO QNotes (ZOrder, CDate) VALUES (1, '2026-03-01')");
        app.dispatcher().dispatch(trayIndex("QNotes"));
        const QPointer<NotesPage> notes = app.tool<NotesTool>("QNotes")->page();
        QVERIFY(notes);
        QTextCursor(notes->card(0)->text()->document()).insertText(QStringLiteral("backed up"));
        QVERIFY(notes->saveNotes());
        QTemporaryDir backups;
        QCOMPARE(DataBackup::backup(in.context.paths.dataFile(), backups.path()),
                 DataBackup::Result::Done);

        QTextCursor(notes->card(0)->text()->document()).insertText(QStringLiteral("later, "));
        in.desktop.dialogs.folderChoice = backups.path();
        in.desktop.dialogs.answers = {MessageAnswer::Yes};
        app.dispatcher().dispatch(trayIndex("Options"));
        for (QPushButton* b :
             app.dispatcher().mainWindow()->findChildren<QPushButton*>(QStringLiteral("BkRsBtn"))) {
            if (b->property("index").toInt() == 1)
                b->click();
        }
        QVERIFY(content(in).contains(QLatin1String("backed up")));
        QVERIFY(!content(in).contains(QLatin1String("later")));
        QTRY_COMPARE(notes->card(0)->text()->toPlainText(), QStringLiteral("backed up"));
        QCOMPARE(app.tool<NotesTool>("QNotes")->page(), notes.data());

        app.dispatcher().dispatch(trayIndex("QNotes"));
        QTextCursor(notes->card(0)->text()->document()).insertText(QStringLiteral("unsaved, "));
        app.changes().announceAll();
        QTest::qWait(20);
        QCOMPARE(notes->card(0)->text()->toPlainText(), QStringLiteral("unsaved, backed up"));
        // Once saved, the shown page reads the next change.
        QVERIFY(notes->saveNotes());
        exec(in, "INSERT INTO QNotes (ZOrder, CDate) VALUES (2, '2026-03-02')");
        app.changes().announceAll();
        QTRY_VERIFY(notes->card(1));
        QCOMPARE(app.dispatcher().mainWindow()->activePage(), notes.data());
        QCOMPARE(app.tool<NotesTool>("QNotes")->page(), notes.data());
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

    // A password in the data file moves to the keyring at start-up, which is not read until
    // a check is due; without a keyring it stays in the file. The check logs in either way.
    void thePasswordMovesToTheKeyring_data() {
        QTest::addColumn<bool>("keyring");
        QTest::newRow("keyring") << true;
        QTest::newRow("no keyring") << false;
    }
    void thePasswordMovesToTheKeyring() {
        QFETCH(bool, keyring);
        Install in;
        in.desktop.mail.accountReadable = false; // the account typed in Options stays
        in.desktop.secrets.available = keyring;
        QVERIFY(QFile::copy(in.context.paths.templateFile(), in.context.paths.dataFile()));
        QVERIFY(SettingsStore(in.context.paths.dataFile()).update([](Settings& s) {
            s.notifyAgo = 2;
            s.checkMail = true;
            s.mailUser = QStringLiteral("ann");
            s.mailServer = QStringLiteral("127.0.0.1");
            s.mailPassword = QStringLiteral("secret");
        }));
        Pop3Stub server;
        QVERIFY(SettingsStore(in.context.paths.dataFile())
                    .update([port = server.serverPort()](Settings& s) { s.mailPort = port; }));
        Application app(in.context);
        app.controller().create();
        QTRY_COMPARE(in.desktop.secrets.writes, 1);
        const auto stored = [&] {
            return SettingsStore(in.context.paths.dataFile()).load().value();
        };
        QTRY_COMPARE(stored().mailPasswordInKeyring, keyring);
        QCOMPARE(stored().mailPassword, keyring ? QString() : QStringLiteral("secret"));
        QCOMPARE(in.desktop.secrets.reads, 0);

        app.controller().tick().invalidateCache();
        app.controller().tick().run();
        QTRY_VERIFY(server.seen.contains("PASS secret"));
        QCOMPARE(in.desktop.secrets.reads, keyring ? 1 : 0);
    }

    // Options leaves an open calendar loaded; a holiday switch changed there reaches it
    // through the change hub, and the next choice shows the same page.
    void openingOptionsKeepsTheCalendarWhichFollowsTheSettings() {
        Install in;
        Application app(in.context);
        app.controller().create();
        app.dispatcher().dispatch(trayIndex("Calendar"));
        const QPointer<Calendar> calendar = app.tool<CalendarTool>("Calendar")->page();
        QVERIFY(calendar);
        app.dispatcher().dispatch(trayIndex("Options"));
        QVERIFY(calendar);
        QVERIFY(qobject_cast<Options*>(app.dispatcher().mainWindow()->activePage()));
        QVERIFY(!calendar->holidayFlags().addCanada);
        QVERIFY(SettingsStore(in.context.paths.dataFile()).update([](Settings& s) {
            s.addCanada = true;
        }));
        QTRY_VERIFY(calendar->holidayFlags().addCanada);
        app.dispatcher().dispatch(trayIndex("Calendar"));
        QCOMPARE(app.tool<CalendarTool>("Calendar")->page(), calendar.data());
    }

    // A setting written in this process reaches the minute jobs before the next tick.
    void theMinuteJobsFollowTheSettingsAsWritten() {
        Install in;
        Application app(in.context);
        app.controller().create();
        app.controller().tick().run();
        QCOMPARE(app.controller().tick().cache().settings.checkMailMinutes, 5);
        QVERIFY(SettingsStore(in.context.paths.dataFile()).update([](Settings& s) {
            s.showEvery = 30;
            s.checkMailMinutes = 15;
        }));
        QTRY_COMPARE(app.controller().tick().cache().settings.checkMailMinutes, 15);
        QCOMPARE(app.controller().tick().cache().settings.showEvery, 30);

        // A change of every table (a restore) is read once, not once per table.
        const int reloads = app.controller().tick().reloads();
        app.changes().announceAll();
        QTRY_VERIFY(app.controller().tick().reloads() > reloads);
        QTest::qWait(20);
        QCOMPARE(app.controller().tick().reloads(), reloads + 1);
    }

    // The minute job starts the mail check; a refused password comes up as the pop-up
    // message that opens Options.
    void refusedPasswordAsksForItThroughThePopUpMessage() {
        Install in;
        in.desktop.mail.account = {QStringLiteral("ann"), QStringLiteral("127.0.0.1")};
        Pop3Stub server;
        server.replies[QByteArrayLiteral("PASS")] = "-ERR wrong password\r\n";
        Application app(in.context);
        app.controller().create();
        QVERIFY(SettingsStore(in.context.paths.dataFile()).update([&server](Settings& s) {
            s.mailPort = server.serverPort();
            s.checkMail = true;
            s.mailPassword = QStringLiteral("wrong");
        }));
        app.controller().tick().invalidateCache();
        app.controller().tick().run();

        QTRY_VERIFY(app.notices().popMsg());
        QCOMPARE(app.notices().popMsg()->action(), QStringLiteral("Options"));
        QCOMPARE(app.notices().popMsg()->message(),
                 QStringLiteral("Please click here to enter the Thunderbird default e-mail "
                                "account password."));
        QTRY_VERIFY(!app.tool<MailWatch>("MailWatch")->checkMail());
        QVERIFY(!in.desktop.windows.isNewMailOpen());
    }

    // Quick Access: the tick records the folders of today's documents, and the tool is the
    // Quick Access page.
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

        app.dispatcher().dispatch(trayIndex("QAccess"));
        ToolPage* page = app.dispatcher().mainWindow()->activePage();
        QVERIFY(page);
        QCOMPARE(page->objectName(), QStringLiteral("QAccess"));
        QCOMPARE(page->windowTitle(), QStringLiteral("Quick Access"));
    }
};

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
