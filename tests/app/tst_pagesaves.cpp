// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/ProgramSchema.h"
#include "capture/CaptureStore.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "notes/ui/NoteCard.h"
#include "options/ui/Options.h"
#include "quickaccess/ui/QuickAccessPage.h"
#include "scheduler/ScheduleStore.h"
#include "scheduler/ui/Schedule.h"
#include "shell/ui/MainWindow.h"
#include "wallpaper/WallpaperStore.h"
#include "wallpaper/ui/WallpaperChanger.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

// Every page that saves the user's work, over a data file that refuses writes: a read-only
// file, or one whose tables refuse every change (as a full disk does). A failed save names
// the file and the reason, never claims success and leaves the work in its window;
// "Unload Plumora" offers "Quit anyway" or "Stay".
class TestPageSaves : public QObject {
    Q_OBJECT

    struct Install {
        QTemporaryDir dir;
        FakeClock clock;
        FakeDesktop desktop;
        AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
        std::unique_ptr<Application> app;
        QString data = context.paths.dataFile();

        Install() {
            programSchema().createTemplate(context.paths.templateFile(), QDate(2026, 1, 1));
            app = std::make_unique<Application>(context);
            app->controller().create();
        }
        FakeDialogs& dialogs() { return desktop.dialogs; }
        template <typename Page> Page* open(int trayIndex, int button) {
            app->dispatcher().dispatch(trayIndex);
            return qobject_cast<Page*>(app->dispatcher().mainWindow()->loadedPage(button));
        }
        void note() {
            QVERIFY(DataFile(data).exec(QStringLiteral(
                "INSERT INTO QNotes (ZOrder, CDate, Frequency) VALUES (1, '2026-03-01', 0)")));
        }
        QVariant scalar(const char* sql) { return DataFile(data).scalar(QLatin1String(sql)); }

        // How the file refuses: "read-only" makes it 0400; "refusing" lets every table
        // turn down each change with the reason "no room left".
        void refuse(const QString& how) {
            if (how == QLatin1String("read-only")) {
                QVERIFY(QFile::setPermissions(data, QFile::ReadOwner));
                return;
            }
            DataFile db(data);
            for (const QString& table : programSchema().tableNames()) {
                for (const char* change : {"INSERT", "UPDATE", "DELETE"}) {
                    QVERIFY2(db.exec(QStringLiteral("CREATE TRIGGER refuse_%1_%2 BEFORE %2 ON %1 "
                                                    "BEGIN SELECT RAISE(ABORT, 'no room left'); "
                                                    "END")
                                         .arg(table, QLatin1String(change))),
                             qPrintable(db.lastError()));
                }
            }
        }
        void allow(const QString& how) {
            if (how == QLatin1String("read-only")) {
                QVERIFY(QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner));
                return;
            }
            DataFile db(data);
            for (const QString& table : programSchema().tableNames()) {
                for (const char* change : {"INSERT", "UPDATE", "DELETE"})
                    QVERIFY(db.exec(QStringLiteral("DROP TRIGGER refuse_%1_%2")
                                        .arg(table, QLatin1String(change))));
            }
        }
        // The messages shown since the last call.
        QStringList takeMessages() {
            QStringList texts;
            for (const FakeDialogs::Shown& m : std::as_const(dialogs().messages))
                texts << m.text;
            dialogs().messages.clear();
            return texts;
        }
    };

    static QString reasonOf(const QString& how) {
        return how == QLatin1String("read-only") ? QStringLiteral("readonly")
                                                 : QStringLiteral("no room left");
    }

    // Each message starts "<what> could not be saved to <file>:" and gives the reason.
    static void checkFailure(const QStringList& messages, const QString& what, const Install& in,
                             const QString& how) {
        QVERIFY2(messages.size() == 1, qPrintable(messages.join(u'|')));
        QVERIFY2(messages[0].startsWith(what + " could not be saved to " + in.data + ":\n"),
                 qPrintable(messages[0]));
        QVERIFY2(messages[0].contains(reasonOf(how)), qPrintable(messages[0]));
    }

