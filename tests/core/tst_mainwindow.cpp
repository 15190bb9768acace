#include "core/DataFile.h"
#include "core/Schema.h"
#include "core/SystemRow.h"
#include "core/WebSite.h"
#include "core/ui/HelpWindow.h"
#include "core/ui/PLM.h"
#include "core/ui/Shell.h"
#include "core/ui/SysTray.h"
#include "mock/FakeClock.h"
#include "mock/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A tool as the main window sees it: the optional operations, counted.
class StubTool : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    int resized = 0;
    int saved = 0;
    bool hiddenWhenSaved = false;
    Q_INVOKABLE void MDI_Resize() { ++resized; }
    Q_INVOKABLE void SaveNotes() {
        ++saved;
        hiddenWhenSaved = isHidden();
    }
};

namespace {

// A program folder with a data file and help topics, and a shell on fakes.
struct Fixture {
    QTemporaryDir dir;
    FakeClock clock;
    FakePlatform platform;
    AppContext context{AppPaths(dir.path(), dir.path()), clock, platform};
    int released = 0;
    int quits = 0;
    int reminders = 0;
    Shell shell{context, [this] { ++released; }};

    Fixture() {
        Schema::createTemplate(context.paths.dataFile(), QDate(2026, 1, 1));
        QDir(dir.path()).mkpath(QStringLiteral("help"));
        for (const char* topic : {"index.htm", "plm.htm", "calendar.htm", "qnotes.htm"}) {
            QFile f(dir.filePath(QStringLiteral("help/") + QLatin1String(topic)));
            f.open(QIODevice::WriteOnly);
            f.write("<html><body>topic</body></html>");
        }
        shell.setQuitHandler([this] { ++quits; });
        shell.setReminderLoader([this] { ++reminders; });
        registerStub(MainToolbar::CalendarButton, QStringLiteral("Calendar"), true);
        registerStub(MainToolbar::QNotesButton, QStringLiteral("QNotes"), false);
        registerStub(MainToolbar::QAccessButton, QStringLiteral("QAccess"), false);
    }

    void registerStub(int button, const QString& name, bool withRefreshTimer) {
        shell.tools().registerTool(button, [name, withRefreshTimer](QWidget* parent) {
            auto* tool = new StubTool(parent);
            tool->setObjectName(name);
            tool->setWindowTitle(MainToolbar::tip(MainToolbar::buttonOfChild(name)));
            if (withRefreshTimer) {
                auto* t = new QTimer(tool);
                t->setObjectName(QStringLiteral("RefreshTimer"));
                t->setInterval(500);
            }
            return tool;
        });
    }

    PLM* plm() const { return shell.mainWindow(); }
    StubTool* tool(const QString& name) const {
        return plm() ? qobject_cast<StubTool*>(plm()->loadedChild(name)) : nullptr;
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
    void store(const QList<QPair<QString, QVariant>>& values) {
        DataFile db(context.paths.dataFile());
        SystemRow row;
        QVERIFY(row.load(db));
        QVERIFY(row.set(db, values));
    }
    SystemRow stored() const {
        DataFile db(context.paths.dataFile());
        SystemRow row;
        row.load(db);
        return row;
    }
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
        f.shell.ClickMenu(6 - index);
        f.plm()->showMinimized();
        f.shell.ClickMenu(index);
        QVERIFY(!f.plm()->isMinimized());
        QVERIFY(f.platform.shownForms.contains(f.plm()));
        QWidget* active = f.plm()->activeChild();
        QVERIFY(active);
        QCOMPARE(active->objectName(), child);
        QCOMPARE(f.visibleChildren(), QList<QWidget*>{active});
        QCOMPARE(active->geometry(), f.plm()->clientArea()->rect());
        QCOMPARE(f.status(), caption);
        for (int b : MainToolbar::toolButtons())
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
        f.shell.ClickMenu(index);
        QCOMPARE(f.reminders, reminders);
        QVERIFY(!f.plm());
        QVERIFY(!f.shell.helpWindow());
        QVERIFY(f.platform.messages.isEmpty());
        QVERIFY(f.platform.openedUrls.isEmpty());
        QVERIFY(f.platform.shownForms.isEmpty());
    }

    void helpAndWeb() {
        Fixture f;
        f.shell.ClickMenu(9);
        QVERIFY(f.shell.helpWindow());
        QCOMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("index.htm"));
        f.shell.ClickMenu(11);
        QCOMPARE(f.platform.openedUrls, QStringList{productWebSite()});
    }

