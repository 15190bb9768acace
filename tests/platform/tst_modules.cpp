// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeychainSecretStore.h"
#include "platform/Module.h"
#include "platform/ui/QtPictureOutput.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

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
        QTest::newRow("keyring") << QStringLiteral(PLUMORA_KEYCHAIN_MODULE)
                                 << QByteArray("plumoraKeychainStore");
        QTest::newRow("spelling") << QStringLiteral(PLUMORA_HUNSPELL_MODULE)
                                  << QByteArray("plumoraHunspellEntries");
        for (const char* entry : {"plumoraIcsRead", "plumoraIcsEndless", "plumoraIcsPrepare",
                                  "plumoraIcsWrite", "plumoraEventPatch", "plumoraEventChanged"})
            QTest::newRow(entry) << QStringLiteral(PLUMORA_ICAL_MODULE) << QByteArray(entry);
        for (const char* entry : {"plumoraHttpClient", "plumoraStreamSocket"})
            QTest::newRow(entry) << QStringLiteral(PLUMORA_NET_MODULE) << QByteArray(entry);
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
        QCOMPARE(
            output.print(nullptr, QImage(4, 4, QImage::Format_RGB32), QPageLayout::Portrait, error),
            PictureOutput::Printed::Failed);
        QVERIFY(!error.isEmpty());
    }

    // Without its keyring module every call answers once, later (as the keyring does), and
    // fails with a reason; nothing is answered once the receiver is gone.
    void theKeyringWithoutItsModuleSaysWhy() {
        KeychainSecretStore secrets(QStringLiteral("Plumora test"));
        secrets.setModule(QStringLiteral("/nonexistent/libplumora_keychain.so"));
        QObject receiver;
        std::vector<SecretStore::Result> answers;
        const auto answer = [&](const SecretStore::Result& r) { answers.push_back(r); };
        secrets.read(QStringLiteral("mail"), &receiver, answer);
        secrets.write(QStringLiteral("mail"), QStringLiteral("secret"), &receiver, answer);
        secrets.remove(QStringLiteral("mail"), &receiver, answer);
        QVERIFY(answers.empty());
        QTRY_COMPARE(answers.size(), size_t(3));
        for (const SecretStore::Result& r : answers) {
            QCOMPARE(r.status, SecretStore::Status::Failed);
            QVERIFY(!r.error.isEmpty());
        }
        auto gone = std::make_unique<QObject>();
        secrets.read(QStringLiteral("mail"), gone.get(), answer);
        gone.reset();
        QCoreApplication::processEvents();
        QCOMPARE(answers.size(), size_t(3));
    }

    // Printing asks first with the system's print dialog, over the window it is asked from;
    // cancelled, nothing is printed and nothing is said.
    void printingAsksWithThePrintDialog() {
        QtPictureOutput output;
        output.setPrintModule(QStringLiteral(PLUMORA_PRINT_MODULE));
        QWidget owner;
        owner.show();
        QWidget* over = nullptr;
        bool printDialog = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            over = dialog->parentWidget();
            printDialog = dialog->inherits("QPrintDialog");
            dialog->reject();
        });
        QString detail;
        QCOMPARE(
            output.print(&owner, QImage(4, 4, QImage::Format_RGB32), QPageLayout::Portrait, detail),
            PictureOutput::Printed::Cancelled);
        QCOMPARE(over, &owner);
        QVERIFY(printDialog);
        QVERIFY(detail.isEmpty());
    }
};

QTEST_MAIN(ModulesTest)
#include "tst_modules.moc"
