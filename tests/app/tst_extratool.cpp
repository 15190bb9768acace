// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/ProgramSchema.h"
#include "base/Log.h"
#include "data/DataBackup.h"
#include "data/DataFile.h"
#include "data/DataStore.h"
#include "data/Migrations.h"
#include "data/ToolSetting.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/Install.h"
#include "mock/ProgramTools.h"
#include "notify/ui/MessagePopup.h"
#include "options/ui/Options.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/Menu.h"
#include "shell/ui/OptionsGroup.h"

#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

// A tool that is not the shell's own joins it through its data part and one descriptor: a
// toolbar button, a Tools menu and a tray menu entry after Options, its page, a minute job,
// an Options group, a table with its own steps that the hub and a restore know, a shared
// store, its due entries with their own action, and a setting of its own. The shell's
// buttons and indexes stay where they were.
class TestExtraTool : public QObject {
    Q_OBJECT

    // Stands at 09:00:01, before the tool's entry falls due.
    struct Install : ::Install {
        Install() : ::Install({.start = QDateTime(QDate(2026, 3, 10), QTime(9, 0, 1))}) {}
    };

    class CountingJob : public MinuteJob {
    public:
        explicit CountingJob(int& runs) : m_runs(runs) {}
        const char* name() const override { return "tally"; }
        void run(MinuteContext&) override { ++m_runs; }

    private:
        int& m_runs;
    };

    // The tool's group on the Options page, between the page's events and backup groups.
    class TallyGroup : public OptionsGroup {
    public:
        explicit TallyGroup(QWidget* parent) : OptionsGroup(QStringLiteral("Tally"), parent) {
            setObjectName(QStringLiteral("TallyGroup"));
        }
        int order() const override { return 300; }
        void load(const Settings&) override {}
    };

    // The tool's object: what the application keeps for it, and its saves.
    struct Counter {
        int saves = 0;
    };

    // Its shared store: what its windows and other tools' code write its rows through.
    class TallyStore : public DataStore {
    public:
        TallyStore(QString dataFile, ChangeHub* changes)
            : DataStore(std::move(dataFile), &lcStartup, changes) {}
        bool ring(int n, const QString& at) {
            DataFile db = open();
            return db.exec(QStringLiteral("INSERT INTO Tally (n, At) VALUES (?, ?)"), {n, at}) ||
                   fail(QStringLiteral("ring"), db.lastError());
        }
    };

    // Its part of the data file: a table with its own steps, a setting of its own (a one-row
    // table read and written through ToolSetting), and its store.
    static ToolData tallyData() {
        SchemaPart tables;
        tables.create = {QStringLiteral("CREATE TABLE Tally (n INTEGER NOT NULL, At TEXT)")};
        tables.steps = {{1, {QStringLiteral("CREATE TABLE Tally (n INTEGER NOT NULL)")}},
                        {2, {QStringLiteral("ALTER TABLE Tally ADD COLUMN At TEXT")}}};
        SchemaPart settings;
        settings.owner = QStringLiteral("TallySettings");
        settings.create = {QStringLiteral("CREATE TABLE TallySettings (Step INTEGER)")};
        return {{tables, settings}, ToolData::stores<TallyStore>()};
    }

    static Application::ToolFactory tally(int& runs, QStringList* rung = nullptr) {
        return [&runs, rung](AppContext&) { return tallyDescriptor(runs, rung); };
    }

