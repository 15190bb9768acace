// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/spell/SpellSession.h"

#include <QDialog>

#include <functional>

class Dialogs;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

// The interactive spell check ("Spelling"): it stops at each word the checker does not
// accept and offers Change, Change All, Ignore, Ignore All, Add and Cancel.
class SpellCheckDialog : public QDialog {
    Q_OBJECT
public:
    static const QString CompleteText;
    static const QString UnavailableText;

    SpellCheckDialog(QTextDocument& document, SpellChecker& checker, QWidget* parent = nullptr);

    // Told each word the dialog stops at (start, length), so the caller can show it.
    void setWordShown(std::function<void(int, int)> shown) { m_shown = std::move(shown); }
    // Moves to the first word to ask about; false when there is none.
    bool start();
    // The word being asked about; empty once the check has ended.
    const QString& word() const { return m_session.word(); }

    // The whole check of a text box: the dialog (modal) over its words, then "Spell check
    // is complete."; without a dictionary only a message that checking is off.
    static void run(QTextEdit* edit, SpellChecker& checker, Dialogs& dialogs,
                    QWidget* parent = nullptr);

private:
    void showCurrent();
    void advance();

    SpellSession m_session;
    std::function<void(int, int)> m_shown;
    QLineEdit* m_word;
    QLineEdit* m_changeTo;
    QListWidget* m_suggestions;
    QPushButton* m_change;
    QPushButton* m_changeAll;
};
