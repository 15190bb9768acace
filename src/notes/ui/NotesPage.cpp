// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ui/NotesPage.h"

#include "base/Clock.h"
#include "data/ChangeHub.h"
#include "notes/NoteGeometry.h"
#include "notes/NoteSave.h"
#include "notes/NotesLog.h"
#include "notes/RtfWriter.h"
#include "notes/ui/FindNote.h"
#include "notes/ui/NoteArtwork.h"
#include "notes/ui/NoteCard.h"
#include "notes/ui/NoteReading.h"
#include "platform/Dialogs.h"
#include "platform/WindowSystem.h"
#include "platform/spell/SpellChecker.h"
#include "platform/spell/ui/SpellAsYouType.h"
#include "platform/spell/ui/SpellCheckDialog.h"
#include "shell/ScreenFit.h"
#include "shell/ShellTables.h"
#include "shell/Twips.h"
#include "shell/ui/ReloadBar.h"
#include "shell/ui/UnloadCheck.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleValidator>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

using NoteToolbar::Command;

namespace {

constexpr int FlashMs = 500;
// How long after a change of the screens the page still follows its window's moves onto
// the screens that are left.
constexpr int ScreensSettleMs = 3000;

QKeySequence shortcutOf(Command command) {
    switch (command) {
    case Command::New:
        return QKeySequence(Qt::CTRL | Qt::Key_N);
    case Command::Find:
        return QKeySequence(Qt::CTRL | Qt::Key_F);
    case Command::Spelling:
        return QKeySequence(Qt::Key_F7);
    case Command::Bold:
        return QKeySequence(Qt::CTRL | Qt::Key_B);
    case Command::Italic:
        return QKeySequence(Qt::CTRL | Qt::Key_I);
    case Command::Underline:
        return QKeySequence(Qt::CTRL | Qt::Key_U);
    default:
        return {};
    }
}

bool isToggle(Command command) {
    return command == Command::Bold || command == Command::Italic || command == Command::Underline;
}

// Shows `text` in an editable box, choosing the matching entry so that leaving the box
// does not count as a choice.
void showInBox(QComboBox* box, const QString& text) {
    box->setCurrentIndex(text.isEmpty() ? -1 : box->findText(text));
    box->setEditText(text);
}

} // namespace

NotesPage::NotesPage(AppContext& context, QWidget* parent)
    : ToolPage(parent), m_context(context), m_store(context.stores.get<NoteStore>()),
      m_desk(new QWidget(this)), m_frame(new FocusFrame), m_reading(new NoteReading(this)),
      m_flashTimer(new QTimer(this)), m_autosaveTimer(new QTimer(this)),
      m_autosaveTick(*m_autosaveTimer),
      m_autosave(context.clock, m_autosaveTick, [this] { return autosave(); }) {
    setObjectName(QStringLiteral("QNotes"));
    setWindowTitle(tr("Quick Notes"));
    m_desk->setObjectName(QStringLiteral("NotesDesk"));
    m_frame->setParent(m_desk);

    m_flashTimer->setObjectName(QStringLiteral("FlashTimer"));
    m_flashTimer->setInterval(FlashMs);
    connect(m_flashTimer, &QTimer::timeout, this, &NotesPage::flashTick);
    m_autosaveTimer->setObjectName(QStringLiteral("AutosaveTimer"));
    connect(m_autosaveTimer, &QTimer::timeout, this, [this] { m_autosave.timeout(); });
    // A monitor plugged in or out: the main window is moved onto a screen, and the cards
    // follow whatever size it is left with.
    m_screensChanging = new QTimer(this);
    m_screensChanging->setSingleShot(true);
    m_screensChanging->setInterval(ScreensSettleMs);
    connect(m_screensChanging, &QTimer::timeout, this, &NotesPage::keepCardsInView);
    const auto screensChanged = [this] {
        m_cardsInView = false;
        m_screensChanging->start();
    };
    connect(qApp, &QGuiApplication::screenAdded, this, screensChanged);
    connect(qApp, &QGuiApplication::screenRemoved, this, screensChanged);

    // What an empty page is for; hidden while there is a note.
    m_emptyLb = new QLabel(tr(EmptyText), m_desk);
    m_emptyLb->setObjectName(QStringLiteral("EmptyLb"));
    m_emptyLb->setWordWrap(true);
    m_emptyLb->setAlignment(Qt::AlignCenter);
    m_emptyLb->hide();
    connect(m_reading, &NoteReading::reading, this, &NotesPage::reading, Qt::DirectConnection);
    connect(m_reading, &NoteReading::documentRead, this, &NotesPage::noteRead);
    buildToolbar();
    m_reloadBar = new ReloadBar(
        tr("The notes were changed elsewhere. Your changes here are kept; Reload shows the notes "
           "as stored now and drops what was not saved yet."),
        this);
    connect(m_reloadBar, &ReloadBar::reloadChosen, this, &NotesPage::reloadNotes);
    load();
    // Every write to QNotes is heard, the page's own too: those leave the table as the page
    // knows it.
    connect(&context.stores.changes, &ChangeHub::changed, this, [this](const QString& table) {
        if (table == QLatin1String("QNotes"))
            tableChanged();
    });
}

