#include "core/Twips.h"
#include "core/ui/CommandDispatcher.h"
#include "core/ui/HelpWindow.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "scheduler/ui/EditSch.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

ScheduleEditorState preset(bool reminder = false) {
    ScheduleEditorState s = ScheduleEditorState::fresh(FakeClock());
    s.reminderMode = reminder;
    return s;
}

template <typename T> T* control(QWidget& dialog, const char* name, int index = -1) {
    const QList<T*> found = dialog.findChildren<T*>(QLatin1String(name));
    for (T* w : found)
        if (index < 0 || w->property("index").toInt() == index)
            return w;
    return nullptr;
}

QString tag(EditSch& d) {
    return control<QGroupBox>(d, "FreqFrame")->property("tag").toString();
}

// Counts the mouse presses that reach a window: a window blocked by a modal one gets none.
class PressCounter : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress)
            ++presses;
        return false;
    }
};

} // namespace

class TestEditSch : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void opensWithItsDefaults() {
        EditSch d(preset());
        d.show();
        QCOMPARE(d.windowTitle(), "- Edit Schedule -");
        QCOMPARE(d.objectName(), "EditSch");
        QVERIFY(control<QRadioButton>(d, "TypeOpt", 0)->isChecked());
        QCOMPARE(control<QRadioButton>(d, "TypeOpt", 1)->text(), "Shut Down System");
        QVERIFY(control<QCheckBox>(d, "HibernateChk")->isHidden());
        QCOMPARE(control<QPushButton>(d, "RunBtn")->text(), QString());
        QCOMPARE(control<QLabel>(d, "RunLb")->text(), "Run:");
        QCOMPARE(control<QDateEdit>(d, "SchDateDT")->date(), QDate(2026, 3, 10));
        QCOMPARE(control<QDateEdit>(d, "SchDateDT")->displayFormat(), "M/d/yyyy");
        QCOMPARE(control<QTimeEdit>(d, "SchTimeDT")->time(), QTime(8, 30));
        QCOMPARE(control<QTimeEdit>(d, "SchTimeDT")->text(), "08:30 AM");
        QVERIFY(control<QCheckBox>(d, "IsActiveChk")->isChecked());
        QVERIFY(!control<QCheckBox>(d, "OneTimeChk")->isChecked());
        QCOMPARE(control<QCheckBox>(d, "OneTimeChk")->text(), "This is an one-time schedule");
        QVERIFY(control<QRadioButton>(d, "FreqOpt", 0)->isChecked());
        QCOMPARE(control<QGroupBox>(d, "FreqFrame")->title(), "Frequency");
        QCOMPARE(tag(d), "2");
        QVERIFY(control<QLabel>(d, "RemindLb")->isHidden());
        QCOMPARE(control<QLabel>(d, "RemindLb")->text(), "Events/Notes Reminder");
        // A new launch waits for its program.
        QVERIFY(!control<QPushButton>(d, "OKBtn")->isEnabled());
        QCOMPARE(control<QRadioButton>(d, "TypeOpt", 0)->palette().color(QPalette::WindowText),
                 QColor(0, 64, 0));
        QCOMPARE(control<QRadioButton>(d, "TypeOpt", 1)->palette().color(QPalette::WindowText),
                 QColor(64, 64, 64));

        // Every control the keyboard reaches says what it is.
        for (QWidget* w : d.findChildren<QWidget*>()) {
            if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(&d) || w->isWindow() ||
                w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
    }

    // Clicks on the controls, each followed by what the dialog shows.
    void clicksUpdateTheDialog_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("clicks"); // objectName[:index]
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("runText");
        QTest::addColumn<bool>("whenEnabled");
        QTest::addColumn<bool>("frequencyShown");
        QTest::addColumn<bool>("hibernateShown");

