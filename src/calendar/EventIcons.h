// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QByteArray>
#include <QHash>
#include <QImage>

#include <array>

// The colour that icons of the calendar treat as transparent (&HC0C0C0).
inline constexpr QRgb IconMaskColour = 0xFFC0C0C0;

// A copy of `image` in which every pixel of colour `mask` (alpha ignored) is transparent.
QImage withMaskColour(const QImage& image, QRgb mask = IconMaskColour);

// A picture as stored in the Events table: PNG bytes (empty for a null image).
QByteArray toPng(const QImage& image);

// The holiday icon set HolidaysIL: 8 pictures of 32 x 32 pixels, our own artwork drawn by
// code. Picture 1 is also the default icon of an event without a picture of its own.
namespace HolidaysIL {
inline constexpr int Count = 8;
inline constexpr int Size = 32;
// Picture k (1 ... 8) as an image list holds it: opaque, on the mask colour &HC0C0C0.
// Any other k gives picture 1.
QImage raw(int k);
// Picture k with the mask colour made transparent, ready to draw.
QImage picture(int k);
// Picture k drawn for a square of `pixels` device pixels, with smooth see-through edges:
// what windows show, at any size and device pixel ratio.
QImage drawn(int k, int pixels);
} // namespace HolidaysIL

// The pictures the calendar draws for event rows, decoded once and kept by content, so a
// redraw decodes only pictures it has not seen before.
class EventIcons {
public:
    EventIcons();

    // HolidaysIL picture k (1 ... 8, anything else gives 1), transparent where masked.
    const QImage& holiday(int k) const;
    // The icon of `row` by EventRules::iconChoice, `pixels` square (device pixels), the
    // mask colour transparent. Holiday pictures are drawn for that size; stored pictures
    // are scaled smoothly. A stored picture that does not decode counts as no picture.
    QImage rowIcon(const EventRow& row, bool smallIcons, int pixels);

private:
    QImage scaledHoliday(int k, int pixels);
    QImage decoded(const QByteArray& png, int pixels);

    std::array<QImage, HolidaysIL::Count> m_pictures;
    QHash<int, QImage> m_scaledHolidays;
    QHash<int, QHash<QByteArray, QImage>> m_cache; // by size, then by stored bytes
};
