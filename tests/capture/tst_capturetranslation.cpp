// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/CaptureStore.h"
#include "capture/ui/CaptureDescriptor.h"
#include "capture/ui/CaptureToolBox.h"
#include "capture/ui/FullScreen.h"
#include "capture/ui/ScreenCapture.h"
#include "mock/Install.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <memory>

namespace {

using M = MarkingTranslator;

struct Fixture : Install {
    Fixture()
        : Install({.start = QDateTime(QDate(2026, 3, 10), QTime(9, 0)),
                   .marked = true,
                   .dataFile = true}) {
        desktop.windows.screen = QGuiApplication::primaryScreen()->geometry();
    }
    qint64 addCapture() {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        return CaptureStore(context.paths.dataFile()).add(image);
    }
    std::unique_ptr<ScreenCapture> open() { return showPage<ScreenCapture>(800, 560); }
    QList<FakeDialogs::Shown>& messages() { return desktop.dialogs.messages; }
};

} // namespace

class CaptureTranslationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The page, the frozen screen and its box of choices speak the user's language.
    void everyShownTextIsTranslated() {
        Fixture fx;
        fx.addCapture();
        auto page = fx.open();
        QCOMPARE(M::unmarkedTexts(page.get()).join(u'\n'), QString());

        QImage screen(fx.desktop.windows.screen.size(), QImage::Format_RGB32);
        screen.fill(Qt::gray);
        fx.desktop.grabber.answer.image = screen;
        page->findChild<QPushButton*>("CaptureBtn")->click();
        page->startCapture();
        FullScreen* full = page->fullScreen();
        QVERIFY(full && full->toolBox());
        QCOMPARE(full->windowTitle(), M::marked("Screen Capture"));
        QCOMPARE(M::unmarkedTexts(full).join(u'\n'), QString());
        QCOMPARE(M::unmarkedTexts(full->toolBox()).join(u'\n'), QString());
        full->toolBox()->reject();
        QTRY_VERIFY(!page->fullScreen());
    }

    // A new capture is stored under its English default title: the data file holds the
    // same text whatever language took the picture.
    void storedTitleStaysEnglish() {
        Fixture fx;
        fx.addCapture();
        std::vector<CaptureItem> items;
        QVERIFY(CaptureStore(fx.context.paths.dataFile()).list(items));
        QCOMPARE(items.size(), std::size_t(1));
        QCOMPARE(items[0].title, "New Screen Image");
        QCOMPARE(items[0].title, CaptureStore::NewTitle);
    }

    void messagesAreTranslated() {
        Fixture fx;
        fx.addCapture();
        auto page = fx.open();
        auto* list = page->findChild<QListWidget*>("DescLV");
        list->item(0)->setText(QStringLiteral("   "));
        QTRY_COMPARE(fx.messages().size(), 1);
        QCOMPARE(fx.messages().last().text,
                 M::marked("The description cannot be empty. Please type a few words for the "
                           "picture."));
        QCOMPARE(fx.messages().last().title, M::marked("Message"));

        page->findChild<QPushButton*>("DeleteCmd")->click(); // answered No
        QCOMPARE(fx.messages().size(), 2);
        QCOMPARE(fx.messages().last().text, M::marked(" Delete this captured image ?  "));
        QCOMPARE(fx.messages().last().title, M::marked("Confirm"));
        QCOMPARE(list->count(), 1);
    }

    void descriptorKeepsItsNames() {
        const MarkingTranslator translator;
        const ToolDescriptor d = captureDescriptor();
        QCOMPARE(d.id, "SCapture");
        QCOMPARE(d.commandName, "capture");
        QCOMPARE(d.caption, M::marked("Screen Capture"));
        QCOMPARE(d.accelerator, M::marked("&Screen Capture"));
    }
};

QTEST_MAIN(CaptureTranslationTest)
#include "tst_capturetranslation.moc"
