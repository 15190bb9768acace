// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spell/SpellSession.h"

#include <QTextCursor>
#include <QTextDocument>

SpellSession::SpellSession(QTextDocument& document, SpellChecker& checker)
    : m_document(document), m_checker(checker) {}

bool SpellSession::next() {
    m_start = -1;
    m_word.clear();
    if (!m_checker.available())
        return false;
    for (;;) {
        const QString text = m_document.toPlainText();
        if (m_position >= text.size())
            return false;
        const QStringView rest = QStringView(text).sliced(m_position);
        bool replaced = false;
        for (const WordSpan& span : SpellChecker::words(rest)) {
            const int start = m_position + span.start;
            const QString word = text.mid(start, span.length);
            const auto change = m_changeAll.constFind(word);
            if (change != m_changeAll.constEnd()) {
                m_start = start;
                m_word = word;
                replaceCurrent(*change);
                replaced = true; // the text changed: scan it again from after the change
                break;
            }
            if (!m_checker.isCorrect(word)) {
                m_start = start;
                m_word = word;
                return true;
            }
        }
        if (!replaced) {
            m_position = int(text.size());
            return false;
        }
    }
}

QStringList SpellSession::suggestions() const {
    return m_word.isEmpty() ? QStringList() : m_checker.suggestions(m_word);
}

void SpellSession::replaceCurrent(const QString& replacement) {
    QTextCursor cursor(&m_document);
    cursor.setPosition(m_start);
    cursor.setPosition(m_start + int(m_word.size()), QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
    m_position = m_start + int(replacement.size());
    m_start = -1;
    m_word.clear();
}

void SpellSession::change(const QString& replacement) {
    if (m_start >= 0)
        replaceCurrent(replacement);
}

void SpellSession::changeAll(const QString& replacement) {
    if (m_start < 0)
        return;
    // A replacement that is itself the word would loop for ever; it means "leave it".
    if (replacement != m_word)
        m_changeAll.insert(m_word, replacement);
    replaceCurrent(replacement);
}

void SpellSession::ignore() {
    if (m_start >= 0)
        m_position = m_start + int(m_word.size());
}

void SpellSession::ignoreAll() {
    m_checker.ignoreAll(m_word);
    ignore();
}

bool SpellSession::add() {
    const bool written = m_checker.addWord(m_word);
    ignore();
    return written;
}
