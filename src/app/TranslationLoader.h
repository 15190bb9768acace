// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QTranslator;

// Puts Plumora in the user's language: the first of the user's languages (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG, as QLocale::uiLanguages gives them) that Plumora has a translation for,
// with Qt's own translation of the same language so the standard dialogs match. English is
// the source language and needs no file; a language with no file falls through to the next,
// and English is what remains. A file that does not load is skipped with a log line.
class TranslationLoader {
public:
    // `folders`: where plumora_<lang>.qm files are looked for, in order; `qtFolder`: where
    // Qt's qtbase_<lang>.qm are.
    TranslationLoader(QStringList folders, QString qtFolder);
    ~TranslationLoader();
    TranslationLoader(const TranslationLoader&) = delete;
    TranslationLoader& operator=(const TranslationLoader&) = delete;

    // The program's folders: translations/ beside the executable (a build folder), then the
    // installed share folder's (../share/plumora/translations); Qt's from QLibraryInfo.
    static std::unique_ptr<TranslationLoader> forProgram(const QString& executableFolder);

    // Loads and installs the translations for `uiLanguages` ("de-DE", "de"...) into the
    // application. Gives the language used ("de"), or "" for English.
    QString load(const QStringList& uiLanguages);
    QString load();

    // The files installed by the last load(), Plumora's first.
    const QStringList& files() const { return m_files; }

private:
    // A loaded translator from the first of `folders` holding a file that loads, or null.
    std::unique_ptr<QTranslator> loadFile(const QStringList& folders, const QString& name);
    void clear();

    QStringList m_folders;
    QString m_qtFolder;
    std::vector<std::unique_ptr<QTranslator>> m_installed;
    QStringList m_files;
};
