// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "capture/ui/FullScreen.h"
#include "capture/ui/ScreenCapture.h"
#include "keys/GnomeKeybindings.h"
#include "keys/Shortcuts.h"
#include "keys/ui/KeysOptionsGroup.h"
#include "mock/Install.h"
#include "notes/ui/NoteCard.h"
#include "notify/ui/MessagePopup.h"
#include "options/ui/Options.h"
#include "platform/ProcessRunner.h"
#include "platform/X11Keys.h"
#include "shell/ui/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

// Plumora reached from outside its windows: the command line's actions and the global
// keyboard shortcuts, over fake desktop services.
class TestKeyboardReach : public QObject {
    Q_OBJECT

    struct Program {
        Install in;
        Application app{in.context};
        Program() {
            app.dispatcher().setQuitHandler([] {});
            app.controller().create();
            in.desktop.grabber.answer = {QImage(QSize(64, 48), QImage::Format_RGB32), {}};
        }
        ToolPage* activePage() {
            MainWindow* main = app.dispatcher().mainWindow();
            return main ? main->activePage() : nullptr;
        }
        // SCTimer's step, as the timer would run it.
        FullScreen* frozenScreen() {
            ScreenCapture* page = app.tool<CaptureTool>(QStringLiteral("SCapture"))->page();
            if (!page)
                return nullptr;
            if (!page->fullScreen())
                page->startCapture();
            return page->fullScreen();
        }
        Shortcuts* shortcuts() { return app.tool<Shortcuts>(QStringLiteral("Keys")); }
    };

private Q_SLOTS:
    void showOpensTheNamedTool() {
        Program p;
        QCOMPARE(p.app.toolNames(), (QStringList{"calendar", "notes", "scheduler", "quick-access",
                                                 "capture", "wallpaper", "options"}));
        QVERIFY(p.app.runCommand({"show", "notes"}).isEmpty());
        QCOMPARE(p.activePage()->metaObject()->className(), "NotesPage");
        QVERIFY(p.app.runCommand({"show", "options"}).isEmpty());
        QCOMPARE(p.activePage()->metaObject()->className(), "Options");

        const QString refused = p.app.runCommand({"show", "mail"});
        QVERIFY(refused.contains("calendar, notes, scheduler, quick-access, capture, wallpaper, "
                                 "options"));
        QCOMPARE(p.activePage()->metaObject()->className(), "Options");
        QVERIFY(!p.app.runCommand({"dance", {}}).isEmpty());
    }

    // A new note comes in front holding the text, which is in the data file at once; a
    // text over the limit makes no note.
    void aNewNoteHoldsItsText() {
        Program p;
        QVERIFY(p.app.runCommand({"new-note", "Buy milk"}).isEmpty());
        auto* notes = qobject_cast<NotesPage*>(p.activePage());
        QVERIFY(notes);
        QVERIFY(notes->focusedCard());
        QCOMPARE(notes->focusedCard()->text()->toPlainText(), QStringLiteral("Buy milk"));
        QCOMPARE(p.in.value("SELECT COUNT(*) FROM QNotes").toInt(), 1);
        QVERIFY(p.in.value("SELECT Content FROM QNotes").toString().contains("Buy milk"));

        QVERIFY(p.app.runCommand({"new-note", {}}).isEmpty());
        QCOMPARE(p.in.value("SELECT COUNT(*) FROM QNotes").toInt(), 2);
        const QString tooLong(RemoteCommand::MaxNoteBytes + 1, u'x');
        QVERIFY(p.app.runCommand({"new-note", tooLong}).contains("64 KB"));
        QCOMPARE(p.in.value("SELECT COUNT(*) FROM QNotes").toInt(), 2);
    }

    // The area selector opens at once, without the main window coming up first, and only
    // once: a second capture while it is open is ignored.
    void aSecondCaptureIsIgnored() {
        Program p;
        QVERIFY(p.app.runCommand({"capture", {}}).isEmpty());
        QCOMPARE(p.in.desktop.grabber.asked.size(), 1);
        ScreenCapture* page = p.app.tool<CaptureTool>("SCapture")->page();
        QVERIFY(page);
        FullScreen* first = page->fullScreen();
        QVERIFY(first);
        QCOMPARE(first->mode(), FullScreen::Mode::Capture);
        MainWindow* main = p.app.dispatcher().mainWindow();
        QVERIFY(main->isHidden());
        QVERIFY(p.app.runCommand({"capture", {}}).isEmpty());
        QCOMPARE(page->fullScreen(), first);
        QCOMPARE(p.in.desktop.grabber.asked.size(), 1);

        // Cancelled, the capture brings the main window up as "Selected Area" does; a capture
        // asked then waits for it to go before the screen is grabbed.
        first->close();
        QTRY_VERIFY(!page->capturing() && !page->fullScreen());
        QCOMPARE(p.in.desktop.windows.shownWindows.last(), main);
        main->show(); // as the desktop does
        QVERIFY(p.app.runCommand({"capture", {}}).isEmpty());
        QVERIFY(main->isHidden());
        QCOMPARE(p.in.desktop.grabber.asked.size(), 1);
        QVERIFY(p.frozenScreen());
        QCOMPARE(p.in.desktop.grabber.asked.size(), 2);
    }

