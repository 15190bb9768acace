// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "quickaccess/ui/QuickAccessPage.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

// The page inside a window of its own, as in the main window.
struct Host {
    QWidget window;
    QuickAccessPage* page;
    Host(AppContext& context, QuickAccessMachine machine) {
        page = new QuickAccessPage(context, std::move(machine), &window);
        window.resize(780, 480);
        page->setGeometry(window.rect());
        page->activated();
    }
    QTableWidget* grid() const { return page->grid(); }
    QPushButton* button(const char* name, int index) const {
        for (auto* b : page->findChildren<QPushButton*>(QLatin1String(name)))
            if (b->property("index").toInt() == index)
                return b;
        return nullptr;
    }
    QStringList column(int c) const {
        QStringList texts;
        for (int r = 0; r < grid()->rowCount(); ++r)
            texts << grid()->item(r, c)->text();
        return texts;
    }
};

class TestQAccessWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<AppContext> m_context;
    QStringList m_ejected;
    int m_beeps = 0;
    QString m_discRoot; // where every drive's disc is mounted ("" for none)
    QStringList m_installed;

    QuickAccessMachine machine(QList<CdDrives::Drive> drives = {{"/dev/sr0", true, true}}) {
        return {[drives] { return drives; },
                [this](const QString&) { return m_discRoot; },
                [this](const QString& device) {
                    m_ejected << device;
                    return device != "/dev/sr9"; // a drive that refuses
                },
                [](const QString&) { return true; },
                [this] { ++m_beeps; },
                SystemShortcuts(
                    [this](const QString& name) {
                        return m_installed.contains(name) ? "/usr/bin/" + name : QString();
                    },
                    {}, {})};
    }
    void addFolder(const QString& path, int hits) {
        QVERIFY(
            DataFile(m_context->paths.dataFile())
                .exec("INSERT INTO QAccess (FullPath, Hits, qaDate) VALUES (?, ?, '2026-03-09')",
                      {path, hits}));
    }
    const QList<FakeDialogs::Shown>& messages() const { return m_desktop->dialogs.messages; }

