// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "data/DataBackup.h"
#include "data/SaveFailures.h"
#include "mail/MailCheckState.h"
#include "mock/Install.h"
#include "mock/ProgramTools.h"
#include "notify/ReminderList.h"
#include "options/ui/Options.h"
#include "quickaccess/ui/QuickAccessPage.h"
#include "shell/CommandLine.h"
#include "shell/MissedMinutes.h"
#include "shell/RemoteCommand.h"
#include "shell/ShellTables.h"
#include "shell/TrayMenuEntries.h"
#include "shell/ui/MainWindow.h"

#include <QCommandLineParser>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <optional>

using M = MarkingTranslator;

// Every text of the shell, the Options page, the mail watch and Quick Access reaches the
// user through the translation system, in the language installed before the program
// starts, and formats keep their arguments whatever order a language puts them in.
class TestTranslation : public QObject {
    Q_OBJECT

    std::optional<MarkingTranslator> m_translator;

private Q_SLOTS:
    void init() { m_translator.emplace(MarkingTranslator::OwnTexts); }
    void cleanup() { m_translator.reset(); }

    // The main window's menus and tool tips, the tray menu (also as exported over D-Bus),
    // the Options page's own groups with the mail watch's, and the Quick Access page.
    void theWindowsShowTranslatedTexts() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create();

        const QStringList own{QStringLiteral("Options"), QStringLiteral("QAccess")};
        app.dispatcher().dispatch(trayIndex("Options"));
        MainWindow* main = app.dispatcher().mainWindow();
        QVERIFY(main);
        for (QMenu* menu : main->menuBar()->findChildren<QMenu*>()) {
            if (!menu->objectName().endsWith(QLatin1String("Menu")))
                continue; // a page's own menu
            QVERIFY2(M::isMarked(menu->title()), qPrintable(menu->title()));
            for (const QAction* a : menu->actions()) {
                const bool tool = menu->objectName() == QLatin1String("ToolsMenu") &&
                                  a->objectName() != QLatin1String("ReminderMenu");
                if (a->isSeparator() ||
                    (tool && !own.contains(a->objectName().chopped(4)))) // other parts' tools
                    continue;
                QVERIFY2(M::isMarked(a->text()), qPrintable(a->objectName() + u' ' + a->text()));
            }
        }
        for (const int b : {toolButton("Options"), toolButton("QAccess"),
                            int(MainToolbar::ReminderButton), int(MainToolbar::HelpButton)}) {
            const QAction* a = main->findChild<QAction*>(QStringLiteral("MainTB_%1").arg(b));
            QVERIFY(a);
            QVERIFY2(M::isMarked(a->toolTip()), qPrintable(a->toolTip()));
        }

        const QList<TrayMenuEntries::Entry> entries = app.dispatcher().tools().trayEntries();
        const DBusMenuNode exported = TrayMenuEntries::exported(entries);
        int checked = 0;
        for (const TrayMenuEntries::Entry& e : entries) {
            if (e.index < TrayMenu::ToolSlots && e.index != trayIndex("Options") &&
                e.index != trayIndex("QAccess"))
                continue;
            QVERIFY2(M::isMarked(e.caption), qPrintable(e.caption));
            for (const DBusMenuNode& item : exported.children)
                if (item.properties.value(QStringLiteral("label")).toString() ==
                    TrayMenuEntries::exportedLabel(e.caption))
                    ++checked;
        }
        QCOMPARE(checked, 7); // the shell's five, Options and Quick Access

