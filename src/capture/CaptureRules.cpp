// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/CaptureRules.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>

namespace CaptureRules {

QString titleRefused() {
    return QCoreApplication::translate("CaptureRules", "Please enter a shorter description!");
}

QString titleEmpty() {
    return QCoreApplication::translate(
        "CaptureRules",
        "The description cannot be empty. Please type a few words for the picture.");
}

QString deleteQuestion() {
    return QCoreApplication::translate("CaptureRules", " Delete this captured image ?  ");
}

std::optional<QString> acceptTitle(const QString& typed) {
    qsizetype end = typed.size();
    while (end > 0 && typed.at(end - 1).isSpace())
        --end;
    const QString title = typed.left(end);
    // Characters as the user sees them: a pair of UTF-16 halves counts once.
    const qsizetype length = title.toUcs4().size();
    if (length < 1 || length > MaxTitleLength)
        return std::nullopt;
    return title;
}

int selectionAfterDelete(int deleted, int remaining) {
    if (remaining <= 0)
        return -1;
    return qBound(0, deleted, remaining - 1);
}

Commands commands(int rows, bool printerInstalled) {
    Commands c;
    c.imageArea = rows > 0;
    c.fullScreen = c.copy = c.remove = c.imageArea;
    c.print = c.imageArea && printerInstalled;
    return c;
}

QPageLayout::Orientation printOrientation(const QSize& picture) {
    return picture.width() > LandscapeAbove ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QPoint releasedPreview(const QPoint& topLeft, const QSize& picture, const QSize& area) {
    QPoint p = topLeft;
    if (p.x() >= area.width() || p.x() <= -picture.width())
        p.setX(PreviewMargin);
    if (p.y() >= area.height() || p.y() <= -picture.height())
        p.setY(PreviewMargin);
    return p;
}

QImage withGuideLines(const QImage& screen) {
    QImage lined = screen.copy();
    if (lined.isNull())
        return lined;
    // Drawn in device pixels, one pixel thick, every 30 logical pixels.
    const qreal ratio = lined.devicePixelRatio();
    lined.setDevicePixelRatio(1.0);
    {
        QPainter painter(&lined);
        for (int k = 0;; ++k) {
            const int y = qRound(k * GuideSpacing * ratio);
            if (y >= lined.height())
                break;
            painter.fillRect(0, y, lined.width(), 1, Qt::black);
        }
    }
    lined.setDevicePixelRatio(ratio);
    return lined;
}

QImage capture(const QImage& screen, const QRect& area) {
    const qreal ratio = screen.devicePixelRatio();
    const QRect device(QPoint(qRound(area.x() * ratio), qRound(area.y() * ratio)),
                       QSize(qRound(area.width() * ratio), qRound(area.height() * ratio)));
    const QRect part = device.intersected(screen.rect());
    if (part.isEmpty())
        return {};
    QImage out = screen.copy(part);
    out.setDevicePixelRatio(1.0);
    return out;
}

QRect picturePart(const QList<ScreenGrab::Screen>& screens, const QRect& area) {
    QRect part;
    for (const ScreenGrab::Screen& s : screens) {
        const QRect shared = area & s.logical;
        if (shared.isEmpty() || s.logical.isEmpty())
            continue;
        const qreal sx = s.picture.width() / qreal(s.logical.width());
        const qreal sy = s.picture.height() / qreal(s.logical.height());
        const QPoint from = shared.topLeft() - s.logical.topLeft();
        const QPoint to = shared.bottomRight() + QPoint(1, 1) - s.logical.topLeft();
        part |= QRect(
            QPoint(s.picture.x() + qRound(from.x() * sx), s.picture.y() + qRound(from.y() * sy)),
            QPoint(s.picture.x() + qRound(to.x() * sx) - 1,
                   s.picture.y() + qRound(to.y() * sy) - 1));
    }
    return part;
}

int screenAt(const QList<ScreenGrab::Screen>& screens, const QPoint& point) {
    int nearest = -1;
    qint64 best = 0;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect& r = screens.at(i).logical;
        if (r.contains(point))
            return i;
        const qint64 dx = std::max({r.left() - point.x(), 0, point.x() - r.right()});
        const qint64 dy = std::max({r.top() - point.y(), 0, point.y() - r.bottom()});
        if (nearest < 0 || dx * dx + dy * dy < best) {
            nearest = i;
            best = dx * dx + dy * dy;
        }
    }
    return nearest;
}

std::optional<Cover> cover(const QList<ScreenGrab::Screen>& screens, const QSize& picture) {
    if (screens.isEmpty())
        return std::nullopt;
    // A monitor's top left corner is the same in logical and device pixels, so each one
    // tells where the picture's first pixel lies on the desktop; they must agree.
    const QPoint origin = screens.first().logical.topLeft() - screens.first().picture.topLeft();
    for (const ScreenGrab::Screen& s : screens)
        if (s.logical.isEmpty() || s.logical.topLeft() - s.picture.topLeft() != origin)
            return std::nullopt;
    for (const ScreenGrab::Screen& s : screens) {
        const qreal scale = s.picture.width() / qreal(s.logical.width());
        const QPoint at = s.logical.topLeft();
        const QRect geometry(at + QPoint(qRound((origin.x() - at.x()) / scale),
                                         qRound((origin.y() - at.y()) / scale)),
                             (QSizeF(picture) / scale).toSize());
        // The screen such a window is put on: the one holding its centre, else the last one
        // it reaches into.
        const ScreenGrab::Screen* home = nullptr;
        for (const ScreenGrab::Screen& t : screens) {
            if (t.logical.contains(geometry.center())) {
                home = &t;
                break;
            }
            if (t.logical.intersects(geometry))
                home = &t;
        }
        if (home == &s)
            return Cover{geometry, scale};
    }
    return std::nullopt;
}

QPoint centred(const QRect& outer, const QSize& inner) {
    return outer.topLeft() +
           QPoint((outer.width() - inner.width()) / 2, (outer.height() - inner.height()) / 2);
}

QPoint toolBoxPosition(const QRect& screen, const QSize& box) {
    return QPoint(screen.x() + (screen.width() - box.width()) / 2,
                  screen.y() + screen.height() - box.height());
}

Selection::Selection(const QRect& screen, const QRect& home)
    : m_screen(screen),
      m_rect(QRect(centred(home.isEmpty() ? screen : home, initialSize()), initialSize())
                 .intersected(home.isEmpty() ? screen : home)),
      m_start(m_rect.topLeft()) {}

void Selection::press(const QPoint& at) {
    m_start = at;
}

QRect Selection::band(const QPoint& at) const {
    return QRect(QPoint(qMin(m_start.x(), at.x()), qMin(m_start.y(), at.y())),
                 QSize(qAbs(at.x() - m_start.x()), qAbs(at.y() - m_start.y())));
}

void Selection::release(const QPoint& at) {
    const QRect r = band(at).intersected(m_screen);
    if (!r.isEmpty())
        m_rect = r;
}

} // namespace CaptureRules
