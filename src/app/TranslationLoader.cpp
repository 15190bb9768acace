// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TranslationLoader.h"

#include "base/AppPaths.h"
#include "base/Log.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// "de-Latn-DE" -> "de_Latn_DE", "de_Latn", "de": the most specific file name first.
QStringList candidates(const QString& uiLanguage) {
    QStringList out;
    QString name = uiLanguage;
    name.replace(u'-', u'_');
    while (!name.isEmpty()) {
        out << name;
        const qsizetype cut = name.lastIndexOf(u'_');
        name.truncate(cut < 0 ? 0 : cut);
    }
    return out;
}

// Texts are written in English; "C" and "POSIX" are what an unset or plain locale gives.
bool isSource(const QString& uiLanguage) {
    const QString language = uiLanguage.section(u'-', 0, 0).section(u'_', 0, 0);
    return language.isEmpty() || language == QLatin1String("en") ||
           language == QLatin1String("C") || language == QLatin1String("POSIX");
}

} // namespace

TranslationLoader::TranslationLoader(QStringList folders, QString qtFolder)
    : m_folders(std::move(folders)), m_qtFolder(std::move(qtFolder)) {}

TranslationLoader::~TranslationLoader() {
    clear();
}

std::unique_ptr<TranslationLoader> TranslationLoader::forProgram(const QString& executableFolder) {
    const AppPaths paths(executableFolder, executableFolder);
    return std::make_unique<TranslationLoader>(
        QStringList{executableFolder + QStringLiteral("/translations"),
                    paths.shareFolder() + QStringLiteral("/translations")},
        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QString TranslationLoader::load() {
    return load(QLocale::system().uiLanguages());
}

QString TranslationLoader::load(const QStringList& uiLanguages) {
    clear();
    for (const QString& uiLanguage : uiLanguages) {
        if (isSource(uiLanguage))
            return {};
        for (const QString& name : candidates(uiLanguage)) {
            std::unique_ptr<QTranslator> own =
                loadFile(m_folders, QStringLiteral("plumora_") + name + QStringLiteral(".qm"));
            if (!own)
                continue;
            m_installed.push_back(std::move(own));
            // Qt's file for the same language, so its dialogs speak it too; a missing one
            // leaves them in English and the rest of Plumora translated.
            for (const QString& qtName : candidates(name)) {
                if (auto qt = loadFile({m_qtFolder}, QStringLiteral("qtbase_") + qtName +
                                                         QStringLiteral(".qm"))) {
                    m_installed.push_back(std::move(qt));
                    break;
                }
            }
            for (const auto& t : m_installed)
                QCoreApplication::installTranslator(t.get());
            return name;
        }
    }
    return {};
}

std::unique_ptr<QTranslator> TranslationLoader::loadFile(const QStringList& folders,
                                                         const QString& name) {
    for (const QString& folder : folders) {
        const QString path = folder + u'/' + name;
        if (!QFileInfo(path).isFile())
            continue;
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(path)) {
            qCInfo(lcStartup) << qUtf8Printable(name) << "from:" << path;
            m_files << path;
            return translator;
        }
        qCWarning(lcStartup) << "translation file ignored, it does not load:" << path;
    }
    return nullptr;
}

void TranslationLoader::clear() {
    for (const auto& t : m_installed)
        QCoreApplication::removeTranslator(t.get());
    m_installed.clear();
    m_files.clear();
}