    static ToolDescriptor tallyDescriptor(int& runs, QStringList* rung) {
        ToolDescriptor d;
        d.id = QStringLiteral("Tally");
        d.tip = QStringLiteral("Tally Counter");
        d.caption = QStringLiteral("Tally Counter");
        d.accelerator = QStringLiteral("&Tally Counter");
        d.paintIcon = [](QPainter& p) { p.fillRect(4, 4, 24, 24, Qt::darkGreen); };
        d.etchedRule = true;
        d.page = [](QWidget* parent) { return new ToolPage(parent); };
        d.addJobs = [&runs](TrayController& c) {
            c.addMinuteJob(std::make_unique<CountingJob>(runs));
        };
        // Its group on the Options page.
        d.optionsGroups = {[](QWidget* parent) { return new TallyGroup(parent); }};
        d.dueTables = {QStringLiteral("Tally")};
        d.dueActions.insert(QStringLiteral("Tally.ring"), {.fire = [rung](const DueEntry& e) {
                                if (rung)
                                    *rung << e.program;
                            }});
        d.dueReader = [](DataFile& db, const AppPaths&, QList<DueEntry>& entries) {
            return db.forEach(QStringLiteral("SELECT At FROM Tally WHERE At IS NOT NULL"), {},
                              [&](DataFile::Row row) {
                                  DueEntry e;
                                  e.frequency = 1;
                                  e.action = QStringLiteral("Tally.ring");
                                  e.program = QStringLiteral("tally-alarm");
                                  if (readDue(row.value(0), e.date, e.time))
                                      entries.append(e);
                                  return true;
                              });
        };
        return d;
    }

    static QVariant scalar(Install& in, const char* sql) {
        return DataFile(in.context.paths.dataFile()).scalar(QLatin1String(sql));
    }

private Q_SLOTS:
    // Its object is kept by the application and found by its id and type; through its link
    // it tells the user (a pop-up message whose click shows the tool it names), brings a
    // tool up and asks every tool to save its open work; its group is on the Options page.
    void speaksThroughItsLink() {
        Install in;
        int runs = 0;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        auto counter = std::make_shared<Counter>();
        std::shared_ptr<ToolLink> link;
        app.addTool(tallyData(), [&](AppContext&) {
            ToolDescriptor d = tallyDescriptor(runs, nullptr);
            d.owner = counter;
            d.saveNow = [c = counter.get()] { ++c->saves; };
            link = d.link;
            return d;
        });
        app.controller().create();
        QCOMPARE(app.tool<Counter>(QStringLiteral("Tally")), counter.get());
        QVERIFY(!app.tool<NotesTool>(QStringLiteral("Tally")));
        QVERIFY(app.tool<NotesTool>(QStringLiteral("QNotes")));
        QVERIFY(!app.tool<Counter>(QStringLiteral("Abacus")));

        Q_EMIT link->showTool(QStringLiteral("Tally"));
        MainWindow* main = app.dispatcher().mainWindow();
        QVERIFY(main);
        QCOMPARE(main->activePage()->objectName(), QStringLiteral("Tally"));

        // Another tool's shut-down entry asks the same of every tool.
        Q_EMIT link->saveOpenWorkAsked();
        QCOMPARE(counter->saves, 1);

        link->tell(QStringLiteral("Counted to ten."), QStringLiteral("Options"));
        MessagePopup* popup = app.notices().popMsg();
        QVERIFY(popup);
        QCOMPARE(popup->message(), QStringLiteral("Counted to ten."));
        QCOMPARE(popup->action(), QStringLiteral("Options"));
        popup->clicked();
        QCOMPARE(main->activePage()->objectName(), QStringLiteral("Options"));
        QVERIFY(main->activePage()->findChild<TallyGroup*>(QStringLiteral("TallyGroup")));
    }

