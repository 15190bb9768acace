// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "capture/CaptureStore.h"
#include "capture/ui/FullScreen.h"
#include "capture/ui/ScreenCapture.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A picture whose every pixel tells where it came from.
QImage picture(QSize size, qreal ratio = 1.0, int blue = 200) {
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(x % 251, y % 241, blue));
    img.setDevicePixelRatio(ratio);
    return img;
}

QImage plain(QImage img) {
    img.setDevicePixelRatio(1.0);
    return img.convertToFormat(QImage::Format_RGB32);
}

// Global positions stay where the drag began: a dragged picture moves under the pointer.
void drag(QWidget* w, const QPoint& from, const QPoint& to) {
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    const auto send = [&](QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
        QMouseEvent e(type, at, origin + at,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, {});
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    if (to != from) {
        send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestCaptureWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<AppContext> m_context;
    QRect m_screen;

    CaptureStore store() const { return CaptureStore(m_context->paths.dataFile()); }
    QList<qint64> addRows(const QList<QSize>& sizes) {
        QList<qint64> ids;
        CaptureStore s = store();
        for (const QSize& size : sizes)
            ids << s.add(picture(size, 1.0, 40 * ids.size()));
        return ids;
    }
    std::vector<CaptureItem> rows() const {
        std::vector<CaptureItem> items;
        store().list(items);
        return items;
    }
    std::unique_ptr<ScreenCapture> open() {
        auto page = std::make_unique<ScreenCapture>(*m_context);
        page->resize(800, 560);
        page->show();
        page->activated();
        return page;
    }
    template <typename T = QPushButton> static T* child(QWidget& page, const char* name) {
        T* found = page.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }
    // "New Capture" and SCTimer's step: the frozen screen with its box of choices.
    FullScreen* startCapture(ScreenCapture& page) {
        child(page, "CaptureBtn")->click();
        page.startCapture();
        return page.fullScreen();
    }

private Q_SLOTS:
    void initTestCase() { m_screen = QGuiApplication::primaryScreen()->geometry(); }

    void init() {
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->windows.screen = m_screen; // the frozen screen covers the offscreen one
        m_context = std::make_unique<AppContext>(
            m_desktop->context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), QDate(2026, 1, 15)),
                 QString());
    }

    void commandsFollowTheTable_data() {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<bool>("printer");
        QTest::newRow("empty table") << 0 << true;
        QTest::newRow("rows, no printer") << 2 << false;
        QTest::newRow("rows and a printer") << 2 << true;
    }
    void commandsFollowTheTable() {
        QFETCH(int, rowCount);
        QFETCH(bool, printer);
        m_desktop->pictureOutput.printerInstalled = printer;
        addRows(QList<QSize>(rowCount, QSize(50, 40)));
        auto page = open();
        const bool any = rowCount > 0;
        QCOMPARE(child<QListWidget>(*page, "DescLV")->count(), rowCount);
        QCOMPARE(child<QWidget>(*page, "BackPic")->isVisible(), any);
        QCOMPARE(child<QLabel>(*page, "DragLb")->isVisible(), any);
        for (const char* name : {"FSCmd", "CopyCmd", "DeleteCmd"})
            QCOMPARE(child(*page, name)->isEnabled(), any);
        QCOMPARE(child(*page, "PrintCmd")->isEnabled(), any && printer);
        if (any) // the last row, at the margin
            QCOMPARE(child<QWidget>(*page, "PreviewPic")->geometry(), QRect(8, 8, 50, 40));
    }

    // A page on show follows captures another process stores; a description being typed
    // stays, and the list is read again once it is done.
    void followsOtherWritersWhileShown() {
        addRows({QSize(50, 40)});
        auto page = open();
        auto* list = child<QListWidget>(*page, "DescLV");
        QCOMPARE(list->count(), 1);
        addRows({QSize(60, 40)});
        m_context->stores.changes.announceAll();
        QTRY_COMPARE(list->count(), 2);
        QVERIFY(child(*page, "DeleteCmd")->isEnabled());

        list->setCurrentRow(0);
        list->editItem(list->item(0));
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("typed"));
        addRows({QSize(70, 40)});
        m_context->stores.changes.announceAll();
        QApplication::processEvents();
        QApplication::processEvents();
        QCOMPARE(list->count(), 2);
        QCOMPARE(editor->text(), QStringLiteral("typed"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("typed"));
    }

    // Edited in place; a refused description keeps the old text and says why once the
    // editor has closed.
    void titles_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // null when refused
        QTest::addColumn<QString>("told");
        // The editor stops at 50 characters.
        QTest::newRow("51 characters") << QString(51, u'x') << QString(50, u'x') << QString();
        QTest::newRow("trailing blanks dropped, leading kept") << "  Desk  "
                                                               << "  Desk" << QString();
        QTest::newRow("blanks only") << "   " << QString() << CaptureRules::titleEmpty();
    }
    void titles() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, told);
        addRows({QSize(20, 20)});
        auto page = open();
        auto* list = child<QListWidget>(*page, "DescLV");
        list->editItem(list->item(0));
        auto* editor = list->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(typed);
        QTest::keyClick(editor, Qt::Key_Return);
        for (int pass = 0; pass < 3; ++pass) // the commit, then the message
            QCoreApplication::processEvents();
        const QString expected = stored.isNull() ? CaptureStore::NewTitle : stored;
        QCOMPARE(list->item(0)->text(), expected);
        QCOMPARE(rows().at(0).title, expected);
        const auto& messages = m_desktop->dialogs.messages;
        QCOMPARE(messages.size(), stored.isNull() ? 1 : 0);
        if (stored.isNull())
            QVERIFY(messages[0].text == told && messages[0].title == "Message" &&
                    messages[0].icon == MessageIcon::Information);
    }

    void deleteChoosesTheNeighbour_data() {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("chosen"); // -1: none left
        QTest::newRow("last: the new last") << 3 << 2 << true << 1;
        QTest::newRow("first: the new first") << 3 << 0 << true << 0;
        QTest::newRow("middle: the one after") << 3 << 1 << true << 1;
        QTest::newRow("answered No") << 3 << 2 << false << 2;
        QTest::newRow("the only one") << 1 << 0 << true << -1;
    }
    void deleteChoosesTheNeighbour() {
        QFETCH(int, rowCount);
        QFETCH(int, deleted);
        QFETCH(bool, yes);
        QFETCH(int, chosen);
        QList<QSize> sizes; // each width tells which row the preview shows
        for (int i = 0; i < rowCount; ++i)
            sizes << QSize(30 + i, 20);
        QList<qint64> ids = addRows(sizes);
        auto page = open();
        auto* list = child<QListWidget>(*page, "DescLV");
        auto* pane = child<QWidget>(*page, "PreviewPic");
        list->setCurrentRow(deleted);
        pane->move(-5, 90);
        m_desktop->dialogs.answers = {yes ? MessageAnswer::Yes : MessageAnswer::No};
        QTest::keyClick(list, Qt::Key_Delete); // as "Delete image"

        const auto& asked = m_desktop->dialogs.messages;
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].text == " Delete this captured image ?  " && asked[0].title == "Confirm" &&
                asked[0].buttons == MessageButtons::YesNoDefaultNo);
        if (yes)
            ids.removeAt(deleted);
        QCOMPARE(int(rows().size()), int(ids.size()));
        QCOMPARE(list->currentRow(), chosen);
        QCOMPARE(child<QWidget>(*page, "BackPic")->isVisible(), chosen >= 0);
        QCOMPARE(child(*page, "DeleteCmd")->isEnabled(), chosen >= 0);
        if (yes && chosen >= 0) {
            QCOMPARE(page->currentRowId(), ids[chosen]);
            QCOMPARE(pane->geometry(),
                     QRect(8, 8, 30 + (chosen >= deleted ? chosen + 1 : chosen), 20));
        }
    }

    void printAndCopy_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("orientation");
        QTest::newRow("640 wide: portrait") << 640 << int(QPageLayout::Portrait);
        QTest::newRow("641 wide: landscape") << 641 << int(QPageLayout::Landscape);
    }
    void printAndCopy() {
        QFETCH(int, width);
        QFETCH(int, orientation);
        addRows({QSize(width, 30)});
        const QImage stored = store().image(rows().at(0).rowId);
        auto page = open();
        child(*page, "PrintCmd")->click();
        child(*page, "CopyCmd")->click();
        auto& out = m_desktop->pictureOutput;
        QCOMPARE(out.printed.size(), 1);
        QCOMPARE(out.printed[0].first, stored);
        QCOMPARE(int(out.printed[0].second), orientation);
        QCOMPARE(out.owners.value(0), page->window()); // the print dialog over the page
        QCOMPARE(out.clipboard, QList<QImage>{stored});
        // The user hears where the job went, nothing of a cancelled dialog, and why a
        // failing printer printed nothing.
        const auto& told = m_desktop->dialogs.messages;
        QCOMPARE(told.size(), 1);
        QCOMPARE(told[0].text, "The picture was sent to Office printer.");
        out.cancelled = true;
        child(*page, "PrintCmd")->click();
        QCOMPARE(told.size(), 1);
        out.cancelled = false;
        out.printError = QStringLiteral("out of paper");
        child(*page, "PrintCmd")->click();
        QVERIFY(told.value(1).text.contains("out of paper"));
    }

    // On paper a picture is as large as on a 96 dpi screen, shrunk only to fit the page.
    void pageArea() {
        QCOMPARE(PictureOutput::pageArea(QSize(640, 480), QSizeF(4800, 6300), 600),
                 QRectF(0, 0, 4000, 3000));
        QCOMPARE(PictureOutput::pageArea(QSize(1920, 1080), QSizeF(6300, 4800), 600),
                 QRectF(0, 0, 6300, 3543.75));
    }

    void panning() {
        addRows({QSize(300, 200)});
        auto page = open();
        auto* pane = child<QWidget>(*page, "PreviewPic");
        drag(pane, QPoint(10, 10), QPoint(-40, -10)); // still in sight: stays
        QCOMPARE(pane->pos(), QPoint(-42, -12));
        drag(pane, QPoint(100, 100), QPoint(-1500, 140)); // gone left: x back to the margin
        QCOMPARE(pane->pos(), QPoint(8, 28));
        QTest::keyClick(pane, Qt::Key_Right);
        QCOMPARE(pane->pos(), QPoint(32, 28));
        QTest::keyClick(pane, Qt::Key_Home);
        QCOMPARE(pane->pos(), QPoint(8, 8));
    }

    // From "New Capture" to the new row: the window goes, the screen is grabbed after
    // SCTimer, an area is chosen on the frozen screen and stored from the clean copy.
    void captureStoresTheChosenArea_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to"); // the same: no drag
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QRect>("captured"); // in the screen picture's pixels; null: whole
        const QPoint a(100, 50), b(400, 250);
        const QRect ab(100, 50, 300, 200);
        QTest::newRow("Full Screen after a drag") << 0 << a << b << 1.0 << QRect();
        QTest::newRow("Selected Area, dragged up-left") << 1 << b << a << 1.0 << ab;
        QTest::newRow("Selected Area without a drag")
            << 1 << a << a << 1.0
            << QRect(CaptureRules::centred(m_screen, QSize(640, 480)), QSize(640, 480))
                   .intersected(m_screen);
        QTest::newRow("double density") << 1 << a << b << 2.0 << QRect(200, 100, 600, 400);
    }
    void captureStoresTheChosenArea() {
        QFETCH(int, choice);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(qreal, ratio);
        QFETCH(QRect, captured);
        const QImage screen = picture(m_screen.size() * ratio, ratio);
        m_desktop->grabber.answer = {screen, {}};
        auto page = open();
        child(*page, "CaptureBtn")->click();
        QVERIFY(page->isHidden()); // the page is its own main window here
        auto* timer = child<QTimer>(*page, "SCTimer");
        QVERIFY(timer->isActive() && timer->isSingleShot() && timer->interval() == 500);
        QVERIFY(m_desktop->grabber.asked.isEmpty());
        page->startCapture();
        QCOMPARE(m_desktop->grabber.asked, QList<QRect>{m_screen});

        FullScreen* full = page->fullScreen();
        QVERIFY(full);
        const QPointer<FullScreen> watch(full);
        CaptureToolBox* box = full->toolBox();
        QVERIFY(box);
        QVERIFY(full->isVisible() && box->isVisible() && box->windowTitle() == "Action");
        QVERIFY(m_desktop->windows.madeTopmost.contains(full) &&
                m_desktop->windows.madeTopmost.contains(box));
        QCOMPARE(box->frameGeometry().bottom(), m_screen.bottom());
        QVERIFY(qAbs(box->frameGeometry().center().x() - m_screen.center().x()) <= 1);

        // A small tool box on top of the frozen screen, Return on "Full Screen" until an
        // area is dragged out.
        QVERIFY(box->windowType() == Qt::Tool);
        QVERIFY(
            !(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(box->windowFlags() & Qt::CustomizeWindowHint);
        QCOMPARE(box->defaultChoice(), int(CaptureToolBox::FullScreen));
        drag(full, from, to);
        QCOMPARE(box->defaultChoice(),
                 from != to ? int(CaptureToolBox::SelectedArea) : int(CaptureToolBox::FullScreen));
        if (from != to) { // guide lines and the outline, on the window only
            const QImage shown = full->grab().toImage();
            const qreal r = shown.devicePixelRatio();
            QCOMPARE(shown.pixel(int(5 * r), int(30 * r)), qRgb(0, 0, 0));
            QCOMPARE(shown.pixel(int(250 * r), int(50 * r)), qRgb(255, 255, 0));
        }
        box->choiceButton(choice)->click();
        deleteClosedWindows();
        QVERIFY(!watch);
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{page.get()});

        const std::vector<CaptureItem> stored = rows();
        QCOMPARE(int(stored.size()), 1);
        QCOMPARE(stored[0].title, "New Screen Image");
        QCOMPARE(plain(store().image(stored[0].rowId)),
                 plain(captured.isNull() ? screen : screen.copy(captured)));
        auto* list = child<QListWidget>(*page, "DescLV");
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(list->indexWidget(list->currentIndex())); // ready for a description
        QVERIFY(m_desktop->dialogs.messages.isEmpty());
    }

    // Two monitors side by side: the frozen desktop spans both, an area dragged across their
    // edge is stored whole, the box follows the drag, "This monitor" takes the pointer's.
    void captureAcrossMonitors_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QRect>("stored");
        QTest::newRow("Full Screen") << int(CaptureToolBox::FullScreen) << QRect(0, 0, 800, 300);
        QTest::newRow("across the edge")
            << int(CaptureToolBox::SelectedArea) << QRect(300, 100, 200, 100);
        QTest::newRow("This monitor")
            << int(CaptureToolBox::ThisMonitor) << QRect(400, 0, 400, 300);
    }
    void captureAcrossMonitors() {
        QFETCH(int, choice);
        QFETCH(QRect, stored);
        const QRect left(0, 0, 400, 300), right(400, 0, 400, 300);
        m_desktop->windows.screen = left;
        m_desktop->windows.otherScreens = {right};
        m_desktop->windows.cursor = QPoint(600, 150);
        const QImage desktop = picture(QSize(800, 300));
        m_desktop->grabber.answer = {desktop, {}, {{left, left}, {right, right}}};
        auto page = open();
        FullScreen* full = startCapture(*page);
        QVERIFY(full && full->toolBox());
        QCOMPARE(m_desktop->grabber.asked, QList<QRect>{QRect(0, 0, 800, 300)});
        QCOMPARE(full->geometry(), QRect(0, 0, 800, 300));
        CaptureToolBox* box = full->toolBox();
        QCOMPARE(box->screen(), right); // the pointer's monitor
        m_desktop->windows.cursor = QPoint(200, 150);
        drag(full, QPoint(500, 200), QPoint(300, 100));
        QCOMPARE(box->screen(), left); // where the drag ended
        QVERIFY(box->choiceButton(CaptureToolBox::ThisMonitor)->focusPolicy() & Qt::TabFocus);
        QCOMPARE(box->choiceButton(CaptureToolBox::ThisMonitor)->accessibleName(), "This monitor");
        m_desktop->windows.cursor = QPoint(600, 150);
        box->choiceButton(choice)->click();
        deleteClosedWindows();
        const std::vector<CaptureItem> items = rows();
        QCOMPARE(int(items.size()), 1);
        QCOMPARE(plain(store().image(items[0].rowId)), plain(desktop.copy(stored)));
    }

    void cancelAddsNothing_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Cancel Capture", "Esc on the box", "Esc on the screen", "closed"})
            QTest::newRow(how) << how;
    }
    void cancelAddsNothing() {
        QFETCH(QString, how);
        m_desktop->grabber.answer = {picture(m_screen.size()), {}};
        auto page = open();
        FullScreen* full = startCapture(*page);
        QVERIFY(full);
        const QPointer<FullScreen> watch(full);
        CaptureToolBox* box = full->toolBox();
        QVERIFY(box);
        drag(full, QPoint(20, 20), QPoint(20, 20)); // a click leaves the frozen screen there
        QVERIFY(watch && full->isVisible() && box->isVisible());
        if (how == "Cancel Capture")
            box->cancelButton()->click();
        else if (how == "Esc on the box")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (how == "Esc on the screen")
            QTest::keyClick(full, Qt::Key_Escape);
        else
            full->close();
        deleteClosedWindows();
        QVERIFY(!watch);
        QVERIFY(rows().empty());
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{page.get()});
        QVERIFY(m_desktop->dialogs.messages.isEmpty());
        QVERIFY(startCapture(*page)); // and a new capture can start
    }

    void emptyGrabIsToldAndNothingStored_data() {
        QTest::addColumn<bool>("later");
        QTest::newRow("answered at once") << false;
        QTest::newRow("answered later, as a portal does") << true;
    }
    void emptyGrabIsToldAndNothingStored() {
        QFETCH(bool, later);
        m_desktop->grabber.answer = {QImage(), QStringLiteral("the screenshot was cancelled")};
        m_desktop->grabber.answerLater = later;
        auto page = open();
        QVERIFY(!startCapture(*page));
        if (later) {
            QVERIFY(m_desktop->windows.shownWindows.isEmpty()); // still away while waiting
            m_desktop->grabber.answerNow();
        }
        QVERIFY(!page->fullScreen());
        QVERIFY(rows().empty());
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{page.get()});
        const auto& told = m_desktop->dialogs.messages;
        QCOMPARE(told.size(), 1);
        QVERIFY(told[0].text.contains("could not take a picture of the screen") &&
                told[0].text.contains("the screenshot was cancelled"));
    }

    void viewerCentresAndClosesOnClickOrEsc() {
        addRows({QSize(300, 200)});
        auto page = open();
        auto* list = child<QListWidget>(*page, "DescLV");
        child(*page, "FSCmd")->click();
        FullScreen* full = page->fullScreen();
        QVERIFY(full);
        QPointer<FullScreen> watch(full);
        QVERIFY(full->isVisible() && full->isModal() && !full->toolBox());
        const QRect shown = full->pictureRect();
        QCOMPARE(shown.size(), QSize(300, 200));
        QCOMPARE(shown.center(), full->rect().center());
        const QImage seen = full->grab().toImage();
        QCOMPARE(seen.pixel(shown.topLeft() + QPoint(150, 100)), qRgb(150, 100, 0));
        QTest::mouseClick(full, Qt::LeftButton, {}, QPoint(3, 3));
        deleteClosedWindows();
        QVERIFY(!watch);
        QCOMPARE(page->focusWidget(), list);

        QTest::keyClick(list, Qt::Key_Return); // Return on the list views it too
        full = page->fullScreen();
        QVERIFY(full);
        watch = full;
        QTest::keyClick(full, Qt::Key_Escape);
        deleteClosedWindows();
        QVERIFY(!watch);
        QCOMPARE(int(rows().size()), 1);
    }

    // The page, the frozen screen with an area and its box, and the viewer. Run this function
    // alone with QT_SCALE_FACTOR=2 for the 2x set (the others expect a density of 1).
    void screenshots() {
        const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        QImage screen(m_screen.size() * ratio, QImage::Format_RGB32);
        screen.setDevicePixelRatio(ratio);
        {
            QPainter p(&screen);
            p.fillRect(m_screen, QColor(70, 100, 150));
            p.fillRect(QRect(60, 40, 420, 260), QColor(245, 245, 245));
            p.fillRect(QRect(60, 40, 420, 24), QColor(60, 60, 70));
            for (int line = 0; line < 11; ++line)
                p.drawText(70, 84 + line * 20, QStringLiteral("Line %1 of a document").arg(line));
        }
        addRows({QSize(900, 700), QSize(200, 120)});
        store().rename(rows().at(0).rowId, QStringLiteral("Quarterly report draft"));
        const QString folder = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(folder));
        const QString suffix = ratio > 1 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
        auto page = open();
        child<QListWidget>(*page, "DescLV")->setCurrentRow(0);
        QVERIFY(page->grab().save(folder + "/scapture" + suffix));

        m_desktop->grabber.answer = {screen, {}};
        FullScreen* full = startCapture(*page);
        QVERIFY(full && full->toolBox());
        drag(full, QPoint(420, 260), QPoint(120, 90));
        QPixmap shot = full->grab();
        QPainter(&shot).drawPixmap(full->toolBox()->geometry().topLeft() - full->pos(),
                                   full->toolBox()->grab());
        QVERIFY(shot.save(folder + "/fullscrn-capture" + suffix));
        full->toolBox()->cancelButton()->click();
        deleteClosedWindows();

        child(*page, "FSCmd")->click();
        QVERIFY(page->fullScreen());
        QVERIFY(page->fullScreen()->grab().save(folder + "/fullscrn-view" + suffix));
        page->fullScreen()->close();
        deleteClosedWindows();
    }
};

QTEST_MAIN(TestCaptureWindow)
#include "tst_capturewindow.moc"
