// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/icons/IconFile.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

class AppPaths;

// The icon picker's rules, apart from its window: the grid's size, which file is loaded,
// and which picture a click hands to the event editor.
namespace IconPickRules {

inline constexpr int Columns = 8;
inline constexpr int CellTwips = 600;
inline constexpr int NarrowGridTwips = 4870; // up to 4 rows
inline constexpr int WideGridTwips = 5130;   // more rows: room for the scroll bar
inline constexpr int CancelInsetTwips = 660;
inline constexpr int VisibleRows = 4;
inline constexpr int PictureSide = 32;

// Rows for `icons` icons: 8 to a row, a last partial row counting as one.
int rowCount(int icons);
// The grid's width for that many rows.
int gridWidthTwips(int rows);
// The left edge of "Cancel": the grid's width less 660 twips.
int cancelLeftTwips(int gridWidthTwips);
// Where icon k (from 0) sits: x = column, y = row.
QPoint cellOf(int k);

// P + "/Icons/Default.icl" (looked up as a resource: P first, then beside the program).
QString defaultLibrary(const AppPaths& paths);
// True when `fileName` names the default library: empty, or the library's own path.
bool isDefaultLibrary(const QString& fileName, const AppPaths& paths);

// An icon as the grid shows it and the editor stores it: its picture for 32 x 32 pixels,
// scaled to that size, opaque where it is at least half covered and the mask colour
// &HC0C0C0 elsewhere (a drawn pixel of exactly that colour is nudged off it).
QImage cellPicture(const IconGroup& icon);

// The result of loadIcons.
struct Loaded {
    QString fileName;       // "" when the default library was loaded
    QList<QImage> pictures; // cellPicture of every icon, in the file's order
    // Each picture's name: the one the file gives it, the name of an .ico file, or
    // "Icon <its number>" (from 1). Text from a file: show it as plain text.
    QStringList names;
    bool notFound = false; // the chosen file had no icons: tell the user
};
// Loads `fileName` ("" for the default library); a file without icons gives way to the
// default library. A missing default library gives no pictures.
Loaded loadIcons(const QString& fileName, const AppPaths& paths);

// The picture a click on icon k hands to the editor: the editor's default event icon for
// the first icon of the default library, else the clicked icon's picture.
QImage pickedPicture(int k, bool defaultLibrary, const QImage& clicked, const QImage& defaultIcon);

// Where the picker starts: the index of `current` (an event's picture, as the editor holds
// it) among `loaded`'s pictures, the default event icon standing for the first icon of the
// default library; 0 when it is not there.
int startIndex(const Loaded& loaded, const QImage& current, const QImage& defaultIcon);

} // namespace IconPickRules

// What the picker remembers for its owner, the event editor: the folder of the file last
// chosen through " Icon Files". The editor owns one and hands it to every picker it opens,
// so the memory lasts as long as the editor.
class IconFolderMemory {
public:
    // Where the file dialog starts: the remembered folder, or P + "/Icons".
    QString initialFolder(const AppPaths& paths) const;
    // Remembers the folder of a chosen file.
    void remember(const QString& chosenFile);
    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
};
