// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/PrivateBus.h"
#include "platform/LinuxScreenGrabber.h"
#include "platform/ScreenPortal.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <optional>

// A stand-in for the desktop portal's Screenshot interface on a bus of the test's own. It
// answers each request on the request object the caller's token names, after the method's
// reply as real portals do, or before it.
class FakeScreenshotPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    uint response = 0;
    QString uri;
    bool answerBeforeReply = false;
    QList<QVariantMap> requests;

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options) {
        requests << options;
        QString sender = message().service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender +
                             u'/' + options.value(QStringLiteral("handle_token")).toString();
        QDBusMessage signal = QDBusMessage::createSignal(
            path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << response << QVariantMap{{QStringLiteral("uri"), uri}};
        QDBusConnection bus = connection();
        if (answerBeforeReply)
            bus.send(signal);
        else
            QTimer::singleShot(0, this, [bus, signal]() mutable { bus.send(signal); });
        return QDBusObjectPath(path);
    }
};

class TestScreenGrab : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    PrivateBus m_bus;
    QString m_address;

    struct Answer {
        QImage picture;
        QString error;
    };
    Answer ask(const QDBusConnection& client) {
        std::optional<Answer> answer;
        ScreenPortal::request(client, [&](const QImage& picture, const QString& error) {
            QVERIFY(!answer); // exactly once
            answer = Answer{picture, error};
        });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 10000); }();
        return answer.value_or(Answer{});
    }

