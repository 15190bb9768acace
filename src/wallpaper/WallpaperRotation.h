// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The rule that picks the next desktop picture at start-up: whether a change is due for
// the user's option, and which image of the list to show.
namespace WallpaperRotation {

// The `WallOpt` codes.
enum Option { EveryWeek = 0, EveryDay = 1, EveryStart = 2, Never = 3 };

// A number r with 0 <= r < 1, uniformly distributed.
using RandomSource = std::function<double()>;
// The process-wide generator, seeded by the system.
RandomSource systemRandom();

struct Input {
    int option = Never;  // WallOpt
    QDate lastDay;       // WallLastDay; invalid when empty
    QString currentFile; // CurWall
    QStringList files;   // wpFile of every WPaper row, in table order
    QDate today;
};

struct Decision {
    QString file;    // the image to convert and apply (trimmed)
    QString curWall; // the new CurWall: the same file, even when it fails to load
    QDate lastDay;   // the new WallLastDay
};

// Whether the option asks for a change today. Weekly: more than six days since the last
// change, or a Sunday that is not the day of the last change. Daily: any other day than
// the last change. An unknown last day makes both false.
bool isChangeDue(int option, const QDate& lastDay, const QDate& today);

// Draws uniformly among the files that differ from `currentFile` (ignoring case and
// surrounding blanks); when none differs, among all of them. -1 for an empty list.
int drawIndex(const QStringList& files, const QString& currentFile, const RandomSource& random);

// The whole rule: nothing when the option is Never, the list is empty or no change is
// due, so the settings row is left unwritten.
std::optional<Decision> decide(const Input& input, const RandomSource& random);

} // namespace WallpaperRotation
