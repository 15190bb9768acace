#pragma once

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QVariant>

class SystemRow;

// The main window's remembered placement: winLeft, winTop, winWidth, winHeight (twips) and
// winMax in the System row. The rules of opening and closing are here, apart from widgets.
namespace WindowPlacement {

inline constexpr int TwipsPerPixel = 15;

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

Stored read(const SystemRow& row);

// Where the window opens. A stored size of 0 keeps the design size; a window that would
// lie beyond the desktop opens at the top-left of `screen`, as large as it.
Opening onOpen(const Stored& stored, QSize designSize, const QRect& desktop, const QRect& screen);

// The columns to write when the window closes. Only a window in its normal state records
// its geometry, so a maximised or minimised close keeps the last normal placement;
// winMax (-1 true, 0 false) is written in every state.
QList<QPair<QString, QVariant>> onClose(const QRect& geometry, bool minimised, bool maximised);

// Read and write through data.plm, one operation each. load() gives the defaults (design
// size, not maximised) when the file or its row cannot be read.
Stored load(const QString& dataFile);
bool save(const QString& dataFile, const QList<QPair<QString, QVariant>>& columns);

} // namespace WindowPlacement