    void joinsTheToolbarAndBothMenusAfterOptions() {
        Install in;
        int runs = 0;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        const int button = app.addTool(tallyData(), tally(runs));
        QCOMPARE(button, MainToolbar::ButtonCount + 1);
        app.controller().create();

        const int index = TrayMenu::ItemCount;
        app.dispatcher().dispatch(index);
        MainWindow* main = app.dispatcher().mainWindow();
        QVERIFY(main);
        QCOMPARE(main->activePage()->objectName(), QStringLiteral("Tally"));
        QCOMPARE(main->activePage()->windowTitle(), QStringLiteral("Tally Counter"));
        QVERIFY(main->toolbarButton(button)->isChecked());
        QVERIFY(main->activePage()->findChild<QWidget*>(QStringLiteral("L1")));

        // Toolbar: after Options, before the separator of the reminder's group; the shell's
        // buttons keep their numbers.
        const QList<QAction*> bar = main->findChild<QToolBar*>(QStringLiteral("MainTB"))->actions();
        const qsizetype at = bar.indexOf(main->toolbarButton(button));
        QCOMPARE(bar.at(at - 1), main->toolbarButton(toolButton("Options")));
        QCOMPARE(bar.at(at + 1), main->toolbarButton(toolButton("Options") + 1));
        QCOMPARE(main->toolbarButton(MainToolbar::HelpButton)->toolTip(), QStringLiteral("Help"));

        const QList<QAction*> tools =
            main->findChild<QMenu*>(QStringLiteral("ToolsMenu"))->actions();
        auto* entry = main->findChild<QAction*>(QStringLiteral("TallyMenu"));
        QVERIFY(entry);
        QCOMPARE(entry->text(), QStringLiteral("&Tally Counter"));
        QCOMPARE(tools.at(tools.indexOf(entry) - 1)->objectName(), QStringLiteral("OptionsMenu"));
        main->toolbarButton(toolButton("Calendar"))->trigger();
        entry->trigger();
        QCOMPARE(main->activePage()->objectName(), QStringLiteral("Tally"));

        // Tray menu: after Options, in its group; Show Reminder keeps index 7.
        app.dispatcher().showMenu();
        Menu* menu = app.dispatcher().menuWindow();
        QVERIFY(menu);
        QCOMPARE(menu->label(index)->text(), QStringLiteral("Tally Counter"));
        QCOMPARE(menu->label(TrayMenu::ShowReminder)->text(), QStringLiteral("Show Reminder"));
        auto* grid = qobject_cast<QGridLayout*>(menu->layout());
        QVERIFY(grid);
        const auto row = [grid, menu](int i) {
            int r = -1, c = -1, rs = 0, cs = 0;
            grid->getItemPosition(grid->indexOf(menu->label(i)), &r, &c, &rs, &cs);
            return r;
        };
        QCOMPARE(row(index), row(trayIndex("Options")) + 1);
        // Then the line that ends the group, and the reminder's entry.
        QCOMPARE(row(TrayMenu::ShowReminder), row(index) + 2);
        menu->activate(trayIndex("Calendar"));
        QCOMPARE(main->activePage()->objectName(), QStringLiteral("Calendar"));
    }

    // The table is made at the tool's latest version in a file that lacks it; the minute
    // job runs with the tick, and the tool's rows join the due entries.
    void tablesJobsAndDueEntries() {
        Install in;
        int runs = 0;
        Application app(in.context);
        app.addTool(tallyData(), tally(runs));
        app.controller().create();
        QCOMPARE(scalar(in, "SELECT Version FROM ToolVersions WHERE Tool = 'Tally'").toInt(), 2);
        QVERIFY(DataFile(in.context.paths.dataFile()).columns("Tally").contains("At"));
        QCOMPARE(scalar(in, "PRAGMA user_version").toInt(), programSchema().currentVersion());

        {
            DataFile db(in.context.paths.dataFile());
            QVERIFY(db.exec("INSERT INTO Tally (n, At) VALUES (1, '2026-03-10 09:30')"));
        }
        app.controller().tick().run();
        QCOMPARE(runs, 1);
        const QList<DueEntry>& due = app.controller().tick().cache().entries;
        QCOMPARE(due.size(), 1);
        QCOMPARE(due.first().program, QStringLiteral("tally-alarm"));
        QCOMPARE(due.first().time, QTime(9, 30));
    }