void NotesPage::tableChanged() {
    if (m_saving)
        return;
    QList<NoteRecord> rows;
    if (!m_store.load(rows)) {
        qCWarning(lcNotes) << "the changed notes could not be read:" << m_store.lastError();
        return;
    }
    if (!m_stored.differs(rows)) {
        m_reloadBar->hide();
        return;
    }
    if (hasUnsavedWork()) {
        qCInfo(lcNotes) << "the notes changed elsewhere; kept as shown, with unsaved work";
        m_reloadBar->offer();
        return;
    }
    reloadNotes();
}

std::optional<QRect> NotesPage::movedTo(int index) const {
    const NoteCard* c = card(index);
    return c && c->twips() != c->stored() ? std::optional(c->twips()) : std::nullopt;
}

bool NotesPage::hasUnsavedWork() {
    return NoteSave::unsaved(m_deck.saveList(), [this](int index) { return movedTo(index); });
}

void NotesPage::reloadNotes() {
    m_reloadBar->hide();
    m_autosave.drop();
    stopFlashing();
    if (FindNote* find = m_find)
        find->close();
    delete m_spelling.data();
    // The focus frame lives in the focused card; it stays with the page.
    m_frame->follow(nullptr);
    m_frame->setParent(m_desk);
    for (NoteCard* c : std::as_const(m_cards)) {
        c->disconnect(this);
        c->text()->disconnect(this);
        c->text()->document()->disconnect(this);
        delete c;
    }
    m_cards.clear();
    m_reading->forget();
    load();
    if (isVisible())
        activated();
}

NotesPage::~NotesPage() {
    // A note still being read posts to this page when done.
    m_reading->waitForDone();
    saveNow();
    // The cards go while the page is whole, and tell it nothing on their way out.
    for (NoteCard* c : std::as_const(m_cards)) {
        c->disconnect(this);
        c->text()->disconnect(this);
        c->text()->document()->disconnect(this);
    }
    delete m_spelling.data(); // it refers to the checker
    delete m_desk;
    m_cards.clear();
}

