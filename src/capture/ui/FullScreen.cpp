// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/ui/FullScreen.h"

#include "capture/ui/CaptureToolBox.h"
#include "platform/WindowSystem.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

FullScreen::FullScreen(WindowSystem& windows, Mode mode, const QRect& screen, const QImage& picture,
                       const QList<ScreenGrab::Screen>& screens)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_windows(windows), m_mode(mode), m_screen(screen), m_picture(picture), m_screens(screens),
      m_selection(QRect(QPoint(0, 0), screen.size())) {
    if (m_screens.size() > 1) {
        // Over several monitors, at one scale, each device pixel of the picture on its own.
        if (const std::optional<CaptureRules::Cover> c =
                CaptureRules::cover(m_screens, m_picture.size())) {
            m_screen = c->geometry;
            m_scale = c->scale;
        }
    }
    // The first area lies on the monitor under the pointer, never across an edge.
    const int home = screenUnderCursor();
    m_selection = CaptureRules::Selection(QRect(QPoint(0, 0), m_screen.size()),
                                          home < 0 ? QRect() : inWindow(m_screens.at(home)));
    setObjectName(QStringLiteral("FullScrn"));
    setWindowTitle(mode == Mode::Capture ? tr("Screen Capture") : tr("Captured picture"));
    setAccessibleName(mode == Mode::Capture ? tr("Frozen screen: drag to choose an area")
                                            : tr("Captured picture: click or press Esc to close"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    if (mode == Mode::Capture) {
        m_lined = CaptureRules::withGuideLines(m_picture);
        if (m_scale > 0)
            m_lined.setDevicePixelRatio(m_scale);
        setCursor(Qt::CrossCursor);
    } else {
        setCursor(Qt::PointingHandCursor);
    }
    setGeometry(m_screen);
    m_windows.makeTopmost(this);
}

FullScreen::~FullScreen() {
    // The box is a child window; make sure nobody hears from it once the capture is gone.
    if (m_box)
        m_box->disconnect(this);
}

void FullScreen::open() {
    if (m_mode == Mode::View)
        setWindowModality(Qt::ApplicationModal);
    setGeometry(m_screen);
    // A window the window manager makes full screen covers one monitor; the frozen desktop
    // covers them all at the place asked for.
    if (m_screens.size() > 1)
        show();
    else
        showFullScreen();
    raise();
    activateWindow();
    // The box comes up after the frozen screen is raised, so it is on top from its first
    // frame.
    if (m_mode == Mode::Capture)
        showToolBox();
}

QRect FullScreen::pictureRect() const {
    const QSize size = (QSizeF(m_picture.size()) / devicePixelRatioF()).toSize();
    return QRect(CaptureRules::centred(rect(), size), size);
}

void FullScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_mode == Mode::View) {
        p.fillRect(rect(), Qt::black);
        QImage shown = m_picture;
        shown.setDevicePixelRatio(devicePixelRatioF());
        p.drawImage(pictureRect().topLeft(), shown);
        return;
    }
    if (m_screens.size() < 2 || m_scale > 0) {
        p.drawImage(QPoint(0, 0), m_lined);
    } else {
        // Each monitor's part where the desktop puts it; what lies between them stays black.
        p.fillRect(rect(), Qt::black);
        for (const ScreenGrab::Screen& s : std::as_const(m_screens))
            p.drawImage(inWindow(s), m_lined, s.picture);
    }
    if (!m_band.isEmpty()) {
        // One logical pixel wide, so it stays as visible on a dense screen.
        p.setPen(QPen(Qt::yellow, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m_band.adjusted(0, 0, -1, -1));
    }
}

void FullScreen::mousePressEvent(QMouseEvent* event) {
    if (m_mode == Mode::View) {
        close();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    m_selection.press(event->position().toPoint());
    // A click may raise the frozen screen; the box stays above it through the drag.
    if (CaptureToolBox* box = m_box.data(); box && !box->isHidden())
        box->raise();
}

void FullScreen::mouseMoveEvent(QMouseEvent* event) {
    if (m_mode != Mode::Capture || !m_pressed || !(event->buttons() & Qt::LeftButton))
        return;
    m_band = m_selection.band(event->position().toPoint());
    update();
}

void FullScreen::mouseReleaseEvent(QMouseEvent* event) {
    if (m_mode != Mode::Capture || !m_pressed || event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    const QPoint at = event->position().toPoint();
    // A click without a drag keeps the area and the outline as they were.
    if (!m_selection.band(at).isEmpty()) {
        m_selection.release(at);
        m_band = m_selection.rect();
        update();
        // The box comes to the monitor where the drag ended.
        if (m_box)
            m_box->setScreen(monitor(screenUnder(at)));
        showToolBox();
        // Return now keeps the area just chosen.
        m_box->setDefaultChoice(CaptureToolBox::SelectedArea);
        return;
    }
    showToolBox();
}

void FullScreen::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (m_mode == Mode::View) {
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter ||
            key == Qt::Key_Space)
            close();
        return;
    }
    if (key == Qt::Key_Escape)
        finish({});
    else
        showToolBox(); // the choices are there, never out of reach
}

void FullScreen::closeEvent(QCloseEvent* event) {
    // Closed by the desktop in the middle of a capture: as "Cancel Capture".
    if (m_mode == Mode::Capture)
        finish({});
    else
        Q_EMIT viewClosed();
    event->accept();
}

void FullScreen::showToolBox() {
    if (m_finished)
        return;
    if (!m_box) {
        m_box = new CaptureToolBox(monitor(screenUnderCursor()), this);
        connect(m_box, &CaptureToolBox::chosen, this, &FullScreen::choose);
        connect(m_box, &CaptureToolBox::cancelled, this, [this] { finish({}); });
        m_windows.makeTopmost(m_box);
    }
    m_box->show();
    m_box->place();
    m_box->raise();
    m_box->activateWindow();
}

int FullScreen::screenUnderCursor() const {
    return CaptureRules::screenAt(m_screens, m_windows.cursorPos());
}

int FullScreen::screenUnder(const QPoint& local) const {
    if (m_scale <= 0)
        return CaptureRules::screenAt(m_screens, local + m_screen.topLeft());
    // Where the point's pixel lies in the picture.
    QList<ScreenGrab::Screen> inPicture = m_screens;
    for (ScreenGrab::Screen& s : inPicture)
        s.logical = s.picture;
    return CaptureRules::screenAt(inPicture, (QPointF(local) * m_scale).toPoint());
}

QRect FullScreen::monitor(int index) const {
    return index < 0 ? m_screen : m_screens.at(index).logical;
}

QRect FullScreen::inWindow(const ScreenGrab::Screen& screen) const {
    if (m_scale <= 0)
        return screen.logical.translated(-m_screen.topLeft());
    const QRectF r(QPointF(screen.picture.topLeft()) / m_scale,
                   QSizeF(screen.picture.size()) / m_scale);
    return r.toRect();
}

QImage FullScreen::pictureOf(const QRect& area) const {
    QRect part;
    if (m_screens.isEmpty())
        return CaptureRules::capture(m_picture, area);
    if (m_scale > 0)
        part = QRect(QPoint(qRound(area.x() * m_scale), qRound(area.y() * m_scale)),
                     QSize(qRound(area.width() * m_scale), qRound(area.height() * m_scale)));
    else
        part = CaptureRules::picturePart(m_screens, area.translated(m_screen.topLeft()));
    part = part.intersected(m_picture.rect());
    if (part.isEmpty())
        return {};
    QImage out = m_picture.copy(part);
    out.setDevicePixelRatio(1.0);
    return out;
}

void FullScreen::choose(int choice) {
    if (choice == CaptureToolBox::ThisMonitor && !m_screens.isEmpty()) {
        const int under = std::max(0, screenUnderCursor());
        QImage out = m_picture.copy(m_screens.at(under).picture);
        out.setDevicePixelRatio(1.0);
        finish(out);
        return;
    }
    finish(pictureOf(choice == CaptureToolBox::SelectedArea
                         ? m_selection.rect()
                         : QRect(QPoint(0, 0), m_screen.size())));
}

void FullScreen::finish(const QImage& capture) {
    if (m_finished)
        return;
    m_finished = true;
    if (m_box)
        m_box->hide();
    Q_EMIT finished(capture);
}
