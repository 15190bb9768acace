// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class AppPaths;

namespace HunspellModule {
struct Entries;
}

// A Hunspell dictionary: its affix and word files.
struct SpellDictionary {
    QString affFile;
    QString dicFile;

    // Both files can be read.
    bool exists() const;
    // The system's US English dictionary (en_US in the usual dictionary folders), or the
    // first place looked at when none is installed.
    static SpellDictionary systemEnglish();
};

// A word of a text: where it starts and how long it is (in UTF-16 units).
struct WordSpan {
    int start = 0;
    int length = 0;
    bool operator==(const WordSpan&) const = default;
};

// Spell checking on Hunspell: a system dictionary plus the user's own words, kept one per
// line in a word list file ("SpellUS.lex" in the program folder) that "Add" appends to.
// Hunspell comes as a module, loaded with the first checker (HunspellModule.h). Without a
// dictionary, or without the module, the checker is off: every word passes and nothing is
// suggested.
class SpellChecker {
public:
    SpellChecker(const SpellDictionary& dictionary, QString userWordsFile);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // The system dictionary and P + "/SpellUS.lex".
    static std::unique_ptr<SpellChecker> forProgram(const AppPaths& paths);

    bool available() const { return m_dictionary != nullptr; }
    // Why a dictionary that exists could not be used (the spelling module missing); empty
    // otherwise.
    const QString& failure() const { return m_failure; }
    const QString& userWordsFile() const { return m_userWordsFile; }

    // True for a word the dictionary, the user's words or the ignore list knows, and for
    // every word while the checker is off.
    bool isCorrect(const QString& word) const;
    // Replacements for a word, the likeliest first; none while the checker is off.
    QStringList suggestions(const QString& word) const;
    // Accepts the word from now on and appends it to the user's word list. False when the
    // word is not a single word or the list cannot be written (it is still accepted for
    // this checker's lifetime then).
    bool addWord(const QString& word);
    // Accepts the word for this checker's lifetime, without writing it anywhere.
    void ignoreAll(const QString& word);

    // The words of a text that are worth checking: runs of letters with inner apostrophes,
    // leaving out runs with digits and anything inside web or mail addresses.
    static QList<WordSpan> words(QStringView text);
    // Runs of letters longer than this are no words (a dictionary's longest are far
    // shorter) and are not checked: underlining a pasted dump costs a layout of its text.
    static constexpr int LongestWord = 100;
    // The words of a text the checker does not accept.
    QList<WordSpan> misspellings(QStringView text) const;

private:
    std::string encode(const QString& word, bool* ok) const;
    QString decode(const std::string& bytes) const;
    void loadUserWords();

    const HunspellModule::Entries* m_calls = nullptr;
    void* m_dictionary = nullptr; // the open dictionary, while the checker is on
    QString m_failure;
    bool m_utf8 = true;
    QString m_userWordsFile;
    QSet<QString> m_ignored;
};
