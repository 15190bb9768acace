// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TranslationLoader.h"
#include "calendar/ui/EditEvents.h"
#include "notes/NoteGeometry.h"
#include "shell/HelpLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList German = {QStringLiteral("de-DE"), QStringLiteral("de-Latn-DE"),
                            QStringLiteral("de")};

QString qtFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

// Qt's own German: the standard dialogs' buttons.
QString qtCancel() {
    return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

} // namespace

class TranslationLoaderTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_good;    // a folder with the German file
    QString m_damaged; // a folder whose German file is not a translation
    QString m_empty;   // a folder with no files

    void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        const QString built = QStringLiteral(PLUMORA_QM_DIR "/plumora_de.qm");
        QVERIFY2(QFile::exists(built), qPrintable(built));
        for (const char* name : {"good", "damaged", "empty"})
            QVERIFY(QDir(m_dir.path()).mkdir(QLatin1String(name)));
        m_good = m_dir.filePath(QStringLiteral("good"));
        m_damaged = m_dir.filePath(QStringLiteral("damaged"));
        m_empty = m_dir.filePath(QStringLiteral("empty"));
        QVERIFY(QFile::copy(built, m_good + QStringLiteral("/plumora_de.qm")));
        // A file cut short, as a broken copy leaves it.
        QFile full(built);
        QVERIFY(full.open(QIODevice::ReadOnly));
        write(m_damaged + QStringLiteral("/plumora_de.qm"), full.read(full.size() / 2));
        write(m_damaged + QStringLiteral("/plumora_fr.qm"), QByteArray(64, 'x'));
        // The lines about damaged files are wanted here.
        QLoggingCategory::setFilterRules(QStringLiteral("plumora.startup.warning=true"));
        QVERIFY(HelpLanguage::note().isEmpty());
    }

    // German texts, and Qt's German beside them; English again after a load that finds none.
    void germanThenEnglish() {
        TranslationLoader loader({m_empty, m_good}, qtFolder());
        QCOMPARE(loader.load(German), "de");
        QCOMPARE(HelpLanguage::note(), "Die Hilfeseiten gibt es vorerst nur auf Englisch.");
        QCOMPARE(loader.files().size(), 2);
        QCOMPARE(loader.files().at(0), m_good + QStringLiteral("/plumora_de.qm"));
        QVERIFY(loader.files().at(1).endsWith(QStringLiteral("/qtbase_de.qm")));
        QCOMPARE(qtCancel(), "Abbrechen");

        QCOMPARE(loader.load({QStringLiteral("en-US"), QStringLiteral("de")}), QString());
        QVERIFY(HelpLanguage::note().isEmpty());
        QCOMPARE(qtCancel(), "Cancel");
        QVERIFY(loader.files().isEmpty());
    }

    // Dates inside German texts are written the German way, day first; English keeps its own.
    void datesInGermanOrder() {
        const QDate day(2026, 3, 5);
        QCOMPARE(NoteGeometry::dateText(day), "March 05, 2026");
        QCOMPARE(EditEvents::captionFor(day), "Edit Events - Mar 05 2026");

        const QByteArray lang = qgetenv("LANG");
        qputenv("LANG", "de_DE.UTF-8");
        TranslationLoader loader({m_good}, qtFolder());
        QCOMPARE(loader.load(German), "de");
        const QString note = NoteGeometry::dateText(day);
        const QString caption = EditEvents::captionFor(day);
        loader.load({});
        qputenv("LANG", lang);
        QCOMPARE(note, QStringLiteral("05. M\u00e4rz 2026"));
        QCOMPARE(caption, "Termine bearbeiten - 05. M\u00e4rz 2026");
    }

    // Unknown, plain and empty settings start in English, with nothing said.
    void englishWithoutAWord_data() {
        QTest::addColumn<QStringList>("languages");
        QTest::newRow("xx_YY") << QStringList{"xx-YY", "C"};
        QTest::newRow("C") << QStringList{"C"};
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("empty name") << QStringList{QString()};
        QTest::newRow("English first") << QStringList{"en-GB", "en", "de"};
    }
    void englishWithoutAWord() {
        QFETCH(QStringList, languages);
        TranslationLoader loader({m_good}, qtFolder());
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QCOMPARE(loader.load(languages), QString());
        QVERIFY(loader.files().isEmpty());
        QVERIFY(HelpLanguage::note().isEmpty());
    }

    // LANGUAGE=fr:de: a language Plumora does not speak gives way to the next one.
    void nextLanguageWhenOneHasNoFile() {
        TranslationLoader loader({m_good}, qtFolder());
        QCOMPARE(loader.load({QStringLiteral("fr-FR"), QStringLiteral("fr"), QStringLiteral("de")}),
                 "de");
        QVERIFY(!HelpLanguage::note().isEmpty());
    }

    // A damaged file is passed over with a line in the log: the next folder's copy, else
    // English.
    void damagedFileIsSkipped() {
        const QRegularExpression line(QStringLiteral("translation file ignored"));
        {
            TranslationLoader loader({m_damaged, m_good}, qtFolder());
            QTest::ignoreMessage(QtWarningMsg, line);
            QCOMPARE(loader.load(German), "de");
            QCOMPARE(loader.files().at(0), m_good + QStringLiteral("/plumora_de.qm"));
        }
        QVERIFY(HelpLanguage::note().isEmpty()); // a loader takes its files with it
        TranslationLoader loader({m_damaged}, qtFolder());
        QTest::ignoreMessage(QtWarningMsg, line);
        QTest::ignoreMessage(QtWarningMsg, line);
        QCOMPARE(loader.load({QStringLiteral("fr"), QStringLiteral("de")}), QString());
        QVERIFY(HelpLanguage::note().isEmpty());
        QCOMPARE(qtCancel(), "Cancel");
    }

    // The program looks beside the executable first, then in the installed share folder.
    void programFolders() {
        const QString bin = m_dir.filePath(QStringLiteral("usr/bin"));
        const QString share = m_dir.filePath(QStringLiteral("usr/share/plumora/translations"));
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(share));
        QVERIFY(QFile::copy(m_good + QStringLiteral("/plumora_de.qm"),
                            share + QStringLiteral("/plumora_de.qm")));
        auto installed = TranslationLoader::forProgram(bin);
        QCOMPARE(installed->load(German), "de");
        QCOMPARE(QFileInfo(installed->files().at(0)).canonicalFilePath(),
                 QFileInfo(share + QStringLiteral("/plumora_de.qm")).canonicalFilePath());
        installed.reset();

        QVERIFY(QDir().mkpath(bin + QStringLiteral("/translations")));
        QVERIFY(QFile::copy(m_good + QStringLiteral("/plumora_de.qm"),
                            bin + QStringLiteral("/translations/plumora_de.qm")));
        auto built = TranslationLoader::forProgram(bin);
        QCOMPARE(built->load(German), "de");
        QCOMPARE(built->files().at(0), bin + QStringLiteral("/translations/plumora_de.qm"));
    }
};

QTEST_GUILESS_MAIN(TranslationLoaderTest)
#include "tst_translationloader.moc"
