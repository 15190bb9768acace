// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QSyntaxHighlighter>

class QMenu;
class QPlainTextEdit;
class QTextEdit;
class SpellChecker;

// Underlines, with a red wavy line, the words of a document the checker does not accept.
class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    SpellHighlighter(QTextDocument* document, SpellChecker& checker);

protected:
    void highlightBlock(const QString& text) override;

private:
    SpellChecker& m_checker;
};

// Spell checking while the user types in a text box: the underlining above, and a context
// menu that offers the suggestions for the word under the mouse, "Ignore All" and "Add to
// Dictionary" above the box's own items. Deleting this object (or the text box) detaches
// it: the underlines go and the box's own menu comes back. The checker must outlive it.
class SpellAsYouType : public QObject {
    Q_OBJECT
public:
    SpellAsYouType(QTextEdit* edit, SpellChecker& checker);
    SpellAsYouType(QPlainTextEdit* edit, SpellChecker& checker);
    ~SpellAsYouType() override;

    // The menu for a right-click at `pos` (in the box's viewport); the caller owns it.
    QMenu* createMenu(const QPoint& pos);

private:
    void attach(QWidget* edit, QTextDocument* document);
    QTextEdit* textEdit() const;
    QPlainTextEdit* plainEdit() const;
    QTextCursor cursorAt(const QPoint& pos) const;
    QMenu* standardMenu(const QPoint& pos) const;

    SpellChecker& m_checker;
    // The box as a plain widget: while it is being destroyed it is no longer a text box, so
    // it is cast back to one only through qobject_cast, which knows that.
    QPointer<QWidget> m_edit;
    QPointer<SpellHighlighter> m_highlighter;
    Qt::ContextMenuPolicy m_oldPolicy = Qt::DefaultContextMenu;
};