    // Its store is on the shelf before its factory runs, one for every user; a row written
    // through it is announced, re-read by the tick without another pass of the file, and
    // fires through the tool's own handler at its minute, and only then; the shell starts
    // nothing for it.
    void sharedStoreAndItsDueEntry() {
        Install in;
        int runs = 0;
        QStringList rung;
        Application app(in.context);
        TallyStore* seen = nullptr;
        app.addTool(tallyData(), [&](AppContext& context) {
            seen = &context.stores.get<TallyStore>();
            return tallyDescriptor(runs, &rung);
        });
        QCOMPARE(seen, in.context.stores.shelf.find<TallyStore>());
        app.controller().create();
        app.controller().tick().run();
        QVERIFY(app.controller().tick().cache().entries.isEmpty());

        QSignalSpy changed(&app.changes(), &ChangeHub::changed);
        QVERIFY(seen->ring(1, QStringLiteral("2026-03-10 09:30")));
        QTRY_VERIFY(changed.contains(QVariantList{QStringLiteral("Tally")}));
        QTRY_COMPARE(app.controller().tick().cache().entries.size(), 1);
        app.controller().tick().run();
        QVERIFY(rung.isEmpty());
        in.clock.set(QDateTime(QDate(2026, 3, 10), QTime(9, 30, 1)));
        app.controller().tick().run();
        QCOMPARE(rung, QStringList{QStringLiteral("tally-alarm")});
        QVERIFY(in.desktop.shell.started.isEmpty());
    }

    // A tool without a caption only runs its jobs: no toolbar button, no menu entry, and the
    // tools after it number as if it were not there.
    void aToolWithoutACaptionIsShownNowhere() {
        Install in;
        int backgroundRuns = 0;
        int runs = 0;
        Application app(in.context);
        app.dispatcher().setQuitHandler([] {});
        ToolDescriptor background;
        background.id = QStringLiteral("Background");
        background.addJobs = [&backgroundRuns](TrayController& c) {
            c.addMinuteJob(std::make_unique<CountingJob>(backgroundRuns));
        };
        QCOMPARE(app.addTool({}, [&](AppContext&) { return background; }), 0);
        QCOMPARE(app.addTool(tallyData(), tally(runs)), MainToolbar::ButtonCount + 1);
        app.controller().create();
        app.controller().tick().run();
        QCOMPARE(backgroundRuns, 1);
        QCOMPARE(runs, 1);

        app.dispatcher().dispatch(TrayMenu::ItemCount);
        MainWindow* main = app.dispatcher().mainWindow();
        QCOMPARE(main->activePage()->objectName(), QStringLiteral("Tally"));
        QVERIFY(!main->findChild<QAction*>(QStringLiteral("BackgroundMenu")));
        const QList<QAction*> tools =
            main->findChild<QMenu*>(QStringLiteral("ToolsMenu"))->actions();
        QCOMPARE(
            tools.at(tools.indexOf(main->findChild<QAction*>(QStringLiteral("TallyMenu"))) - 1)
                ->objectName(),
            QStringLiteral("OptionsMenu"));
        app.dispatcher().showMenu();
        QVERIFY(!app.dispatcher().menuWindow()->label(TrayMenu::ItemCount + 1));
    }

    // The added tool's table is one of the file's: the hub announces it when another
    // process writes, the tick re-reads its entries when it changes, and a restore carries
    // its rows (a restore used to drop them) into tables of today's shape, recorded at the
    // tool's latest version whatever the restored file said.
    void hubTickAndRestoreKnowItsTable() {
        Install in;
        int runs = 0;
        Application app(in.context);
        app.addTool(tallyData(), tally(runs));
        app.controller().create();
        QVERIFY(app.controller().tick().keeps(QStringLiteral("Tally")));
        QVERIFY(!app.controller().tick().keeps(QStringLiteral("Events")));

        QSignalSpy changed(&app.changes(), &ChangeHub::changed);
        app.changes().announceAll();
        QTRY_VERIFY(changed.contains(QVariantList{QStringLiteral("Tally")}));

        in.exec("INSERT INTO Tally (n, At) VALUES (5, '2026-03-10 09:45')");
        QTemporaryDir backups;
        QCOMPARE(DataBackup::backup(in.context.paths.dataFile(), backups.path()),
                 DataBackup::Result::Done);
        {
            // The backup holds the tool's tables at their first version.
            DataFile backup(DataBackup::backupPath(backups.path()));
            QVERIFY(backup.exec("ALTER TABLE Tally DROP COLUMN At"));
            QVERIFY(backup.exec("UPDATE ToolVersions SET Version = 1 WHERE Tool = 'Tally'"));
        }
        in.exec("DELETE FROM Tally");
        DataBackup::RestoreDetails details;
        QCOMPARE(DataBackup::restore(in.context.stores.schema, backups.path(),
                                     in.context.paths.dataFile(), &details),
                 DataBackup::Result::Done);
        QVERIFY2(details.leftOut.isEmpty(), qPrintable(details.leftOut.join(u'\n')));
        QCOMPARE(scalar(in, "SELECT n FROM Tally").toInt(), 5);
        QVERIFY(DataFile(in.context.paths.dataFile()).columns("Tally").contains("At"));
        QCOMPARE(scalar(in, "SELECT Version FROM ToolVersions WHERE Tool = 'Tally'").toInt(), 2);
    }

