// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "platform/ui/QtWindowSystem.h"
#include "shell/WebSite.h"
#include "shell/ui/AboutBox.h"
#include "shell/ui/AppEventRules.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/FocusRingStyle.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/ScreenKeeper.h"
#include "shell/ui/ToolPage.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

// A tool the main window has never heard of: it plugs in through ToolPage alone and counts
// what the main window tells it.
class StubTool : public ToolPage {
    Q_OBJECT
public:
    using ToolPage::ToolPage;
    int activations = 0;
    int resized = 0;
    int saved = 0;
    bool hiddenWhenSaved = false;
    void activated() override { ++activations; }
    void hostResized() override { ++resized; }
    void aboutToHide() override {
        ++saved;
        hiddenWhenSaved = isHidden();
    }
};

// A tool with a menu of its own for the menu bar.
class MenuTool : public StubTool {
    Q_OBJECT
public:
    explicit MenuTool(QWidget* parent)
        : StubTool(parent), m_menu(new QMenu(QStringLiteral("&Stub"), this)) {}
    QMenu* pageMenu() override { return m_menu; }

private:
    QMenu* m_menu;
};

namespace {

class KeyCounter : public QObject {
public:
    explicit KeyCounter(int& count) : m_count(count) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress)
            ++m_count;
        return false;
    }

private:
    int& m_count;
};

// A program folder with a data file and help topics, and a dispatcher on fakes.
struct Fixture {
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
    int released = 0;
    int quits = 0;
    int reminders = 0;
    CommandDispatcher shell{context};

    // Calendar, Quick Notes and Quick Access show stubs unless `pages` says otherwise.
    explicit Fixture(TestPages pages = {}) {
        programSchema().createTemplate(context.paths.dataFile(), QDate(2026, 1, 1));
        QDir(dir.path()).mkpath(QStringLiteral("help"));
        for (const char* topic :
             {"index.htm", "plm.htm", "calendar.htm", "qnotes.htm", LocalProductPage}) {
            QFile f(dir.filePath(QStringLiteral("help/") + QLatin1String(topic)));
            f.open(QIODevice::WriteOnly);
            f.write("<html><body>topic</body></html>");
        }
        QObject::connect(&shell, &CommandDispatcher::releasing, [this] { ++released; });
        shell.setQuitHandler([this] { ++quits; });
        QObject::connect(&shell, &CommandDispatcher::reminderChosen, [this] { ++reminders; });
        const auto stub = [](QWidget* parent) { return new StubTool(parent); };
        for (const char* id : {"Calendar", "QNotes", "QAccess"})
            if (!pages.contains(QLatin1String(id)))
                pages.insert(QLatin1String(id), stub);
        registerProgramTools(shell.tools(), std::move(pages));
    }