    void unloadAnsweredNoKeepsEverything() {
        Fixture f;
        SysTray tray(f.context);
        tray.timer().start();
        tray.ClickMenu(0);
        f.platform.answers = {MessageAnswer::No};
        tray.ClickMenu(8);
        QCOMPARE(f.platform.messages.size(), 1);
        QCOMPARE(f.platform.messages[0].text, QStringLiteral("Unload Plumora?  "));
        QCOMPARE(f.platform.messages[0].title, QStringLiteral("Confirm"));
        QCOMPARE(f.platform.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(f.platform.messages[0].icon, MessageIcon::Question);
        const QPointer<PLM> plm = tray.shell().mainWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(tray.timer().isActive());
        QVERIFY(plm);
    }

    void unloadAnsweredYesClosesEverythingInOrder() {
        Fixture f;
        f.shell.ClickMenu(0);
        f.plm()->move(150, 300);
        f.plm()->resize(700, 500);
        QWidget reminder, mail, other;
        reminder.setWindowTitle(QStringLiteral("- Reminder -"));
        mail.setWindowTitle(QStringLiteral("- New e-mail -"));
        other.setWindowTitle(QStringLiteral("- Plumora -"));
        for (QWidget* w : {&reminder, &mail, &other})
            w->show();
        f.platform.openWindows = {QStringLiteral("- Reminder -"), QStringLiteral("- New e-mail -")};
        f.platform.answers = {MessageAnswer::Yes};
        const QPointer<PLM> plm = f.plm();
        QVERIFY(f.shell.Unload());
        QVERIFY(reminder.isHidden());
        QVERIFY(mail.isHidden());
        QVERIFY(!other.isHidden());
        QCOMPARE(f.released, 1);
        QCOMPARE(f.quits, 1);
        QTRY_VERIFY(!plm);
        // The main window's closing stored its placement.
        QCOMPARE(f.stored().integer(QStringLiteral("winLeft")), 150 * 15);
        QCOMPARE(f.stored().integer(QStringLiteral("winWidth")), 700 * 15);
    }

    void pressedButtonStaysPressedAndShowsTheToolAgain() {
        Fixture f;
        f.shell.ClickMenu(0);
        QAction* calendar = f.plm()->toolbarButton(MainToolbar::CalendarButton);
        f.tool(QStringLiteral("Calendar"))->hide();
        calendar->trigger();
        QVERIFY(calendar->isChecked());
        QVERIFY(!f.tool(QStringLiteral("Calendar"))->isHidden());
        // Help and Reminder never stay pressed.
        f.plm()->toolbarButton(MainToolbar::ReminderButton)->trigger();
        QCOMPARE(f.reminders, 1);
        QVERIFY(calendar->isChecked());
        QVERIFY(!f.plm()->toolbarButton(MainToolbar::ReminderButton)->isChecked());
    }

    void quickNotesAreSavedBeforeTheyAreHidden() {
        Fixture f;
        f.shell.ClickMenu(1);
        StubTool* notes = f.tool(QStringLiteral("QNotes"));
        QCOMPARE(notes->saved, 0);
        f.plm()->MainTB_ButtonClick(MainToolbar::QAccessButton);
        QCOMPARE(notes->saved, 1);
        QVERIFY(!notes->hiddenWhenSaved);
        QVERIFY(notes->isHidden());
        // Hidden notes are not saved again by the next switch.
        f.plm()->MainTB_ButtonClick(MainToolbar::CalendarButton);
        QCOMPARE(notes->saved, 1);
    }

    void resizeReachesTheActiveTool() {
        Fixture f;
        f.shell.ClickMenu(0);
        f.plm()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.plm()));
        auto* refresh =
            f.tool(QStringLiteral("Calendar"))->findChild<QTimer*>(QStringLiteral("RefreshTimer"));
        QVERIFY(refresh->isActive()); // choosing the calendar redraws it
        refresh->stop();
        f.plm()->resize(f.plm()->width() + 40, f.plm()->height() + 30);
        QTRY_VERIFY(refresh->isActive());
        QCOMPARE(f.tool(QStringLiteral("Calendar"))->resized, 0);

        f.plm()->MainTB_ButtonClick(MainToolbar::QAccessButton);
        StubTool* qa = f.tool(QStringLiteral("QAccess"));
        const int before = qa->resized;
        f.plm()->resize(f.plm()->width() + 40, f.plm()->height() + 30);
        QTRY_COMPARE(qa->resized, before + 1);
        QCOMPARE(qa->geometry(), f.plm()->clientArea()->rect());
        // Quick Access carries the etched rule at its top.
        QVERIFY(qa->findChild<QWidget*>(QStringLiteral("L1")));
        QCOMPARE(qa->findChild<QWidget*>(QStringLiteral("L2"))->width(), qa->width());
    }

    // Zero sizes and off-screen positions are the placement rules' own test.
    void closingMaximisedKeepsTheNormalPlacement() {
        Fixture f;
        f.store({{"winLeft", 1500}, {"winTop", 1500}, {"winWidth", 9000}, {"winHeight", 7500}});
        f.shell.ClickMenu(0);
        QCOMPARE(QRect(f.plm()->pos(), f.plm()->size()), QRect(100, 100, 600, 500));
        f.plm()->showMaximized();
        QPointer<PLM> plm = f.plm();
        plm->close();
        QTRY_VERIFY(!plm);
        const SystemRow row = f.stored();
        QCOMPARE(row.integer(QStringLiteral("winLeft")), 1500);
        QCOMPARE(row.integer(QStringLiteral("winWidth")), 9000);
        QVERIFY(row.boolean(QStringLiteral("winMax")));

        f.shell.ClickMenu(0); // a fresh main window, opened maximised
        QVERIFY(f.plm() != nullptr);
        QVERIFY(f.plm()->windowState().testFlag(Qt::WindowMaximized));
        QVERIFY(f.released == 0 && f.quits == 0); // closing it ended nothing
    }

    void f1OpensTheTopicOfTheWindowItIsTypedIn() {
        Fixture f;
        f.shell.ClickMenu(0);
        QTest::keyRelease(f.tool(QStringLiteral("Calendar")), Qt::Key_F1);
        QCOMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("calendar.htm"));
        QTest::keyRelease(f.plm(), Qt::Key_F1);
        QCOMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("plm.htm"));
        // The Help button sends F1 to the active tool.
        f.plm()->MainTB_ButtonClick(MainToolbar::QNotesButton);
        f.plm()->MainTB_ButtonClick(MainToolbar::HelpButton);
        QTRY_COMPARE(f.shell.helpWindow()->currentTopic(), QStringLiteral("qnotes.htm"));
    }

    void editMenuActsOnTheFocusedControl() {
        Fixture f;
        f.shell.ClickMenu(1);
        auto* edit = new QLineEdit(QStringLiteral("hello"), f.tool(QStringLiteral("QNotes")));
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