    // The tool keeps a setting of its own without the program's settings knowing it: the
    // fallback until it is written, then the stored value, announced by the hub and carried
    // by a restore.
    void keepsASettingOfItsOwn() {
        Install in;
        int runs = 0;
        Application app(in.context);
        app.addTool(tallyData(), tally(runs));
        app.controller().create();
        const QString file = in.context.paths.dataFile();
        ToolSetting step(file, QStringLiteral("TallySettings"), QStringLiteral("Step"), 1,
                         &app.changes());
        QCOMPARE(step.value().toInt(), 1);

        QSignalSpy changed(&app.changes(), &ChangeHub::changed);
        QVERIFY(step.set(5));
        QVERIFY(step.set(6));
        QCOMPARE(scalar(in, "SELECT COUNT(*) FROM TallySettings").toInt(), 1);
        QCOMPARE(ToolSetting(file, QStringLiteral("TallySettings"), QStringLiteral("Step")).value(),
                 QVariant(6));
        QTRY_VERIFY(changed.contains(QVariantList{QStringLiteral("TallySettings")}));

        QTemporaryDir backups;
        QCOMPARE(DataBackup::backup(file, backups.path()), DataBackup::Result::Done);
        QVERIFY(step.set(9));
        QCOMPARE(DataBackup::restore(in.context.stores.schema, backups.path(), file),
                 DataBackup::Result::Done);
        QCOMPARE(step.value().toInt(), 6);

        // A name that is not a plain identifier is never put into a statement.
        QVERIFY(!ToolSetting(file, QStringLiteral("TallySettings; DROP TABLE Tally"),
                             QStringLiteral("Step"))
                     .set(1));
        QVERIFY(DataFile(file).columns("Tally").contains("n"));
    }

    // A file with the tool's tables of an older version gets the missing steps only, and
    // keeps its rows; a second start-up changes nothing.
    void olderTablesAreSteppedUp() {
        Install in;
        int runs = 0;
        {
            Application first(in.context);
            first.controller().create(); // the data file, without the tool
        }
        {
            DataFile db(in.context.paths.dataFile());
            QVERIFY(db.exec("CREATE TABLE ToolVersions (Tool TEXT PRIMARY KEY, "
                            "Version INTEGER NOT NULL)"));
            QVERIFY(db.exec("INSERT INTO ToolVersions VALUES ('Tally', 1)"));
            QVERIFY(db.exec("CREATE TABLE Tally (n INTEGER NOT NULL)"));
            QVERIFY(db.exec("INSERT INTO Tally (n) VALUES (7)"));
        }
        for (int start = 0; start < 2; ++start) {
            Application app(in.context);
            app.addTool(tallyData(), tally(runs));
            app.controller().create();
            QCOMPARE(scalar(in, "SELECT Version FROM ToolVersions WHERE Tool = 'Tally'").toInt(),
                     2);
            QCOMPARE(scalar(in, "SELECT n FROM Tally").toInt(), 7);
            QVERIFY(DataFile(in.context.paths.dataFile()).columns("Tally").contains("At"));
        }
    }
};

QTEST_MAIN(TestExtraTool)
#include "tst_extratool.moc"
