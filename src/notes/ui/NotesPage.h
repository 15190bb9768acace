// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TickTimer.h"
#include "data/SaveFailures.h"
#include "notes/NoteAutosave.h"
#include "notes/NoteDeck.h"
#include "notes/NoteSchedule.h"
#include "notes/NoteStore.h"
#include "notes/NoteToolbar.h"
#include "notes/StoredNotes.h"
#include "notes/ui/NoteReading.h"
#include "scheduler/ScheduleEditorState.h"
#include "shell/AppContext.h"
#include "shell/ui/ToolPage.h"

#include <QCoreApplication>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class FindNote;
class FocusFrame;
class NoteCard;
class QAction;
class QComboBox;
class QLabel;
class QTextDocument;
class QTextEdit;
class QTimer;
class QToolBar;
class ReloadBar;
class SpellAsYouType;
class SpellChecker;

// Quick Notes ("Quick Notes"): the user's notes as yellow cards that can be moved, resized,
// stacked, formatted, scheduled, searched and spell-checked. Loading renumbers the stored
// depths and makes the notes due this minute flash until a click into any note's text.
// Changed text is saved a few seconds after typing stops, and whenever the window hides,
// Plumora ends or a shut-down entry runs; depths and changed texts as SaveNotes, geometry
// when a drag ends.
class NotesPage : public ToolPage {
    Q_OBJECT
public:
    // The Power Scheduler's editor, which edits a note's alarm.
    using ScheduleEditor = ScheduleEditing;

    // What the page says while it holds no note.
    static constexpr const char* EmptyText = QT_TR_NOOP(
        "No notes yet. Click New, the first button of the toolbar, or press Ctrl+N to add a "
        "note.");

    NotesPage(AppContext& context, QWidget* parent = nullptr);
    void setScheduleEditor(ScheduleEditor editor) { m_scheduleEditor = std::move(editor); }
    ~NotesPage() override;

    void activated() override;
    // Saves, and closes the search dialog.
    void aboutToHide() override;

    // Writes every visible note's depth and each changed note's text (pictures removed).
    // False when the data file refused; the changes stay marked.
    bool saveNotes();
    // Saves what is unsaved now, without asking anything: before a shut-down, at the end.
    void saveNow();
    // Saves what is unsaved before the program ends; false (with what failed and why) when
    // the data file refused, the text then still in its notes.
    bool keepForUnload(QString* failure) override;
    void giveUpUnsaved() override { m_givenUp = true; }
    // Gives a card the focus and brings it to the front; -1 for the visible card of depth 1.
    void setNoteFocus(int index);
    // A note alarm while the window is loaded: the notes due this minute flash, and
    // those due in any of the `late` minutes (alarms passed over while asleep).
    void alarm(const QList<QDateTime>& late = {});

    // A new note in front, with the focus, holding `text` (plain) when given; a text is
    // saved at once. False when the data file took no new note (the user was told).
    bool addNote(const QString& text);

    // The toolbar's commands on the focused card.
    void command(NoteToolbar::Command command);
    void chooseFont(const QString& family);
    void choosePointSize(qreal points);

    // FlashTimer's step.
    void flashTick();

    const NoteDeck& deck() const { return m_deck; }
    // The bar that offers to reload notes changed elsewhere while some were unsaved.
    ReloadBar* reloadBar() const { return m_reloadBar; }
    NoteCard* card(int index) const;
    // The card in the focus frame, or null.
    NoteCard* focusedCard() const;
    QAction* action(NoteToolbar::Command command) const;
    FindNote* findDialog() const;

