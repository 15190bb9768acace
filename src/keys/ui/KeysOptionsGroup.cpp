// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/ui/KeysOptionsGroup.h"

#include "keys/GnomeKeybindings.h"
#include "keys/Shortcuts.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

ShortcutEdit::ShortcutEdit(QWidget* parent) : QKeySequenceEdit(parent) {
    // The editor types into a text box of its own, which has the focus.
    m_text = findChild<QLineEdit*>();
    if (m_text)
        m_text->installEventFilter(this);
    connect(this, &QKeySequenceEdit::editingFinished, this, [this] { releaseKeyboard(); });
}

void ShortcutEdit::setName(const QString& name) {
    setAccessibleName(name);
    if (m_text)
        m_text->setAccessibleName(name);
}

bool ShortcutEdit::movedOn(QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool plainTab = key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Tab;
    const bool backTab = key->key() == Qt::Key_Backtab;
    if (!plainTab && !backTab)
        return false;
    if (event->type() == QEvent::KeyPress) {
        releaseKeyboard();
        focusNextPrevChild(plainTab);
    }
    event->accept();
    return true;
}

void ShortcutEdit::keyPressEvent(QKeyEvent* event) {
    const QKeySequence before = keySequence();
    QKeySequenceEdit::keyPressEvent(event);
    // A modifier alone records nothing yet. Once a key is typed the keyboard is let go, so
    // the key just chosen works at once.
    if (!keySequence().isEmpty() && keySequence() != before) {
        releaseKeyboard();
        Q_EMIT keyTyped(QKeySequence(keySequence()[keySequence().count() - 1]));
    }
}

bool ShortcutEdit::event(QEvent* event) {
    return movedOn(event) || QKeySequenceEdit::event(event);
}

void ShortcutEdit::mousePressEvent(QMouseEvent* event) {
    QKeySequenceEdit::mousePressEvent(event);
    grabKeyboard();
}

void ShortcutEdit::focusInEvent(QFocusEvent* event) {
    QKeySequenceEdit::focusInEvent(event);
    grabKeyboard();
}

void ShortcutEdit::focusOutEvent(QFocusEvent* event) {
    releaseKeyboard();
    QKeySequenceEdit::focusOutEvent(event);
}

bool ShortcutEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text) {
        if (event->type() == QEvent::FocusIn)
            grabKeyboard();
        else if (event->type() == QEvent::FocusOut)
            releaseKeyboard();
        else if (movedOn(event))
            return true;
    }
    return QKeySequenceEdit::eventFilter(watched, event);
}

