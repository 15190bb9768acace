// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "shell/WebSite.h"
#include "shell/ui/ReloadBar.h"
#include "wallpaper/WallpaperChange.h"
#include "wallpaper/WallpaperStore.h"
#include "wallpaper/ui/WallpaperChanger.h"
#include "wallpaper/ui/WallpaperFilesDialog.h"
#include "wallpaper/ui/WallpaperPreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
const QDate Today(2026, 3, 10);
const QString StyleKey = "HKEY_CURRENT_USER\\Control Panel\\Desktop\\WallpaperStyle";
const QString TileKey = "HKEY_CURRENT_USER\\Control Panel\\Desktop\\TileWallpaper";
} // namespace

class TestWallpaperChanger : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(Today, QTime(9, 0))};
    FakeDesktop m_desktop;
    AppPaths m_paths{m_dir.path(), m_dir.path()};
    AppContext m_context = m_desktop.context(m_paths, m_clock);
    QString m_a, m_b; // two picture folders

    QString path(const QString& folder, const char* name) { return folder + '/' + name; }

    void setUp(const QStringList& files, const QString& current, int option = 1) {
        QVERIFY(WallpaperStore(m_paths.dataFile()).replace(files));
        QVERIFY(SettingsStore(m_paths.dataFile()).update([&](Settings& s) {
            s.currentWallpaper = current;
            s.wallpaperOption = option;
        }));
    }
    QStringList table() {
        return WallpaperStore(m_paths.dataFile()).files().value_or(QStringList{"?"});
    }
    Settings settings() { return SettingsStore(m_paths.dataFile()).load().value_or(Settings()); }

    static QListWidget* list(QWidget& w, const char* name) {
        return w.findChild<QListWidget*>(name);
    }
    static QPushButton* cmd(QWidget& w, const char* name) {
        return w.findChild<QPushButton*>(name);
    }
    static QPushButton* selCmd(QWidget& w, int index) {
        for (auto* b : w.findChildren<QPushButton*>("SelCmd"))
            if (b->property("index").toInt() == index)
                return b;
        return nullptr;
    }
    static QStringList texts(QListWidget* l) {
        QStringList t;
        for (int i = 0; i < l->count(); ++i)
            t << l->item(i)->text();
        return t;
    }

    // "Add images" with `folderChoice` as the folder picker's answer; `inDialog` works the
    // dialog once it shows and the dialog is then confirmed with OK.
    void add(WallpaperChanger& page, const QString& folderChoice,
             const std::function<void(WallpaperFilesDialog&)>& inDialog = {}) {
        m_desktop.dialogs.folderChoice = folderChoice;
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<WallpaperFilesDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = true;
            if (inDialog)
                inDialog(*dialog);
            QPushButton* ok = cmd(*dialog, "OKCmd");
            (ok->isEnabled() ? ok : cmd(*dialog, "CancelCmd"))->click();
        });
        page.addImages();
        QVERIFY(shown);
    }

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_CURRENT_DESKTOP", "");
        qputenv("XDG_SESSION_TYPE", "x11");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("SWAYSOCK");
        QDir root(m_dir.path());
        QVERIFY(root.mkpath("A") && root.mkpath("B"));
        m_a = root.filePath("A");
        m_b = root.filePath("B");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        for (const char* name : {"sea.png", "hill.jpg", "SHOUT.JPG"})
            QVERIFY(image.save(path(m_a, name), name[0] == 's' ? "PNG" : "JPG"));
        QVERIFY(image.save(path(m_b, "sea.png")));
        for (const char* name : {"broken.jpg", "notes.txt"}) {
            QFile junk(path(m_a, name));
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
        }
    }

    void init() {
        QFile::remove(m_paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_paths.dataFile(), Today), QString());
        m_desktop.registry.values.clear();
        m_desktop.dialogs.messages.clear();
        m_desktop.processes = FakeProcessRunner();
        m_desktop.shell = FakeDesktopShell();
    }

    // Opening selects the current wallpaper (any letter case) and previews it; a current
    // wallpaper that is not listed or cannot be read leaves "Change now!" disabled.
    void opening_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("canChange");
        QTest::newRow("listed") << "A/HILL.JPG" << 1 << true;
        QTest::newRow("not listed") << "A/gone.png" << -1 << false;
        QTest::newRow("unreadable") << "A/broken.jpg" << 2 << false;
    }
    void opening() {
        QFETCH(QString, current);
        QFETCH(int, selected);
        QFETCH(bool, canChange);
        setUp({path(m_a, "sea.png"), path(m_a, "hill.jpg"), path(m_a, "broken.jpg")},
              m_dir.filePath(current), 2);
        m_desktop.registry.values.insert(StyleKey, "2");
        const auto registry = m_desktop.registry.values;

        WallpaperChanger page(m_context);
        QCOMPARE(texts(list(page, "ImageList")),
                 (QStringList{"sea.png", "hill.jpg", "broken.jpg"}));
        QCOMPARE(page.pathAt(1), path(m_a, "hill.jpg"));
        QCOMPARE(list(page, "ImageList")->selectedItems().size(), selected < 0 ? 0 : 1);
        if (selected >= 0)
            QVERIFY(list(page, "ImageList")->item(selected)->isSelected());
        auto* preview = page.findChild<WallpaperPreview*>("PreviewImg");
        QCOMPARE(preview->hasPicture(), canChange);
        QCOMPARE(preview->toolTip(), selected < 0 ? QString() : page.pathAt(selected));
        QCOMPARE(cmd(page, "ChgNowCmd")->isEnabled(), canChange);
        QVERIFY(page.findChild<QCheckBox*>("StretchChk")->isChecked());
        for (auto* option : page.findChildren<QRadioButton*>("WallOpt"))
            QCOMPARE(option->isChecked(), option->property("index").toInt() == 2);
        // Setting the controls while loading writes nothing.
        QCOMPARE(m_desktop.registry.values, registry);
        QCOMPARE(settings().wallpaperOption, 2);
    }

    // Checked files join the list once per folder and name; the same name from another
    // folder is listed again; the table is written when the page is left.
    void addingImages() {
        setUp({}, QString());
        WallpaperChanger page(m_context);
        add(page, m_a, [&](WallpaperFilesDialog& d) {
            QCOMPARE(d.findChild<QLineEdit*>("CurFldTb")->text(), m_a);
            QListWidget* files = list(d, "SelList");
            QCOMPARE(texts(files), (QStringList{"broken.jpg", "hill.jpg", "sea.png", "SHOUT.JPG"}));
            QCOMPARE(d.checkedNames().size(), 4);
            selCmd(d, 1)->click(); // Clear All
            QVERIFY(!cmd(d, "OKCmd")->isEnabled());
            files->item(2)->setCheckState(Qt::Checked);
            QVERIFY(cmd(d, "OKCmd")->isEnabled());
            selCmd(d, 0)->click(); // Select All
            files->item(0)->setCheckState(Qt::Unchecked);
        });
        QCOMPARE(texts(list(page, "ImageList")), (QStringList{"hill.jpg", "sea.png", "SHOUT.JPG"}));

        // The last folder opens again without asking; only the new file is added.
        add(page, m_b, [&](WallpaperFilesDialog& d) { QCOMPARE(d.folder(), m_a); });
        // "Select Folder" moves to another folder.
        add(page, QString(), [&](WallpaperFilesDialog& d) {
            m_desktop.dialogs.folderChoice = m_b + '/';
            cmd(d, "FolderCmd")->click();
            QCOMPARE(texts(list(d, "SelList")), QStringList{"sea.png"});
        });
        const QStringList expected = {path(m_a, "hill.jpg"), path(m_a, "sea.png"),
                                      path(m_a, "SHOUT.JPG"), path(m_a, "broken.jpg"),
                                      path(m_b, "sea.png")};
        QCOMPARE(texts(list(page, "ImageList")),
                 (QStringList{"hill.jpg", "sea.png", "SHOUT.JPG", "broken.jpg", "sea.png"}));
        QCOMPARE(table(), QStringList());
        page.aboutToHide();
        QCOMPARE(table(), expected);
        QVERIFY(!page.isChanged());
    }

    void cancellingTheFirstFolderChoiceAddsNothing() {
        setUp({path(m_a, "sea.png")}, QString());
        WallpaperChanger page(m_context);
        m_desktop.dialogs.folderChoice.clear();
        page.addImages(); // returns without showing the dialog
        QCOMPARE(list(page, "ImageList")->count(), 1);
        QVERIFY(!page.isChanged());
    }

    // Removing asks first; leaving the page rewrites the table without the image, and
    // leaving it unchanged writes nothing at all.
    void removingAndLeaving() {
        const QStringList files = {path(m_a, "sea.png"), path(m_a, "hill.jpg"),
                                   path(m_b, "sea.png")};
        setUp(files, files[0]);
        WallpaperChanger page(m_context);
        QListWidget* images = list(page, "ImageList");
        images->setCurrentRow(1);
        page.removeImage();
        QCOMPARE(images->count(), 3);
        QCOMPARE(m_desktop.dialogs.messages.last().text,
                 "Remove this image from the selection list?");
        QCOMPARE(m_desktop.dialogs.messages.last().title, "Confirm");
        QVERIFY(m_desktop.dialogs.messages.last().buttons == MessageButtons::YesNoDefaultNo);

        m_desktop.dialogs.answers = {MessageAnswer::Yes};
        QTest::keyClick(images, Qt::Key_Delete);
        QCOMPARE(texts(images), (QStringList{"sea.png", "sea.png"}));
        QVERIFY(images->item(0)->isSelected()); // back on the current wallpaper
        page.aboutToHide();
        QCOMPARE(table(), (QStringList{files[0], files[2]}));

        // Unchanged: a row added behind the page's back survives its closing.
        QVERIFY(WallpaperStore(m_paths.dataFile()).replace(files));
        const qint64 stamp = fileModifiedStamp(m_paths.dataFile());
        page.aboutToHide();
        QCOMPARE(table(), files);
        QCOMPARE(fileModifiedStamp(m_paths.dataFile()), stamp);
    }

    void optionAndStyleTakeEffectAtOnce() {
        setUp({}, QString(), 3);
        WallpaperChanger page(m_context);
        for (auto* option : page.findChildren<QRadioButton*>("WallOpt"))
            if (option->property("index").toInt() == 1)
                option->click();
        QCOMPARE(settings().wallpaperOption, 1);

        // Only these clicks touch the desktop's style: ticked it stretches, unticked the
        // desktop's own style from before the first tick comes back.
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        const auto restore = qScopeGuard([] { qputenv("XDG_CURRENT_DESKTOP", ""); });
        const QStringList get{"gsettings", "get", "org.gnome.desktop.background",
                              "picture-options"};
        const auto set = [](const char* value) {
            return QStringList{"gsettings", "set", "org.gnome.desktop.background",
                               "picture-options", QLatin1String(value)};
        };
        m_desktop.processes.script = {{get, {true, 0, "'zoom'\n", {}}}};
        auto* stretch = page.findChild<QCheckBox*>("StretchChk");
        QVERIFY(!stretch->isChecked());
        stretch->click();
        QCOMPARE(m_desktop.registry.values.value(StyleKey), "2");
        QCOMPARE(m_desktop.registry.values.value(TileKey), "0");
        m_desktop.processes.script = {{get, {true, 0, "'stretched'\n", {}}}};
        stretch->click();
        QCOMPARE(m_desktop.registry.values.value(StyleKey), "0");
        stretch->click();
        QCOMPARE(
            m_desktop.processes.commands,
            (QList<QStringList>{get, set("'stretched'"), set("'zoom'"), get, set("'stretched'")}));
        QVERIFY(m_desktop.dialogs.messages.isEmpty());

        m_desktop.processes.script = {{{"gsettings", "set"}, {true, 1, {}, "not allowed"}}};
        stretch->click();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QVERIFY(m_desktop.dialogs.messages[0].text.contains("not allowed"));
    }

    // The desktop is told in the background: the button waits for its answer, a second
    // change cannot start meanwhile, and a desktop that refuses is reported.
    void changeNow() {
        const QStringList files = {path(m_a, "sea.png"), path(m_a, "hill.jpg")};
        setUp(files, files[0]);
        WallpaperChanger page(m_context);
        list(page, "ImageList")->setCurrentRow(1);
        cmd(page, "ChgNowCmd")->click();
        QVERIFY(page.isChanging());
        QVERIFY(!cmd(page, "ChgNowCmd")->isEnabled());
        page.changeNow(); // still under way: not started twice
        QTRY_VERIFY(!page.isChanging());
        QVERIFY(cmd(page, "ChgNowCmd")->isEnabled());
        const QString bitmap = m_paths.file("Plumora.bmp");
        QCOMPARE(m_desktop.processes.commands,
                 (QList<QStringList>{{"feh", "--bg-center", bitmap}}));
        QVERIFY(!QImage(bitmap).isNull());
        QCOMPARE(settings().currentWallpaper, files[1]);
        QCOMPARE(settings().wallpaperLastDay, Today);
        QVERIFY(m_desktop.dialogs.messages.isEmpty());

        // A desktop that refuses is reported.
        m_desktop.processes.script = {{{"feh"}, {false, -1, {}, {}}}};
        cmd(page, "ChgNowCmd")->click();
        QTRY_COMPARE(m_desktop.dialogs.messages.size(), 1);
        QVERIFY(
            m_desktop.dialogs.messages[0].text.startsWith("The wallpaper could not be changed"));
        QVERIFY(cmd(page, "ChgNowCmd")->isEnabled());
    }

    // A receiver gone before the desktop answered is not called back.
    void changeOutlivedByItsReceiver() {
        const QStringList files = {path(m_a, "sea.png")};
        setUp(files, files[0]);
        int called = 0;
        auto receiver = std::make_unique<QObject>();
        QPointer<QThread> worker = WallpaperChange::showInBackground(
            m_context, files[0], WallpaperChange::InteractiveBudgetMs, receiver.get(),
            [&](bool, const QString&) { ++called; });
        receiver.reset();
        QVERIFY(worker);
        QVERIFY(worker->wait(10000));
        QTRY_VERIFY(!worker); // it deletes itself
        QCOMPARE(m_desktop.processes.commands.size(), 1);
        QCOMPARE(called, 0);
    }

    // A list changed by another writer (a restore) is read again, unless images were added
    // or removed here since it was written: those are kept.
    void listFollowsChangesMadeElsewhere() {
        ChangeHub& hub = m_context.stores.changes;
        setUp({path(m_a, "sea.png")}, path(m_a, "sea.png"));
        WallpaperChanger page(m_context);
        QCOMPARE(texts(list(page, "ImageList")), QStringList{"sea.png"});
        QVERIFY(WallpaperStore(m_paths.dataFile())
                    .replace({path(m_b, "sea.png"), path(m_a, "hill.jpg")}));
        hub.announceAll();
        QTRY_COMPARE(texts(list(page, "ImageList")), (QStringList{"sea.png", "hill.jpg"}));
        QCOMPARE(page.pathAt(0), path(m_b, "sea.png"));

        list(page, "ImageList")->setCurrentRow(1);
        m_desktop.dialogs.answers = {MessageAnswer::Yes};
        page.removeImage();
        QVERIFY(page.isChanged());
        QVERIFY(WallpaperStore(m_paths.dataFile()).replace({path(m_a, "SHOUT.JPG")}));
        hub.announceAll();
        QTest::qWait(20);
        QCOMPARE(texts(list(page, "ImageList")), QStringList{"sea.png"});
        QCOMPARE(page.pathAt(0), path(m_b, "sea.png"));
        QCOMPARE(m_desktop.dialogs.messages.size(), 1); // the question before the removal
    }

    // Another store of this program writing the list or the settings reaches the page
    // shown; the page's own save does not read the list again. Images removed here and not
    // written yet stay, and the reload bar brings the stored list when chosen.
    void writesByAnotherStoreShow() {
        ChangeHub& hub = m_context.stores.changes;
        setUp({path(m_a, "sea.png")}, path(m_a, "sea.png"));
        WallpaperChanger page(m_context);
        page.show();
        QListWidget* images = list(page, "ImageList");
        WallpaperStore other(m_paths.dataFile(), &hub);
        QVERIFY(other.replace({path(m_a, "sea.png"), path(m_b, "hill.jpg")}));
        QTRY_COMPARE(texts(images), (QStringList{"sea.png", "hill.jpg"}));
        QVERIFY(SettingsStore(m_paths.dataFile(), &hub).update([&](Settings& s) {
            s.wallpaperOption = 0;
            s.currentWallpaper = path(m_b, "hill.jpg");
        }));
        QTRY_VERIFY(page.findChildren<QRadioButton*>("WallOpt").at(0)->isChecked());
        QCOMPARE(images->currentRow(), 1);
        QCOMPARE(settings().wallpaperOption, 0); // showing it wrote nothing back

        m_desktop.dialogs.answers = {MessageAnswer::Yes};
        page.removeImage();
        QCOMPARE(texts(images), QStringList{"sea.png"});
        QVERIFY(other.replace({path(m_a, "sea.png"), path(m_b, "hill.jpg"), path(m_a, "sky.png")}));
        QTRY_VERIFY(page.reloadBar()->isVisible());
        QCOMPARE(texts(images), QStringList{"sea.png"});
        QVERIFY(page.isChanged());
        QPushButton* reload = page.reloadBar()->reloadButton();
        QCOMPARE(reload->accessibleName(), "Reload");
        QVERIFY(reload->focusPolicy() & Qt::TabFocus);
        reload->click();
        QCOMPARE(texts(images), (QStringList{"sea.png", "hill.jpg", "sky.png"}));
        QVERIFY(!page.isChanged());
        QVERIFY(page.reloadBar()->isHidden());

        // The page's own write leaves what it shows, the selection included.
        images->setCurrentRow(2);
        m_desktop.dialogs.answers = {MessageAnswer::Yes};
        page.removeImage();
        images->setCurrentRow(0);
        page.aboutToHide();
        QCOMPARE(table(), (QStringList{path(m_a, "sea.png"), path(m_b, "hill.jpg")}));
        QTest::qWait(20);
        QCOMPARE(images->currentRow(), 0);
        QVERIFY(page.reloadBar()->isHidden());
    }

    void downloadLink() {
        WallpaperChanger page(m_context);
        qputenv("PLUMORA_WEBSITE", "https://plumora.test");
        cmd(page, "downloadLb")->click();
        QCOMPARE(m_desktop.shell.openedUrls, QStringList{"https://plumora.test/wallpaper.htm"});
        QVERIFY(m_desktop.dialogs.messages.isEmpty());
        m_desktop.shell.browserAvailable = false;
        cmd(page, "downloadLb")->click();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        // Without a web site there is nothing to open: the user is told so.
        qunsetenv("PLUMORA_WEBSITE");
        cmd(page, "downloadLb")->click();
        QCOMPARE(m_desktop.shell.openedUrls.size(), 2);
        QCOMPARE(m_desktop.dialogs.messages.size(), 2);
        QVERIFY(m_desktop.dialogs.messages[1].text.contains("no web site"));
    }

    // Every control the keyboard reaches has a name for assistive tools.
    void controlsHaveAccessibleNames() {
        WallpaperChanger page(m_context);
        WallpaperFilesDialog dialog(m_context, QString());
        for (QWidget* root : {static_cast<QWidget*>(&page), static_cast<QWidget*>(&dialog)}) {
            for (QWidget* w : root->findChildren<QWidget*>()) {
                if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(root) &&
                    !qobject_cast<QWidget*>(w->parent())->inherits("QAbstractScrollArea"))
                    QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
            }
        }
    }
};

QTEST_MAIN(TestWallpaperChanger)
#include "tst_wallpaperchanger.moc"
