// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/ui/FullScreen.h"

#include "capture/ui/CaptureToolBox.h"
#include "platform/WindowSystem.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

FullScreen::FullScreen(WindowSystem& windows, Mode mode, const QRect& screen, const QImage& picture)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_windows(windows), m_mode(mode), m_screen(screen), m_picture(picture),
      m_selection(QRect(QPoint(0, 0), screen.size())) {
    setObjectName(QStringLiteral("FullScrn"));
    setWindowTitle(mode == Mode::Capture ? QStringLiteral("Screen Capture")
                                         : QStringLiteral("Captured picture"));
    setAccessibleName(mode == Mode::Capture
                          ? QStringLiteral("Frozen screen: drag to choose an area")
                          : QStringLiteral("Captured picture: click or press Esc to close"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    if (mode == Mode::Capture) {
        m_lined = CaptureRules::withGuideLines(m_picture);
        setCursor(Qt::CrossCursor);
    } else {
        setCursor(Qt::PointingHandCursor);
    }
    setGeometry(screen);
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
    p.drawImage(QPoint(0, 0), m_lined);
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
        m_box = new CaptureToolBox(m_screen, this);
        connect(m_box, &CaptureToolBox::chosen, this, &FullScreen::choose);
        connect(m_box, &CaptureToolBox::cancelled, this, [this] { finish({}); });
        m_windows.makeTopmost(m_box);
    }
    m_box->show();
    m_box->place();
    m_box->raise();
    m_box->activateWindow();
}

void FullScreen::choose(int choice) {
    const QRect area = choice == CaptureToolBox::FullScreen ? QRect(QPoint(0, 0), m_screen.size())
                                                            : m_selection.rect();
    finish(CaptureRules::capture(m_picture, area));
}

void FullScreen::finish(const QImage& capture) {
    if (m_finished)
        return;
    m_finished = true;
    if (m_box)
        m_box->hide();
    Q_EMIT finished(capture);
}