void NotesPage::buildToolbar() {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("NotesTB"));
    m_toolbar->setAccessibleName(tr("Quick Notes toolbar"));
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setAutoFillBackground(true);

    m_fontBox = new QComboBox(m_toolbar);
    m_fontBox->setObjectName(QStringLiteral("FontCb"));
    m_fontBox->setAccessibleName(tr("Font name"));
    m_fontBox->setToolTip(tr("Font name"));
    m_fontBox->setEditable(true);
    // The typing field is what a screen reader reaches: it carries the box's name.
    m_fontBox->lineEdit()->setAccessibleName(m_fontBox->accessibleName());
    m_fontBox->setInsertPolicy(QComboBox::NoInsert);
    m_fontBox->setMinimumContentsLength(16);
    m_fontBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const QString& family : QFontDatabase::families())
        if (!family.isEmpty())
            m_fontBox->addItem(family);
    // Until a note has the focus the box shows what a new note gets, not its first entry.
    showInBox(m_fontBox, NoteToolbar::defaultFamily());
    connect(m_fontBox, &QComboBox::activated, this,
            [this](int index) { chooseFont(m_fontBox->itemText(index)); });

    m_sizeBox = new QComboBox(m_toolbar);
    m_sizeBox->setObjectName(QStringLiteral("SizeCb"));
    m_sizeBox->setAccessibleName(tr("Font size"));
    m_sizeBox->setToolTip(tr("Font size"));
    m_sizeBox->setEditable(true);
    m_sizeBox->lineEdit()->setAccessibleName(m_sizeBox->accessibleName());
    m_sizeBox->setInsertPolicy(QComboBox::NoInsert);
    m_sizeBox->setMinimumContentsLength(3);
    m_sizeBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_sizeBox->setValidator(new QDoubleValidator(1, 1638, 1, m_sizeBox));
    for (int size : NoteToolbar::sizes())
        m_sizeBox->addItem(QString::number(size));
    showInBox(m_sizeBox, NoteToolbar::sizeText(NoteToolbar::defaultFont().pointSizeF()));
    connect(m_sizeBox, &QComboBox::activated, this,
            [this](int index) { choosePointSize(m_sizeBox->itemText(index).toDouble()); });
    // A size typed in and confirmed counts as chosen, even when the list does not hold it.
    connect(m_sizeBox->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        bool ok = false;
        const double points = m_sizeBox->currentText().toDouble(&ok);
        if (ok && points > 0 && m_sizeBox->findText(m_sizeBox->currentText()) < 0)
            choosePointSize(points);
    });

    for (int i = 0; i < NoteToolbar::CommandCount; ++i) {
        const auto c = Command(i);
        const QString tip = NoteToolbar::toolTip(c);
        auto* a = new QAction(NoteArtwork::command(c), tip, this);
        a->setObjectName(QLatin1String(NoteToolbar::name(c)) + QStringLiteral("Btn"));
        a->setToolTip(tip);
        a->setCheckable(isToggle(c));
        const QKeySequence keys = shortcutOf(c);
        if (!keys.isEmpty()) {
            a->setShortcut(keys);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            a->setToolTip(tip + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
                          u')');
            addAction(a); // the shortcut works anywhere in the page
        }
        connect(a, &QAction::triggered, this, [this, c] { command(c); });
        m_actions.append(a);
        if (c == Command::Find || c == Command::Color)
            m_toolbar->addSeparator();
        if (c == Command::Color) {
            m_toolbar->addWidget(m_fontBox);
            m_toolbar->addWidget(m_sizeBox);
        }
        m_toolbar->addAction(a);
        // Tool buttons join the Tab order, so the keyboard reaches every command.
        if (QWidget* button = m_toolbar->widgetForAction(a)) {
            button->setFocusPolicy(Qt::TabFocus);
            button->setAccessibleName(tip);
        }
    }
    m_toolbar->raise();
}

void NotesPage::resizeEvent(QResizeEvent* event) {
    ToolPage::resizeEvent(event);
    // Cards lie in twips from the page's top, and the top limit keeps them below a toolbar
    // of its height; a taller toolbar (larger fonts) moves them all down by the difference.
    const int bar = m_toolbar->sizeHint().height();
    const int below = std::max(0, bar - Twips::toPixels(NoteGeometry::TopLimit));
    m_desk->setGeometry(0, below, width(), height() - below);
    m_emptyLb->setGeometry(m_desk->rect().adjusted(24, 24, -24, -24));
    m_toolbar->setGeometry(0, 0, width(), bar);
    m_reloadBar->setGeometry(0, bar, width(), m_reloadBar->heightForWidth(width()));
    if (!m_cardsInView || m_screensChanging->isActive())
        keepCardsInView();
}

void NotesPage::showEvent(QShowEvent* event) {
    ToolPage::showEvent(event);
    if (!m_cardsInView)
        keepCardsInView();
}

void NotesPage::keepCardsInView() {
    if (!isVisible() || m_desk->width() <= 1 || m_desk->height() <= 1)
        return;
    m_cardsInView = true;
    const ScreenFit fit({m_desk->rect()});
    for (NoteCard* c : std::as_const(m_cards)) {
        if (!c || c->isHidden())
            continue;
        const QRect placed = fit.place(c->geometry());
        if (placed == c->geometry())
            continue;
        const bool asStored = c->twips() == c->stored();
        c->setTwips(QRect(placed.x() * Twips::PerPixel, placed.y() * Twips::PerPixel,
                          placed.width() * Twips::PerPixel, placed.height() * Twips::PerPixel));
        // Moved for the screen, not by the user: not a change to save.
        if (asStored)
            c->setStored(c->twips());
    }
}