private Q_SLOTS:
    void refusals_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only file") << QStringLiteral("read-only");
        QTest::newRow("refusing tables") << QStringLiteral("refusing");
    }

    // What the user does on a page and saves at once: each failure is told with the file
    // and the reason, and what was entered stays on the page.
    void savesAtOnceTellWhy_data() { refusals_data(); }
    void savesAtOnceTellWhy() {
        QFETCH(QString, how);
        Install in;
        QVERIFY(CaptureStore(in.data).add(QImage(8, 8, QImage::Format_RGB32)) > 0);
        QVERIFY(DataFile(in.data).exec(QStringLiteral(
            "INSERT INTO QAccess (FullPath, Hits, qaDate) VALUES ('/home', 3, '2026-03-01')")));
        in.refuse(how);

        // Options: the changed number stays in its box and is written with the next change.
        auto* options = in.open<Options>(trayIndex("Options"), toolButton("Options"));
        QVERIFY(options);
        auto* notifyAgo = options->findChild<QSpinBox*>("NotifyAgoUD");
        const int stored = in.scalar("SELECT NotifyAgo FROM System").toInt();
        notifyAgo->setValue(stored + 1);
        checkFailure(in.takeMessages(), "The options", in, how);
        QCOMPARE(notifyAgo->value(), stored + 1);
        QCOMPARE(in.scalar("SELECT NotifyAgo FROM System").toInt(), stored);

        // Power Scheduler: the editor comes back with what was entered. Leaving Options
        // tried its setting once more, and told so.
        auto* schedule = in.open<Schedule>(trayIndex("Schedule"), toolButton("Schedule"));
        checkFailure(in.takeMessages(), "The options", in, how);
        QList<ScheduleEditorState> presets;
        std::optional<ScheduleEditorState> entered;
        schedule->setEditor([&](QWidget*, const ScheduleEditorState& preset) {
            presets << preset;
            if (presets.size() > 1)
                return std::optional<ScheduleEditorState>();
            ScheduleEditorState answer = preset;
            answer.program = QStringLiteral("/usr/bin/true");
            entered = answer;
            return std::optional<ScheduleEditorState>(answer);
        });
        schedule->doubleClickCell(0, Schedule::DescCol);
        checkFailure(in.takeMessages(), "The entry", in, how);
        QCOMPARE(presets.size(), 2);
        QCOMPARE(presets[1].program, entered->program);
        QCOMPARE(presets[1].date, entered->date);
        QCOMPARE(presets[1].time, entered->time);
        QVERIFY(!schedule->list().hasEntry(0));

        // Quick Access: the list is not said to be cleared.
        in.dialogs().answers = {MessageAnswer::Yes};
        in.open<QuickAccessPage>(trayIndex("QAccess"), toolButton("QAccess"))->clearList();
        checkFailure(in.takeMessages().mid(1), "The cleared list", in, how);

        // Screen Capture: a description the file refused stays as typed.
        in.open<ToolPage>(trayIndex("SCapture"), toolButton("SCapture"));
        auto* captures = in.app->dispatcher().mainWindow()->findChild<QListWidget*>();
        QVERIFY(captures && captures->count() == 1);
        captures->item(0)->setText(QStringLiteral("Receipt"));
        QCoreApplication::processEvents();
        checkFailure(in.takeMessages(), "The description", in, how);
        QCOMPARE(captures->item(0)->text(), QStringLiteral("Receipt"));

        // Once the file takes writes again, the next change carries the earlier one too.
        in.allow(how);
        notifyAgo->setValue(stored + 2);
        QVERIFY(in.takeMessages().isEmpty());
        QCOMPARE(in.scalar("SELECT NotifyAgo FROM System").toInt(), stored + 2);
        captures->item(0)->setText(QStringLiteral("Receipt 2"));
        QCOMPARE(in.scalar("SELECT Title FROM SCapture").toString(), QStringLiteral("Receipt 2"));
    }

    // Work kept until a page is left (typed notes, the mail account, marks, the wallpaper
    // list): "Unload Plumora" tells once what could not be saved and why; "Stay" keeps the
    // program and every window as it was; once the file takes writes, unloading saves all.
    // "Quit anyway" ends without another message.
    void unloadOffersQuitOrStay_data() { refusals_data(); }
    void unloadOffersQuitOrStay() {
        QFETCH(QString, how);
        Install in;
        ScheduleRow shutDown;
        shutDown.schType = ScheduleType::ShutDownSystem;
        shutDown.date = QDate(2026, 4, 1);
        shutDown.time = QTime(9, 0);
        QVERIFY(ScheduleStore(in.data).add(shutDown) > 0);
        QVERIFY(WallpaperStore(in.data).replace({"/pictures/a.png", "/pictures/b.png"}));
        bool quit = false;
        in.app->dispatcher().setQuitHandler([&] { quit = true; });
        in.note();

        auto* notes = in.open<NotesPage>(trayIndex("QNotes"), toolButton("QNotes"));
        QTextEdit* text = notes->card(0)->text();
        auto* options = in.open<Options>(trayIndex("Options"), toolButton("Options"));
        auto* user = options->findChild<QLineEdit*>("OEUserTB");
        auto* schedule = in.open<Schedule>(trayIndex("Schedule"), toolButton("Schedule"));
        auto* wallpaper = in.open<WallpaperChanger>(trayIndex("SSWP"), toolButton("SSWP"));
        in.takeMessages();

        in.refuse(how);
        text->setPlainText(QStringLiteral("Milk and eggs"));
        user->setText(QStringLiteral("ada@example.org"));
        schedule->doubleClickCell(0, Schedule::MarkCol);
        QVERIFY(schedule->list().marked(0));
        in.dialogs().answers = {MessageAnswer::Yes};
        auto* images = wallpaper->findChild<QListWidget*>("ImageList");
        images->setCurrentRow(0);
        QVERIFY(QMetaObject::invokeMethod(wallpaper, [wallpaper] { wallpaper->removeImage(); }));
        QVERIFY(wallpaper->isChanged());
        in.takeMessages();

        // "Unload Plumora?" Yes, then "Stay".
        in.dialogs().answers = {MessageAnswer::Yes, MessageAnswer::No};
        QVERIFY(!in.app->dispatcher().unload());
        QVERIFY(!quit);
        QCOMPARE(in.dialogs().messages.size(), 2);
        const FakeDialogs::Shown asked = in.dialogs().messages[1];
        QCOMPARE(asked.buttons, MessageButtons::QuitAnywayStay);
        for (const char* what : {"The notes", "The options", "The deletion of the marked entries",
                                 "The wallpaper list"})
            QVERIFY2(asked.text.contains(QString::fromLatin1(what) + " could not be saved to " +
                                         in.data + ":\n"),
                     qPrintable(asked.text));
        QVERIFY(asked.text.contains(reasonOf(how)));
        QCOMPARE(text->toPlainText(), QStringLiteral("Milk and eggs"));
        QCOMPARE(user->text(), QStringLiteral("ada@example.org"));
        QVERIFY(schedule->list().marked(0));
        QCOMPARE(images->count(), 1);
        QCOMPARE(in.app->dispatcher().mainWindow()->loadedPage(toolButton("QNotes")), notes);
        in.takeMessages();

        // Leaving a page on the way is told at once, its work still kept.
        in.dialogs().answers = {};
        options->aboutToHide();
        checkFailure(in.takeMessages(), "The options", in, how);
        QCOMPARE(user->text(), QStringLiteral("ada@example.org"));

        in.allow(how);
        in.dialogs().answers = {MessageAnswer::Yes};
        QVERIFY(in.app->dispatcher().unload());
        QVERIFY(quit);
        QCOMPARE(in.takeMessages().size(), 1); // "Unload Plumora?" alone
        QVERIFY(in.scalar("SELECT Content FROM QNotes").toString().contains("Milk and eggs"));
        QCOMPARE(in.scalar("SELECT MailUser FROM System").toString(),
                 QStringLiteral("ada@example.org"));
        QCOMPARE(in.scalar("SELECT COUNT(*) FROM Schedule").toInt(), 0);
        QCOMPARE(in.scalar("SELECT COUNT(*) FROM WPaper").toInt(), 1);
    }

    // Closing the main window over work that could not be kept asks first: No keeps the
    // window and the text; Yes closes it without another message.
    void closingTheWindowAsksFirst() {
        Install in;
        in.note();
        auto* notes = in.open<NotesPage>(trayIndex("QNotes"), toolButton("QNotes"));
        QPointer<MainWindow> main = in.app->dispatcher().mainWindow();
        in.refuse(QStringLiteral("refusing"));
        notes->card(0)->text()->setPlainText(QStringLiteral("Milk"));
        in.takeMessages();

        in.dialogs().answers = {MessageAnswer::No};
        QVERIFY(!main->close());
        QCOMPARE(in.dialogs().messages.size(), 1);
        QCOMPARE(in.dialogs().messages[0].buttons, MessageButtons::YesNoDefaultNo);
        QVERIFY(in.dialogs().messages[0].text.startsWith("The notes could not be saved to " +
                                                         in.data + ":\n"));
        QCOMPARE(notes->card(0)->text()->toPlainText(), QStringLiteral("Milk"));
        in.takeMessages();

        in.dialogs().answers = {MessageAnswer::Yes};
        QVERIFY(main->close());
        QCOMPARE(in.takeMessages().size(), 1);
        QTRY_VERIFY(!main);
    }

    void quitAnywayEndsWithoutAnotherWord() {
        Install in;
        bool quit = false;
        in.app->dispatcher().setQuitHandler([&] { quit = true; });
        in.note();
        auto* notes = in.open<NotesPage>(trayIndex("QNotes"), toolButton("QNotes"));
        auto* options = in.open<Options>(trayIndex("Options"), toolButton("Options"));
        in.refuse(QStringLiteral("refusing"));
        notes->card(0)->text()->setPlainText(QStringLiteral("Milk"));
        options->findChild<QLineEdit*>("OEUserTB")->setText(QStringLiteral("ada"));
        in.takeMessages();
        in.dialogs().answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        QVERIFY(in.app->dispatcher().unload());
        QVERIFY(quit);
        QCOMPARE(in.takeMessages().size(), 2); // the question and "Quit anyway", nothing more
    }
};

QTEST_MAIN(TestPageSaves)
#include "tst_pagesaves.moc"