        QTest::newRow("shut down needs no program") << "" << QStringList{"TypeOpt:1"} << true << "2"
                                                    << "" << true << true << true;
        QTest::newRow("back to launch without program")
            << "" << QStringList{"TypeOpt:1", "TypeOpt:0"} << false << "2"
            << "" << true << true << false;
        QTest::newRow("shut down hides the path")
            << "/bin/sh" << QStringList{"TypeOpt:1"} << true << "2"
            << "" << true << true << true;
        QTest::newRow("launch again shows it")
            << "/bin/sh" << QStringList{"TypeOpt:1", "TypeOpt:0"} << true << "2"
            << "/bin/sh" << true << true << false;
        QTest::newRow("inactive greys the when and tags 0")
            << "/bin/sh" << QStringList{"FreqOpt:3", "IsActiveChk"} << true << "0"
            << "/bin/sh" << false << true << false;
        QTest::newRow("one time hides the options and tags 1")
            << "/bin/sh" << QStringList{"OneTimeChk"} << true << "1"
            << "/bin/sh" << true << false << false;
        QTest::newRow("weekly") << "/bin/sh" << QStringList{"FreqOpt:1"} << true << "3"
                                << "/bin/sh" << true << true << false;
    }
    void clicksUpdateTheDialog() {
        QFETCH(QString, program);
        QFETCH(QStringList, clicks);
        ScheduleEditorState s = preset();
        s.program = program;
        EditSch d(s);
        d.show();
        for (const QString& click : clicks) {
            const QStringList parts = click.split(u':');
            auto* button = control<QAbstractButton>(d, qPrintable(parts[0]),
                                                    parts.size() > 1 ? parts[1].toInt() : -1);
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
        }
        QTEST(control<QPushButton>(d, "OKBtn")->isEnabled(), "ok");
        QTEST(tag(d), "tag");
        QTEST(control<QPushButton>(d, "RunBtn")->text(), "runText");
        QTEST(control<QDateEdit>(d, "SchDateDT")->isEnabled(), "whenEnabled");
        QTEST(control<QRadioButton>(d, "FreqOpt", 2)->isEnabled(), "whenEnabled");
        QTEST(control<QCheckBox>(d, "OneTimeChk")->isEnabled(), "whenEnabled");
        QTEST(control<QGroupBox>(d, "FreqFrame")->isVisible(), "frequencyShown");
        QTEST(control<QCheckBox>(d, "HibernateChk")->isVisible(), "hibernateShown");
        const bool launch = control<QRadioButton>(d, "TypeOpt", 0)->isChecked();
        QCOMPARE(control<QPushButton>(d, "RunBtn")->isEnabled(), launch);
        QCOMPARE(control<QRadioButton>(d, "TypeOpt", 1)->palette().color(QPalette::WindowText),
                 launch ? QColor(64, 64, 64) : QColor(128, 0, 0));
        QCOMPARE(d.state().frequencyTag(), tag(d));
    }

    // The program button: an executable file is taken, anything else beeps and keeps the
    // path, and a cancelled dialog changes nothing.
    void choosingTheProgram() {
        const QString tool = m_dir.filePath(QStringLiteral("my tool.sh"));
        const QString text = m_dir.filePath(QStringLiteral("readme.com"));
        for (const QString& path : {tool, text}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner));

        EditSch d(preset());
        d.show();
        QString answer;
        QStringList startedAt;
        d.setFileChooser([&](QWidget*, const QString& start) {
            startedAt << start;
            return answer;
        });
        QSignalSpy refused(&d, &EditSch::programRefused);
        auto* run = control<QPushButton>(d, "RunBtn");

        answer = tool;
        QTest::mouseClick(run, Qt::LeftButton);
        QCOMPARE(d.state().program, tool);
        QVERIFY(control<QPushButton>(d, "OKBtn")->isEnabled());
        QCOMPARE(run->toolTip(), tool);

        answer = text;
        QTest::mouseClick(run, Qt::LeftButton);
        QCOMPARE(refused.count(), 1);
        answer.clear();
        QTest::mouseClick(run, Qt::LeftButton);
        QCOMPARE(refused.count(), 1);
        QCOMPARE(d.state().program, tool);
        // The dialog opens at the root first, then on the chosen program.
        QCOMPARE(startedAt, (QStringList{"/", tool, tool}));
    }

    // Reminder mode asks only when and how often: the type and program go, the frame moves
    // up, the dialog is shorter and OK needs no program.
    void reminderMode() {
        ScheduleEditorState s = preset(true);
        s.launchProgram = false; // even a shut-down preset never offers hibernation
        EditSch normal(preset());
        EditSch reminder(s);
        normal.show();
        reminder.show();
        QVERIFY(control<QLabel>(reminder, "RemindLb")->isVisible());
        for (const char* name : {"TypeOpt", "RunBtn", "RunLb", "HibernateChk"})
            QVERIFY2(!control<QWidget>(reminder, name)->isVisible(), name);
        QVERIFY(control<QPushButton>(reminder, "OKBtn")->isEnabled());
        QVERIFY(control<QWidget>(reminder, "SchFrame")->y() <
                control<QWidget>(normal, "SchFrame")->y());
        QVERIFY(reminder.height() < normal.height());

        // An alarm that never had a frequency opens with no option chosen.
        s.active = false;
        s.freqOption = -1;
        EditSch inactive(s);
        inactive.show();
        QCOMPARE(tag(inactive), "0");
        QTest::mouseClick(control<QCheckBox>(inactive, "IsActiveChk"), Qt::LeftButton, {},
                          QPoint(4, 4));
        QCOMPARE(tag(inactive), "0");
        QTest::mouseClick(control<QRadioButton>(inactive, "FreqOpt", 3), Qt::LeftButton, {},
                          QPoint(4, 4));
        QCOMPARE(tag(inactive), "5");
    }

    // edit(): OK gives the answers, Cancel and the close box nothing.
    void editReturnsTheConfirmedAnswers_data() {
        QTest::addColumn<QString>("closeWith");
        QTest::addColumn<bool>("answered");
        QTest::newRow("OK") << "OKBtn" << true;
        QTest::newRow("Cancel") << "CancelBtn" << false;
        QTest::newRow("close box") << "" << false;
    }
    void editReturnsTheConfirmedAnswers() {
        QFETCH(QString, closeWith);
        QWidget owner;
        owner.show();
        ScheduleEditorState s = preset(true);
        bool sawTag = false;
        QTimer::singleShot(0, this, [&] {
            auto* d = owner.findChild<EditSch*>();
            QVERIFY(d && d->isVisible());
            control<QDateEdit>(*d, "SchDateDT")->setDate(QDate(2027, 1, 2));
            control<QTimeEdit>(*d, "SchTimeDT")->setTime(QTime(23, 59));
            control<QRadioButton>(*d, "FreqOpt", 2)->click();
            if (closeWith.isEmpty()) {
                d->close();
            } else {
                control<QPushButton>(*d, qPrintable(closeWith))->click();
                sawTag = d->property("tag").toString() == QLatin1String("*");
            }
        });
        const std::optional<ScheduleEditorState> answer = EditSch::edit(s, &owner);
        QTEST(answer.has_value(), "answered");
        QCOMPARE(sawTag, answer.has_value());
        QVERIFY(!owner.findChild<EditSch*>());
        if (!answer)
            return;
        QCOMPARE(answer->frequency(), 4);
        QCOMPARE(QDateTime(answer->date, answer->time),
                 QDateTime(QDate(2027, 1, 2), QTime(23, 59)));
        QVERIFY(answer->reminderMode);
    }

    // F1 in the open editor shows its help topic, and the help window takes the mouse while
    // the window the editor was opened from does not.
    void helpStaysUsableWhileTheEditorIsOpen() {
        QDir(m_dir.path()).mkpath(QStringLiteral("help"));
        for (const char* topic : {"index.htm", "editsch.htm"}) {
            QFile f(m_dir.filePath(QStringLiteral("help/") + QLatin1String(topic)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<html><head><title>Edit Schedule</title></head><body>x</body></html>");
        }
        FakeClock clock;
        FakeDesktop desktop;
        AppContext context = desktop.context(AppPaths(m_dir.path(), m_dir.path()), clock);
        CommandDispatcher dispatcher(context);

        QWidget owner;
        owner.resize(300, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        PressCounter ownerPresses, helpPresses;
        owner.windowHandle()->installEventFilter(&ownerPresses);
        QString topic;
        QTimer::singleShot(0, this, [&] {
            auto* d = owner.findChild<EditSch*>();
            QVERIFY(d);
            QTest::keyClick(control<QWidget>(*d, "SchDateDT"), Qt::Key_F1);
            HelpWindow* help = dispatcher.helpWindow();
            QVERIFY(help && help->isVisible());
            topic = help->currentTopic();
            help->windowHandle()->installEventFilter(&helpPresses);
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
            QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
            d->reject();
        });
        EditSch::edit(preset(), &owner);
        QCOMPARE(topic, "editsch.htm");
        QCOMPARE(helpPresses.presses, 1);
        QCOMPARE(ownerPresses.presses, 0);
    }
};

QTEST_MAIN(TestEditSch)
#include "tst_editsch.moc"
