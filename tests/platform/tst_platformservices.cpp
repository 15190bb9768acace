#include "platform/DesktopEntries.h"
#include "platform/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
const QString Root = QStringLiteral("HKEY_CURRENT_USER");
const QString Key = QStringLiteral("Control Panel\\Desktop");
} // namespace

class TestPlatformServices : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void registryValues_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("read");
        QTest::newRow("plain") << QStringLiteral("2") << QStringLiteral("2");
        QTest::newRow("255 characters fit") << QString(255, u'a') << QString(255, u'a');
        QTest::newRow("256 characters give nothing") << QString(256, u'a') << QString();
        QTest::newRow("non-ASCII")
            << QStringLiteral("Grüße, 東京") << QStringLiteral("Grüße, 東京");
    }
    void registryValues() {
        QFETCH(QString, stored);
        QFETCH(QString, read);
        RegistryStore store(m_dir.filePath(QStringLiteral("registry.ini")));
        store.writeString(Root, Key, QStringLiteral("WallpaperStyle"), stored);
        QCOMPARE(store.readString(Root, Key, QStringLiteral("WallpaperStyle")), read);
    }

    void missingRegistryValuesReadEmpty() {
        RegistryStore store(m_dir.filePath(QStringLiteral("none/registry.ini")));
        QCOMPARE(store.readString(Root, Key, QStringLiteral("Nothing")), QString());
        RegistryStore other(m_dir.filePath(QStringLiteral("registry.ini")));
        QCOMPARE(other.readString(Root, QStringLiteral("Other\\Key"), QStringLiteral("Nothing")),
                 QString());
    }

    void execLinesSplitAsDesktopFilesQuote_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("field codes dropped")
            << QStringLiteral("thunderbird %u") << QStringList{QStringLiteral("thunderbird")};
        QTest::newRow("quoted path with blanks")
            << QStringLiteral("\"/opt/My Mail/mail\" --compose %U")
            << QStringList{QStringLiteral("/opt/My Mail/mail"), QStringLiteral("--compose")};
        QTest::newRow("escaped quote and percent")
            << QStringLiteral("sh-free \"say \\\"hi\\\"\" 100%%")
            << QStringList{QStringLiteral("sh-free"), QStringLiteral("say \"hi\""),
                           QStringLiteral("100%")};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void execLinesSplitAsDesktopFilesQuote() {
        QFETCH(QString, exec);
        QFETCH(QStringList, args);
        QCOMPARE(DesktopEntries::splitExec(exec), args);
    }

    void defaultMailHandlerFollowsPrecedence() {
        const QString config = m_dir.filePath(QStringLiteral("config"));
        const QString userData = m_dir.filePath(QStringLiteral("data"));
        const QString systemData = m_dir.filePath(QStringLiteral("sysdata"));
        writeFile(systemData + QStringLiteral("/applications/evolution.desktop"),
                  "[Desktop Entry]\nName=Evolution\nExec=evolution %U\n");
        writeFile(systemData + QStringLiteral("/applications/thunderbird.desktop"),
                  "[Desktop Entry]\nName=Thunderbird Mail\nExec=thunderbird %u\n");
        writeFile(systemData + QStringLiteral("/applications/mimeapps.list"),
                  "[Default Applications]\nx-scheme-handler/mailto=evolution.desktop\n");
        const QStringList data{userData, systemData};
        QCOMPARE(DesktopEntries::defaultApplication(QStringLiteral("x-scheme-handler/mailto"),
                                                    {config}, data),
                 QStringLiteral("evolution.desktop"));

        // The user's own choice wins; an entry that is not installed is passed over.
        writeFile(config + QStringLiteral("/mimeapps.list"),
                  "[Added Associations]\nx-scheme-handler/mailto=evolution.desktop\n"
                  "[Default Applications]\n"
                  "x-scheme-handler/mailto=gone.desktop;thunderbird.desktop;\n");
        QCOMPARE(DesktopEntries::defaultApplication(QStringLiteral("x-scheme-handler/mailto"),
                                                    {config}, data),
                 QStringLiteral("thunderbird.desktop"));
        const auto entry = DesktopEntries::find(QStringLiteral("thunderbird.desktop"), data);
        QCOMPARE(entry.name, QStringLiteral("Thunderbird Mail"));
        QCOMPARE(entry.exec, QStringList{QStringLiteral("thunderbird")});
        QVERIFY(!DesktopEntries::find(QStringLiteral("../thunderbird.desktop"), data).valid);
    }
};

QTEST_GUILESS_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"
