// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spell/ui/SpellAsYouType.h"

#include "platform/spell/SpellChecker.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

SpellHighlighter::SpellHighlighter(QTextDocument* document, SpellChecker& checker)
    : QSyntaxHighlighter(document), m_checker(checker) {}

void SpellHighlighter::highlightBlock(const QString& text) {
    if (!m_checker.available())
        return;
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    for (const WordSpan& word : m_checker.misspellings(text))
        setFormat(word.start, word.length, format);
}

SpellAsYouType::SpellAsYouType(QTextEdit* edit, SpellChecker& checker)
    : QObject(edit), m_checker(checker), m_edit(edit) {
    attach(edit, edit->document());
}

SpellAsYouType::SpellAsYouType(QPlainTextEdit* edit, SpellChecker& checker)
    : QObject(edit), m_checker(checker), m_edit(edit) {
    attach(edit, edit->document());
}

void SpellAsYouType::attach(QWidget* edit, QTextDocument* document) {
    m_highlighter = new SpellHighlighter(document, m_checker);
    m_oldPolicy = edit->contextMenuPolicy();
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& pos) {
        // The request comes in the box's coordinates; the words lie in its viewport.
        const auto* area = qobject_cast<QAbstractScrollArea*>(edit);
        const QPoint inViewport = area ? area->viewport()->mapFrom(edit, pos) : pos;
        QMenu* menu = createMenu(inViewport);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(edit->mapToGlobal(pos));
    });
}

SpellAsYouType::~SpellAsYouType() {
    // Deleting the highlighter clears its underlines from the document.
    delete m_highlighter;
    if (QWidget* edit = m_edit.data()) {
        disconnect(edit, nullptr, this, nullptr);
        edit->setContextMenuPolicy(m_oldPolicy);
    }
}

QTextEdit* SpellAsYouType::textEdit() const {
    return qobject_cast<QTextEdit*>(m_edit.data());
}

QPlainTextEdit* SpellAsYouType::plainEdit() const {
    return qobject_cast<QPlainTextEdit*>(m_edit.data());
}

QTextCursor SpellAsYouType::cursorAt(const QPoint& pos) const {
    if (QTextEdit* edit = textEdit())
        return edit->cursorForPosition(pos);
    if (QPlainTextEdit* edit = plainEdit())
        return edit->cursorForPosition(pos);
    return {};
}

QMenu* SpellAsYouType::standardMenu(const QPoint& pos) const {
    if (QTextEdit* edit = textEdit())
        return edit->createStandardContextMenu(pos);
    if (QPlainTextEdit* edit = plainEdit())
        return edit->createStandardContextMenu(pos);
    return new QMenu;
}

QMenu* SpellAsYouType::createMenu(const QPoint& pos) {
    QMenu* menu = standardMenu(pos);
    const QTextCursor at = cursorAt(pos);
    if (at.isNull() || !m_checker.available())
        return menu;
    const QTextBlock block = at.block();
    const QString text = block.text();
    const int offset = at.position() - block.position();
    WordSpan hit{-1, 0};
    for (const WordSpan& word : m_checker.misspellings(text))
        if (offset >= word.start && offset <= word.start + word.length)
            hit = word;
    if (hit.start < 0)
        return menu;

    const QString word = text.mid(hit.start, hit.length);
    const int from = block.position() + hit.start;
    QTextDocument* document = at.document();
    QAction* first = menu->actions().value(0);
    QList<QAction*> ours;
    const QStringList suggestions = m_checker.suggestions(word);
    for (const QString& suggestion : suggestions.mid(0, 8)) {
        auto* action = new QAction(suggestion, menu);
        QFont bold = action->font();
        bold.setBold(true);
        action->setFont(bold);
        connect(action, &QAction::triggered, this, [document, from, hit, suggestion] {
            QTextCursor cursor(document);
            cursor.setPosition(from);
            cursor.setPosition(from + hit.length, QTextCursor::KeepAnchor);
            cursor.insertText(suggestion);
        });
        ours << action;
    }
    if (suggestions.isEmpty()) {
        auto* none = new QAction(tr("(no suggestions)"), menu);
        none->setEnabled(false);
        ours << none;
    }
    auto* ignore = new QAction(tr("Ignore All"), menu);
    connect(ignore, &QAction::triggered, this, [this, word] {
        m_checker.ignoreAll(word);
        if (m_highlighter)
            m_highlighter->rehighlight();
    });
    auto* add = new QAction(tr("Add to Dictionary"), menu);
    connect(add, &QAction::triggered, this, [this, word] {
        m_checker.addWord(word);
        if (m_highlighter)
            m_highlighter->rehighlight();
    });
    ours << menu->addSeparator() << ignore << add << menu->addSeparator();
    for (QAction* action : ours) {
        menu->removeAction(action);
        menu->insertAction(first, action);
    }
    return menu;
}