void NotesPage::load() {
    QList<NoteRecord> rows;
    if (!m_store.load(rows))
        m_loadError = m_store.lastError();
    m_stored.load(rows);
    const QList<NoteDeck::Renumbered> renumbered = m_deck.load(rows, m_context.clock.now());
    if (!renumbered.isEmpty()) {
        QList<NoteStore::Write> writes;
        for (const NoteDeck::Renumbered& r : renumbered)
            writes.append({r.id, r.zOrder, std::nullopt, std::nullopt});
        if (write(writes))
            m_deck.saved(m_deck.saveList());
    }
    m_cards.reserve(rows.size());
    for (int p = 0; p < rows.size(); ++p)
        createCard(p, rows.at(p));
    applyEnabling();
    keepCardsInView();
}

NoteCard* NotesPage::createCard(int index, const NoteRecord& row) {
    auto* c = new NoteCard(index, row.created, m_desk);
    QTextEdit* text = c->text();
    if (row.content.size() > ReadAsideChars) {
        text->setReadOnly(true);
        text->setPlaceholderText(tr("Opening the note..."));
        m_reading->readAside(index, row);
    } else {
        if (NoteReading::read(row, *text->document()))
            text->setWordWrapMode(QTextOption::WrapAnywhere);
        text->setCurrentCharFormat(NoteToolbar::insertionFormat());
    }
    // Sized once the text is in: the box lays its text out once, when it is first shown.
    c->setTwips(row.geometry);
    c->setStored(row.geometry);
    c->setSchedule(row.frequency, row.due,
                   NoteSchedule::markVisible(row.frequency, row.due, m_context.clock.today()));
    const auto selectionMoved = [this, index] {
        if (m_deck.focused() == index)
            updateToolbar();
    };
    connect(text, &QTextEdit::cursorPositionChanged, this, selectionMoved);
    connect(text, &QTextEdit::selectionChanged, this, selectionMoved);
    connect(c, &NoteCard::pressed, this, &NotesPage::setNoteFocus);
    connect(c, &NoteCard::textFocused, this, [this](int i) {
        if (!m_hidingCard)
            setNoteFocus(i);
    });
    connect(c, &NoteCard::textTouched, this, &NotesPage::textTouched);
    connect(c, &NoteCard::dragEnded, this, &NotesPage::dragEnded);
    connect(c, &NoteCard::arrowPressed, this, &NotesPage::arrowPressed);
    m_cards.append(c);
    if (!opening(index))
        watchText(index);
    c->show();
    c->raise();
    return c;
}

void NotesPage::watchText(int index) {
    QTextEdit* text = card(index)->text();
    QTextDocument* doc = text->document();
    // Only the user's edits (typing, pasting, formatting) mark a note changed. They all go
    // through the undo stack and so set the document's modified flag; the spelling helper's
    // underlines coming and going report a content change too, but never set it.
    doc->setModified(false);
    connect(doc, &QTextDocument::contentsChange, this,
            [this, index, doc, text](int position, int removed, int added) {
                if ((removed > 0 || added > 0) && doc->isModified())
                    textChanged(index);
                if (added > 0 && text->wordWrapMode() != QTextOption::WrapAnywhere)
                    breakOverlongWords(text, position, added);
            });
    connect(doc, &QTextDocument::modificationChanged, this, [this, index](bool modified) {
        if (modified)
            textChanged(index);
    });
}

void NotesPage::noteRead(int index, QTextDocument* doc, bool overlong) {
    NoteCard* c = card(index);
    if (!c) {
        delete doc;
        return;
    }
    QTextEdit* text = c->text();
    // The spelling helper underlines the document being replaced.
    const bool spelled = m_spelling && m_spelling->parent() == text;
    if (spelled)
        delete m_spelling.data();
    if (overlong)
        text->setWordWrapMode(QTextOption::WrapAnywhere);
    doc->setParent(text);
    text->setDocument(doc);
    // Laid out once, now that the box has set it up: without a layout of its own, the
    // document makes its standard one.
    doc->setDocumentLayout(nullptr);
    doc->documentLayout();
    text->setPlaceholderText(QString());
    text->setReadOnly(false);
    text->setCurrentCharFormat(NoteToolbar::insertionFormat());
    watchText(index);
    if (spelled)
        attachSpelling(c);
    if (m_deck.focused() == index)
        updateToolbar();
    Q_EMIT noteOpened(index);
}

