// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QRect>
#include <QString>

// One row of QNotes as the notes' rules see it. Geometry is in twips inside the Quick Notes
// window.
struct NoteRecord {
    qint64 id = 0;     // nID
    QRect geometry;    // nLeft, nTop, nWidth, nHeight
    QString content;   // RTF; null for a note never written
    int zOrder = 0;    // 1 is the front-most note
    QDate created;     // CDate
    int frequency = 0; // FiringRules::Frequency
    QDateTime due;     // SchDT; invalid when empty
};