    MainWindow* plm() const { return shell.mainWindow(); }
    QString tip(int button) {
        const ToolDescriptor* t = shell.tools().toolOfButton(button);
        return t ? t->tip : QString();
    }
    StubTool* tool(int button) const {
        return plm() ? qobject_cast<StubTool*>(plm()->loadedPage(button)) : nullptr;
    }
    QList<QWidget*> visibleChildren() const {
        QList<QWidget*> shown;
        for (QWidget* w : plm()->clientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!w->isHidden())
                shown << w;
        return shown;
    }
    QString status() const {
        return plm()->findChild<QLabel*>(QStringLiteral("StatusPanel1"))->text();
    }
    Settings stored() const { return SettingsStore(context.paths.dataFile()).load().value(); }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each tool is chosen from another one whose window was minimised.
    void clickMenuShowsItsToolAndPressesItsButton_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("child");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("caption");
        QTest::newRow("0") << 0 << "Calendar" << 2 << "Personal Calendar";
        QTest::newRow("1") << 1 << "QNotes" << 3 << "Quick Notes";
        QTest::newRow("2") << 2 << "Schedule" << 5 << "Power Scheduler";
        QTest::newRow("3") << 3 << "QAccess" << 6 << "Quick Access";
        QTest::newRow("4") << 4 << "SCapture" << 7 << "Screen Capture";
        QTest::newRow("5") << 5 << "SSWP" << 9 << "Wallpaper Changer";
        QTest::newRow("6") << 6 << "Options" << 10 << "Options";
    }

    void clickMenuShowsItsToolAndPressesItsButton() {
        QFETCH(int, index);
        QFETCH(QString, child);
        QFETCH(int, button);
        QFETCH(QString, caption);
        Fixture f;
        f.shell.dispatch(6 - index);
        f.plm()->showMinimized();
        f.shell.dispatch(index);
        QVERIFY(!f.plm()->isMinimized());
        QVERIFY(f.desktop.windows.shownWindows.contains(f.plm()));
        ToolPage* active = f.plm()->activePage();
        QVERIFY(active);
        QCOMPARE(active->objectName(), child);
        QCOMPARE(f.visibleChildren(), QList<QWidget*>{active});
        QCOMPARE(active->windowTitle(), caption);
        QCOMPARE(active->geometry(), f.plm()->clientArea()->rect());
        QCOMPARE(f.status(), caption);
        for (int b : f.shell.tools().toolButtons())
            QCOMPARE(f.plm()->toolbarButton(b)->isChecked(), b == button);
        QCOMPARE(f.plm()->toolbarButton(button)->toolTip(), caption);
    }

    void otherIndexesAndTheReminder_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("reminders");
        QTest::newRow("7 loads the reminder") << 7 << 1;
        QTest::newRow("-1") << -1 << 0;
        QTest::newRow("12") << 12 << 0;
    }

    void otherIndexesAndTheReminder() {
        QFETCH(int, index);
        QFETCH(int, reminders);
        Fixture f;
        f.shell.dispatch(index);
        QCOMPARE(f.reminders, reminders);
        QVERIFY(!f.plm());
        QVERIFY(!f.shell.helpWindow());
        QVERIFY(f.desktop.dialogs.messages.isEmpty());
        QVERIFY(f.desktop.shell.openedUrls.isEmpty());
        QVERIFY(f.desktop.windows.shownWindows.isEmpty());
    }

    void help() {
        Fixture f;
        f.shell.dispatch(TrayMenu::Help);
        QVERIFY(f.shell.helpWindow());
        QCOMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("index.htm"));
    }

    // "Web" of the tray menu, "Web Site" of the Help menu and the About box's link: the web
    // site in the browser, a message when no browser opens it, and the page of the help
    // while the site has no address.
    void webSiteFromEveryWayIn_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("tray menu") << 0;
        QTest::newRow("Help menu") << 1;
        QTest::newRow("About box") << 2;
    }
    void webSiteFromEveryWayIn() {
        QFETCH(int, way);
        Fixture f;
        f.shell.dispatch(trayIndex("Calendar"));
        AboutBox about(f.desktop.windows, [&f] { f.shell.openWebSite(); });
        const auto open = [&] {
            if (way == 0)
                f.shell.dispatch(TrayMenu::Web);
            else if (way == 1)
                f.plm()->findChild<QAction*>(QStringLiteral("WebSiteMenu"))->trigger();
            else
                Q_EMIT about.findChild<QLabel*>(QStringLiteral("MakerLb"))->linkActivated("site");
        };

        qputenv("PLUMORA_WEBSITE", "https://plumora.test/");
        open();
        QCOMPARE(f.desktop.shell.openedUrls, QStringList{"https://plumora.test"});
        QVERIFY(f.desktop.dialogs.messages.isEmpty());
        f.desktop.shell.browserAvailable = false;
        open();
        QCOMPARE(f.desktop.dialogs.messages.size(), 1);
        QCOMPARE(f.desktop.dialogs.messages[0].title, QStringLiteral("Plumora"));
        QVERIFY(f.desktop.dialogs.messages[0].text.contains("https://plumora.test"));

        qunsetenv("PLUMORA_WEBSITE");
        f.desktop.shell.openedUrls.clear();
        open();
        QVERIFY(f.desktop.shell.openedUrls.isEmpty());
        QCOMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("about-plumora.htm"));
        QCOMPARE(f.desktop.dialogs.messages.size(), 1);
    }

    void productAddress_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("web");
        QTest::newRow("https") << "https://plumora.example.org" << true;
        QTest::newRow("http, upper-case scheme") << "HTTP://10.0.0.1:8080" << true;
        QTest::newRow("the local page") << QString(LocalProductPage) << false;
        QTest::newRow("a file") << "file:///usr/share/plumora/help/index.htm" << false;
        QTest::newRow("no host") << "https://" << false;
        QTest::newRow("empty") << "" << false;
    }
    void productAddress() {
        QFETCH(QString, address);
        QFETCH(bool, web);
        QCOMPARE(isWebAddress(address), web);
    }

    // A focused button shows a ring of the highlight colour at least RingWidth pixels wide;
    // without the focus it has none.
    void focusedButtonShowsAWideRing() {
        FocusRingStyle::install();
        QVERIFY(qobject_cast<FocusRingStyle*>(QApplication::style()));
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("Edit Events..."), &window);
        auto* other = new QPushButton(QStringLiteral("Go Today"), &window);
        other->move(0, 60);
        window.resize(200, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QColor ring = button->palette().color(QPalette::Highlight);
        // The widest run of ring-coloured pixels across the button's middle row.
        const auto widestRun = [&] {
            const QImage picture = button->grab().toImage();
            const int y = picture.height() / 2;
            int widest = 0;
            for (int x = 0, run = 0; x < picture.width(); ++x) {
                run = picture.pixelColor(x, y).rgb() == ring.rgb() ? run + 1 : 0;
                widest = std::max(widest, run);
            }
            return qreal(widest) / picture.devicePixelRatio();
        };
        other->setFocus();
        QCOMPARE(widestRun(), 0.0);
        button->setFocus();
        QVERIFY2(widestRun() >= FocusRingStyle::RingWidth,
                 qPrintable(QString::number(widestRun())));
    }

    // A page's own menu stands in the menu bar before Help while the page is shown.
    void pageMenuFollowsThePage() {
        TestPages pages;
        pages.insert(QStringLiteral("Calendar"),
                     [](QWidget* parent) { return new MenuTool(parent); });
        Fixture f(std::move(pages));
        const auto menus = [&] {
            QStringList titles;
            for (const QAction* a : f.plm()->menuBar()->actions())
                titles << a->text();
            return titles;
        };
        f.shell.dispatch(trayIndex("Calendar"));
        QCOMPARE(menus(), (QStringList{"&Tools", "&Edit", "&Stub", "&Help"}));
        f.shell.dispatch(trayIndex("QNotes"));
        QCOMPARE(menus(), (QStringList{"&Tools", "&Edit", "&Help"}));
        f.shell.dispatch(trayIndex("Calendar"));
        QCOMPARE(menus(), (QStringList{"&Tools", "&Edit", "&Stub", "&Help"}));
    }

    void unloadAnsweredNoKeepsEverything() {
        Fixture f;
        f.shell.dispatch(trayIndex("Calendar"));
        f.desktop.dialogs.answers = {MessageAnswer::No};
        f.shell.dispatch(TrayMenu::Unload);
        QCOMPARE(f.desktop.dialogs.messages.size(), 1);
        QCOMPARE(f.desktop.dialogs.messages[0].text, QStringLiteral("Unload Plumora?  "));
        QCOMPARE(f.desktop.dialogs.messages[0].title, QStringLiteral("Confirm"));
        QCOMPARE(f.desktop.dialogs.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(f.desktop.dialogs.messages[0].icon, MessageIcon::Question);
        const QPointer<MainWindow> plm = f.plm();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(f.released, 0);
        QCOMPARE(f.quits, 0);
        QVERIFY(plm);
    }

    // Work that could not be saved, and the user chose "Stay": nothing closes.
    void unloadStaysWhenTheGuardSaysSo() {
        Fixture f;
        f.shell.dispatch(trayIndex("Calendar"));
        int asked = 0;
        QObject::connect(&f.shell, &CommandDispatcher::unloadConfirmed,
                         [&](bool* stay) { *stay = ++asked <= 1; });
        f.desktop.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        const QPointer<MainWindow> plm = f.plm();
        QVERIFY(!f.shell.unload());
        QCOMPARE(asked, 1);
        QCOMPARE(f.released, 0);
        QCOMPARE(f.quits, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(plm);
        QVERIFY(f.shell.unload());
        QCOMPARE(f.quits, 1);
    }

    void unloadAnsweredYesClosesEverythingInOrder() {
        Fixture f;
        f.shell.dispatch(trayIndex("Calendar"));
        f.plm()->move(150, 300);
        f.plm()->resize(700, 500);
        QWidget reminder, mail, other;
        reminder.setWindowTitle(QStringLiteral("- Reminder -"));
        mail.setWindowTitle(QStringLiteral("- New e-mail -"));
        other.setWindowTitle(QStringLiteral("- Plumora -"));
        for (QWidget* w : {&reminder, &mail, &other})
            w->show();
        f.desktop.windows.openWindows = {QStringLiteral("- Reminder -"),
                                         QStringLiteral("- New e-mail -")};
        f.desktop.dialogs.answers = {MessageAnswer::Yes};
        const QPointer<MainWindow> plm = f.plm();
        QVERIFY(f.shell.unload());
        QVERIFY(reminder.isHidden());
        QVERIFY(mail.isHidden());
        QVERIFY(!other.isHidden());
        QCOMPARE(f.released, 1);
        QCOMPARE(f.quits, 1);
        QTRY_VERIFY(!plm);
        // The main window's closing stored its placement.
        QCOMPARE(f.stored().windowLeft, 150 * 15);
        QCOMPARE(f.stored().windowWidth, 700 * 15);
    }

    void pressedButtonStaysPressedAndShowsTheToolAgain() {
        Fixture f;
        f.shell.dispatch(trayIndex("Calendar"));
        QAction* calendar = f.plm()->toolbarButton(toolButton("Calendar"));
        f.tool(toolButton("Calendar"))->hide();
        calendar->trigger();
        QVERIFY(calendar->isChecked());
        QVERIFY(!f.tool(toolButton("Calendar"))->isHidden());
        // Help and Reminder never stay pressed.
        f.plm()->toolbarButton(MainToolbar::ReminderButton)->trigger();
        QCOMPARE(f.reminders, 1);
        QVERIFY(calendar->isChecked());
        QVERIFY(!f.plm()->toolbarButton(MainToolbar::ReminderButton)->isChecked());
    }

    void aPageKeepsItsWorkBeforeItIsHidden() {
        Fixture f;
        f.shell.dispatch(trayIndex("QNotes"));
        StubTool* notes = f.tool(toolButton("QNotes"));
        QCOMPARE(notes->saved, 0);
        f.plm()->clickToolbarButton(toolButton("QAccess"));
        QCOMPARE(notes->saved, 1);
        QVERIFY(!notes->hiddenWhenSaved);
        QVERIFY(notes->isHidden());
        // Hidden notes are not saved again by the next switch.
        f.plm()->clickToolbarButton(toolButton("Calendar"));
        QCOMPARE(notes->saved, 1);
    }

    // Keys go to the page the user sees: each page gets back the control it last had, a
    // page without one its first, and keys typed after a switch never reach a hidden page.
    // The screen reader's actions on a tool button switch as a click does.
    void focusFollowsTheShownPage() {
        const auto withFields = [](QWidget* parent) {
            auto* page = new StubTool(parent);
            auto* layout = new QVBoxLayout(page);
            for (const char* name : {"First", "Second"}) {
                auto* edit = new QLineEdit(page);
                edit->setObjectName(QLatin1String(name));
                layout->addWidget(edit);
            }
            return page;
        };
        Fixture f({{"QNotes", withFields}, {"QAccess", withFields}});
        f.shell.dispatch(trayIndex("QNotes"));
        f.plm()->show();
        f.plm()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.plm()));
        auto field = [&](int button, const char* name) {
            return f.tool(button)->findChild<QLineEdit*>(QLatin1String(name));
        };
        QLineEdit* notes = field(toolButton("QNotes"), "Second");
        notes->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), notes);

        f.plm()->clickToolbarButton(toolButton("QAccess"));
        QCOMPARE(QApplication::focusWidget(), field(toolButton("QAccess"), "First"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("YYY"));
        QCOMPARE(notes->text(), QString());
        QCOMPARE(field(toolButton("QAccess"), "First")->text(), QStringLiteral("YYY"));

        // Through the Tools menu, back to the control the page last had.
        f.plm()->findChild<QAction*>(QStringLiteral("QNotesMenu"))->trigger();
        QCOMPARE(QApplication::focusWidget(), notes);

        // A page without controls takes the keys itself.
        f.plm()->clickToolbarButton(toolButton("Calendar"));
        QCOMPARE(QApplication::focusWidget(), f.tool(toolButton("Calendar")));

        auto* bar = f.plm()->findChild<QToolBar*>(QStringLiteral("MainTB"));
        for (int button : {toolButton("QAccess"), toolButton("QNotes")}) {
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(
                bar->widgetForAction(f.plm()->toolbarButton(button)));
            QVERIFY(access && access->actionInterface());
            int pressed = 0;
            for (const QString& name : access->actionInterface()->actionNames()) {
                if (name != QAccessibleActionInterface::toggleAction() &&
                    name != QAccessibleActionInterface::pressAction())
                    continue; // "SetFocus" and the like
                f.plm()->clickToolbarButton(toolButton("Calendar"));
                access->actionInterface()->doAction(name);
                QTRY_VERIFY2(f.plm()->activePage() == f.tool(button), qPrintable(name));
                QVERIFY(f.plm()->toolbarButton(button)->isChecked());
                QVERIFY(f.tool(toolButton("Calendar"))->isHidden());
                // Pressed again it stays down.
                access->actionInterface()->doAction(name);
                QVERIFY(access->state().checked);
                QVERIFY(f.plm()->activePage() == f.tool(button));
                ++pressed;
            }
            QVERIFY(pressed > 0);
        }
        // One tool after another, as a screen reader user goes through the toolbar: each
        // press shows its tool.
        for (int button : {toolButton("QNotes"), toolButton("Calendar"), toolButton("QAccess"),
                           toolButton("QNotes"), toolButton("QAccess"), toolButton("Calendar")}) {
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(
                bar->widgetForAction(f.plm()->toolbarButton(button)));
            access->actionInterface()->doAction(access->actionInterface()->actionNames().at(0));
            QTRY_VERIFY2(f.plm()->activePage() == f.tool(button), qPrintable(f.tip(button)));
            for (int other : {toolButton("Calendar"), toolButton("QNotes"), toolButton("QAccess")})
                QVERIFY2(
                    bar->widgetForAction(f.plm()->toolbarButton(other))
                            ->property("checked")
                            .toBool() == (other == button),
                    qPrintable(f.tip(button) + " pressed, " + f.tip(other) + " checked wrongly"));
        }
    }

    void activationAndResizeReachTheActivePageOnly() {
        Fixture f;
        f.shell.dispatch(trayIndex("Calendar"));
        f.plm()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.plm()));
        StubTool* calendar = f.tool(toolButton("Calendar"));
        QCOMPARE(calendar->activations, 1);

        f.plm()->clickToolbarButton(toolButton("QAccess"));
        const int calendarResized = calendar->resized;
        StubTool* qa = f.tool(toolButton("QAccess"));
        const int before = qa->resized;
        f.plm()->resize(f.plm()->width() + 40, f.plm()->height() + 30);
        QTRY_COMPARE(qa->resized, before + 1);
        QCOMPARE(calendar->resized, calendarResized);
        QCOMPARE(qa->geometry(), f.plm()->clientArea()->rect());
        // Quick Access carries the etched rule at its top.
        QVERIFY(qa->findChild<QWidget*>(QStringLiteral("L1")));
        QCOMPARE(qa->findChild<QWidget*>(QStringLiteral("L2"))->width(), qa->width());
    }

    // Zero sizes and off-screen positions are the placement rules' own test.
    void closingMaximisedKeepsTheNormalPlacement() {
        Fixture f;
        QVERIFY(SettingsStore(f.context.paths.dataFile()).update([](Settings& s) {
            s.windowLeft = s.windowTop = 1500;
            s.windowWidth = 9000;
            s.windowHeight = 7500;
        }));
        f.shell.dispatch(trayIndex("Calendar"));
        QCOMPARE(QRect(f.plm()->pos(), f.plm()->size()), QRect(100, 100, 600, 500));
        f.plm()->showMaximized();
        QPointer<MainWindow> plm = f.plm();
        plm->close();
        QTRY_VERIFY(!plm);
        const Settings row = f.stored();
        QCOMPARE(row.windowLeft, 1500);
        QCOMPARE(row.windowWidth, 9000);
        QVERIFY(row.windowMaximised);

        f.shell.dispatch(trayIndex("Calendar")); // a fresh main window, opened maximised
        QVERIFY(f.plm() != nullptr);
        QVERIFY(f.plm()->windowState().testFlag(Qt::WindowMaximized));
        QVERIFY(f.released == 0 && f.quits == 0); // closing it ended nothing
    }

    // Closed on the right of two monitors; that monitor goes while the window is open: the
    // window comes onto the left one at its size, and what the data file holds stays until
    // the user moves the window.
    void aMonitorThatGoesTakesNothingStored() {
        Fixture f;
        f.desktop.windows.otherScreens = {QRect(1920, 0, 1920, 1080)};
        QVERIFY(SettingsStore(f.context.paths.dataFile()).update([](Settings& s) {
            s.windowLeft = 39000;
            s.windowTop = 1500;
            s.windowWidth = 15000;
            s.windowHeight = 12000;
        }));
        f.shell.dispatch(trayIndex("Calendar"));
        QPointer<MainWindow> plm = f.plm();
        QCOMPARE(plm->geometry(), QRect(2600, 100, 1000, 800));
        plm->show(); // the fake desktop only records it
        auto* keeper = plm->findChild<ScreenKeeper*>();
        QVERIFY(keeper);
        f.desktop.windows.otherScreens.clear();
        keeper->keepAll();
        const QRect left(0, 0, 1920, 1040);
        QVERIFY(left.contains(plm->frameGeometry()));
        QCOMPARE(plm->size(), QSize(1000, 800));
        plm->close();
        QTRY_VERIFY(!plm);
        QCOMPARE(f.stored().windowLeft, 39000);

        // Moved by the user, it is stored where it is.
        f.shell.dispatch(trayIndex("Calendar"));
        plm = f.plm();
        QVERIFY(left.contains(plm->geometry()));
        QCOMPARE(plm->size(), QSize(1000, 800));
        plm->move(300, 200);
        plm->close();
        QTRY_VERIFY(!plm);
        QCOMPARE(f.stored().windowLeft, 300 * 15);
    }

    void neverSmallerThanItsToolsNeed() {
        Fixture f({{"SSWP", [](QWidget* parent) {
                        auto* page = new StubTool(parent);
                        page->setMinimumSize(700, 420);
                        return page;
                    }}});
        f.shell.dispatch(trayIndex("SSWP"));
        f.plm()->show();
        f.plm()->resize(200, 150);
        QVERIFY(f.plm()->clientArea()->width() >= 700);
        QVERIFY(f.plm()->clientArea()->height() >= 420);
    }

    // Help asked for from a modal window takes keys, clicks and its closing while that
    // window stays open; the other windows stay blocked, as the modal window wants.
    void helpOverAModalWindowIsUsable() {
        Fixture f;
        QFile topic(f.dir.filePath(QStringLiteral("help/editevents.htm")));
        QVERIFY(topic.open(QIODevice::WriteOnly));
        topic.write("<html><head><title>Edit Events</title></head><body>"
                    "<p><a href=\"plm.htm\">Main window</a></p>" +
                    QByteArray("<p>line</p>").repeated(300) + "</body></html>");
        topic.close();
        QWidget other;
        other.setObjectName(QStringLiteral("Other"));
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));

        // The help window is already open when the modal window comes up.
        f.shell.showHelp(QStringLiteral("index.htm"));
        QVERIFY(QTest::qWaitForWindowExposed(f.shell.helpWindow()));
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("EditEvents"));
        bool checked = false;
        QTimer::singleShot(0, &dialog, [&] {
            // Whatever fails below, the modal loop ends.
            const auto end = qScopeGuard([&] { dialog.reject(); });
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, Qt::Key_F1);
            HelpWindow* help = f.shell.helpWindow();
            QVERIFY(help && QTest::qWaitForWindowExposed(help));
            QCOMPARE(help->currentTopic(), QStringLiteral("editevents.htm"));
            auto* browser = help->findChild<QTextBrowser*>();
            browser->setFocus();

            // Keys come through the window system, which drops them for blocked windows.
            QTest::keyClick(help->windowHandle(), Qt::Key_End);
            QTRY_VERIFY(browser->verticalScrollBar()->value() > 0);
            int otherKeys = 0;
            KeyCounter counter(otherKeys);
            other.installEventFilter(&counter);
            QTest::keyClick(other.windowHandle(), Qt::Key_A);
            QCOMPARE(otherKeys, 0);

            // A click on a link follows it.
            QTest::keyClick(help->windowHandle(), Qt::Key_Home);
            QTRY_COMPARE(browser->verticalScrollBar()->value(), 0);
            QTextCursor onLink = browser->document()->find("Main window");
            onLink.setPosition(onLink.selectionStart() + 3);
            const QPoint link =
                browser->viewport()->mapTo(help, browser->cursorRect(onLink).center());
            QCOMPARE(browser->anchorAt(browser->cursorRect(onLink).center()), "plm.htm");
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, link);
            QTRY_COMPARE(help->currentTopic(), QStringLiteral("plm.htm"));

            // Esc closes it; the modal window stays.
            QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
            QTRY_VERIFY(!help->isVisible());
            QVERIFY(dialog.isVisible());
            checked = true;
        });
        dialog.exec();
        QVERIFY(checked);
    }

    // The desktop's message box shows a text with markup as it is written.
    void messageBoxesShowPlainText() {
        QtDialogs dialogs;
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    shown = box->text();
                    format = box->textFormat();
                    box->accept();
                }
            }
        });
        dialogs.messageBox(QStringLiteral("<h1>BIG</h1> not found."), QStringLiteral("Message"),
                           MessageButtons::Ok, MessageIcon::Information);
        QCOMPARE(shown, QStringLiteral("<h1>BIG</h1> not found."));
        QCOMPARE(format, Qt::PlainText);
    }

    // A question stands over the window it is asked from; Return answers "No" when "Yes"
    // would destroy something.
    void questionsSitOverTheirWindowAndDefaultToNo() {
        QtDialogs dialogs;
        QWidget owner;
        owner.show();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QWidget* parent = nullptr;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            parent = box->parentWidget();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(dialogs.messageBox(QStringLiteral("Delete this?"), QStringLiteral("Confirm"),
                                    MessageButtons::YesNoDefaultNo, MessageIcon::Question),
                 MessageAnswer::No);
        QCOMPARE(parent, &owner);
        // A question that destroys nothing keeps Yes as its default.
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(dialogs.messageBox(QStringLiteral("Unload?"), QStringLiteral("Confirm"),
                                    MessageButtons::YesNo, MessageIcon::Question),
                 MessageAnswer::Yes);
    }

    void f1OpensTheTopicOfTheWindowItIsTypedIn() {
        Fixture f;
        f.shell.dispatch(trayIndex("Calendar"));
        QTest::keyRelease(f.tool(toolButton("Calendar")), Qt::Key_F1);
        QCOMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("calendar.htm"));
        QTest::keyRelease(f.plm(), Qt::Key_F1);
        QCOMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("plm.htm"));
        // The Help button sends F1 to the active tool.
        f.plm()->clickToolbarButton(toolButton("QNotes"));
        f.plm()->clickToolbarButton(MainToolbar::HelpButton);
        QTRY_COMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("qnotes.htm"));
    }

    void theWindowRulesAreOneFilterThatAsksForHelp() {
        // Every event the program gets passes each filter on the application, the minute's
        // timer included: the rules are one filter however often they are asked for.
        AppEventRules* rules = AppEventRules::install();
        QVERIFY(rules);
        QCOMPARE(AppEventRules::install(), rules);
        QCOMPARE(qApp->findChildren<AppEventRules*>().size(), 1);
        Fixture f; // its dispatcher asks for the rules too
        QCOMPARE(qApp->findChildren<AppEventRules*>().size(), 1);

        QWidget window;
        window.setObjectName(QStringLiteral("Options"));
        auto* edit = new QLineEdit(&window);
        QSignalSpy asked(rules, &AppEventRules::helpRequested);
        QTest::keyRelease(edit, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyRelease(edit, Qt::Key_F2);
        QCOMPARE(asked.size(), 0);
        // Typed into a control, the key asks once, for the control's window, not again for
        // each parent it would reach.
        QTest::keyRelease(edit, Qt::Key_F1);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.at(0).at(0).toString(), QStringLiteral("options.htm"));
        QVERIFY(f.shell.helpWindow()); // the dispatcher answered
    }

    // As the program sets them, the rules rest while none of its windows is active: a key
    // sent to an inactive program passes by them, and they follow the application's state,
    // which the platform changes as its windows gain and lose the keyboard.
    void theRulesRestWhileNoWindowIsActive() {
        AppEventRules* rules = AppEventRules::install();
        QSignalSpy asked(rules, &AppEventRules::helpRequested);
        QWidget window;
        window.setObjectName(QStringLiteral("Options"));
        auto* edit = new QLineEdit(&window);
        const auto typeF1 = [&] { QTest::keyRelease(edit, Qt::Key_F1); };
        rules->setOnlyWhileActive(true);
        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
        typeF1();
        QCOMPARE(asked.size(), 0);
        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
        typeF1();
        QCOMPARE(asked.size(), 1);
        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationHidden);
        typeF1();
        QCOMPARE(asked.size(), 1);

        rules->setOnlyWhileActive(false); // as the other cases have them: always on
        typeF1();
        QCOMPARE(asked.size(), 2);
        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
        typeF1();
        QCOMPARE(asked.size(), 3);
    }

    void editMenuActsOnTheFocusedControl() {
        Fixture f;
        f.shell.dispatch(trayIndex("QNotes"));
        auto* edit = new QLineEdit(QStringLiteral("hello"), f.tool(toolButton("QNotes")));
        f.plm()->show();
        f.plm()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.plm()));
        edit->show();
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        f.plm()->findChild<QAction*>(QStringLiteral("SelectAllMenu"))->trigger();
        QCOMPARE(edit->selectedText(), QStringLiteral("hello"));
        f.plm()->findChild<QAction*>(QStringLiteral("DeleteMenu"))->trigger();
        QTRY_COMPARE(edit->text(), QString());
        f.plm()->findChild<QAction*>(QStringLiteral("UndoMenu"))->trigger();
        QCOMPARE(edit->text(), QStringLiteral("hello"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
