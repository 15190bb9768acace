// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spell/SpellChecker.h"

#include "base/AppPaths.h"
#include "base/Log.h"
#include "platform/spell/HunspellModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

bool isApostrophe(QChar c) {
    return c == u'\'' || c == QChar(0x2019);
}

bool startsWord(QChar c) {
    return c.isLetter() || c.isDigit() || c.isSurrogate() || c == u'_';
}

// A run of text without blanks that is a web or mail address, not prose.
bool isAddress(QStringView chunk) {
    return chunk.contains(u'@') || chunk.contains(u"://") ||
           chunk.startsWith(u"www.", Qt::CaseInsensitive);
}

} // namespace

bool SpellDictionary::exists() const {
    return QFileInfo(affFile).isReadable() && QFileInfo(dicFile).isReadable() &&
           QFileInfo(affFile).isFile() && QFileInfo(dicFile).isFile();
}

SpellDictionary SpellDictionary::systemEnglish() {
    QStringList folders = qEnvironmentVariable("DICPATH").split(u':', Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell")
            << QStringLiteral("/usr/share/myspell/dicts")
            << QStringLiteral("/usr/local/share/hunspell");
    const auto in = [](const QString& folder) {
        const QString base = QDir(folder).filePath(QStringLiteral("en_US"));
        return SpellDictionary{base + QStringLiteral(".aff"), base + QStringLiteral(".dic")};
    };
    for (const QString& folder : folders)
        if (in(folder).exists())
            return in(folder);
    return in(QStringLiteral("/usr/share/hunspell"));
}

SpellChecker::SpellChecker(const SpellDictionary& dictionary, QString userWordsFile)
    : m_userWordsFile(std::move(userWordsFile)) {
    if (!dictionary.exists())
        return;
    m_calls = HunspellModule::entries();
    if (!m_calls) {
        m_failure = HunspellModule::failure();
        qCWarning(lcDesktop).noquote() << "spell checking off:" << m_failure;
        return;
    }
    m_dictionary = m_calls->open(QFile::encodeName(dictionary.affFile).constData(),
                                 QFile::encodeName(dictionary.dicFile).constData());
    const QString encoding = QString::fromStdString(m_calls->encoding(m_dictionary)).toUpper();
    // Dictionaries come in UTF-8 or a legacy 8-bit encoding; the latter is read as Latin-1.
    m_utf8 = encoding == u"UTF-8" || encoding == u"UTF8";
    loadUserWords();
}

SpellChecker::~SpellChecker() {
    if (m_dictionary)
        m_calls->close(m_dictionary);
}

std::unique_ptr<SpellChecker> SpellChecker::forProgram(const AppPaths& paths) {
    return std::make_unique<SpellChecker>(SpellDictionary::systemEnglish(),
                                          paths.file(QStringLiteral("SpellUS.lex")));
}

std::string SpellChecker::encode(const QString& word, bool* ok) const {
    QString w = word;
    w.replace(QChar(0x2019), u'\'');
    *ok = true;
    if (m_utf8)
        return w.toStdString();
    for (QChar c : w)
        if (c.unicode() > 0xFF)
            *ok = false;
    return w.toLatin1().toStdString();
}

QString SpellChecker::decode(const std::string& bytes) const {
    return m_utf8 ? QString::fromStdString(bytes)
                  : QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

void SpellChecker::loadUserWords() {
    QFile file(m_userWordsFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (word.isEmpty())
            continue;
        bool ok = false;
        const std::string encoded = encode(word, &ok);
        if (ok)
            m_calls->add(m_dictionary, encoded);
        else
            m_ignored.insert(word);
    }
}

bool SpellChecker::isCorrect(const QString& word) const {
    if (!m_dictionary || word.isEmpty() || m_ignored.contains(word))
        return true;
    bool ok = false;
    const std::string encoded = encode(word, &ok);
    return !ok || m_calls->spell(m_dictionary, encoded);
}

QStringList SpellChecker::suggestions(const QString& word) const {
    QStringList out;
    if (!m_dictionary || word.isEmpty())
        return out;
    bool ok = false;
    const std::string encoded = encode(word, &ok);
    if (!ok)
        return out;
    for (const std::string& s : m_calls->suggest(m_dictionary, encoded)) {
        const QString suggestion = decode(s);
        if (!suggestion.isEmpty() && !out.contains(suggestion))
            out << suggestion;
    }
    return out;
}

bool SpellChecker::addWord(const QString& word) {
    const QString w = word.trimmed();
    // One word per line: anything with a blank or a control character would break the list.
    if (w.isEmpty() || std::any_of(w.begin(), w.end(), [](QChar c) {
            return c.isSpace() || c.category() == QChar::Other_Control;
        }))
        return false;
    bool ok = false;
    const std::string encoded = encode(w, &ok);
    if (m_dictionary && ok)
        m_calls->add(m_dictionary, encoded);
    else
        m_ignored.insert(w);

    QFile file(m_userWordsFile);
    bool needsNewline = false;
    if (file.open(QIODevice::ReadOnly)) {
        needsNewline = file.size() > 0 && file.seek(file.size() - 1) && file.read(1) != "\n";
        file.close();
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = (needsNewline ? QByteArray("\n") : QByteArray()) + w.toUtf8() + '\n';
    const bool written = file.write(line) == line.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

void SpellChecker::ignoreAll(const QString& word) {
    if (!word.isEmpty())
        m_ignored.insert(word);
}

QList<WordSpan> SpellChecker::words(QStringView text) {
    QList<WordSpan> out;
    const qsizetype n = text.size();
    qsizetype at = 0;
    while (at < n) {
        while (at < n && text[at].isSpace())
            ++at;
        const qsizetype chunkStart = at;
        while (at < n && !text[at].isSpace())
            ++at;
        const QStringView chunk = text.sliced(chunkStart, at - chunkStart);
        if (chunk.isEmpty() || isAddress(chunk))
            continue;
        qsizetype i = 0;
        while (i < chunk.size()) {
            if (!startsWord(chunk[i])) {
                ++i;
                continue;
            }
            const qsizetype start = i;
            bool hasDigit = false;
            while (i < chunk.size()) {
                const QChar c = chunk[i];
                if (c.isLetter() || c.isMark() || c.isSurrogate()) {
                    ++i;
                } else if (c.isDigit() || c == u'_') {
                    hasDigit = true;
                    ++i;
                } else if (isApostrophe(c) && i > start && i + 1 < chunk.size() &&
                           chunk[i + 1].isLetter()) {
                    ++i;
                } else {
                    break;
                }
            }
            if (!hasDigit)
                out.append({int(chunkStart + start), int(i - start)});
        }
    }
    return out;
}

QList<WordSpan> SpellChecker::misspellings(QStringView text) const {
    QList<WordSpan> out;
    if (!m_dictionary)
        return out;
    for (const WordSpan& w : words(text))
        if (w.length <= LongestWord && !isCorrect(text.sliced(w.start, w.length).toString()))
            out.append(w);
    return out;
}
