#include "capture/CaptureStore.h"
#include "capture/ui/CapturePreview.h"
#include "capture/ui/CaptureToolBox.h"
#include "capture/ui/FullScreen.h"
#include "capture/ui/ScreenCapture.h"
#include "core/Schema.h"
#include "core/ShellTables.h"
#include "core/ui/CommandDispatcher.h"
#include "core/ui/MainWindow.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
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

QImage plain(const QImage& img) {
    QImage out = img.convertToFormat(QImage::Format_RGB32);
    out.setDevicePixelRatio(1.0);
    return out;
}

// `origin`: where the widget's corner was on the screen when the drag began (a dragged
// picture moves under the pointer).
void mouse(QWidget* w, QEvent::Type type, const QPoint& at, Qt::MouseButtons held,
           QPoint origin = {}) {
    if (origin.isNull())
        origin = w->mapToGlobal(QPoint(0, 0));
    QMouseEvent e(type, at, origin + at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget* w, const QPoint& from, const QPoint& to) {
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, origin);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, origin);
    mouse(w, QEvent::MouseMove, to, Qt::LeftButton, origin);
    mouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton, origin);
}

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs what was posted: the editor commits on the next pass, its message on the one after.
void settle() {
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
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

    // Rows with pictures of these sizes, in order.
    QList<qint64> addRows(const QList<QSize>& sizes) {
        QList<qint64> ids;
        CaptureStore s = store();
        for (const QSize& size : sizes)
            ids << s.add(picture(size, 1.0, 40 * ids.size()));
        return ids;
    }

    std::vector<CaptureItem> rows() const {
        std::vector<CaptureItem> items;
        CaptureStore s = store();
        s.list(items);
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

    // "New Capture" and its timer's step: the frozen screen with its box of choices.
    FullScreen* startCapture(ScreenCapture& page) {
        child(page, "CaptureBtn")->click();
        page.startCapture();
        return page.fullScreen();
    }

private Q_SLOTS:
    void initTestCase() {
        // The frozen screen covers the offscreen screen exactly.
        m_screen = QGuiApplication::primaryScreen()->geometry();
    }

    void init() {
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->windows.screen = m_screen;
        m_context = std::make_unique<AppContext>(
            m_desktop->context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        QCOMPARE(Schema::createTemplate(m_context->paths.dataFile(), QDate(2026, 1, 15)),
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
        auto* list = child<QListWidget>(*page, "DescLV");
        QCOMPARE(list->count(), rowCount);
        QCOMPARE(child<QWidget>(*page, "BackPic")->isVisible(), any);
        QCOMPARE(child<QLabel>(*page, "DragLb")->isVisible(), any);
        QCOMPARE(child<QLabel>(*page, "DragLb")->text(), "(Drag on the image to move...)");
        for (const char* name : {"FSCmd", "CopyCmd", "DeleteCmd"})
            QCOMPARE(child(*page, name)->isEnabled(), any);
        QCOMPARE(child(*page, "PrintCmd")->isEnabled(), any && printer);
        QVERIFY(child(*page, "CaptureBtn")->isEnabled());
        if (any) { // the last row is shown at the margin
            QCOMPARE(list->currentRow(), rowCount - 1);
            QCOMPARE(child<QWidget>(*page, "PreviewPic")->geometry(), QRect(8, 8, 50, 40));
        }
    }

    // Descriptions are edited in place; a refused one keeps the old text and says why.
    void titles_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // null when refused
        const QString fifty(50, u'x');
        QTest::newRow("exactly 50") << fifty << fifty;
        QTest::newRow("51") << fifty + u'y' << QString();
        QTest::newRow("only blanks") << "    " << QString();
        QTest::newRow("trailing blanks dropped, leading kept") << "  Desk  "
                                                               << "  Desk";
    }
    void titles() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        addRows({QSize(20, 20)});
        auto page = open();
        auto* list = child<QListWidget>(*page, "DescLV");
        list->editItem(list->item(0));
        auto* editor = list->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(typed);
        QTest::keyClick(editor, Qt::Key_Return);
        settle(); // the message waits for the editor to close
        const QString expected = stored.isNull() ? CaptureStore::NewTitle : stored;
        QCOMPARE(list->item(0)->text(), expected);
        QCOMPARE(rows().at(0).title, expected);
        const auto& messages = m_desktop->dialogs.messages;
        QCOMPARE(messages.size(), stored.isNull() ? 1 : 0);
        if (stored.isNull()) {
            QCOMPARE(messages[0].text, "Please enter a shorter description!");
            QCOMPARE(messages[0].title, "Message");
            QCOMPARE(messages[0].icon, MessageIcon::Information);
        }
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
        // Each picture's width tells which row the preview shows.
        QList<QSize> sizes;
        for (int i = 0; i < rowCount; ++i)
            sizes << QSize(30 + i, 20);
        QList<qint64> ids = addRows(sizes);
        auto page = open();
        auto* list = child<QListWidget>(*page, "DescLV");
        list->setCurrentRow(deleted);
        child<QWidget>(*page, "PreviewPic")->move(-5, 90);
        m_desktop->dialogs.answers = {yes ? MessageAnswer::Yes : MessageAnswer::No};
        child(*page, "DeleteCmd")->click();

        const auto& asked = m_desktop->dialogs.messages;
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, " Delete this captured image ?  ");
        QCOMPARE(asked[0].title, "Confirm");
        QCOMPARE(asked[0].buttons, MessageButtons::YesNo);
        QCOMPARE(asked[0].icon, MessageIcon::Information);
        if (yes)
            ids.removeAt(deleted);
        QCOMPARE(int(rows().size()), int(ids.size()));
        QCOMPARE(list->count(), int(ids.size()));
        QCOMPARE(list->currentRow(), chosen);
        QCOMPARE(child<QWidget>(*page, "BackPic")->isVisible(), chosen >= 0);
        QCOMPARE(child(*page, "DeleteCmd")->isEnabled(), chosen >= 0);
        QCOMPARE(child(*page, "PrintCmd")->isEnabled(), chosen >= 0);
        if (yes && chosen >= 0) {
            QCOMPARE(page->currentRowId(), ids[chosen]);
            auto* pane = child<QWidget>(*page, "PreviewPic");
            QCOMPARE(pane->width(), 30 + (chosen >= deleted ? chosen + 1 : chosen));
            QCOMPARE(pane->pos(), QPoint(8, 8));
        }
        QVERIFY(page->focusWidget() == list || !yes);

        // The Delete key asks too.
        if (chosen >= 0) {
            m_desktop->dialogs.answers = {MessageAnswer::No};
            QTest::keyClick(list, Qt::Key_Delete);
            QCOMPARE(asked.size(), 2);
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
        QCOMPARE(out.clipboard, QList<QImage>{stored});

        // A printer that fails says so.
        out.printError = QStringLiteral("out of paper");
        child(*page, "PrintCmd")->click();
        QCOMPARE(m_desktop->dialogs.messages.size(), 1);
        QVERIFY(m_desktop->dialogs.messages[0].text.contains("out of paper"));
    }

    // A picture lies at the page's corner at its screen size, shrunk only to fit.
    void pageArea_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<QSizeF>("printed");
        QTest::newRow("fits: as on screen")
            << QSize(640, 480) << QSizeF(4800, 6300) << QSizeF(4000, 3000);
        QTest::newRow("too wide: shrunk")
            << QSize(1920, 1080) << QSizeF(6300, 4800) << QSizeF(6300, 3543.75);
        QTest::newRow("too tall: shrunk")
            << QSize(96, 2000) << QSizeF(4800, 6300) << QSizeF(302.4, 6300);
    }
    void pageArea() {
        QFETCH(QSize, picture);
        QFETCH(QSizeF, page);
        QFETCH(QSizeF, printed);
        const QRectF area = PictureOutput::pageArea(picture, page, 600);
        QCOMPARE(area.topLeft(), QPointF(0, 0));
        QCOMPARE(area.size(), printed);
    }

    void panning() {
        addRows({QSize(300, 200)});
        auto page = open();
        auto* pane = child<QWidget>(*page, "PreviewPic");
        auto* area = child<QWidget>(*page, "BackPic");
        drag(pane, QPoint(10, 10), QPoint(-40, -10)); // within sight: stays
        QCOMPARE(pane->pos(), QPoint(8 - 50, 8 - 20));
        drag(pane, QPoint(100, 100), QPoint(100 - area->width() - 400, 140));
        QCOMPARE(pane->pos(), QPoint(8, 8 - 20 + 40)); // gone left: back to the margin
        QTest::keyClick(pane, Qt::Key_Right);
        QCOMPARE(pane->pos(), QPoint(8 + 24, 28));
        QTest::keyClick(pane, Qt::Key_Home);
        QCOMPARE(pane->pos(), QPoint(8, 8));
    }

    // From "New Capture" to the new row: the main window goes, the screen is grabbed after
    // SCTimer, the area is chosen on the frozen screen and stored from the clean copy.
    void captureStoresTheChosenArea_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QPoint>("from"); // no drag when null
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QRect>("captured"); // in the screen picture's pixels; null: whole
        const QPoint a(100, 50), b(400, 250);
        QTest::newRow("Full Screen after a drag") << 0 << a << b << 1.0 << QRect();
        QTest::newRow("Selected Area, down-right")
            << 1 << a << b << 1.0 << QRect(100, 50, 300, 200);
        QTest::newRow("Selected Area, up-left") << 1 << b << a << 1.0 << QRect(100, 50, 300, 200);
        QTest::newRow("Selected Area, up-right")
            << 1 << QPoint(400, 50) << QPoint(100, 250) << 1.0 << QRect(100, 50, 300, 200);
        QTest::newRow("Selected Area without a drag")
            << 1 << QPoint() << QPoint() << 1.0 << QRect(); // filled in below
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
        QVERIFY(timer->isActive() && timer->isSingleShot());
        QCOMPARE(timer->interval(), 500);
        QVERIFY(m_desktop->grabber.asked.isEmpty());
        page->startCapture();
        QVERIFY(!timer->isActive());
        QCOMPARE(m_desktop->grabber.asked, QList<QRect>{m_screen});

        FullScreen* full = page->fullScreen();
        QVERIFY(full);
        const QPointer<FullScreen> open(full);
        QVERIFY(full->isVisible());
        QCOMPARE(full->mode(), FullScreen::Mode::Capture);
        CaptureToolBox* box = full->toolBox();
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QCOMPARE(box->windowTitle(), "Action");
        QVERIFY(m_desktop->windows.madeTopmost.contains(full) &&
                m_desktop->windows.madeTopmost.contains(box));
        QCOMPARE(box->frameGeometry().bottom(), m_screen.bottom());
        QVERIFY(qAbs(box->frameGeometry().center().x() - m_screen.center().x()) <= 1);

        if (!from.isNull()) {
            drag(full, from, to);
            // What the user sees: guide lines and the outline, on the window only.
            const QImage shown = full->grab().toImage();
            const qreal r = shown.devicePixelRatio();
            QCOMPARE(shown.pixel(int(5 * r), int(30 * r)), qRgb(0, 0, 0));
            QCOMPARE(shown.pixel(int(250 * r), int(50 * r)), qRgb(255, 255, 0));
        }
        if (captured.isNull())
            captured = choice == 0 ? screen.rect()
                                   : QRect(CaptureRules::centred(m_screen, QSize(640, 480)),
                                           QSize(640, 480))
                                         .intersected(screen.rect());
        box->choiceButton(choice)->click();
        deleteClosedWindows();
        QVERIFY(!open);
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{page.get()});

        const std::vector<CaptureItem> stored = rows();
        QCOMPARE(int(stored.size()), 1);
        QCOMPARE(stored[0].title, "New Screen Image");
        QCOMPARE(plain(store().image(stored[0].rowId)), plain(screen.copy(captured)));
        auto* list = child<QListWidget>(*page, "DescLV");
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(list->indexWidget(list->currentIndex())); // ready for a description
        QCOMPARE(child<QWidget>(*page, "PreviewPic")->pos(), QPoint(8, 8));
        QVERIFY(m_desktop->dialogs.messages.isEmpty());
    }

    void cancelAddsNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel Capture") << "cancel";
        QTest::newRow("Esc on the box") << "escBox";
        QTest::newRow("Esc on the frozen screen") << "escScreen";
        QTest::newRow("window closed") << "close";
    }
    void cancelAddsNothing() {
        QFETCH(QString, how);
        m_desktop->grabber.answer = {picture(m_screen.size()), {}};
        auto page = open();
        FullScreen* full = startCapture(*page);
        QVERIFY(full);
        const QPointer<FullScreen> open(full);
        CaptureToolBox* box = full->toolBox();
        QVERIFY(box);
        // A click on the frozen screen leaves it there.
        mouse(full, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
        mouse(full, QEvent::MouseButtonRelease, QPoint(20, 20), Qt::NoButton);
        QVERIFY(open && full->isVisible() && box->isVisible());
        if (how == "cancel")
            box->cancelButton()->click();
        else if (how == "escBox")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (how == "escScreen")
            QTest::keyClick(full, Qt::Key_Escape);
        else
            full->close();
        deleteClosedWindows();
        QVERIFY(!open);
        QVERIFY(rows().empty());
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{page.get()});
        QVERIFY(m_desktop->dialogs.messages.isEmpty());
        // A new capture can start again.
        QVERIFY(startCapture(*page));
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
        QCOMPARE(m_desktop->grabber.isWaiting(), later);
        if (later) {
            QVERIFY(m_desktop->windows.shownWindows.isEmpty()); // still waiting, still hidden
            m_desktop->grabber.answerNow();
        }
        QVERIFY(!page->fullScreen());
        QVERIFY(rows().empty());
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{page.get()});
        const auto& told = m_desktop->dialogs.messages;
        QCOMPARE(told.size(), 1);
        QVERIFY(told[0].text.contains("could not take a picture of the screen"));
        QVERIFY(told[0].text.contains("the screenshot was cancelled"));
    }

    void viewerCentresAndClosesOnClick() {
        addRows({QSize(300, 200)});
        auto page = open();
        child(*page, "FSCmd")->click();
        FullScreen* full = page->fullScreen();
        QVERIFY(full);
        QPointer<FullScreen> open(full);
        QVERIFY(full->isVisible() && full->isModal());
        QCOMPARE(full->mode(), FullScreen::Mode::View);
        QVERIFY(!full->toolBox());
        const QRect shown = full->pictureRect();
        QCOMPARE(shown,
                 QRect(CaptureRules::centred(full->rect(), QSize(300, 200)), QSize(300, 200)));
        const QImage seen = full->grab().toImage();
        QCOMPARE(seen.pixel(shown.topLeft() + QPoint(150, 100)), qRgb(150, 100, 0));
        QCOMPARE(seen.pixel(shown.topLeft() - QPoint(1, 1)), qRgb(0, 0, 0));
        QTest::mouseClick(full, Qt::LeftButton, {}, QPoint(3, 3));
        deleteClosedWindows();
        QVERIFY(!open);
        QCOMPARE(page->focusWidget(), child<QListWidget>(*page, "DescLV"));

        // Return on the list views it too; Esc closes it.
        auto* list = child<QListWidget>(*page, "DescLV");
        QTest::keyClick(list, Qt::Key_Return);
        full = page->fullScreen();
        QVERIFY(full);
        open = full;
        QTest::keyClick(full, Qt::Key_Escape);
        deleteClosedWindows();
        QVERIFY(!open);
        QCOMPARE(int(rows().size()), 1);
    }

    // Inside the main window: the whole window goes away for the capture and comes back.
    void hostedByTheMainWindow() {
        m_desktop->grabber.answer = {picture(m_screen.size()), {}};
        CommandDispatcher shell(*m_context);
        CaptureTool tool(shell.tools(), *m_context);
        shell.dispatch(TrayMenu::SCapture);
        MainWindow* main = shell.mainWindow();
        main->show();
        ScreenCapture* page = tool.page();
        QVERIFY(page);
        QCOMPARE(main->activePage(), page);
        QCOMPARE(page->windowTitle(), "Screen Capture");
        FullScreen* full = startCapture(*page);
        QVERIFY(full);
        QVERIFY(main->isHidden());
        CaptureToolBox* box = full->toolBox();
        QVERIFY(box);
        m_desktop->windows.shownWindows.clear();
        box->choiceButton(CaptureToolBox::FullScreen)->click();
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{main});
        QCOMPARE(int(rows().size()), 1);
        main->close();
    }

    // The page, the frozen screen with an area dragged out and its box, and the viewer;
    // at the screen's own density (run this function alone with QT_SCALE_FACTOR=2 for the 2x
    // set; the other functions expect a density of 1).
    void screenshots() {
        const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        QImage screen(m_screen.size() * ratio, QImage::Format_RGB32);
        screen.setDevicePixelRatio(ratio);
        {
            QPainter p(&screen);
            QLinearGradient sky(0, 0, m_screen.width(), m_screen.height());
            sky.setColorAt(0, QColor(40, 80, 140));
            sky.setColorAt(1, QColor(200, 140, 90));
            p.fillRect(m_screen, sky);
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
        {
            QPainter p(&shot);
            p.drawPixmap(full->toolBox()->geometry().topLeft() - full->geometry().topLeft(),
                         full->toolBox()->grab());
        }
        QVERIFY(shot.save(folder + "/fullscrn-capture" + suffix));
        full->toolBox()->cancelButton()->click();
        deleteClosedWindows();

        child(*page, "FSCmd")->click();
        full = page->fullScreen();
        QVERIFY(full);
        QVERIFY(full->grab().save(folder + "/fullscrn-view" + suffix));
        full->close();
        deleteClosedWindows();
    }
};

QTEST_MAIN(TestCaptureWindow)
#include "tst_capturewindow.moc"