private Q_SLOTS:
    void init() {
        m_desktop = std::make_unique<FakeDesktop>();
        m_context = std::make_unique<AppContext>(
            m_desktop->context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        QFile::remove(m_context->paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), QDate(2026, 3, 1)),
                 QString());
        m_ejected.clear();
        m_beeps = 0;
        m_discRoot.clear();
        m_installed = QStringList{"xterm"};
    }

    // Folders used on one day only are not offered (an empty list disables the grid); a
    // path without "/" is its own name; at most 30, the most used first, line 1 selected.
    void listsFoldersUsedOnMoreThanOneDay() {
        addFolder("/w/once", 1);
        QVERIFY(!Host(*m_context, machine()).grid()->isEnabled());
        addFolder("/w/Twice ", 2);
        addFolder("plain", 40);
        for (int i = 0; i < 29; ++i)
            addFolder(QStringLiteral("/w/f%1").arg(i), 3 + i);
        Host h(*m_context, machine());
        QCOMPARE(h.grid()->rowCount(), 30);
        QCOMPARE(h.column(1).mid(0, 2), (QStringList{"plain", "f28"}));
        QCOMPARE(h.column(2).first(), "plain");
        QCOMPARE(h.column(1).last(), "f0"); // "Twice", with 2, is the 31st
        QCOMPARE(h.grid()->currentRow(), 0);
        QCOMPARE(h.grid()->selectionModel()->selectedRows().size(), 1);
    }

    // A double-click or Enter opens the folder by a file URL that survives blanks, "#" and
    // "%", and minimises the main window; a vanished folder is reported and nothing else.
    void opensTheFolder_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("byKey");
        QTest::newRow("double-click") << true << false;
        QTest::newRow("Enter") << true << true;
        QTest::newRow("deleted since") << false << false;
    }
    void opensTheFolder() {
        QFETCH(bool, exists);
        QFETCH(bool, byKey);
        const QString folder = m_dir.filePath("Tax #2 100% ünd more");
        QDir(folder).removeRecursively();
        if (exists)
            QVERIFY(QDir().mkpath(folder));
        addFolder(folder, 3);
        Host h(*m_context, machine());
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        if (byKey) {
            QTest::keyClick(h.grid(), Qt::Key_Return);
        } else { // a double-click comes after the press of its first click
            const QPoint at = h.grid()->visualRect(h.grid()->model()->index(0, 1)).center();
            QTest::mouseClick(h.grid()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(h.grid()->viewport(), Qt::LeftButton, {}, at);
        }
        const QStringList& opened = m_desktop->shell.openedUrls;
        QCOMPARE(opened.size(), exists ? 1 : 0);
        QCOMPARE(h.window.isMinimized(), exists);
        if (exists) {
            QCOMPARE(QUrl(opened[0]).toLocalFile(), folder);
            QVERIFY(messages().isEmpty());
        } else {
            QCOMPARE(messages().size(), 1);
            QCOMPARE(messages()[0].text, "Folder not found! ");
            QCOMPARE(messages()[0].title, "Plumora");
        }
    }

    // "Clear List" of the page's context menu asks first; only Yes empties table and grid.
    void clearListAsksFirst() {
        addFolder("/w/a", 2);
        addFolder("/w/b", 1);
        Host h(*m_context, machine());
        auto* clear = h.page->findChild<QMenu*>("QAMenu")->findChild<QAction*>("ClearMenu");
        QCOMPARE(clear->text(), "Clear List");
        m_desktop->dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
        const auto stored = [this] {
            return DataFile(m_context->paths.dataFile()).scalar("SELECT COUNT(*) FROM QAccess");
        };
        clear->trigger();
        QCOMPARE(stored(), 2);
        QCOMPARE(h.grid()->rowCount(), 1);
        auto* empty = h.grid()->findChild<QLabel*>("EmptyLb");
        QVERIFY(empty && empty->isHidden());
        clear->trigger();
        QCOMPARE(stored(), 0);
        QCOMPARE(h.grid()->rowCount(), 0);
        // The empty list says why it is empty.
        QVERIFY(!empty->isHidden());
        QCOMPARE(empty->text(), "Folders you open on two different days appear here.");
        QCOMPARE(messages()[1].text, "Are you sure to clear the list?");
        QCOMPARE(messages()[1].title, "Confirm");
        QCOMPARE(messages()[1].buttons, MessageButtons::YesNoDefaultNo);
    }

    // The context menu, while open, is a child of the page in the accessibility tree, so a
    // screen reader finds "Clear List" there.
    void openContextMenuIsInTheAccessibleTree() {
        Host h(*m_context, machine());
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(h.page);
        const auto clearEntryInTree = [page] {
            for (int i = 0; i < page->childCount(); ++i) {
                QAccessibleInterface* c = page->child(i);
                if (!c || c->role() != QAccessible::PopupMenu)
                    continue;
                for (int j = 0; j < c->childCount(); ++j)
                    if (c->child(j)->text(QAccessible::Name) == "Clear List")
                        return true;
            }
            return false;
        };
        QVERIFY(!clearEntryInTree());
        Q_EMIT h.grid()->customContextMenuRequested(QPoint(5, 5));
        auto* menu = h.page->findChild<QMenu*>("QAMenu");
        QVERIFY(menu->isVisible());
        QVERIFY(clearEntryInTree());
        menu->close();
        QVERIFY(!clearEntryInTree());
    }

    // Without a CD drive the list is empty and the four drive buttons are off; Eject reaches
    // the selected drive and a refusal is reported; a drive without a tray motor has no Close.
    void cdDrives() {
        Host none(*m_context, machine({}));
        QCOMPARE(none.page->findChild<QComboBox*>("CdCb")->count(), 0);
        for (int i = 0; i < 4; ++i)
            QVERIFY(!none.button("cdCmd", i)->isEnabled());

        Host h(*m_context, machine({{"/dev/sr0", true, true}, {"/dev/sr9", true, false}}));
        h.page->findChild<QComboBox*>("CdCb")->setCurrentIndex(1);
        QVERIFY(!h.button("cdCmd", QuickAccessPage::Close)->isEnabled());
        h.button("cdCmd", QuickAccessPage::Eject)->click();
        QCOMPARE(m_ejected, QStringList{"/dev/sr9"});
        QCOMPARE(messages().size(), 1);
        QCOMPARE(messages()[0].text, "The tray of /dev/sr9 could not be opened.");
    }

    // AutoPlay beeps when no disc is mounted or the disc names no program on itself;
    // otherwise it starts the disc's program in the disc's root and minimises.
    void autoPlay_data() {
        QTest::addColumn<QString>("autorun"); // "-" for no disc mounted
        QTest::addColumn<bool>("starts");
        QTest::newRow("no disc") << "-" << false;
        QTest::newRow("no autorun") << "" << false;
        QTest::newRow("autorun.inf") << "[autorun]\nopen=setup.sh\n" << true;
    }
    void autoPlay() {
        QFETCH(QString, autorun);
        QFETCH(bool, starts);
        QTemporaryDir disc;
        if (autorun != "-")
            m_discRoot = disc.path();
        QFile(disc.filePath("setup.sh")).open(QIODevice::WriteOnly);
        if (!autorun.isEmpty() && autorun != "-") {
            QFile inf(disc.filePath("AUTORUN.INF"));
            QVERIFY(inf.open(QIODevice::WriteOnly));
            inf.write(autorun.toUtf8());
        }
        Host h(*m_context, machine());
        h.button("cdCmd", QuickAccessPage::AutoPlay)->click();
        const auto& started = m_desktop->shell.started;
        QCOMPARE(m_beeps, starts ? 0 : 1);
        QCOMPARE(started.size(), starts ? 1 : 0);
        QCOMPARE(h.window.isMinimized(), starts);
        if (starts) {
            QCOMPARE(started[0].program, disc.filePath("setup.sh"));
            QCOMPARE(started[0].workingFolder, disc.path());
        }
    }

    // A shortcut whose tool is missing is off; cancelling the folder choice starts nothing;
    // a chosen folder opens the terminal there.
    void shortcuts() {
        Host h(*m_context, machine());
        QVERIFY(h.button("SUCmd", QuickAccessPage::ComposeMail)->isEnabled());
        QVERIFY(h.button("SUCmd", QuickAccessPage::CommandPrompt)->isEnabled());
        QVERIFY(!h.button("SUCmd", QuickAccessPage::ComputerManagement)->isEnabled());
        QVERIFY(!h.button("SUCmd", QuickAccessPage::SystemInformation)->isEnabled());

        h.button("SUCmd", QuickAccessPage::CommandPrompt)->click();
        QVERIFY(m_desktop->shell.started.isEmpty());
        QVERIFY(!h.window.isMinimized());

        m_desktop->dialogs.folderChoice = "/home/ann/Projects";
        h.button("SUCmd", QuickAccessPage::CommandPrompt)->click();
        QCOMPARE(m_desktop->shell.started.size(), 1);
        QCOMPARE(m_desktop->shell.started[0].program, "/usr/bin/xterm");
        QCOMPARE(m_desktop->shell.started[0].workingFolder, "/home/ann/Projects");
        QVERIFY(h.window.isMinimized());
    }

    // The grid and the command frame share the page without overlapping when it resizes.
    void layout() {
        Host h(*m_context, machine());
        for (const QSize size : {QSize(560, 330), QSize(1600, 1000)}) {
            h.page->resize(size);
            h.page->hostResized();
            const QRect grid = h.grid()->geometry();
            const QRect frame = h.page->findChild<QFrame*>("CmdFrame")->geometry();
            QVERIFY(h.page->rect().contains(grid) && h.page->rect().contains(frame));
            QVERIFY(frame.top() > grid.bottom());
            QVERIFY(grid.height() > size.height() / 3);
        }
    }

    // The page with a few folders, at the scale this run is drawn with (QT_SCALE_FACTOR).
    void screenshot() {
        addFolder("/home/ann/Projects/Garden", 9);
        addFolder("/home/ann/Documents/Taxes 2025", 6);
        addFolder("/media/ann/Backup/Photos/2024 Summer holiday", 4);
        Host h(*m_context, machine());
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        const QString folder = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(h.window.grab().save(
            folder + QStringLiteral("/qaccess-x%1.png").arg(h.window.devicePixelRatioF())));
    }
};

QTEST_MAIN(TestQAccessWindow)
#include "tst_qaccesswindow.moc"
