#include "core/DataBackup.h"
#include "core/DataFile.h"
#include "core/Schema.h"
#include "core/ShellTables.h"
#include "core/options/ui/Options.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(MessageAnswer)

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString mailUserOf(const QString& dataFile) {
    const std::optional<Settings> s = SettingsStore(dataFile).load();
    return s ? s->mailUser : QStringLiteral("<unreadable>");
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

    QTemporaryDir m_program, m_executable, m_tmp;
    FakeClock m_clock;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<AppContext> m_context;
    QList<int> m_unloaded;
    QStringList m_soundStarts;
    QString m_soundChoice;

    QString dataFile() const { return m_context->paths.dataFile(); }
    QString rmwav() const { return m_context->paths.file(QStringLiteral("rmwav")); }
    Settings stored() const { return SettingsStore(dataFile()).load().value_or(Settings{}); }
    template <typename F> void store(F&& change) {
        QVERIFY(SettingsStore(dataFile()).update(std::forward<F>(change)));
    }

    std::unique_ptr<Options> open() {
        auto page = std::make_unique<Options>(*m_context);
        page->unloadToolHook = [this](int button) { m_unloaded << button; };
        page->chooseSoundFileHook = [this](const QString& start) {
            m_soundStarts << start;
            return m_soundChoice;
        };
        return page;
    }

    template <typename T> static T* control(const Options& page, const char* name) {
        return page.findChild<T*>(QLatin1String(name));
    }

    static QStringList written(const QSignalSpy& spy) {
        QStringList columns;
        for (const QList<QVariant>& signal : spy)
            columns << Settings::columnName(signal.at(0).value<Settings::Field>());
        return columns;
    }

private Q_SLOTS:
    void init() {
        m_desktop = std::make_unique<FakeDesktop>();
        m_context = std::make_unique<AppContext>(
            m_desktop->context(AppPaths(m_program.path(), m_executable.path()), m_clock));
        QFile::remove(dataFile());
        QFile::remove(rmwav());
        QCOMPARE(Schema::createTemplate(dataFile(), m_clock.today()), QString());
        store([](Settings& s) { s.notifyAgo = 2; });
        m_unloaded.clear();
        m_soundStarts.clear();
        m_soundChoice.clear();
    }

    // The controls show the stored values (every up-down its own, the mail interval
    // included) and filling them writes nothing.
    void fillsWithoutWriting_data() {
        QTest::addColumn<QString>("sound");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checkMail");
        QTest::newRow("no sound chosen, mail off") << QString() << "reminder.wav" << false;
        QTest::newRow("a chosen sound, mail on")
            << QStringLiteral("/home/ann/sounds/bell.wav") << "bell.wav" << true;
    }

    void fillsWithoutWriting() {
        QFETCH(QString, sound);
        QFETCH(QString, caption);
        QFETCH(bool, checkMail);
        store([&](Settings& s) {
            s.notifyAgo = 7;
            s.showEvery = 30;
            s.checkMailMinutes = 5;
            s.addHolidays = false;
            s.addAmerica = true;
            s.checkMail = checkMail;
            s.mailUser = QStringLiteral("ann");
            s.mailPassword = QStringLiteral(" pw ");
            s.reminderSound = sound;
        });
        const QByteArray before = readFile(dataFile());

        const auto page = open();
        QCOMPARE(readFile(dataFile()), before);
        QCOMPARE(control<QSpinBox>(*page, "NotifyAgoUD")->value(), 7);
        QCOMPARE(control<QSpinBox>(*page, "ShowEveryUD")->value(), 30);
        QCOMPARE(control<QSpinBox>(*page, "CheckMailUD")->value(), 5);
        QCOMPARE(control<QPushButton>(*page, "WavCmd")->text(), caption);
        const auto* usa = control<QCheckBox>(*page, "AddAmericaChk");
        QVERIFY(usa->isChecked() && !usa->isEnabled());
        QVERIFY(!control<QCheckBox>(*page, "AddCanadaChk")->isEnabled());
        const auto* user = control<QLineEdit>(*page, "OEUserTB");
        const auto* password = control<QLineEdit>(*page, "OEPwdTB");
        QCOMPARE(user->text(), QStringLiteral("ann"));
        QCOMPARE(password->text(), QStringLiteral(" pw "));
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(user->isEnabled(), checkMail);
        QCOMPARE(password->isEnabled(), checkMail);
        QCOMPARE(control<QSpinBox>(*page, "CheckMailUD")->isEnabled(), checkMail);
    }

    // Each step is written at once; the mail interval steps on from the number shown.
    void upDownsWriteTheirValue_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("storedValue");
        QTest::addColumn<int>("expected");
        QTest::newRow("days ahead") << QByteArray("NotifyAgoUD") << 7 << 8;
        QTest::newRow("days ahead at its maximum") << QByteArray("NotifyAgoUD") << 30 << 30;
        QTest::newRow("reminder interval, step 10") << QByteArray("ShowEveryUD") << 30 << 40;
        QTest::newRow("mail interval") << QByteArray("CheckMailUD") << 5 << 6;
    }

    void upDownsWriteTheirValue() {
        QFETCH(QByteArray, name);
        QFETCH(int, storedValue);
        QFETCH(int, expected);
        store([&](Settings& s) { s.notifyAgo = s.showEvery = s.checkMailMinutes = storedValue; });
        const auto page = open();
        QSignalSpy spy(page.get(), &Options::settingSaved);
        control<QSpinBox>(*page, name.constData())->stepUp();
        const Settings s = stored();
        const int value = name == "NotifyAgoUD"   ? s.notifyAgo
                          : name == "ShowEveryUD" ? s.showEvery
                                                  : s.checkMailMinutes;
        QCOMPARE(value, expected);
        QCOMPARE(spy.count(), expected == storedValue ? 0 : 1);
    }

    // At most one country list; the international box carries both.
    void countryBoxes_data() {
        QTest::addColumn<QList<bool>>("start"); // international, USA, Canada
        QTest::addColumn<QByteArray>("clicked");
        QTest::addColumn<QList<bool>>("after");
        QTest::addColumn<bool>("countriesEnabled");
        QTest::addColumn<QStringList>("written");

        QTest::newRow("USA while Canada is set")
            << QList<bool>{true, false, true} << QByteArray("AddAmericaChk")
            << QList<bool>{true, true, false} << true
            << QStringList{QStringLiteral("AddCanada"), QStringLiteral("AddAmerica")};
        QTest::newRow("Canada while USA is set")
            << QList<bool>{true, true, false} << QByteArray("AddCanadaChk")
            << QList<bool>{true, false, true} << true
            << QStringList{QStringLiteral("AddAmerica"), QStringLiteral("AddCanada")};
        QTest::newRow("clearing the international box")
            << QList<bool>{true, true, false} << QByteArray("AddHolidaysChk")
            << QList<bool>{false, false, false} << false
            << QStringList{QStringLiteral("AddAmerica"), QStringLiteral("AddCanada"),
                           QStringLiteral("AddHolidays")};
        QTest::newRow("setting the international box")
            << QList<bool>{false, false, false} << QByteArray("AddHolidaysChk")
            << QList<bool>{true, false, false} << true
            << QStringList{QStringLiteral("AddHolidays")};
    }

    void countryBoxes() {
        QFETCH(QList<bool>, start);
        QFETCH(QByteArray, clicked);
        QFETCH(QList<bool>, after);
        QFETCH(bool, countriesEnabled);
        QFETCH(QStringList, written);
        store([&](Settings& s) {
            s.addHolidays = start[0];
            s.addAmerica = start[1];
            s.addCanada = start[2];
        });
        const auto page = open();
        QSignalSpy spy(page.get(), &Options::settingSaved);
        control<QCheckBox>(*page, clicked.constData())->click();

        const QList<QCheckBox*> boxes{control<QCheckBox>(*page, "AddHolidaysChk"),
                                      control<QCheckBox>(*page, "AddAmericaChk"),
                                      control<QCheckBox>(*page, "AddCanadaChk")};
        const Settings s = stored();
        QCOMPARE((QList<bool>{s.addHolidays, s.addAmerica, s.addCanada}), after);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(boxes[i]->isChecked(), after[i]);
        QCOMPARE(boxes[1]->isEnabled(), countriesEnabled);
        QCOMPARE(boxes[2]->isEnabled(), countriesEnabled);
        QCOMPARE(this->written(spy), written);
    }

    // The two -1 columns, and the mail box enabling the account it watches.
    void checkBoxesWriteMinusOne() {
        const auto page = open();
        auto* user = control<QLineEdit>(*page, "OEUserTB");
        QVERIFY(!user->isEnabled());
        control<QCheckBox>(*page, "ChkEmailChk")->click();
        control<QCheckBox>(*page, "LargeIconChk")->click();
        QVERIFY(user->isEnabled());
        DataFile db(dataFile());
        for (Settings::Field f : {Settings::Field::CheckMail, Settings::Field::SmallIcons}) {
            const QString column = Settings::columnName(f);
            QCOMPARE(db.scalar(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM System"))
                         .toInt(),
                     -1);
        }
    }

    // The user name and password are written when the page is left, once, and only when
    // they were edited.
    void accountWrittenOnLeavingWhenEdited_data() {
        QTest::addColumn<QByteArray>("edited"); // the box typed into; empty: none
        QTest::addColumn<QStringList>("written");
        QTest::newRow("password edited") << QByteArray("OEPwdTB") << QStringList{"MailPwd"};
        QTest::newRow("user edited") << QByteArray("OEUserTB") << QStringList{"MailUser"};
        QTest::newRow("nothing edited") << QByteArray() << QStringList{};
    }

    void accountWrittenOnLeavingWhenEdited() {
        QFETCH(QByteArray, edited);
        QFETCH(QStringList, written);
        store([](Settings& s) {
            s.checkMail = true;
            s.mailUser = QStringLiteral("ann");
            s.mailPassword = QStringLiteral("old");
        });
        const auto page = open();
        page->show();
        QSignalSpy spy(page.get(), &Options::settingSaved);
        if (!edited.isEmpty())
            QTest::keyClicks(control<QLineEdit>(*page, edited.constData()), QStringLiteral("2"));
        // Meanwhile start-up found another account and cleared the password.
        store([](Settings& s) { s.mailPassword = QStringLiteral("cleared"); });
        QCOMPARE(spy.count(), 0);

        // Chosen again while showing, then left: the typed text survives the refill.
        page->activated();
        page->aboutToHide();
        page->aboutToHide();
        QCOMPARE(this->written(spy), written);
        const Settings s = stored();
        QCOMPARE(s.mailPassword,
                 edited == "OEPwdTB" ? QStringLiteral("old2") : QStringLiteral("cleared"));
        QCOMPARE(s.mailUser, edited == "OEUserTB" ? QStringLiteral("ann2") : QStringLiteral("ann"));
        QCOMPARE(control<QLineEdit>(*page, "OEPwdTB")->text(), s.mailPassword);
        QCOMPARE(control<QLineEdit>(*page, "OEUserTB")->text(), s.mailUser);
    }

    // The chosen file becomes rmwav and RmWav; a cancelled or unreadable choice keeps the
    // old sound, and an unreadable one says so.
    void soundChooser_data() {
        QTest::addColumn<QString>("choice"); // "" cancels; "missing" names no file
        QTest::newRow("a wave file") << QStringLiteral("bell.wav");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("unreadable") << QStringLiteral("missing");
    }

    void soundChooser() {
        QFETCH(QString, choice);
        writeFile(rmwav(), "old sound");
        const QString bell = m_tmp.filePath(QStringLiteral("bell.wav"));
        writeFile(bell, "RIFF bell");
        m_soundChoice = choice.isEmpty() ? QString() : m_tmp.filePath(choice);
        const auto page = open();
        QSignalSpy spy(page.get(), &Options::settingSaved);
        auto* button = control<QPushButton>(*page, "WavCmd");
        button->click();

        QCOMPARE(m_soundStarts, QStringList{m_context->paths.resource("reminder.wav")});
        const bool taken = choice == QLatin1String("bell.wav");
        QCOMPARE(readFile(rmwav()), taken ? QByteArray("RIFF bell") : QByteArray("old sound"));
        QCOMPARE(stored().reminderSound, taken ? bell : QString());
        QCOMPARE(button->text(),
                 taken ? QStringLiteral("bell.wav") : QStringLiteral("reminder.wav"));
        QCOMPARE(spy.count(), taken ? 1 : 0);
        QCOMPARE(m_desktop->dialogs.messages.size(), choice == QLatin1String("missing") ? 1 : 0);
        if (taken) { // the next choice starts where this one was made
            button->click();
            QCOMPARE(m_soundStarts.last(), bell);
        }
    }

    // Backup and restore as the user meets them: the folder picker, the messages, the
    // question before a restore, and the data file afterwards.
    void backupAndRestore_data() {
        QTest::addColumn<int>("button");       // BkRsBtn index: 0 backup, 1 restore
        QTest::addColumn<QString>("picked");   // "folder", "missing" or "" (cancelled)
        QTest::addColumn<QString>("inFolder"); // what the folder holds as data.plm
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QStringList>("messages"); // %1: the picked folder
        QTest::addColumn<QString>("dataUser");     // MailUser of data.plm afterwards

        const QString done = QStringLiteral("Message: Data has been backup to '%1/data.plm'.");
        const QString confirm =
            QStringLiteral("Confirm: ") + QLatin1String(DataBackup::RestoreConfirmText);
        const QString current = QStringLiteral("current");
        const QString backup = QStringLiteral("from backup");
        QTest::newRow("backup over an earlier one")
            << 0 << "folder"
            << "plumora" << MessageAnswer::Ok << QStringList{done} << current;
        QTest::newRow("backup fails")
            << 0 << "missing"
            << "" << MessageAnswer::Ok << QStringList{"Message: Error during backup !"} << current;
        QTest::newRow("backup cancelled") << 0 << ""
                                          << "" << MessageAnswer::Ok << QStringList{} << current;
        QTest::newRow("restore without data.plm")
            << 1 << "folder"
            << "" << MessageAnswer::Yes << QStringList{"Message: Data file not found !"} << current;
        QTest::newRow("restore of a file not Plumora's")
            << 1 << "folder"
            << "other" << MessageAnswer::Yes << QStringList{"Message: Error during restore !"}
            << current;
        QTest::newRow("restore answered No")
            << 1 << "folder"
            << "plumora" << MessageAnswer::No << QStringList{confirm} << current;
        QTest::newRow("restore") << 1 << "folder"
                                 << "plumora" << MessageAnswer::Yes
                                 << QStringList{confirm, "Message: Restore is complete."} << backup;
    }

    void backupAndRestore() {
        QFETCH(int, button);
        QFETCH(QString, picked);
        QFETCH(QString, inFolder);
        QFETCH(MessageAnswer, answer);
        QFETCH(QStringList, messages);
        QFETCH(QString, dataUser);
        store([](Settings& s) { s.mailUser = QStringLiteral("current"); });
        const QString folder =
            m_tmp.filePath(QStringLiteral("picked-%1").arg(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        const QString there = folder + QStringLiteral("/data.plm");
        if (inFolder == QLatin1String("plumora")) {
            QCOMPARE(Schema::createTemplate(there, m_clock.today()), QString());
            QVERIFY(SettingsStore(there).update(
                [](Settings& s) { s.mailUser = QStringLiteral("from backup"); }));
        } else if (inFolder == QLatin1String("other")) {
            writeFile(there, "not a data file");
        }
        m_desktop->dialogs.folderChoice = picked == QLatin1String("folder")    ? folder
                                          : picked == QLatin1String("missing") ? folder + "/gone"
                                                                               : QString();
        m_desktop->dialogs.answers = {answer};
        const QByteArray before = readFile(dataFile());

        const auto page = open();
        for (QPushButton* b : page->findChildren<QPushButton*>(QStringLiteral("BkRsBtn"))) {
            if (b->property("index").toInt() == button)
                b->click();
        }

        QStringList shown;
        for (const FakeDialogs::Shown& m : m_desktop->dialogs.messages) {
            shown << m.title + QStringLiteral(": ") + m.text;
            QCOMPARE(m.buttons, m.title == QLatin1String("Confirm") ? MessageButtons::YesNo
                                                                    : MessageButtons::Ok);
        }
        messages.replaceInStrings(QStringLiteral("%1"), folder);
        QCOMPARE(shown, messages);
        QCOMPARE(mailUserOf(dataFile()), dataUser);
        if (dataUser == QLatin1String("current") && button == 1)
            QCOMPARE(readFile(dataFile()), before);
        if (button == 0 && picked == QLatin1String("folder"))
            QCOMPARE(mailUserOf(there), QStringLiteral("current"));
        // The page shows what the file now holds.
        QCOMPARE(control<QLineEdit>(*page, "OEUserTB")->text(), dataUser);

        QList<int> others = MainToolbar::toolButtons();
        others.removeAll(MainToolbar::OptionsButton);
        QCOMPARE(m_unloaded, picked.isEmpty() ? QList<int>{} : others);
    }

    // Every control the keyboard reaches has a name for screen readers.
    void everyControlIsNamed() {
        const auto page = open();
        int controls = 0;
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || qobject_cast<QAbstractSpinBox*>(w->parent()))
                continue;
            ++controls;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(controls, 13);
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