private Q_SLOTS:
    void initTestCase() {
        if (!PrivateBus::available())
            QSKIP("dbus-daemon is not installed");
        QVERIFY(m_bus.start());
        m_address = m_bus.address();
    }
    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        m_bus.stop();
    }

    void portal_data() {
        QTest::addColumn<uint>("response");
        QTest::addColumn<QString>("file"); // "" for none
        QTest::addColumn<bool>("beforeReply");
        QTest::addColumn<QString>("error"); // "" when the picture comes
        QTest::newRow("picture") << 0u << "shot.png" << false << "";
        QTest::newRow("answer before the reply") << 0u << "shot.png" << true << "";
        QTest::newRow("cancelled") << 1u << "" << false << "cancelled";
        QTest::newRow("refused") << 2u << "" << false << "refused";
        QTest::newRow("unreadable file") << 0u << "missing.png" << false << "cannot be read";
    }
    void portal() {
        QFETCH(uint, response);
        QFETCH(QString, file);
        QFETCH(bool, beforeReply);
        QFETCH(QString, error);
        QImage shot(64, 48, QImage::Format_RGB32);
        shot.fill(qRgb(10, 120, 200));
        QVERIFY(shot.save(m_dir.filePath(QStringLiteral("shot.png"))));

        FakeScreenshotPortal portal;
        portal.response = response;
        portal.answerBeforeReply = beforeReply;
        if (!file.isEmpty())
            portal.uri = QUrl::fromLocalFile(m_dir.filePath(file)).toString();
        QDBusConnection server = QDBusConnection::connectToBus(m_address, QStringLiteral("portal"));
        QVERIFY(server.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                      QDBusConnection::ExportAllSlots));
        QVERIFY(server.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        const auto unregister = qScopeGuard([&] {
            server.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
            server.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
        });

        const Answer answer =
            ask(QDBusConnection::connectToBus(m_address, QStringLiteral("client")));
        QCOMPARE(portal.requests.size(), 1);
        QCOMPARE(portal.requests[0].value(QStringLiteral("interactive")), QVariant(false));
        QVERIFY(answer.error.contains(error));
        QCOMPARE(answer.picture.isNull(), !error.isEmpty());
        if (error.isEmpty())
            QCOMPARE(answer.picture.convertToFormat(QImage::Format_RGB32), shot);
        // The file made for this request is gone once read; none is left in the user's folders.
        QCOMPARE(QFile::exists(m_dir.filePath(QStringLiteral("shot.png"))),
                 !(file == QLatin1String("shot.png") && error.isEmpty()));
    }

    // No portal on the bus, or no bus at all: a failure with its reason, never silence.
    void noPortal() {
        const Answer missing =
            ask(QDBusConnection::connectToBus(m_address, QStringLiteral("client")));
        QVERIFY(missing.picture.isNull());
        QVERIFY(missing.error.contains(QStringLiteral("refused")));
        const Answer noBus = ask(QDBusConnection::connectToBus(
            QStringLiteral("unix:path=") + m_dir.filePath("none"), QStringLiteral("nowhere")));
        QVERIFY(noBus.picture.isNull());
        QVERIFY(noBus.error.contains(QStringLiteral("no session bus")));
        QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
    }

    // A picture of the whole desktop cut down to one screen, in device pixels.
    void screenPart_data() {
        QTest::addColumn<QRect>("desktop");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QRect>("part");
        QTest::newRow("double density")
            << QRect(0, 0, 700, 300) << QRect(400, 0, 300, 200) << 2.0 << QRect(800, 0, 600, 400);
        QTest::newRow("desktop left of zero")
            << QRect(-300, 0, 700, 300) << QRect(0, 0, 400, 300) << 1.0 << QRect(300, 0, 400, 300);
    }
    void screenPart() {
        QFETCH(QRect, desktop);
        QFETCH(QRect, screen);
        QFETCH(qreal, ratio);
        QFETCH(QRect, part);
        QImage whole(desktop.size() * ratio, QImage::Format_RGB32);
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                whole.setPixel(x, y, qRgb(x % 256, y % 256, x / 256));
        const QImage cut = LinuxScreenGrabber::screenPart(whole, desktop, screen);
        QCOMPARE(cut.devicePixelRatio(), ratio);
        QImage expected = whole.copy(part);
        expected.setDevicePixelRatio(ratio);
        QCOMPARE(cut, expected);
    }

    // Two monitors, the right one scaled 1.5 and shorter: the desktop picture is the sum of
    // their device pixels, each monitor's where the desktop puts it, the rest black.
    void composeTheDesktop() {
        QImage left(1920, 1080, QImage::Format_RGB32);
        left.fill(Qt::red);
        QImage right(1920, 900, QImage::Format_RGB32);
        right.fill(Qt::blue);
        right.setDevicePixelRatio(1.5);
        const ScreenGrab grab = LinuxScreenGrabber::compose(
            {{QRect(0, 0, 1920, 1080), left}, {QRect(1920, 0, 1280, 600), right}});
        QCOMPARE(grab.image.size(), QSize(3840, 1080));
        QCOMPARE(grab.image.devicePixelRatio(), 1.0);
        QCOMPARE(grab.image.pixel(1919, 500), qRgb(255, 0, 0));
        QCOMPARE(grab.image.pixel(1920, 500), qRgb(0, 0, 255));
        QCOMPARE(grab.image.pixel(3000, 1000), qRgb(0, 0, 0));
        QCOMPARE(grab.screens.size(), 2);
        QCOMPARE(grab.screens.at(1).logical, QRect(1920, 0, 1280, 600));
        QCOMPARE(grab.screens.at(1).picture, QRect(1920, 0, 1920, 900));

        // Monitors of one scale keep it; a desktop left of zero starts the picture there.
        left.setDevicePixelRatio(2);
        right = QImage(400, 400, QImage::Format_RGB32);
        right.fill(Qt::green);
        right.setDevicePixelRatio(2);
        const ScreenGrab doubled = LinuxScreenGrabber::compose(
            {{QRect(-200, 0, 200, 200), right}, {QRect(0, 0, 960, 540), left}});
        QCOMPARE(doubled.image.size(), QSize(200 + 1920, 1080));
        QCOMPARE(doubled.image.devicePixelRatio(), 2.0);
        QCOMPARE(doubled.screens.at(1).picture, QRect(200, 0, 1920, 1080));
        QCOMPARE(doubled.image.pixel(0, 0), qRgb(0, 255, 0));
    }

    // The portal's one picture of every output, with the monitors laid over it.
    void portalPictureOfTheDesktop() {
        QImage whole(2 * 3840, 2 * 1080, QImage::Format_RGB32);
        const ScreenGrab grab = LinuxScreenGrabber::desktopPicture(
            whole, {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)});
        QCOMPARE(grab.image.devicePixelRatio(), 2.0);
        QCOMPARE(grab.screens.at(1).picture, QRect(3840, 0, 3840, 2160));
    }
};

QTEST_GUILESS_MAIN(TestScreenGrab)
#include "tst_screengrab.moc"