KeysOptionsGroup::KeysOptionsGroup(Shortcuts& shortcuts, GnomeKeybindings* gnome, QString program,
                                   QWidget* parent)
    : OptionsGroup(parent), m_shortcuts(shortcuts), m_gnome(gnome), m_program(std::move(program)) {
    setTitle(tr("Keyboard shortcuts"));
    setObjectName(QStringLiteral("KeysFrame"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    int row = 0;
    m_intro = new QLabel(this);
    m_intro->setObjectName(QStringLiteral("KeysIntroLB"));
    m_intro->setWordWrap(true);
    m_intro->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    grid->addWidget(m_intro, row++, 0, 1, 3);
    const QList<Shortcuts::Action>& actions = Shortcuts::actions();
    for (int i = 0; i < actions.size(); ++i) {
        const Shortcuts::Action& action = actions[i];
        auto* edit = new ShortcutEdit(this);
        edit->setObjectName(QLatin1String(action.column) + QStringLiteral("Edit"));
        edit->setName(tr("%1 shortcut").arg(action.caption()));
        if (!action.suggested.isEmpty())
            edit->setToolTip(tr("Suggested: %1").arg(Shortcuts::keyText(action.suggested)));
        auto* none = new QPushButton(tr("None"), this);
        none->setObjectName(QLatin1String(action.column) + QStringLiteral("None"));
        none->setAccessibleName(tr("%1: no shortcut").arg(action.caption()));
        auto* status = new QLabel(this);
        status->setObjectName(QLatin1String(action.column) + QStringLiteral("Status"));
        status->setWordWrap(true);
        status->hide();
        grid->addWidget(caption(this, tr("%1:").arg(action.caption()), edit), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(none, row++, 2);
        grid->addWidget(status, row++, 1, 1, 2);
        m_edits << edit;
        m_none << none;
        m_status << status;
        // One key with its modifiers is the whole shortcut: it is taken as soon as typed,
        // and the editor starts afresh for a next try.
        connect(edit, &ShortcutEdit::keyTyped, this, [this, i](const QKeySequence& typed) {
            if (typed != m_shortcuts.key(i))
                m_shortcuts.choose(i, typed);
            const QScopedValueRollback filling(m_filling, true);
            m_edits[i]->setKeySequence(m_shortcuts.key(i));
        });
        connect(none, &QPushButton::clicked, this, [this, i] {
            m_shortcuts.choose(i, {});
            m_edits[i]->setFocus();
        });
    }
    if (m_gnome) {
        m_gnomeButton = new QPushButton(tr("Add to GNOME's keyboard shortcuts"), this);
        m_gnomeButton->setObjectName(QStringLiteral("KeysGnomeBtn"));
        m_gnomeButton->setAccessibleName(m_gnomeButton->text());
        m_gnomeLabel = new QLabel(this);
        m_gnomeLabel->setObjectName(QStringLiteral("KeysGnomeLB"));
        m_gnomeLabel->setWordWrap(true);
        m_gnomeLabel->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                              Qt::TextSelectableByKeyboard);
        grid->addWidget(m_gnomeButton, row++, 0, 1, 3, Qt::AlignLeft);
        grid->addWidget(m_gnomeLabel, row++, 0, 1, 3);
        connect(m_gnomeButton, &QPushButton::clicked, this, &KeysOptionsGroup::addToGnome);
    }
    showWay();
    connect(&m_shortcuts, &Shortcuts::wayChanged, this, &KeysOptionsGroup::showWay);
    connect(&m_shortcuts, &Shortcuts::changed, this, &KeysOptionsGroup::show);
    for (int i = 0; i < m_edits.size(); ++i)
        show(i);
}

void KeysOptionsGroup::showWay() {
    const bool bindable = m_shortcuts.bindable();
    const bool gnome = m_gnome && !bindable;
    QString text;
    if (m_shortcuts.way() == GlobalKeys::Way::Portal)
        text = tr("Keys that reach Plumora from any window. The desktop binds them and asks you "
                  "to confirm them. None is bound until you choose one; Print is the usual key "
                  "for capturing an area.");
    else if (bindable)
        text = tr("Keys that reach Plumora from any window. None is bound until you choose one; "
                  "Print is the usual key for capturing an area.");
    else if (gnome)
        text = tr("This desktop offers no global shortcuts to programs. Choose the keys here and "
                  "add them to GNOME's own keyboard shortcuts.");
    else
        text = tr("This desktop offers no global shortcuts to programs. Bind these commands in "
                  "the desktop's keyboard settings: %1, %2, %3.")
                   .arg(commandOf(0), commandOf(1), commandOf(2));
    m_intro->setText(text);
    for (int i = 0; i < m_edits.size(); ++i) {
        m_edits[i]->setEnabled(bindable || gnome);
        m_none[i]->setEnabled(bindable || gnome);
    }
    if (m_gnomeButton) {
        m_gnomeButton->setVisible(gnome);
        m_gnomeLabel->setVisible(gnome);
        if (gnome)
            showGnome();
    }
    Q_EMIT contentResized();
}

QString KeysOptionsGroup::commandOf(int action) const {
    const Shortcuts::Action& a = Shortcuts::actions()[action];
    // GNOME splits a command as a shell does.
    QString line = m_program.contains(u' ') ? u'\'' + m_program + u'\'' : m_program;
    line += QStringLiteral(" --") + a.command;
    if (!a.argument.isEmpty())
        line += u' ' + a.argument;
    return line;
}

void KeysOptionsGroup::addToGnome() {
    QStringList problems;
    for (int i = 0; i < m_edits.size(); ++i) {
        if (m_shortcuts.key(i).isEmpty())
            continue;
        const QString problem =
            m_gnome->write(QString::fromLatin1(Shortcuts::actions()[i].column).toLower(),
                           {tr("Plumora: %1").arg(Shortcuts::actions()[i].caption()), commandOf(i),
                            GnomeKeybindings::accelerator(m_shortcuts.key(i))});
        if (!problem.isEmpty())
            problems << problem;
    }
    showGnome();
    if (!problems.isEmpty()) {
        m_gnomeLabel->setText(problems.first());
        m_gnomeLabel->setAccessibleName(problems.first());
    }
}

void KeysOptionsGroup::showGnome() {
    QStringList lines;
    for (int i = 0; i < m_edits.size(); ++i)
        if (const auto held =
                m_gnome->read(QString::fromLatin1(Shortcuts::actions()[i].column).toLower()))
            lines << tr("GNOME runs %1 on %2.").arg(held->command, held->binding);
    const QString text =
        lines.isEmpty() ? tr("GNOME holds no shortcut of Plumora yet.") : lines.join(u'\n');
    m_gnomeLabel->setText(text);
    m_gnomeLabel->setAccessibleName(text);
    Q_EMIT contentResized();
}

void KeysOptionsGroup::load(const Settings&) {
    for (int i = 0; i < m_edits.size(); ++i)
        show(i);
}

void KeysOptionsGroup::show(int action) {
    if (action < 0 || action >= m_edits.size())
        return;
    {
        const QScopedValueRollback filling(m_filling, true);
        if (m_edits[action]->keySequence() != m_shortcuts.key(action))
            m_edits[action]->setKeySequence(m_shortcuts.key(action));
    }
    const QString status = m_shortcuts.status(action);
    const bool wasShown = !m_status[action]->isHidden();
    m_status[action]->setText(status);
    m_status[action]->setAccessibleName(status);
    m_status[action]->setVisible(!status.isEmpty());
    if (wasShown != !status.isEmpty())
        Q_EMIT contentResized();
}
