// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/HelpKey.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/Menu.h"
#include "shell/ui/ToolRegistry.h"

#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

ToolDescriptor tool(const QString& id, bool startsGroup = false) {
    ToolDescriptor d;
    d.id = id;
    d.tip = id + QStringLiteral(" tip");
    d.caption = id + QStringLiteral(" caption");
    d.startsGroup = startsGroup;
    return d;
}

// A dispatcher on fakes over a fresh data file.
struct Shell {
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
    CommandDispatcher shell{context};

    Shell() { programSchema().createTemplate(context.paths.dataFile(), QDate(2026, 1, 1)); }
};

} // namespace

// The order of registration gives every number, and the descriptors everything shown.
class TestToolRegistry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A numbered separator goes before each further group; tools past the seven slots take
    // buttons and tray indexes after the shell's own entries, which no tool ever takes.
    void numbersFollowTheOrderAndTheGroups() {
        ToolRegistry grouped;
        const bool starts[] = {true, false, true, false, false, true, false, false};
        QList<int> buttons;
        for (int i = 0; i < 8; ++i)
            buttons << grouped.add(tool(QStringLiteral("T%1").arg(i), starts[i]));
        QCOMPARE(buttons, (QList<int>{2, 3, 5, 6, 7, 9, 10, 15}));
        QCOMPARE(grouped.toolbarButtonOfTrayIndex(6), 10);
        QCOMPARE(grouped.toolOfTrayIndex(12)->id, QStringLiteral("T7"));
        for (int index : {-1, 7, 8, 9, 10, 11, 13})
            QCOMPARE(grouped.toolbarButtonOfTrayIndex(index), 0);
        for (int button : {1, 4, 8, 11, 12, 14, 16})
            QVERIFY(!grouped.toolOfButton(button));

        ToolRegistry oneGroup;
        buttons.clear();
        for (int i = 0; i < 7; ++i)
            buttons << oneGroup.add(tool(QStringLiteral("T%1").arg(i)));
        QCOMPARE(buttons, (QList<int>{2, 3, 4, 5, 6, 7, 8}));
    }

    // The program's list fills the tray's and the toolbar's slots in its order, and each
    // tool is found by its id at those numbers.
    void theProgramsToolsFillTheNamedSlots() {
        ToolRegistry tools;
        registerProgramTools(tools);
        const QList<std::tuple<int, int, const char*, const char*>> named{
            {0, 2, "Calendar", "calendar.htm"}, {1, 3, "QNotes", "qnotes.htm"},
            {2, 5, "Schedule", "schedule.htm"}, {3, 6, "QAccess", "qaccess.htm"},
            {4, 7, "SCapture", "scapture.htm"}, {5, 9, "SSWP", "sswp.htm"},
            {6, 10, "Options", "options.htm"}};
        for (const auto& [index, button, id, topic] : named) {
            QCOMPARE(tools.toolbarButtonOfTrayIndex(index), button);
            QCOMPARE(tools.toolOfButton(button)->id, QLatin1String(id));
            QCOMPARE(tools.toolOfButton(button)->topic(), QLatin1String(topic));
            QVERIFY(tools.toolOfButton(button)->paintIcon);
            QCOMPARE(tools.buttonOf(QLatin1String(id)), button);
            QCOMPARE(tools.trayIndexOf(QLatin1String(id)), index);
        }
        QCOMPARE(tools.buttonOf(QStringLiteral("MailWatch")), 0);
        QCOMPARE(tools.trayIndexOf(QStringLiteral("MailWatch")), -1);
    }

    // The data file's tables are the settings' first, then each tool's own in the list's
    // order: the data parts (which need no windows) and the descriptors are one list.
    void theSchemaComesFromTheList() {
        const FileSchema program = programSchema();
        QCOMPARE(program.tableNames().first(), QStringLiteral("System"));
        const QList<ToolData> data = programData();
        const QList<ToolDescriptor> tools = programTools();
        QCOMPARE(data.size(), tools.size());
        QHash<QString, QString> owner;
        for (qsizetype i = 0; i < tools.size(); ++i) {
            for (const QString& table : FileSchema(data.at(i).schema).tableNames())
                owner.insert(table, tools.at(i).id);
        }
        const QList<std::pair<const char*, const char*>> owned{
            {"Events", "Calendar"},       {"Subscriptions", "Calendar"},
            {"CalDavEvents", "Calendar"}, {"QNotes", "QNotes"},
            {"Schedule", "Schedule"},     {"QAccess", "QAccess"},
            {"SCapture", "SCapture"},     {"WPaper", "SSWP"}};
        for (const auto& [table, id] : owned)
            QCOMPARE(owner.value(QLatin1String(table)), QLatin1String(id));
        QVERIFY(!owner.contains(QStringLiteral("System")));
    }

    // A page is the descriptor's factory's, named by the tool's id unless it names itself;
    // F1 on a page opens the descriptor's topic, else the id's.
    void pagesAndHelpTopics() {
        Shell s;
        ToolDescriptor own = tool(QStringLiteral("Own"));
        own.helpTopic = QStringLiteral("elsewhere.htm");
        own.page = [](QWidget* parent) { return new ToolPage(parent); };
        const int ownButton = s.shell.tools().add(own);
        ToolDescriptor replaced = tool(QStringLiteral("Replaced"));
        replaced.page = [](QWidget* parent) {
            auto* page = new ToolPage(parent);
            page->setObjectName(QStringLiteral("Stand-in"));
            return page;
        };
        const int replacedButton = s.shell.tools().add(replaced);

        s.shell.dispatch(0);
        ToolPage* page = s.shell.mainWindow()->activePage();
        QCOMPARE(page->objectName(), QStringLiteral("Own"));
        QCOMPARE(page->windowTitle(), QStringLiteral("Own tip"));
        QCOMPARE(HelpKey::topicFor(page), QStringLiteral("elsewhere.htm"));
        s.shell.dispatch(1);
        page = s.shell.mainWindow()->activePage();
        QCOMPARE(page, s.shell.mainWindow()->loadedPage(replacedButton));
        QCOMPARE(page->objectName(), QStringLiteral("Stand-in"));
        QCOMPARE(HelpKey::topicFor(page), QStringLiteral("replaced.htm"));
        QCOMPARE(s.shell.mainWindow()->loadedPages(),
                 (QList<ToolPage*>{s.shell.mainWindow()->loadedPage(ownButton), page}));
    }

    // A tool after the program's that starts a group of its own is set apart by a line on
    // the toolbar, in the Tools menu and in the tray menu.
    void anAddedGroupIsSetApart() {
        Shell s;
        registerProgramTools(s.shell.tools());
        const int button = s.shell.tools().add(tool(QStringLiteral("Extra"), true));
        s.shell.dispatch(TrayMenu::ItemCount);
        MainWindow* main = s.shell.mainWindow();
        QCOMPARE(main->activePage()->objectName(), QStringLiteral("Extra"));

        const QList<QAction*> bar = main->findChild<QToolBar*>(QStringLiteral("MainTB"))->actions();
        const qsizetype at = bar.indexOf(main->toolbarButton(button));
        QVERIFY(bar.at(at - 1)->isSeparator());
        QCOMPARE(bar.at(at - 2), main->toolbarButton(toolButton("Options")));
        QCOMPARE(bar.at(at + 1), main->toolbarButton(MainToolbar::ReminderButton - 1));

        const QList<QAction*> tools =
            main->findChild<QMenu*>(QStringLiteral("ToolsMenu"))->actions();
        const qsizetype entry =
            tools.indexOf(main->findChild<QAction*>(QStringLiteral("ExtraMenu")));
        QVERIFY(tools.at(entry - 1)->isSeparator());
        QCOMPARE(tools.at(entry - 2)->objectName(), QStringLiteral("OptionsMenu"));
        QCOMPARE(tools.at(entry)->text(), QStringLiteral("Extra caption"));

        s.shell.showMenu();
        Menu* menu = s.shell.menuWindow();
        auto* grid = qobject_cast<QGridLayout*>(menu->layout());
        const auto row = [grid, menu](int i) {
            int r = -1, c = -1, rs = 0, cs = 0;
            grid->getItemPosition(grid->indexOf(menu->label(i)), &r, &c, &rs, &cs);
            return r;
        };
        QCOMPARE(menu->label(TrayMenu::ItemCount)->text(), QStringLiteral("Extra caption"));
        QCOMPARE(row(TrayMenu::ItemCount), row(trayIndex("Options")) + 2);
        QCOMPARE(row(TrayMenu::ShowReminder), row(TrayMenu::ItemCount) + 2);
        s.shell.unloadNow();
    }
};

QTEST_MAIN(TestToolRegistry)
#include "tst_toolregistry.moc"
