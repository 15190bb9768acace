// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>

// Where the month view's parts sit, in twips, each relative to its container: the two
// frames in the window; the header picture, weekday strip and grid in CalFrame; the
// month buttons in the header picture; the buttons, search label and box in CmdFrame.
struct CalendarGeometry {
    QRectF calFrame;
    QRectF cmdFrame;
    QRectF calHeadImg;
    QRectF monthPrev; // MonthBtn index 0
    QRectF monthNext; // MonthBtn index 1
    QRectF wkDayPic;
    QRectF calPic;
    QRectF searchLb;
    QRectF searchTb;
    QRectF findCmd;
    QRectF editCmd;
    QRectF exportCmd;
    QRectF todayCmd;

    // The window before its first layout, with CalFrame collapsed to 1 x 1.
    static CalendarGeometry initial();
    // The smallest client area, in twips, at which layOut() keeps every button inside
    // CmdFrame and the grid tall enough for six readable weeks.
    static QSizeF minimumClient();

    // The layout step for a client area of CW x CH twips: CalFrame takes CW - 450 when CW
    // is above 450 and CH - 2460 when CH is at least 2460; CmdFrame goes 150 below it at
    // its width; "Go Today" is right-aligned 60 inside CmdFrame but never left of 7035, with
    // "Export Events" 1470 to its left ("Edit Events..." another 1470 left); the header
    // takes the frame width less 60 with the next-month button right-aligned 60 inside it;
    // the weekday strip and the grid take the header's width, and the grid's height is the
    // frame height less its top less 30 when that is positive.
    void layOut(double CW, double CH);
};