    void nothingIsBoundUntilChosen() {
        Program p;
        Shortcuts* keys = p.shortcuts();
        QVERIFY(keys);
        QVERIFY(p.in.desktop.keys.bound.isEmpty());
        QCOMPARE(Shortcuts::actions().first().suggested, QKeySequence(Qt::Key_Print));

        // Chosen: bound, kept in the data file, bound again at the next start.
        QVERIFY(keys->choose(0, QKeySequence(Qt::Key_Print)));
        QCOMPARE(keys->state(0), GlobalKeys::State::Bound);
        QCOMPARE(p.in.value("SELECT CaptureKey FROM KeySettings").toString(), "Print");
        QVERIFY(p.in.desktop.keys.press(QKeySequence(Qt::Key_Print)));
        QVERIFY(p.frozenScreen());

        FakeGlobalKeys again;
        Shortcuts next(again, p.in.context.paths.dataFile());
        next.bindStored();
        QCOMPARE(again.bound.value("CaptureKey"), QKeySequence(Qt::Key_Print));

        // None: unbound and forgotten.
        QVERIFY(keys->choose(0, {}));
        QVERIFY(p.in.desktop.keys.bound.isEmpty());
        QVERIFY(p.in.value("SELECT CaptureKey FROM KeySettings").isNull());
    }

    // A key another program holds stays unbound and Options says so; a key lost later is
    // noticed at the next check and told once.
    void takenKeysAreReported() {
        Program p;
        Shortcuts* keys = p.shortcuts();
        p.in.desktop.keys.taken << QKeySequence(Qt::Key_Print);
        KeysOptionsGroup group(*keys);
        keys->choose(0, QKeySequence(Qt::Key_Print));
        QCOMPARE(keys->state(0), GlobalKeys::State::Taken);
        QVERIFY(p.in.desktop.keys.bound.isEmpty());
        QCOMPARE(group.statusLabel(0)->text(), "Print is already used by another program");
        QVERIFY(!group.statusLabel(0)->isHidden());

        const QKeySequence newNote(Qt::CTRL | Qt::ALT | Qt::Key_N);
        keys->choose(1, newNote);
        QVERIFY(p.in.desktop.keys.press(newNote));
        QVERIFY(qobject_cast<NotesPage*>(p.activePage()));
        QVERIFY(group.statusLabel(1)->isHidden());
        QStringList told;
        connect(keys, &Shortcuts::lostNotice, this, [&](const QString& text) { told << text; });
        p.in.desktop.keys.taken << newNote;
        keys->check();
        keys->check();
        QCOMPARE(told.size(), 1);
        QVERIFY(told.first().contains("New note"));
        QCOMPARE(group.statusLabel(1)->text(),
                 Shortcuts::keyText(newNote) + " is already used by another program");
    }

    // Every control of the group has a name for a screen reader, and Tab moves on from a
    // key editor rather than being taken as the key.
    void theGroupIsReachable() {
        Program p;
        QVERIFY(p.app.runCommand({"show", "options"}).isEmpty());
        ToolPage* options = p.activePage();
        auto* group = options->findChild<KeysOptionsGroup*>();
        QVERIFY(group);
        for (QWidget* control : group->findChildren<QWidget*>())
            if (control->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel*>(control))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        QWidget* main = p.app.dispatcher().mainWindow();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        main->activateWindow();
        group->editor(0)->setFocus();
        QTest::keyClick(group->editor(0), Qt::Key_Tab);
        QVERIFY(group->editor(0)->keySequence().isEmpty());
        QVERIFY(!group->editor(0)->hasFocus());
        QTest::keyClick(group->editor(1), Qt::Key_F9, Qt::ControlModifier);
        QCOMPARE(group->editor(1)->keySequence(), QKeySequence(Qt::CTRL | Qt::Key_F9));
        QCOMPARE(p.shortcuts()->key(1), QKeySequence(Qt::CTRL | Qt::Key_F9));
        QCOMPARE(p.in.value("SELECT NewNoteKey FROM KeySettings").toString(), "Ctrl+F9");
        if (const QByteArray file = qgetenv("PLUMORA_KEYS_SCREENSHOT"); !file.isEmpty()) {
            group->ensurePolished();
            main->grab().save(QString::fromLocal8Bit(file));
            group->grab().save(QString::fromLocal8Bit(file).replace(".png", "-group.png"));
        }
    }

