// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include "platform/ScreenGrabber.h"

#include <optional>

// The screen capture's rules apart from its windows: titles, the list after a delete, the
// commands' states, printing, panning the preview, and the region chosen on the frozen
// screen. Sizes and positions are in logical pixels unless said otherwise.
namespace CaptureRules {

constexpr int MaxTitleLength = 50;
constexpr int PreviewMargin = 8; // the preview's place inside the viewing area
constexpr int GuideSpacing = 30; // rows between the guide lines on the frozen screen
constexpr int LandscapeAbove = 640;

// Shown, titled "Message", when a typed title is refused.
QString titleRefused();   // "Please enter a shorter description!"
QString titleEmpty();     // a title of blanks only
QString deleteQuestion(); // " Delete this captured image ?  ", titled "Confirm"

// A typed title without its trailing blanks, when 1 to 50 characters remain; nothing when
// the title must be refused (the list then keeps its former text). Leading blanks stay.
std::optional<QString> acceptTitle(const QString& typed);

// The list position to select after deleting position `deleted` when `remaining` rows are
// left: the same position, or the new last one; -1 when the list is empty.
int selectionAfterDelete(int deleted, int remaining);

// What the capture window offers for a store of `rows` captures.
struct Commands {
    bool imageArea = false; // the viewing area is shown
    bool fullScreen = false;
    bool copy = false;
    bool remove = false;
    bool print = false;
};
Commands commands(int rows, bool printerInstalled);

// Wide pictures print across the page.
QPageLayout::Orientation printOrientation(const QSize& picture);

// Where the preview goes when the user lets go of it at `topLeft`: an axis on which it lies
// wholly outside the viewing area snaps back to the margin.
QPoint releasedPreview(const QPoint& topLeft, const QSize& picture, const QSize& area);

// A copy of the frozen screen with a black line across it every 30 pixels, from the top
// row; `screen` itself stays clean.
QImage withGuideLines(const QImage& screen);

// The capture of `area` (logical pixels) of the frozen screen, in the screen's device
// pixels; the part of `area` outside the screen is left out.
QImage capture(const QImage& screen, const QRect& area);

// The pixels of a desktop picture that show `area` (logical pixels, in the coordinates of
// `screens`): each monitor's share of the area at that monitor's own pixels, joined into one
// rectangle, so an area across a monitor's edge is taken whole. Empty when the area lies
// on no monitor.
QRect picturePart(const QList<ScreenGrab::Screen>& screens, const QRect& area);
// The monitor whose logical geometry holds `point`, else the nearest one; -1 for none.
int screenAt(const QList<ScreenGrab::Screen>& screens, const QPoint& point);

// Where a window must stand (logical pixels, desktop coordinates) to cover a picture of the
// whole desktop pixel for pixel, and the scale it then has: a window takes the scale of the
// screen its centre lies on, and spreads over the desktop at that one scale. Nothing when
// the picture's monitors do not lie where the desktop puts them (a portal's picture).
struct Cover {
    QRect geometry;
    qreal scale = 1.0;
};
std::optional<Cover> cover(const QList<ScreenGrab::Screen>& screens, const QSize& picture);

// Centres `inner` in `outer`: the viewer's image on the screen.
QPoint centred(const QRect& outer, const QSize& inner);
// The capture dialog's place: centred at the bottom of the screen.
QPoint toolBoxPosition(const QRect& screen, const QSize& box);

// The region the user drags out on the frozen screen. It starts as a rectangle centred on
// the screen, so "Selected Area" without a drag still captures a sensible area.
class Selection {
public:
    // `screen` bounds the selection; the first one is centred in `home` (the whole of
    // `screen` when empty).
    explicit Selection(const QRect& screen, const QRect& home = {});

    void press(const QPoint& at);
    // The rubber band from the press to the pointer, in either direction.
    QRect band(const QPoint& at) const;
    // The band becomes the selection; a click without a drag (no width or height) keeps the
    // selection as it was rather than making it empty.
    void release(const QPoint& at);

    const QRect& rect() const { return m_rect; }
    static QSize initialSize() { return {640, 480}; }

private:
    QRect m_screen;
    QRect m_rect;
    QPoint m_start;
};

} // namespace CaptureRules
