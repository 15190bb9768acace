// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "notes/NoteGeometry.h"
#include "notes/NoteStore.h"
#include "notes/RtfReader.h"
#include "notes/RtfSamples.h"
#include "notes/ui/FindNote.h"
#include "notes/ui/NoteCard.h"
#include "notes/ui/NotesPage.h"
#include "platform/spell/ui/SpellAsYouType.h"
#include "platform/spell/ui/SpellCheckDialog.h"
#include "scheduler/ui/ScheduleEditor.h"
#include "shell/FiringRules.h"
#include "shell/ui/ReloadBar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <memory>
#include <optional>

#include <unistd.h>

using NoteToolbar::Command;

namespace {

const QRect Place(1500, 1500, 3600, 2700); // twips: 100, 100, 240 x 180 pixels

struct Fixture {
    QTemporaryDir dir;
    FakeClock clock{QDateTime(QDate(2026, 3, 10), QTime(8, 30, 20))};
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);

    Fixture() { programSchema().createTemplate(context.paths.dataFile(), QDate(2026, 1, 1)); }

    qint64 note(int zOrder, const QVariant& content = {}, const QRect& at = Place,
                int frequency = 0, const QString& due = {}) {
        DataFile db(context.paths.dataFile());
        return db.insert(QStringLiteral("INSERT INTO QNotes (nLeft, nTop, nWidth, nHeight, "
                                        "Content, ZOrder, CDate, Frequency, SchDT) "
                                        "VALUES (?, ?, ?, ?, ?, ?, '2026-03-05', ?, ?)"),
                         {at.left(), at.top(), at.width(), at.height(), content, zOrder, frequency,
                          due.isEmpty() ? QVariant() : QVariant(due)});
    }
    QVariant column(qint64 id, const QString& name) {
        return DataFile(context.paths.dataFile())
            .scalar(QStringLiteral("SELECT ") + name + QStringLiteral(" FROM QNotes WHERE nID = ?"),
                    {id});
    }
    QRect stored(qint64 id) {
        return {column(id, "nLeft").toInt(), column(id, "nTop").toInt(),
                column(id, "nWidth").toInt(), column(id, "nHeight").toInt()};
    }
    int rows() {
        return DataFile(context.paths.dataFile()).scalar("SELECT COUNT(*) FROM QNotes").toInt();
    }