void NotesPage::breakOverlongWords(QTextEdit* text, int position, int added) {
    const QTextDocument* doc = text->document();
    for (QTextBlock b = doc->findBlock(position); b.isValid() && b.position() <= position + added;
         b = b.next())
        if (NoteGeometry::hasOverlongWord(b.text())) {
            text->setWordWrapMode(QTextOption::WrapAnywhere);
            return;
        }
}

NoteCard* NotesPage::card(int index) const {
    return index >= 0 && index < m_cards.size() ? m_cards.at(index) : nullptr;
}

NoteCard* NotesPage::focusedCard() const {
    const int index = m_deck.focused();
    return index >= 0 && index < m_deck.count() && m_deck.card(index).visible ? card(index)
                                                                              : nullptr;
}

QAction* NotesPage::action(Command command) const {
    return m_actions.value(int(command));
}

FindNote* NotesPage::findDialog() const {
    return m_find;
}

QSize NotesPage::screenTwips() const {
    return m_context.windows.screenGeometry().size() * Twips::PerPixel;
}

void NotesPage::tell(const QString& text) {
    ToolPage::tell(m_context.dialogs, text);
}

void NotesPage::activated() {
    if (!m_loadError.isEmpty()) {
        const QString error = std::exchange(m_loadError, QString());
        tell(tr("The notes could not be read from the data file.\n\n%1").arg(error));
    }
    const NoteDeck::FirstActivation first = m_deck.firstActivation();
    for (int i : first.focusOrder)
        setNoteFocus(i);
    if (first.startFlashing)
        m_flashTimer->start();
    if (NoteCard* c = focusedCard())
        c->text()->setFocus();
}

void NotesPage::aboutToHide() {
    if (FindNote* find = m_find)
        find->close();
    m_autosave.flush();
    if (saveNotes())
        return;
    if (m_givenUp) // the user chose to go on without them
        qCWarning(lcNotes) << "the notes were not saved:" << m_store.lastError();
    else
        tell(SaveFailures::failedText(tr("The notes"), m_context.paths.dataFile(),
                                      m_store.lastError()));
}

bool NotesPage::autosave() {
    const bool saved = saveNotes();
    const QString file = m_context.paths.dataFile();
    const QString text = saved ? m_autosaveFailures.succeeded(file)
                               : m_autosaveFailures.failed(file, m_store.lastError());
    if (!saved)
        qCWarning(lcNotes) << "autosave failed:" << m_store.lastError();
    if (!text.isEmpty())
        Q_EMIT notice(text);
    return saved;
}

bool NotesPage::keepForUnload(QString* failure) {
    m_autosave.flush();
    if (saveNotes())
        return true;
    *failure =
        SaveFailures::failedText(tr("The notes"), m_context.paths.dataFile(), m_store.lastError());
    return false;
}

void NotesPage::saveNow() {
    m_autosave.flush();
    if (!saveNotes())
        qCWarning(lcNotes) << "the notes were not saved:" << m_store.lastError();
}

bool NotesPage::saveNotes() {
    if (m_saving)
        return false;
    const QScopedValueRollback saving(m_saving, true);
    const NoteSave::Pending pending = NoteSave::pending(
        m_deck.saveList(), [this](int index) { return movedTo(index); },
        [this](int index) {
            QTextDocument* doc = card(index)->text()->document();
            RtfWriter::removeObjects(*doc);
            return RtfWriter::write(*doc);
        });
    if (!write(pending.writes))
        return false;
    m_deck.saved(pending.items);
    for (const NoteDeck::SaveItem& item : pending.items) {
        NoteCard* c = card(item.index);
        c->setStored(c->twips());
        if (item.textChanged)
            c->text()->document()->setModified(false);
    }
    return true;
}

bool NotesPage::write(const QList<NoteStore::Write>& writes) {
    if (!m_store.write(writes))
        return false;
    m_stored.written(writes);
    return true;
}

