#include "platform/Module.h"
#include "platform/ui/QtPictureOutput.h"

#include <QTest>

class ModulesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each module is a file of its own: it must load and offer every entry point the program
    // looks up (a missing export shows only at the first sound or print otherwise).
    void modulesOfferTheirEntryPoints_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("entry");
        QTest::newRow("sound") << QStringLiteral(PLUMORA_SOUND_MODULE)
                               << QByteArray("plumoraPlaySound");
        QTest::newRow("printer") << QStringLiteral(PLUMORA_PRINT_MODULE)
                                 << QByteArray("plumoraHasPrinter");
        QTest::newRow("print") << QStringLiteral(PLUMORA_PRINT_MODULE)
                               << QByteArray("plumoraPrintPicture");
    }
    void modulesOfferTheirEntryPoints() {
        QFETCH(QString, file);
        QFETCH(QByteArray, entry);
        Module module(file);
        QVERIFY(module.entry<void (*)()>(entry.constData()));
        QVERIFY(!module.entry<void (*)()>("noSuchEntry"));
    }

    // Without its print module the program says so instead of failing silently.
    void printingWithoutTheModuleSaysWhy() {
        QtPictureOutput output;
        output.setPrintModule(QStringLiteral("/nonexistent/libplumora_print.so"));
        QVERIFY(!output.hasPrinter());
        QString error;
        QVERIFY(!output.print(QImage(4, 4, QImage::Format_RGB32), QPageLayout::Portrait, error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(ModulesTest)
#include "tst_modules.moc"