    std::unique_ptr<NotesPage> open() {
        auto page = std::make_unique<NotesPage>(context);
        page->setScheduleEditor(&ScheduleEditor::edit);
        page->resize(900, 640);
        page->show();
        page->activateWindow();
        if (!QTest::qWaitForWindowActive(page.get()))
            qWarning("the notes window did not become active");
        page->activated();
        QCoreApplication::processEvents(); // the focused note's spelling helper attaches
        return page;
    }
};

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A drag on a card from `from` to `to`, both in pixels inside the card where it lay first.
void drag(NoteCard* card, QPoint from, QPoint to) {
    mouse(card, QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(card, QEvent::MouseMove, to, Qt::LeftButton);
    mouse(card, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void fire(QTimer* timer) {
    QMetaObject::invokeMethod(timer, "timeout");
}

QRgb background(NoteCard* card) {
    return card->text()->palette().color(QPalette::Base).rgba();
}

void select(QTextEdit* text, int from, int to) {
    QTextCursor c(text->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    text->setTextCursor(c);
}

// A tmpfs of 1 MB mounted over a folder whose files it takes over; fill() leaves it with
// no free byte, free() gives the room back.
struct DiskOf1M {
    QString folder;
    QString keep;
    bool mounted = false;

    explicit DiskOf1M(const QString& at) : folder(at), keep(at + QStringLiteral(".keep")) {
        QVERIFY(QDir().rename(folder, keep));
        QVERIFY(QDir().mkpath(folder));
        mounted =
            QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", folder}) == 0;
        for (const QString& name : QDir(keep).entryList(QDir::Files))
            QVERIFY(QFile::copy(keep + '/' + name, folder + '/' + name));
    }
    ~DiskOf1M() {
        if (mounted)
            QProcess::execute("umount", {"-l", folder});
        QDir(folder).removeRecursively();
        QDir().rename(keep, folder);
    }
    void fill() {
        QFile filler(folder + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        while (filler.write("x", 1) == 1 && filler.flush()) {
        }
    }
    void free() { QVERIFY(QFile::remove(folder + QStringLiteral("/filler"))); }
};

} // namespace

class TestNotesWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A note of 40,000 colour runs (one word as long as the note) opens without holding
    // the window: the page comes up with the card marked as opening while the note is read
    // on another thread, the other notes take typing and the event loop answers, and then
    // the note is in its card whole, editable, broken anywhere and not marked changed.
    void heavyNoteOpensWhileTheWindowAnswers() {
        Fixture f;
        const QString rtf = colourRuns(40000);
        QVERIFY(rtf.size() > NotesPage::ReadAsideChars);
        f.note(2, rtf);
        const qint64 light = f.note(1, "{\\rtf1 light}", Place.translated(4000, 0));
        QSemaphore gate;
        auto page = std::make_unique<NotesPage>(f.context);
        // The reading thread waits here until the test lets it go.
        connect(
            page.get(), &NotesPage::reading, page.get(), [&gate] { gate.acquire(); },
            Qt::DirectConnection);
        page->resize(900, 640);
        page->show();
        page->activated();
        QSignalSpy opened(page.get(), &NotesPage::noteOpened);
        const int h = page->opening(0) ? 0 : 1;
        NoteCard* heavy = page->card(h);
        QVERIFY(page->opening(h) && !page->opening(1 - h));
        QVERIFY(heavy->text()->isReadOnly());
        QCOMPARE(heavy->text()->placeholderText(), "Opening the note...");

        // The window answers: a timer fires, the other note takes typing.
        bool answered = false;
        QTimer::singleShot(0, page.get(), [&answered] { answered = true; });
        QTRY_VERIFY(answered);
        QTextEdit* other = page->card(1 - h)->text();
        other->setFocus();
        other->moveCursor(QTextCursor::End);
        QTest::keyClicks(other, " typed");
        QCOMPARE(other->toPlainText(), "light typed");
        QVERIFY(page->opening(h));

        gate.release();
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 60000);
        QCOMPARE(opened.at(0).at(0).toInt(), h);
        QVERIFY(!page->opening(h));
        QCOMPARE(heavy->text()->document()->characterCount(), 40001);
        QVERIFY(!heavy->text()->isReadOnly());
        QCOMPARE(heavy->text()->wordWrapMode(), QTextOption::WrapAnywhere);
        QCOMPARE(other->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        QVERIFY(page->saveNotes());
        QCOMPARE(f.column(light, "Content").toString().contains("light typed"), true);
        QCOMPARE(f.column(light - 1, "Content").toString(), rtf); // untouched
        // Typed into afterwards, it is saved as any note.
        heavy->text()->moveCursor(QTextCursor::End);
        QTest::keyClicks(heavy->text(), "y");
        QVERIFY(page->saveNotes());
        const QString saved = f.column(light - 1, "Content").toString();
        QTextDocument back;
        RtfReader::read(saved, back);
        QVERIFY(back.toPlainText().endsWith("xy"));
    }

    // A word that grows past LongestWord in a note makes it break its lines anywhere.
    void overlongWordBreaksAnywhere() {
        Fixture f;
        f.note(1, "{\\rtf1 short words}");
        const auto page = f.open();
        QTextEdit* text = page->card(0)->text();
        QCOMPARE(text->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        text->moveCursor(QTextCursor::End);
        text->insertPlainText(u' ' + QString(NoteGeometry::LongestWord, u'x'));
        QCOMPARE(text->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        text->insertPlainText(QStringLiteral("xx"));
        QCOMPARE(text->wordWrapMode(), QTextOption::WrapAnywhere);
        QVERIFY(NoteGeometry::hasOverlongWord(QString(NoteGeometry::LongestWord + 1, u'y')));
        const QString y(NoteGeometry::LongestWord, u'y');
        QVERIFY(!NoteGeometry::hasOverlongWord(QString(y + u' ' + y)));
    }

    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // Rows come back to front, their depths renumbered in the data file; the front-most
    // card takes the focus on the first activation.
    void loadingRenumbersAndFocusesTheFront() {
        Fixture fx;
        const qint64 a = fx.note(7), b = fx.note(7), c = fx.note(3);
        auto page = fx.open();
        QCOMPARE(fx.column(a, "ZOrder").toInt(), 3);
        QCOMPARE(fx.column(b, "ZOrder").toInt(), 2);
        QCOMPARE(fx.column(c, "ZOrder").toInt(), 1);
        QCOMPARE(page->deck().focused(), 2);
        QCOMPARE(page->card(2)->findChild<QWidget*>("SizeShp")->size(), page->card(2)->size());
        QCOMPARE(QApplication::focusWidget(), page->card(2)->text());
        QCOMPARE(page->card(2)->findChild<QLabel*>("SchLb")->isHidden(), true);
        QCOMPARE(page->windowTitle(), "Quick Notes");
    }

    // Notes another writer changed are read again while the page shows, its focus frame
    // and spelling helper with them; typing not saved yet keeps the cards as they are.
    void notesChangedElsewhereAreReadAgain() {
        Fixture fx;
        ChangeHub& hub = fx.context.stores.changes;
        fx.note(1);
        auto page = fx.open();
        QCOMPARE(page->deck().count(), 1);
        fx.note(2);
        hub.announceAll();
        QTRY_COMPARE(page->deck().count(), 2);
        QVERIFY(page->deck().focused() >= 0);
        QCOMPARE(QApplication::focusWidget(), page->focusedCard()->text());

        QTest::keyClicks(page->focusedCard()->text(), QStringLiteral("typed"));
        fx.note(3);
        hub.announceAll();
        QTest::qWait(20);
        QCOMPARE(page->deck().count(), 2);
        QVERIFY(page->focusedCard()->text()->toPlainText().contains(QLatin1String("typed")));
        QVERIFY(page->saveNotes());
        hub.announceAll();
        QTRY_COMPARE(page->deck().count(), 3);
        QCOMPARE(fx.rows(), 3);
    }

    // Another store of this program writing QNotes reaches the page shown, while the page's
    // own saves leave its cards as they are. Typing not saved yet stays, the reload bar
    // offers the stored notes, and Reload shows them and drops the typing.
    void notesWrittenByAnotherStoreShow() {
        Fixture fx;
        const qint64 id = fx.note(1, QStringLiteral("{\\rtf1 first}"));
        auto page = fx.open();
        NoteStore other(fx.context.paths.dataFile(), &fx.context.stores.changes);
        QVERIFY(other.write({{id, std::nullopt, QStringLiteral("{\\rtf1 second}"), std::nullopt}}));
        QTRY_COMPARE(page->card(0)->text()->toPlainText(), "second");

        const QPointer<NoteCard> card = page->card(0);
        QTest::keyClicks(card->text(), QStringLiteral("typed "));
        QVERIFY(page->saveNotes());
        QTest::qWait(20);
        QVERIFY(card);
        QVERIFY(page->reloadBar()->isHidden());

        QTest::keyClicks(card->text(), QStringLiteral("mine "));
        QVERIFY(other.write({{id, std::nullopt, QStringLiteral("{\\rtf1 third}"), std::nullopt}}));
        QTRY_VERIFY(page->reloadBar()->isVisible());
        QVERIFY(card);
        QVERIFY(card->text()->toPlainText().contains(QLatin1String("mine")));
        QPushButton* reload = page->reloadBar()->reloadButton();
        QCOMPARE(reload->accessibleName(), "Reload");
        QVERIFY(reload->focusPolicy() & Qt::TabFocus);
        reload->click();
        QCOMPARE(page->card(0)->text()->toPlainText(), "third");
        QVERIFY(page->reloadBar()->isHidden());
        page->aboutToHide();
        QCOMPARE(fx.column(id, "Content").toString(), "{\\rtf1 third}");
    }

    void withoutNotesOnlyNewIsAvailable() {
        Fixture fx;
        auto page = fx.open();
        for (int i = 0; i < NoteToolbar::CommandCount; ++i)
            QCOMPARE(page->action(Command(i))->isEnabled(), Command(i) == Command::New);
        QVERIFY(!page->findChild<QComboBox*>("FontCb")->isEnabled());
        QVERIFY(!page->findChild<QComboBox*>("SizeCb")->isEnabled());

        QCOMPARE(page->action(Command::Delete)->toolTip(), "Delete");
        QCOMPARE(page->action(Command::Find)->toolTip().left(4), "Find");

        // The empty page says how to add a note; the first note takes its place.
        auto* empty = page->findChild<QLabel*>("EmptyLb");
        QVERIFY(empty && empty->isVisible());
        QCOMPARE(empty->text(), "No notes yet. Click New, the first button of the toolbar, or "
                                "press Ctrl+N to add a note.");
        QVERIFY(page->rect().contains(empty->mapTo(page.get(), empty->rect().center())));
        page->command(Command::New);
        QVERIFY(empty->isHidden());
        fx.desktop.dialogs.answers = {MessageAnswer::Yes};
        page->command(Command::Delete);
        QVERIFY(empty->isVisible());
    }

    // A new note's font is one installed here, and the font box shows it until a note has
    // the focus (never the list's first entry).
    void defaultFontIsInstalled() {
        QVERIFY2(QFontDatabase::families().contains(NoteToolbar::defaultFamily()),
                 qPrintable(NoteToolbar::defaultFamily()));
        QCOMPARE(NoteToolbar::insertionFormat().fontFamilies().toStringList(),
                 QStringList{NoteToolbar::defaultFamily()});
        Fixture fx;
        auto page = fx.open();
        QCOMPARE(page->findChild<QComboBox*>("FontCb")->currentText(),
                 NoteToolbar::defaultFamily());
        QCOMPARE(page->findChild<QComboBox*>("SizeCb")->currentText(), "9");
        page->command(Command::New);
        QCOMPARE(page->findChild<QComboBox*>("FontCb")->currentText(),
                 NoteToolbar::defaultFamily());
        QCOMPARE(page->card(0)->text()->document()->defaultFont().family(),
                 QFont(NoteToolbar::defaultFamily()).family());
    }

    // "New" cascades each card in front of the last; "Delete" asks, then the next card by
    // depth takes the focus, and the last delete disables the commands again.
    void newAndDelete() {
        Fixture fx;
        auto page = fx.open();
        page->command(Command::New);
        // Centred in a 900 x 640 window: 13500 x 9600 twips.
        QCOMPARE(page->card(0)->twips(), QRect(4920, 2400, 3600, 2700));
        QCOMPARE(fx.stored(page->deck().card(0).id), QRect(4920, 2400, 3600, 2700));
        QVERIFY(page->action(Command::Delete)->isEnabled());
        QVERIFY(page->findChild<QComboBox*>("FontCb")->isEnabled());
        page->command(Command::New);
        page->command(Command::New);
        QCOMPARE(page->card(2)->twips().topLeft(), QPoint(5320, 2800));
        QCOMPARE(page->deck().focused(), 2);
        QCOMPARE(page->deck().card(0).depth, 3);

        fx.desktop.dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
        page->command(Command::Delete);
        QCOMPARE(fx.desktop.dialogs.messages.last().text, "Are you sure to delete this note?");
        QCOMPARE(fx.desktop.dialogs.messages.last().title, "Confirm");
        QCOMPARE(fx.rows(), 3);
        page->command(Command::Delete);
        QCOMPARE(fx.rows(), 2);
        QVERIFY(page->card(2)->isHidden());
        QCOMPARE(page->deck().focused(), 1);
        QCOMPARE(page->deck().card(1).depth, 1);

        // Never edited: depth and place written, Content left empty.
        page->aboutToHide();
        const qint64 kept = page->deck().card(1).id;
        QCOMPARE(fx.column(kept, "ZOrder").toInt(), 1);
        QVERIFY(fx.column(kept, "Content").isNull());

        fx.desktop.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        page->command(Command::Delete);
        page->command(Command::Delete);
        QCOMPARE(fx.rows(), 0);
        QVERIFY(!page->action(Command::Bold)->isEnabled());
        QVERIFY(page->action(Command::New)->isEnabled());
    }

    // Deleting a card whose text has the keyboard gives the focus to the new front card,
    // not to the next text in the Tab order.
    void deletingTheFocusedCardFocusesTheNextByDepth() {
        Fixture fx;
        fx.note(3);
        fx.note(2);
        fx.note(1);
        auto page = fx.open();
        page->setNoteFocus(0); // depths 1, 3, 2
        QCOMPARE(QApplication::focusWidget(), page->card(0)->text());
        fx.desktop.dialogs.answers = {MessageAnswer::Yes};
        page->command(Command::Delete);
        QCOMPARE(page->deck().focused(), 2);
        QCOMPARE(page->deck().card(2).depth, 1);
        QCOMPARE(page->deck().card(1).depth, 2);
        QCOMPARE(QApplication::focusWidget(), page->card(2)->text());
    }

    void dragging_data() {
        QTest::addColumn<QPoint>("press"); // pixels inside the card (240 x 180)
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QRect>("stored");
        QTest::newRow("grip resizes")
            << QPoint(235, 175) << QPoint(300, 250) << QRect(1500, 1500, 4500, 3750);
        QTest::newRow("grip, too narrow") << QPoint(235, 175) << QPoint(16, 250) << Place;
        QTest::newRow("120 twips from the edge moves")
            << QPoint(232, 175) << QPoint(242, 185) << QRect(1650, 1650, 3600, 2700);
        QTest::newRow("top clamped to 380")
            << QPoint(50, 10) << QPoint(50, -84) << QRect(1500, 380, 3600, 2700);
        // Screen 1920 pixels wide: 28800 twips.
        QTest::newRow("right edge 10 twips inside")
            << QPoint(50, 10) << QPoint(1850, 10) << QRect(25190, 1500, 3600, 2700);
    }

    void dragging() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, to);
        QFETCH(QRect, stored);
        Fixture fx;
        const qint64 id =
            fx.note(1, QStringLiteral("{\\rtf1\\ansi{\\*\\generator Other;}Kept qwzxv\\par}"));
        auto page = fx.open();
        // The spelling helper's underlines are no change of the text.
        QVERIFY(page->card(0)->text()->findChild<SpellAsYouType*>());
        drag(page->card(0), press, to);
        QCOMPARE(page->card(0)->twips(), stored);
        QCOMPARE(fx.stored(id), stored);
        // Kept below the top limit, a card is clear of the toolbar.
        QVERIFY(page->card(0)->mapTo(page.get(), QPoint()).y() >
                page->findChild<QToolBar*>("NotesTB")->geometry().bottom());
        // A note whose text never changed keeps its Content as written.
        page->aboutToHide();
        QCOMPARE(fx.column(id, "Content").toString(),
                 QStringLiteral("{\\rtf1\\ansi{\\*\\generator Other;}Kept qwzxv\\par}"));
    }

    // A card stored beyond the page (a window that was wider, on a monitor since removed)
    // opens inside it, smaller when it must; the data file keeps its place until the user
    // moves it.
    void cardsOpenInsideThePage() {
        Fixture fx;
        const QRect far(18000, 1500, 3600, 2700);  // 1200 px from the left of a 900 px page
        const QRect tall(1500, 1500, 3600, 15000); // 1000 px high
        const qint64 a = fx.note(2, {}, far), b = fx.note(1, {}, tall);
        auto page = fx.open();
        const QWidget* desk = page->findChild<QWidget*>("NotesDesk");
        for (int i : {0, 1})
            QVERIFY(desk->rect().contains(page->card(i)->geometry()));
        QCOMPARE(page->card(0)->twips().size(), far.size());
        QCOMPARE(page->card(1)->twips().width(), tall.width());
        page->aboutToHide();
        QCOMPARE(fx.stored(a), far);
        QCOMPARE(fx.stored(b), tall);
        QTest::keyClick(page->card(0)->text(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(fx.stored(a), page->card(0)->twips());
    }

    void keysMoveAndResize() {
        Fixture fx;
        const qint64 id = fx.note(1);
        auto page = fx.open();
        QTextEdit* text = page->card(0)->text();
        QTest::keyClick(text, Qt::Key_Right, Qt::AltModifier);
        QTest::keyClick(text, Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(fx.stored(id), QRect(1650, 1500, 3600, 2850));
        QVERIFY(text->toPlainText().isEmpty());
    }

    // Changed text is written a pause after typing and at hiding, without pictures; the
    // depths follow the focus.
    void savingWritesDepthsAndChangedText() {
        Fixture fx;
        const qint64 back = fx.note(2), front = fx.note(1);
        auto page = fx.open();
        QTextEdit* text = page->card(0)->text();
        QTest::mouseClick(text->viewport(), Qt::LeftButton);
        QCOMPARE(page->deck().focused(), 0);
        QTest::keyClicks(text, QStringLiteral("Groceries"));
        auto* autosave = page->findChild<QTimer*>("AutosaveTimer");
        QVERIFY(autosave->isActive());
        fire(autosave);
        QVERIFY(fx.column(back, "Content").toString().contains(QLatin1String("Groceries")));
        QCOMPARE(fx.column(back, "ZOrder").toInt(), 1);
        QCOMPARE(fx.column(front, "ZOrder").toInt(), 2);

        QTextCursor end(text->document());
        end.movePosition(QTextCursor::End);
        text->document()->addResource(QTextDocument::ImageResource, QUrl("pic"),
                                      QImage(8, 8, QImage::Format_RGB32));
        end.insertImage(QStringLiteral("pic"));
        end.insertText(QStringLiteral(" after"));
        page->aboutToHide();
        const QString saved = fx.column(back, "Content").toString();
        QVERIFY(saved.contains(QLatin1String(" after")));
        QVERIFY(!saved.contains(QLatin1String("\\pict")));
        QVERIFY(!text->toPlainText().contains(QChar::ObjectReplacementCharacter));
        QVERIFY(!autosave->isActive());
    }

    // Focus moving between notes takes the spelling helper's underlines away: no change
    // of the text. Notes never edited keep their Content byte for byte (centring included),
    // new ones keep it empty; a format change alone is an edit.
    void onlyRealEditsRewriteANote() {
        Fixture fx;
        const QString centred =
            QStringLiteral("{\\rtf1\\ansi{\\*\\generator Other;}\\qc Kept qwzxv\\par}");
        const qint64 back = fx.note(2, centred), front = fx.note(1, centred);
        auto page = fx.open();
        QVERIFY(page->card(1)->text()->findChild<SpellAsYouType*>());
        for (int i : {0, 1, 0, 1}) {
            page->setNoteFocus(i);
            QCoreApplication::processEvents();
        }
        page->command(Command::New);
        QCoreApplication::processEvents();
        const qint64 added = page->deck().card(2).id;
        page->setNoteFocus(0);
        QCoreApplication::processEvents();
        page->aboutToHide();
        QCOMPARE(fx.column(back, "Content").toString(), centred);
        QCOMPARE(fx.column(front, "Content").toString(), centred);
        QVERIFY(fx.column(added, "Content").isNull());

        page->setNoteFocus(1);
        select(page->card(1)->text(), 0, 4);
        page->action(Command::Bold)->trigger();
        page->setNoteFocus(0);
        QCoreApplication::processEvents();
        page->aboutToHide();
        QVERIFY(fx.column(front, "Content").toString().contains(QLatin1String("\\b")));
        QCOMPARE(fx.column(back, "Content").toString(), centred);
    }

    // A data file that refuses writes (made read-only under the open window): autosave
    // says so once per run of failures and once when saving works again; at the program's
    // end the user chooses between "Quit anyway" and "Stay", and staying keeps the text.
    void refusedSavesAreSpokenAbout_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file")
            << QStringLiteral("read-only") << QStringLiteral("readonly");
        QTest::newRow("full disk") << QStringLiteral("full") << QStringLiteral("full");
        QTest::newRow("read-only folder") << QStringLiteral("folder") << QString();
    }
    void refusedSavesAreSpokenAbout() {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        if (how == QLatin1String("folder") && geteuid() == 0) {
            // Root writes into any folder: the case runs again as an ordinary user.
            QProcess user;
            user.setProcessChannelMode(QProcess::MergedChannels);
            user.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                   QCoreApplication::applicationFilePath(),
                                   "refusedSavesAreSpokenAbout:read-only folder"});
            QVERIFY(user.waitForFinished(60000));
            QVERIFY2(user.exitStatus() == QProcess::NormalExit && user.exitCode() == 0,
                     user.readAll().constData());
            return;
        }
        Fixture fx;
        const qint64 id = fx.note(1);
        const QString data = fx.context.paths.dataFile();
        const QString folder = fx.dir.path();
        // The program folder on a file system of 1 MB, to be filled up.
        std::optional<DiskOf1M> disk;
        if (how == QLatin1String("full")) {
            if (geteuid() != 0)
                QSKIP("mounting a small file system needs the mount privilege, which CI has");
            disk.emplace(fx.dir.path());
            QVERIFY(disk->mounted);
        }
        const auto refuse = [&] {
            if (disk)
                disk->fill();
            else if (how == QLatin1String("folder"))
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            else
                QFile::setPermissions(data, QFile::ReadOwner);
        };
        const auto allow = [&] {
            if (disk)
                disk->free();
            else if (how == QLatin1String("folder"))
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            else
                QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner);
        };
        NotesTool tool(fx.context);
        QStringList notices;
        connect(&tool, &NotesTool::notice, this, [&](const QString& text) { notices << text; });
        std::unique_ptr<ToolPage> created(tool.makePage(nullptr));
        NotesPage* page = tool.page();
        page->resize(900, 640);
        page->show();
        page->activated();
        QTextEdit* text = page->card(0)->text();
        QTest::mouseClick(text->viewport(), Qt::LeftButton);
        QTest::keyClicks(text, QStringLiteral("Milk"));

        refuse();
        auto* autosave = page->findChild<QTimer*>("AutosaveTimer");
        fire(autosave);
        QTest::keyClicks(text,
                         QStringLiteral(" and eggs") + QString(how == "full" ? 3000 : 0, u'.'));
        fire(autosave);
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices[0].startsWith("The notes could not be saved to " + data + ":\n"),
                 qPrintable(notices[0]));
        QVERIFY2(notices[0].contains(reason), qPrintable(notices[0]));

        fx.desktop.dialogs.answers = {MessageAnswer::No};
        QVERIFY(!tool.readyToQuit());
        QCOMPARE(fx.desktop.dialogs.messages.size(), 1);
        QCOMPARE(fx.desktop.dialogs.messages[0].buttons, MessageButtons::QuitAnywayStay);
        QVERIFY(fx.desktop.dialogs.messages[0].text.contains(data));
        QVERIFY(text->toPlainText().startsWith(QStringLiteral("Milk and eggs")));
        fx.desktop.dialogs.answers = {MessageAnswer::Yes};
        QVERIFY(tool.readyToQuit());

        allow();
        QVERIFY(autosave->isActive()); // tried again after a pause
        fire(autosave);
        QCOMPARE(notices.size(), 2);
        QCOMPARE(notices[1], "The notes are saved to " + data + " again.");
        QVERIFY(fx.column(id, "Content").toString().contains(QLatin1String("Milk and eggs")));
        QVERIFY(tool.readyToQuit());
        QCOMPARE(fx.desktop.dialogs.messages.size(), 2);
    }

    // Two notes due this minute take the focus and flash together; one click into any
    // note's text stops both. An alarm while the window is loaded flashes them again.
    void dueNotesFlash() {
        Fixture fx;
        fx.note(4, {}, Place, FiringRules::OneTime, QStringLiteral("2026-03-10 08:30"));
        fx.note(3);
        fx.note(2, {}, Place, FiringRules::Daily, QStringLiteral("2026-02-01 08:30"));
        fx.note(1, {}, Place, FiringRules::Weekly, QStringLiteral("2026-03-09 08:30"));
        auto page = fx.open();
        auto* timer = page->findChild<QTimer*>("FlashTimer");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 500);
        QCOMPARE(page->deck().focused(), 2);
        fire(timer);
        QCOMPARE(background(page->card(0)), NoteDeck::FlashYellow);
        QCOMPARE(background(page->card(2)), NoteDeck::FlashYellow);
        QCOMPARE(background(page->card(1)), NoteDeck::PaleYellow);
        fire(timer);
        QCOMPARE(background(page->card(0)), NoteDeck::PaleYellow);
        fire(timer);
        QTest::mouseClick(page->card(3)->text()->viewport(), Qt::LeftButton);
        QVERIFY(!timer->isActive());
        QCOMPARE(background(page->card(0)), NoteDeck::PaleYellow);
        QCOMPARE(background(page->card(2)), NoteDeck::PaleYellow);
        QCOMPARE(page->deck().focused(), 3);

        page->alarm();
        QVERIFY(timer->isActive());
        QCOMPARE(page->deck().flashList(), (QList<int>{0, 2}));
        QCOMPARE(page->deck().focused(), 2);
        fx.clock.advanceSecs(60);
        page->alarm(); // nothing due in this minute: the flashing goes on as it was
        QCOMPARE(page->deck().flashList(), (QList<int>{0, 2}));
    }

    void schedule_data() {
        QTest::addColumn<int>("code"); // the editor's answer; -1 cancels
        QTest::addColumn<QDateTime>("picked");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("due");
        QTest::addColumn<bool>("mark");
        const QDateTime past(QDate(2026, 3, 1), QTime(9, 15));
        QTest::newRow("weekly in the past") << 3 << past << 3 << "2026-03-01 09:15" << true;
        QTest::newRow("one-time in the past") << 1 << past << 1 << "2026-03-01 09:15" << false;
        QTest::newRow("Active cleared keeps SchDT")
            << 0 << past << 0 << "2026-03-01 09:15" << false;
        QTest::newRow("cancelled") << -1 << past << 2 << "2026-04-01 07:00" << true;
    }

    void schedule() {
        QFETCH(int, code);
        QFETCH(QDateTime, picked);
        QFETCH(int, frequency);
        QFETCH(QString, due);
        QFETCH(bool, mark);
        Fixture fx;
        const qint64 id = fx.note(1, {}, Place, FiringRules::Daily, "2026-04-01 07:00");
        auto page = fx.open();
        ScheduleEditorState shown;
        page->setScheduleEditor(
            [&](const ScheduleEditorState& preset, QWidget*) -> std::optional<ScheduleEditorState> {
                shown = preset;
                if (code < 0)
                    return std::nullopt;
                // The editor's answer for the frequency code.
                ScheduleEditorState answer = preset;
                answer.active = code != FiringRules::Inactive;
                answer.oneTime = code == FiringRules::OneTime;
                answer.freqOption = code - FiringRules::Daily;
                answer.date = picked.date();
                answer.time = picked.time();
                return answer;
            });
        page->command(Command::Schedule);
        QVERIFY(shown.reminderMode);
        QVERIFY(shown.active && !shown.oneTime);
        QCOMPARE(shown.freqOption, 0);
        QCOMPARE(QDateTime(shown.date, shown.time), QDateTime(QDate(2026, 4, 1), QTime(7, 0)));
        QCOMPARE(fx.column(id, "Frequency").toInt(), frequency);
        QCOMPARE(fx.column(id, "SchDT").toString(), due);
        QCOMPARE(page->card(0)->markShown(), mark);
    }

    // The program's schedule editor opens, in reminder mode and preset from the row.
    void scheduleInTheEditor() {
        Fixture fx;
        const qint64 id = fx.note(1, {}, Place, FiringRules::Weekly, "2026-04-01 07:00");
        auto page = fx.open();
        bool seen = false;
        QTimer::singleShot(0, page.get(), [&] {
            auto* editor = page->findChild<ScheduleEditor*>();
            QVERIFY(editor);
            QVERIFY(editor->findChild<QLabel*>("RemindLb")->isVisibleTo(editor));
            QVERIFY(!editor->findChild<QWidget*>("TypeOpt")->isVisibleTo(editor));
            QCOMPARE(editor->findChild<QDateEdit*>("SchDateDT")->date(), QDate(2026, 4, 1));
            QCOMPARE(editor->findChild<QWidget*>("FreqFrame")->property("tag").toString(), "3");
            editor->findChild<QCheckBox*>("IsActiveChk")->click();
            editor->findChild<QPushButton*>("OKBtn")->click();
            seen = true;
        });
        page->command(Command::Schedule);
        QVERIFY(seen);
        QCOMPARE(fx.column(id, "Frequency").toInt(), 0);
        QCOMPARE(fx.column(id, "SchDT").toString(), "2026-04-01 07:00");
        QVERIFY(!page->card(0)->markShown());
    }

    // The toolbar shows the selection's look and formats it.
    void formatting() {
        Fixture fx;
        fx.note(1);
        auto page = fx.open();
        QTextEdit* text = page->card(0)->text();
        QTest::keyClicks(text, QStringLiteral("Hello world"));
        auto* font = page->findChild<QComboBox*>("FontCb");
        auto* size = page->findChild<QComboBox*>("SizeCb");
        QCOMPARE(size->currentText(), "9");

        select(text, 0, 5);
        page->action(Command::Bold)->trigger();
        select(text, 0, 11);
        QVERIFY(page->action(Command::Bold)->isChecked()); // from the first character
        page->choosePointSize(14);
        page->action(Command::Bold)->trigger(); // bold at the start: all of it plain
        select(text, 6, 7);
        QVERIFY(!page->action(Command::Bold)->isChecked());
        QCOMPARE(size->currentText(), "14");

        fx.desktop.dialogs.colourChoice = [](const QColor& initial) {
            return initial == Qt::black ? QColor(Qt::red) : QColor();
        };
        page->action(Command::Color)->trigger();
        page->action(Command::Color)->trigger(); // cancelled: nothing changes
        QCOMPARE(text->textCursor().charFormat().foreground().color(), QColor(Qt::red));

        select(text, 0, 11);
        const int dejaVu = font->findText(QStringLiteral("DejaVu Sans"));
        if (dejaVu >= 0) {
            font->setCurrentIndex(dejaVu);
            page->chooseFont(font->itemText(dejaVu));
            select(text, 4, 7);
            QCOMPARE(font->currentText(), "DejaVu Sans");
        }
        select(text, 0, 8); // red and black, one font and size
        QCOMPARE(size->currentText(), "14");
        QCOMPARE(QApplication::focusWidget(), text);
    }

    // Front to back, both cases, two hits in one card, the message once, then the front.
    void findWalksTheCards() {
        Fixture fx;
        fx.note(2, QStringLiteral("APPLE pie"));
        fx.note(1, QStringLiteral("apple Apple"));
        auto page = fx.open();
        page->command(Command::Find);
        FindNote* find = page->findDialog();
        QVERIFY(find && find->isVisible());
        QCOMPARE(find->windowTitle(), "Find");
        auto* button = find->findChild<QPushButton*>("FindBtn");
        QCOMPARE(button->text(), "Find Next");
        QVERIFY(!button->isEnabled());
        find->findChild<QLineEdit*>("FindTb")->setText(QStringLiteral("aPPle"));
        QVERIFY(button->isEnabled());

        const auto hit = [&] {
            button->click();
            QTextEdit* text = page->focusedCard()->text();
            return QPair<int, int>(page->deck().focused(), text->textCursor().selectionStart());
        };
        QCOMPARE(hit(), (QPair<int, int>(1, 0)));
        QCOMPARE(hit(), (QPair<int, int>(1, 6)));
        QCOMPARE(hit(), (QPair<int, int>(0, 0)));
        QVERIFY(!page->card(1)->text()->textCursor().hasSelection());
        QVERIFY(fx.desktop.dialogs.messages.isEmpty());
        button->click();
        QCOMPARE(fx.desktop.dialogs.messages.size(), 1);
        QCOMPARE(fx.desktop.dialogs.messages.last().text, "No more search result found.");
        QCOMPARE(fx.desktop.dialogs.messages.last().title, "Message");
        QCOMPARE(hit(), (QPair<int, int>(1, 0)));

        page->aboutToHide();
        QVERIFY(!find->isVisible());
    }

    void spellingEndsWithItsMessage() {
        Fixture fx;
        fx.note(1, QStringLiteral("Hello world"));
        auto page = fx.open();
        page->command(Command::Spelling);
        const QString said = fx.desktop.dialogs.messages.value(0).text;
        if (said == SpellCheckDialog::UnavailableText)
            QSKIP("no English dictionary installed");
        QCOMPARE(said, "Spell check is complete.");
        QCOMPARE(fx.desktop.dialogs.messages.value(0).title, "Message");
    }

    // Pictures of the window for a look by eye (run again with QT_SCALE_FACTOR=2).
    void screenshot() {
        {
            Fixture empty;
            auto page = empty.open();
            const QDir dir(QStringLiteral(PLUMORA_SCREENSHOT_DIR));
            dir.mkpath(QStringLiteral("."));
            QVERIFY(page->grab().save(dir.filePath(
                QStringLiteral("qnotes-empty@%1.png").arg(page->devicePixelRatioF()))));
        }
        Fixture fx;
        fx.note(3,
                QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs18 Call the "
                               "dentist\\par {\\b Friday} 10:00\\par}"),
                QRect(600, 900, 3600, 2700), FiringRules::Weekly, "2026-03-13 10:00");
        fx.note(2, QStringLiteral("Shopping: milk, bread"), QRect(3000, 1800, 3600, 2700));
        fx.note(1, QStringLiteral("Front note"), QRect(6600, 1200, 4200, 3000));
        auto page = fx.open();
        const QDir dir(QStringLiteral(PLUMORA_SCREENSHOT_DIR));
        dir.mkpath(QStringLiteral("."));
        const QString scale = QString::number(page->devicePixelRatioF());
        QVERIFY(page->grab().save(dir.filePath(QStringLiteral("qnotes@") + scale + ".png")));
        page->command(Command::Find);
        QVERIFY(page->findDialog()->grab().save(
            dir.filePath(QStringLiteral("findnote@") + scale + ".png")));
    }
};

QTEST_MAIN(TestNotesWindow)
#include "tst_noteswindow.moc"