void NotesPage::setNoteFocus(int index) {
    const NoteDeck::Focus f = m_deck.focus(index);
    NoteCard* c = card(f.index);
    if (!c)
        return;
    if (f.moved) {
        m_frame->follow(c);
        c->raise();
        attachSpelling(c);
        // The new depths reach the data file with the next save.
        m_autosave.changed();
    }
    c->text()->setFocus();
    if (f.moved)
        updateToolbar();
}

void NotesPage::alarm(const QList<QDateTime>& late) {
    QList<QDateTime> minutes = late;
    minutes.append(m_context.clock.now());
    QList<NoteSchedule::CardAlarm> cards;
    for (int i = 0; i < m_cards.size(); ++i)
        if (m_deck.card(i).visible)
            cards.append({i, m_cards.at(i)->frequency(), m_cards.at(i)->due()});
    const NoteDeck::Alarm a = m_deck.alarm(NoteSchedule::dueIn(cards, minutes));
    for (int i : a.unflash)
        card(i)->setTextBackground(NoteDeck::PaleYellow);
    if (a.focusOrder.isEmpty())
        return;
    for (int i : a.focusOrder)
        setNoteFocus(i);
    m_flashTimer->start();
}

void NotesPage::flashTick() {
    const QRgb colour = m_deck.flashTick();
    for (int i : m_deck.flashList())
        card(i)->setTextBackground(colour);
}

void NotesPage::stopFlashing() {
    const QList<int> flashed = m_deck.stopFlashing();
    if (flashed.isEmpty())
        return;
    m_flashTimer->stop();
    for (int i : flashed)
        card(i)->setTextBackground(NoteDeck::PaleYellow);
}

void NotesPage::textChanged(int index) {
    if (m_saving)
        return; // pictures removed while saving
    m_deck.markModified(index);
    m_autosave.changed();
}

void NotesPage::textTouched(int index, bool byMouse) {
    stopFlashing();
    if (byMouse)
        setNoteFocus(index);
}

void NotesPage::dragEnded(int index) {
    NoteCard* c = card(index);
    if (!c)
        return;
    const QRect r = c->twips();
    c->setTwips(QRect(NoteGeometry::keptOnScreen(r, screenTwips()), r.size()));
    if (c->twips() == c->stored())
        return;
    if (write({{m_deck.card(index).id, std::nullopt, std::nullopt, c->twips()}}))
        c->setStored(c->twips());
    else
        m_autosave.changed(); // tried again with the next save
}

void NotesPage::arrowPressed(int index, int key) {
    setNoteFocus(index);
    NoteCard* c = card(index);
    if (!c || m_deck.focused() != index)
        return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(c->text(), &press);
    QCoreApplication::sendEvent(c->text(), &release);
}

void NotesPage::applyEnabling() {
    const int notes = m_deck.visibleCount();
    for (int i = 0; i < NoteToolbar::CommandCount; ++i)
        m_actions.at(i)->setEnabled(NoteToolbar::enabled(Command(i), notes));
    m_fontBox->setEnabled(NoteToolbar::fontBoxesEnabled(notes));
    m_sizeBox->setEnabled(NoteToolbar::fontBoxesEnabled(notes));
    m_emptyLb->setVisible(notes == 0);
}

void NotesPage::updateToolbar() {
    NoteCard* c = focusedCard();
    if (!c)
        return;
    const NoteToolbar::Shown s = NoteToolbar::shown(c->text()->textCursor());
    showInBox(m_fontBox, s.family);
    showInBox(m_sizeBox, s.points > 0 ? NoteToolbar::sizeText(s.points) : QString());
    action(Command::Bold)->setChecked(s.bold);
    action(Command::Italic)->setChecked(s.italic);
    action(Command::Underline)->setChecked(s.underline);
}

void NotesPage::attachSpelling(NoteCard* c) {
    delete m_spelling.data();
    // The dictionary loads once the window is up, so opening it stays quick.
    QTimer::singleShot(0, this, [this, text = QPointer<QTextEdit>(c->text())] {
        if (text && !m_spelling && focusedCard() && focusedCard()->text() == text)
            m_spelling = new SpellAsYouType(text, checker());
    });
}

SpellChecker& NotesPage::checker() {
    if (!m_checker)
        m_checker = SpellChecker::forProgram(m_context.paths);
    return *m_checker;
}