    // Without a way to bind keys the group says what to bind in the desktop's settings.
    void aDesktopWithoutGlobalKeysGetsTheCommands() {
        Program p;
        p.in.desktop.keys.desktopWay = GlobalKeys::Way::None;
        KeysOptionsGroup group(*p.shortcuts());
        QVERIFY(group.findChild<QLabel*>("KeysIntroLB")->text().contains("plumora --capture"));
        QVERIFY(!group.editor(0)->isEnabled());
    }

    // On GNOME without global keys, the keys chosen go to GNOME's own shortcuts through
    // the real gsettings (over a key file), which hands them back as written; a list that
    // held other shortcuts keeps them, and a second write adds nothing twice.
    void gnomeKeepsTheShortcuts() {
        QTemporaryDir home;
        const QString schemas = home.filePath("schemas");
        QVERIFY(QDir().mkpath(schemas));
        QFile schema(schemas + "/media-keys.gschema.xml");
        QVERIFY(schema.open(QIODevice::WriteOnly));
        schema.write(R"(<schemalist>
  <schema id="org.gnome.settings-daemon.plugins.media-keys"
          path="/org/gnome/settings-daemon/plugins/media-keys/">
    <key name="custom-keybindings" type="as"><default>[]</default></key>
  </schema>
  <schema id="org.gnome.settings-daemon.plugins.media-keys.custom-keybinding">
    <key name="name" type="s"><default>''</default></key>
    <key name="command" type="s"><default>''</default></key>
    <key name="binding" type="s"><default>''</default></key>
  </schema>
</schemalist>)");
        schema.close();
        if (QProcess::execute("glib-compile-schemas", {schemas}) != 0)
            QSKIP("glib-compile-schemas is not installed (Debian: libglib2.0-bin)");
        qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(schemas));
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        SystemProcessRunner runner;
        QVERIFY(runner
                    .run("gsettings",
                         {"set", GnomeKeybindings::Schema, "custom-keybindings", "['/theirs/']"})
                    .ok());

        Program p;
        p.in.desktop.keys.desktopWay = GlobalKeys::Way::None;
        GnomeKeybindings gnome(runner);
        KeysOptionsGroup group(*p.shortcuts(), &gnome, "/opt/my apps/plumora");
        QVERIFY(group.editor(0)->isEnabled());
        QCOMPARE(group.gnomeLabel()->text(), "GNOME holds no shortcut of Plumora yet.");
        p.shortcuts()->choose(0, QKeySequence(Qt::Key_Print));
        p.shortcuts()->choose(1, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
        QVERIFY(group.statusLabel(0)->isHidden());
        group.gnomeButton()->click();
        group.gnomeButton()->click();
        const auto capture = gnome.read("capturekey");
        QVERIFY(capture);
        QCOMPARE(capture->command, "'/opt/my apps/plumora' --capture");
        QCOMPARE(capture->binding, "Print");
        QCOMPARE(gnome.read("newnotekey")->binding, "<Control><Alt>n");
        QVERIFY(!gnome.read("calendarkey"));
        QVERIFY(group.gnomeLabel()->text().contains("--new-note on <Control><Alt>n"));
        const QStringList listed = GnomeKeybindings::parseList(
            runner.run("gsettings", {"get", GnomeKeybindings::Schema, "custom-keybindings"})
                .output);
        QCOMPARE(listed.size(), 3);
        QCOMPARE(listed.first(), "/theirs/");

        QCOMPARE(GnomeKeybindings::accelerator(QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_F9)),
                 "<Shift><Super>F9");
        QCOMPARE(GnomeKeybindings::parseList("@as []"), QStringList());
        QVERIFY(GnomeKeybindings::isGnome("ubuntu:GNOME"));
        QVERIFY(!GnomeKeybindings::isGnome("KDE"));
    }

    // The grab covers every state of the lock keys, and a key event matches whatever
    // their state.
    void x11GrabRules() {
        using namespace X11Keys;
        QCOMPARE(keysym(Qt::Key_Print), 0xff61u);
        QCOMPARE(keysym(Qt::Key_N), uint32_t('n'));
        QCOMPARE(keysym(Qt::Key_F12), 0xffc9u);
        QCOMPARE(keysym(Qt::Key_Shift), 0u);
        QCOMPARE(modifierMask(Qt::ControlModifier | Qt::AltModifier),
                 uint16_t(ControlMask | Mod1Mask));
        constexpr uint16_t Num = 1 << 4, Scroll = 1 << 7;
        const QList<uint16_t> states = withLockStates(ControlMask, Num, Scroll);
        QCOMPARE(states.size(), 8);
        for (const uint16_t state : states)
            QCOMPARE(withoutLocks(state, Num, Scroll), ControlMask);
        QCOMPARE(withLockStates(0, Num, 0).size(), 4); // no Scroll Lock on this keyboard
    }
};

QTEST_MAIN(TestKeyboardReach)
#include "tst_keyboardreach.moc"