        // Other parts' groups on the Options page speak for themselves.
        auto* options = qobject_cast<Options*>(main->activePage());
        QVERIFY(options);
        const QStringList ours{"EventsFrame", "BackupFrame", "StartFrame", "EmailFrame"};
        QList<QWidget*> skipped{options->findChild<QWidget*>(QStringLiteral("WavCmd"))}; // a file
        for (QGroupBox* g : options->findChildren<QGroupBox*>())
            if (!ours.contains(g->objectName()))
                skipped << g;
        QCOMPARE(skipped.size() + ours.size(), options->findChildren<QGroupBox*>().size() + 1);
        QStringList unmarked = M::unmarkedTexts(options, {.widgets = skipped});
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(u'\n')));
        QVERIFY(options->findChild<QLabel*>(QStringLiteral("DataPathLb"))
                    ->text()
                    .startsWith(QLatin1String("[[Data file: ")));

        app.dispatcher().dispatch(trayIndex("QAccess"));
        auto* quickAccess = qobject_cast<QuickAccessPage*>(main->activePage());
        QVERIFY(quickAccess);
        unmarked = M::unmarkedTexts(quickAccess);
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(u'\n')));
    }

    // A message kept as a constant is looked up when it is shown, not when the program
    // loads (before the language is installed).
    void aConstantMessageIsTranslatedWhenShown() {
        Install in;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create();
        in.exec("INSERT INTO QAccess (FullPath, Hits, qaDate) VALUES ('/nowhere/gone', 2, "
                "'2026-01-01')");
        app.dispatcher().dispatch(trayIndex("QAccess"));
        auto* page = qobject_cast<QuickAccessPage*>(app.dispatcher().mainWindow()->activePage());
        QVERIFY(page);
        page->reload();
        in.desktop.dialogs.messages.clear();
        page->openFolder(0);
        QCOMPARE(in.desktop.dialogs.messages.size(), 1);
        QCOMPARE(in.desktop.dialogs.messages.first().text, M::marked("Folder not found! "));
    }

    // Texts made by the plain classes and shown by the windows, the notices or the command
    // line: translated, with each argument where the language puts it.
    void textsOutsideTheWindowsAreTranslated() {
        m_translator->translations = {
            {QStringLiteral("MissedMinutes|Not run: %1 at %2"), QStringLiteral("%2: %1 ran not")},
            {QStringLiteral("SaveFailures|%1 could not be saved to %2:\n%3"),
             QStringLiteral("%3 (%2, %1)")},
            {QStringLiteral("MailTexts|could not connect to %1:%2 (%3)"),
             QStringLiteral("%3 <- %1:%2")},
        };
        const QDate today(2026, 3, 2);
        DueEntry backup;
        backup.name = QStringLiteral("Backup");
        QCOMPARE(MissedMinutes::skippedLine({{today, QTime(10, 5)}, backup}, today),
                 QStringLiteral("10:05: Backup ran not"));
        QCOMPARE(MissedMinutes::notice({"1", "2", "3"}, 2), "1\n2\n" + M::marked("and 1 more"));
        QCOMPARE(SaveFailures::failedText(QStringLiteral("Notes"), QStringLiteral("/d/data.plm"),
                                          QStringLiteral("disk full")),
                 QStringLiteral("disk full (/d/data.plm, Notes)"));
        QVERIFY(M::isMarked(SaveFailures::unloadText(QStringList{QStringLiteral("x")})));
        QCOMPARE(MailTexts::notConnected(QStringLiteral("pop.example.org"), 995,
                                         QStringLiteral("timed out")),
                 QStringLiteral("timed out <- pop.example.org:995"));
        QCOMPARE(MailTexts::found(1, false), M::marked("1 new message"));
        QCOMPARE(MailTexts::found(4, true), M::marked("4 unread messages"));
        QCOMPARE(MailTexts::noticeSpoken(2, false), M::marked("2 messages waiting"));
        QCOMPARE(ReminderRules::daysText(today, today.addDays(3)), M::marked("3 day(s) from now."));
        QCOMPARE(DataBackup::restoreMessage(DataBackup::Result::NotFound),
                 M::marked("Data file not found !"));
        QCOMPARE(TrayMenu::caption(TrayMenu::Unload), M::marked("Unload Plumora"));
        QCOMPARE(MainToolbar::tip(MainToolbar::HelpButton), M::marked("Help"));

        const RemoteCommand longNote{QLatin1String(RemoteCommand::NewNote),
                                     QString(RemoteCommand::MaxNoteBytes + 1, u'x')};
        QVERIFY(M::isMarked(longNote.refusal({})));
        const RemoteCommand unknown{QLatin1String(RemoteCommand::Show), QStringLiteral("tally")};
        QCOMPARE(unknown.refusal({QStringLiteral("calendar")}),
                 M::marked("There is no tool \"tally\" to show. The tools are: calendar."));

        QCommandLineParser parser;
        CommandLine::describe(parser);
        QVERIFY(parser.helpText().contains(QLatin1String("[[Import the iCalendar files")));
        QVERIFY(parser.helpText().contains(QLatin1String("[[Plumora keeps a calendar")));
        QVERIFY(M::isMarked(
            CommandLine::read(QStringList{"plumora", "--capture", "--show", "notes"}).error));
        QCOMPARE(CommandLine::read(QStringList{"plumora", "--capture", "extra"}).error,
                 M::marked("--capture takes no further arguments: extra"));
    }

    // A sign-in entry is found by its account, whatever words a language puts around the
    // address in the list.
    void theProviderSignInFindsItsEntryInAnyWording() {
        m_translator->translations = {
            {QStringLiteral("MailOptionsGroup|%1 (GNOME Online Accounts)"),
             QStringLiteral("Online account: %1")},
            {QStringLiteral("MailOptionsGroup|Choose \"%1\" under Sign in "
                            "with."),
             QStringLiteral("Pick \"%1\".")}};
        Install in;
        in.desktop.mail.account = {QStringLiteral("Ann@Example.org"),
                                   QStringLiteral("imap.example.org"),
                                   QStringLiteral("imap"),
                                   993,
                                   MailSecurity::Tls,
                                   true};
        in.desktop.onlineAccounts.running = true;
        OnlineMailAccount a;
        a.id = QStringLiteral("account_7");
        a.emailAddress = QStringLiteral("ann@example.org");
        a.imapHost = QStringLiteral("imap.example.org");
        a.oauth2 = true;
        in.desktop.onlineAccounts.accounts = {a};
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        app.controller().create();
        app.dispatcher().dispatch(trayIndex("Options"));
        const QWidget* page = app.dispatcher().mainWindow()->activePage();
        const auto* note = page->findChild<QLabel*>(QStringLiteral("MailOnlineLb"));
        QVERIFY(note);
        QVERIFY2(note->text().contains(QLatin1String("Pick \"Online account: ann@example.org\".")),
                 qPrintable(note->text()));
    }
};

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