void NotesPage::command(Command command) {
    switch (command) {
    case Command::New:
        newNote();
        return;
    case Command::Delete:
        return deleteNote();
    case Command::Find:
        return openFind();
    case Command::Spelling:
        return spelling();
    case Command::Schedule:
        return schedule();
    case Command::Color:
        return colour();
    case Command::Bold:
        return toggle(NoteToolbar::Toggle::Bold);
    case Command::Italic:
        return toggle(NoteToolbar::Toggle::Italic);
    case Command::Underline:
        return toggle(NoteToolbar::Toggle::Underline);
    }
}

NoteCard* NotesPage::newNote() {
    const NoteRecord row = m_store.add(m_context.clock.today());
    if (row.id == 0) {
        tell(
            tr("The new note could not be added to the data file.\n\n%1").arg(m_store.lastError()));
        return nullptr;
    }
    m_stored.added(row);
    std::optional<QRect> beside;
    if (const NoteCard* focused = focusedCard())
        beside = focused->twips();
    const int index = m_deck.add(row.id);
    NoteCard* c = createCard(index, row);
    const QPoint at = NoteGeometry::newCardPlace(beside, row.geometry.size(),
                                                 window()->size() * Twips::PerPixel, screenTwips());
    c->setTwips(QRect(at, row.geometry.size()));
    if (write({{row.id, std::nullopt, std::nullopt, c->twips()}}))
        c->setStored(c->twips());
    setNoteFocus(index);
    applyEnabling();
    return c;
}

bool NotesPage::addNote(const QString& text) {
    NoteCard* c = newNote();
    if (!c)
        return false;
    if (!text.isEmpty()) {
        // Typed in as the user would, so the note counts as changed and is saved.
        QTextCursor cursor(c->text()->document());
        cursor.insertText(text);
        c->text()->moveCursor(QTextCursor::End);
        saveNotes();
    }
    return true;
}

void NotesPage::deleteNote() {
    const int index = m_deck.focused();
    NoteCard* c = focusedCard();
    if (!c)
        return;
    if (m_context.dialogs.messageBox(
            QCoreApplication::translate("NoteToolbar", NoteToolbar::DeleteQuestion),
            QCoreApplication::translate("NoteToolbar", NoteToolbar::DeleteTitle),
            MessageButtons::YesNoDefaultNo, MessageIcon::Information) != MessageAnswer::Yes)
        return;
    if (!m_store.remove(m_deck.card(index).id)) {
        tell(
            tr("The note could not be deleted from the data file.\n\n%1").arg(m_store.lastError()));
        return;
    }
    m_stored.removed(m_deck.card(index).id);
    delete m_spelling.data();
    m_deck.remove(index);
    {
        // The keyboard leaves the hidden card for the next text in the Tab order; the card
        // that takes the focus is the new front one, below.
        const QScopedValueRollback hiding(m_hidingCard, true);
        c->hide();
    }
    if (m_deck.visibleCount() > 0)
        setNoteFocus(-1);
    applyEnabling();
}