    // A note whose stored text is longer than this is read off the window's thread: its
    // card says it is opening, read-only, and the window goes on answering meanwhile.
    static constexpr qsizetype ReadAsideChars = 256 * 1024;
    // Whether the note of the card is still being read.
    bool opening(int index) const { return m_reading->opening(index); }

public Q_SLOTS:
    // Moves every card that lies partly outside the page into it, as far as it must; a
    // card too big for the page gets smaller. Nothing is stored: the card keeps its place
    // in the data file until the user moves it.
    void keepCardsInView();

Q_SIGNALS:
    // A note read off the window's thread is in its card.
    void noteOpened(int index);
    // Emitted on the reading thread before such a note is read; a direct connection runs
    // there and may hold the reading.
    void reading();
    // Autosave started failing, or works again: the text for a notice. The failures are
    // logged either way.
    void notice(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildToolbar();
    void load();
    // Lets the text break its lines anywhere once a change brought an overlong word.
    static void breakOverlongWords(QTextEdit* text, int position, int added);
    NoteCard* createCard(int index, const NoteRecord& row);
    // A note read aside is in: its document goes into the card.
    void noteRead(int index, QTextDocument* doc, bool overlong);
    // Marks the note changed on the user's edits to its text.
    void watchText(int index);
    void applyEnabling();
    void updateToolbar();
    void textChanged(int index);
    void textTouched(int index, bool byMouse);
    void dragEnded(int index);
    void arrowPressed(int index, int key);
    void stopFlashing();
    // Whether a note holds typing, a depth or a place not saved yet.
    bool hasUnsavedWork();
    // The card's place when it differs from the stored one.
    std::optional<QRect> movedTo(int index) const;
    // QNotes changed: when it no longer holds what the page knows, the cards are built
    // again from it; with unsaved work, which is never dropped unasked, the reload bar
    // offers that instead.
    void tableChanged();
    // The cards built again from the table; what was not saved is dropped.
    void reloadNotes();
    // Writes through the store and notes what the table then holds.
    bool write(const QList<NoteStore::Write>& writes);
    void startFlashing(const QList<int>& focusOrder);
    void attachSpelling(NoteCard* card);
    SpellChecker& checker();
    // A failure the user must hear about.
    void tell(const QString& text);
    // Autosave's save, which speaks once per run of failures.
    bool autosave();
    QSize screenTwips() const;

    // The new note's card, null when the data file took none.
    NoteCard* newNote();
    void deleteNote();
    void openFind();
    void spelling();
    void schedule();
    std::optional<NoteSchedule::Stored> editSchedule(const NoteSchedule::EditorPreset& preset);
    void colour();
    void toggle(NoteToolbar::Toggle toggle);
    void applyFormat(const QTextCharFormat& format);

    AppContext& m_context;
    NoteStore& m_store;
    NoteDeck m_deck;
    StoredNotes m_stored;
    QList<NoteCard*> m_cards;
    QString m_loadError;
    bool m_saving = false;
    bool m_hidingCard = false;
    bool m_givenUp = false; // the user chose to go on without the unsaved notes
    // The cards are kept in view when the page is first shown and while the main window
    // follows a change of the screens.
    bool m_cardsInView = false;
    QTimer* m_screensChanging;

    QWidget* m_desk;
    QLabel* m_emptyLb;
    QToolBar* m_toolbar;
    ReloadBar* m_reloadBar;
    QList<QAction*> m_actions;
    QComboBox* m_fontBox;
    QComboBox* m_sizeBox;
    FocusFrame* m_frame;
    // Reads the long notes; the page waits for it before it goes.
    NoteReading* m_reading;
    QTimer* m_flashTimer;
    QTimer* m_autosaveTimer;
    QtTickTimer m_autosaveTick;
    NoteAutosave m_autosave;
    SaveFailures::Streak m_autosaveFailures{QCoreApplication::translate("NotesPage", "The notes")};
    QPointer<FindNote> m_find;
    std::unique_ptr<SpellChecker> m_checker;
    QPointer<SpellAsYouType> m_spelling;
    ScheduleEditor m_scheduleEditor;
};

// Quick Notes as the main window's tool. The tick's note alarm comes through here.
class NotesTool : public QObject {
    Q_OBJECT
public:
    explicit NotesTool(AppContext& context, NotesPage::ScheduleEditor scheduleEditor = {});
    // Makes the page (the main window asks the first time the tool is chosen) and keeps
    // hold of it.
    NotesPage* makePage(QWidget* parent);
    // The page once the main window has loaded it; null before.
    NotesPage* page() const { return m_page; }
    // A note is due: `open` brings up Quick Notes, whose loading makes the due notes
    // flash; a page that was loaded already makes them flash itself.
    void alarm(const std::function<void()>& open);
    // Alarms that came due while the computer was asleep: as above, with the notes due
    // in the `late` minutes flashing.
    void lateAlarm(const std::function<void()>& open, const QList<QDateTime>& late);
    // Before a shut-down: the notes' unsaved text to the data file.
    void saveNow();
    // A note asked from outside the window: `open` brings up Quick Notes, which then puts
    // a new note in front holding `text`. Gives a refusal, or nothing.
    QString newNote(const std::function<void()>& open, const QString& text);
    // At "Unload Plumora": true when the notes are saved, or the user chose "Quit anyway"
    // after being told why they could not be; false for "Stay".
    bool readyToQuit();

Q_SIGNALS:
    // The page's autosave notices, for the pop-up message.
    void notice(const QString& text);

private:
    AppContext& m_context;
    NotesPage::ScheduleEditor m_scheduleEditor;
    QPointer<NotesPage> m_page;
};
