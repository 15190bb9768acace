#pragma once

#include <QRect>
#include <QString>

struct Settings;

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
};

Stored read(const Settings& settings);

// Where the window opens. A stored size of 0 keeps the default size; a window that would
// lie beyond the desktop opens at the top-left of `screen`, as large as it.
Opening onOpen(const Stored& stored, QSize defaultSize, const QRect& desktop, const QRect& screen);

// What to store when the window closes. Only a window in its normal state records its
// geometry, so a maximised or minimised close keeps the last normal placement; the
// maximised mark is written in every state.
void onClose(Settings& settings, const QRect& geometry, bool minimised, bool maximised);

// Read and write through data.plm, one operation each. load() gives the defaults (default
// size, not maximised) when the file or its row cannot be read.
Stored load(const QString& dataFile);
bool save(const QString& dataFile, const QRect& geometry, bool minimised, bool maximised);

} // namespace WindowPlacement
