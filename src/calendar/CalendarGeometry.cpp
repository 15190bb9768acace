// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/CalendarGeometry.h"

#include <algorithm>

namespace {
constexpr double ButtonWidth = 1350;
constexpr double ButtonHeight = 375;
constexpr double MonthButton = 390;
constexpr double TodayMinLeft = 7035;
constexpr double MinWeekHeight = 330; // a day number and its margins
} // namespace

QSizeF CalendarGeometry::minimumClient() {
    const CalendarGeometry g = initial();
    const double frameWidth = TodayMinLeft + ButtonWidth + 60;
    const double frameHeight = g.calPic.top() + 6 * MinWeekHeight + 30;
    return {frameWidth + 450, frameHeight + 2460};
}

CalendarGeometry CalendarGeometry::initial() {
    CalendarGeometry g;
    g.calFrame = {225, 120, 1, 1};
    g.calHeadImg = {30, 30, 9840, 600};
    g.monthPrev = {60, 105, MonthButton, MonthButton};
    g.monthNext = {9840 - 60 - MonthButton, 105, MonthButton, MonthButton};
    g.wkDayPic = {30, 660, 9840, 300};
    g.calPic = {30, 960, 9840, 5400};
    g.cmdFrame = {225, 121 + 150, 9900, 1095};
    g.searchLb = {120, 180, 1500, 300};
    g.searchTb = {1680, 135, 2160, 345};
    g.findCmd = {3960, 120, 1215, ButtonHeight};
    g.todayCmd = {8490, 600, ButtonWidth, ButtonHeight};
    g.exportCmd = {8490 - 1470, 600, ButtonWidth, ButtonHeight};
    g.editCmd = {8490 - 2 * 1470, 600, ButtonWidth, ButtonHeight};
    return g;
}

void CalendarGeometry::layOut(double CW, double CH) {
    if (CW > 450)
        calFrame.setWidth(CW - 450);
    if (CH >= 2460)
        calFrame.setHeight(CH - 2460);

    cmdFrame.moveTop(calFrame.bottom() + 150);
    cmdFrame.setWidth(calFrame.width());
    todayCmd.moveLeft(std::max(TodayMinLeft, cmdFrame.width() - 60 - todayCmd.width()));
    exportCmd.moveLeft(todayCmd.left() - 1470);
    editCmd.moveLeft(exportCmd.left() - 1470);

    calHeadImg.setWidth(calFrame.width() - 60);
    monthNext.moveLeft(calHeadImg.width() - 60 - monthNext.width());
    wkDayPic.setWidth(calHeadImg.width());
    calPic.setWidth(calHeadImg.width());
    const double gridHeight = calFrame.height() - calPic.top() - 30;
    if (gridHeight > 0)
        calPic.setHeight(gridHeight);
}
