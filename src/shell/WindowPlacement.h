// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QString>

struct Settings;
class SettingsStore;

// The main window's remembered placement (in twips) and whether it was maximised. The rules
// of opening and closing are here, apart from widgets.
namespace WindowPlacement {

struct Stored {
    double left = 0; // twips
    double top = 0;
    double width = 0;
    double height = 0;
    bool maximised = false;
};

struct Opening {
    QRect geometry; // pixels: position of the frame, size of the window
    bool maximised = false;
    // The placement had to be changed to fit the screen (it is not the stored one).
    bool fitted = false;
};

// One screen of the desktop: whole, and without its panels.
struct Screen {
    QRect geometry;
    QRect available;
};

Stored read(const Settings& settings);

// Where the window opens. A stored size of 0 keeps the default size. The frame (`frame`
// around the client area) then lies wholly inside the available area of a screen: the one
// it overlaps most, or the nearest one when its screen is gone (ScreenFit), keeping the
// stored size when it fits. So after a change of scale or of display it never reaches
// under a panel or off the screen.
Opening onOpen(const Stored& stored, QSize defaultSize, const QList<Screen>& screens,
               const QMargins& frame = {});

// What to store when the window closes. Only a window in its normal state records its
// geometry, so a maximised or minimised close keeps the last normal placement. A window
// that had to be fitted to its screen when it opened records it only once the user moved
// or resized it, so a placement fitted to a smaller screen never replaces the one the user
// chose: `fittedTo` is the geometry it was fitted to, null when it opened as stored. The
// maximised mark is written in every state.
void onClose(Settings& settings, const QRect& geometry, const QRect& fittedTo, bool minimised,
             bool maximised);

// Read and write through the settings' store, one operation each. load() gives the defaults
// (default size, not maximised) when the file or its row cannot be read.
Stored load(const SettingsStore& store);
bool save(const SettingsStore& store, const QRect& geometry, const QRect& fittedTo, bool minimised,
          bool maximised);

} // namespace WindowPlacement
