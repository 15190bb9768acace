// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/ui/CapturePreview.h"

#include "capture/CaptureRules.h"
#include "shell/ui/ArrowKeys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace {

// Draws the preview's picture for the screen's pixel density.
class PicturePane : public QWidget {
public:
    explicit PicturePane(const QImage& picture, QWidget* parent)
        : QWidget(parent), m_picture(picture) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QImage shown = m_picture;
        shown.setDevicePixelRatio(devicePixelRatioF());
        QPainter p(this);
        p.drawImage(QPoint(0, 0), shown);
        if (hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.drawRect(rect().adjusted(1, 1, -1, -1));
        }
    }

private:
    const QImage& m_picture;
};

constexpr int KeyStep = 24;

} // namespace

CapturePreview::CapturePreview(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("BackPic"));
    setAccessibleName(tr("Picture viewer"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(64, 64, 64));
    pal.setColor(QPalette::WindowText, QColor(230, 230, 230));
    setPalette(pal);

    m_pane = new PicturePane(m_picture, this);
    m_pane->setObjectName(QStringLiteral("PreviewPic"));
    m_pane->setAccessibleName(tr("Captured picture"));
    m_pane->setAccessibleDescription(
        tr("Drag it or use the arrow keys to move it; Home puts it back."));
    m_pane->setFocusPolicy(Qt::StrongFocus);
    m_pane->setCursor(Qt::OpenHandCursor);
    m_pane->installEventFilter(this);
    m_pane->hide();

    m_unreadable = new QLabel(tr("This picture cannot be read."), this);
    m_unreadable->setObjectName(QStringLiteral("UnreadableLb"));
    m_unreadable->move(CaptureRules::PreviewMargin, CaptureRules::PreviewMargin);
    m_unreadable->adjustSize();
    m_unreadable->hide();
}

void CapturePreview::setPicture(const QImage& picture) {
    m_picture = picture;
    m_unreadable->setVisible(picture.isNull());
    m_pane->setVisible(!picture.isNull());
    fitPaneToPicture();
    placeAtMargin();
    m_pane->update();
}

void CapturePreview::fitPaneToPicture() {
    const qreal ratio = devicePixelRatioF();
    m_pane->resize(qCeil(m_picture.width() / ratio), qCeil(m_picture.height() / ratio));
}

void CapturePreview::placeAtMargin() {
    m_pane->move(CaptureRules::PreviewMargin, CaptureRules::PreviewMargin);
}

void CapturePreview::keepInSight() {
    m_pane->move(CaptureRules::releasedPreview(m_pane->pos(), m_pane->size(), size()));
}

bool CapturePreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_pane)
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            break;
        m_dragging = true;
        m_dragFrom = e->globalPosition().toPoint();
        m_paneFrom = m_pane->pos();
        m_pane->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!m_dragging)
            break;
        m_pane->move(m_paneFrom + e->globalPosition().toPoint() - m_dragFrom);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!m_dragging || e->button() != Qt::LeftButton)
            break;
        m_dragging = false;
        keepInSight();
        m_pane->setCursor(Qt::OpenHandCursor);
        return true;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->key() == Qt::Key_Home) {
            placeAtMargin();
            return true;
        }
        const std::optional<QPoint> step = arrowKeyStep(e->key(), KeyStep);
        if (!step)
            return false;
        m_pane->move(m_pane->pos() + *step);
        keepInSight();
        return true;
    }
    case QEvent::ScreenChangeInternal:
        fitPaneToPicture();
        break;
    default:
        break;
    }
    return false;
}
