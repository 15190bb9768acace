// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/spell/SpellChecker.h"

#include <QHash>

class QTextDocument;

// One interactive check of a document, word after word from its start: the steps behind
// the spell-check dialog's buttons. Replacements keep the formatting of the word they
// replace.
class SpellSession {
public:
    SpellSession(QTextDocument& document, SpellChecker& checker);

    // Moves to the next word the checker does not accept, replacing on the way every word
    // that "Change All" was given a replacement for. False at the end of the document.
    bool next();

    // The word found by next(), where it starts, and the checker's suggestions for it.
    const QString& word() const { return m_word; }
    int start() const { return m_start; }
    QStringList suggestions() const;

    // Replaces this word; the check goes on after the replacement.
    void change(const QString& replacement);
    // Replaces this word and every later occurrence of it.
    void changeAll(const QString& replacement);
    // Leaves this word as it is.
    void ignore();
    // Leaves this word and every later occurrence of it.
    void ignoreAll();
    // Adds the word to the user's word list; false when the list could not be written.
    bool add();

private:
    void replaceCurrent(const QString& replacement);

    QTextDocument& m_document;
    SpellChecker& m_checker;
    QHash<QString, QString> m_changeAll;
    int m_position = 0; // where the search for the next word starts
    int m_start = -1;
    QString m_word;
};