void NotesPage::openFind() {
    if (FindNote* open = m_find) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    QList<NoteSearch::Card> cards;
    for (int i = 0; i < m_deck.count(); ++i)
        cards.append({i, m_deck.card(i).depth});
    const auto textOf = [this](int index) -> std::optional<QString> {
        if (index < 0 || index >= m_deck.count() || !m_deck.card(index).visible)
            return std::nullopt;
        return card(index)->text()->toPlainText();
    };
    const auto show = [this](const NoteSearch::Hit& hit) {
        if (NoteCard* before = focusedCard()) {
            QTextCursor cursor = before->text()->textCursor();
            cursor.clearSelection();
            before->text()->setTextCursor(cursor);
        }
        setNoteFocus(hit.index);
        QTextEdit* text = card(hit.index)->text();
        QTextCursor cursor(text->document());
        cursor.setPosition(hit.start);
        cursor.setPosition(hit.start + hit.length, QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
        text->ensureCursorVisible();
    };
    auto* find = new FindNote(NoteSearch(cards), textOf, show, m_context.dialogs, this);
    find->setAttribute(Qt::WA_DeleteOnClose);
    m_find = find;
    find->show();
}

void NotesPage::spelling() {
    NoteCard* c = focusedCard();
    if (!c)
        return;
    SpellCheckDialog::run(c->text(), checker(), m_context.dialogs, this);
}

std::optional<NoteSchedule::Stored>
NotesPage::editSchedule(const NoteSchedule::EditorPreset& preset) {
    if (!m_scheduleEditor)
        return std::nullopt;
    const std::optional<ScheduleEditorState> answer =
        m_scheduleEditor(NoteSchedule::editorState(preset, m_context.clock), this);
    if (!answer)
        return std::nullopt;
    return NoteSchedule::stored(*answer);
}

void NotesPage::schedule() {
    NoteCard* c = focusedCard();
    if (!c)
        return;
    const qint64 id = m_deck.card(m_deck.focused()).id;
    const std::optional<NoteRecord> row = m_store.read(id);
    if (!row) {
        tell(tr("The note's alarm could not be read from the data file.\n\n%1")
                 .arg(m_store.lastError()));
        return;
    }
    int frequency = row->frequency;
    QDateTime due = row->due;
    if (const std::optional<NoteSchedule::Stored> chosen =
            editSchedule(NoteSchedule::preset(frequency, due, m_context.clock.now()))) {
        if (m_store.writeSchedule(id, chosen->frequency, chosen->due)) {
            m_stored.scheduled(id, chosen->frequency, chosen->due);
            frequency = chosen->frequency;
            due = chosen->due;
        } else {
            tell(SaveFailures::failedText(tr("The note's alarm"), m_context.paths.dataFile(),
                                          m_store.lastError()));
        }
    }
    c->setSchedule(frequency, due,
                   NoteSchedule::markVisible(frequency, due, m_context.clock.today()));
    c->text()->setFocus();
}

void NotesPage::colour() {
    NoteCard* c = focusedCard();
    if (!c)
        return;
    const QColor initial = NoteToolbar::shown(c->text()->textCursor()).colour;
    const QColor chosen = m_context.dialogs.chooseColour(this, initial, tr("Color"));
    if (!chosen.isValid()) {
        c->text()->setFocus();
        return;
    }
    QTextCharFormat f;
    f.setForeground(chosen);
    applyFormat(f);
}

void NotesPage::toggle(NoteToolbar::Toggle toggle) {
    if (NoteCard* c = focusedCard())
        applyFormat(NoteToolbar::toggled(c->text()->textCursor(), toggle));
}

void NotesPage::chooseFont(const QString& family) {
    if (family.isEmpty())
        return;
    QTextCharFormat f;
    f.setFontFamilies({family});
    applyFormat(f);
}

void NotesPage::choosePointSize(qreal points) {
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    applyFormat(f);
}

void NotesPage::applyFormat(const QTextCharFormat& format) {
    NoteCard* c = focusedCard();
    if (!c)
        return;
    c->text()->mergeCurrentCharFormat(format);
    c->text()->setFocus();
    updateToolbar();
}

NotesTool::NotesTool(AppContext& context, NotesPage::ScheduleEditor scheduleEditor)
    : m_context(context), m_scheduleEditor(std::move(scheduleEditor)) {}

NotesPage* NotesTool::makePage(QWidget* parent) {
    auto* page = new NotesPage(m_context, parent);
    page->setScheduleEditor(m_scheduleEditor);
    QObject::connect(page, &NotesPage::notice, this, &NotesTool::notice);
    // An ordinary end of the process saves too, whatever window is open.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, page,
                     &NotesPage::saveNow);
    m_page = page;
    return page;
}

void NotesTool::alarm(const std::function<void()>& open) {
    const bool wasLoaded = m_page;
    open();
    if (wasLoaded && m_page)
        m_page->alarm();
}

void NotesTool::lateAlarm(const std::function<void()>& open, const QList<QDateTime>& late) {
    open();
    if (m_page)
        m_page->alarm(late);
}

QString NotesTool::newNote(const std::function<void()>& open, const QString& text) {
    open();
    if (!m_page)
        return tr("Quick Notes could not be opened.");
    if (!m_page->addNote(text))
        return tr("The new note could not be added to the data file.");
    return {};
}

void NotesTool::saveNow() {
    if (m_page)
        m_page->saveNow();
}

bool NotesTool::readyToQuit() {
    return UnloadCheck::confirm({m_page}, m_context.dialogs);
}
