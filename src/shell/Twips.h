// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <cmath>

// Geometry kept in the data file and in window layouts is in twips, 1/1440 inch: 15 twips
// to a logical pixel. Conversions happen at the widget boundary, here and nowhere else.
namespace Twips {

inline constexpr int PerPixel = 15;

inline constexpr double toPixelsF(double twips) {
    return twips / PerPixel;
}
// Whole pixels, rounded to the nearest (halves away from zero).
inline int toPixels(double twips) {
    return int(std::lround(twips / PerPixel));
}
inline constexpr double fromPixels(double pixels) {
    return pixels * PerPixel;
}
inline QPoint toPixels(const QPointF& twips) {
    return {toPixels(twips.x()), toPixels(twips.y())};
}
inline QRect toPixels(const QRectF& twips) {
    return {toPixels(twips.left()), toPixels(twips.top()), toPixels(twips.width()),
            toPixels(twips.height())};
}

} // namespace Twips
