// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteGeometry.h"

#include "base/LocaleFormats.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace NoteGeometry {

Layout layout(QSize card, int arrowHeight) {
    Layout l;
    l.text = QRect(80, 250, card.width() - 250, card.height() - 350);
    const int arrowLeft = l.text.width() + 100;
    l.upArrow = QPoint(arrowLeft, l.text.top() + (l.text.height() - 600) / 2);
    l.downArrow = QPoint(arrowLeft, l.upArrow.y() + arrowHeight + 200);
    l.mark = QPoint(80, -60);
    return l;
}

Decoration decoration(QSize card) {
    const int w = card.width();
    const int h = card.height();
    Decoration d;
    d.border = QRect(QPoint(0, 0), QPoint(w - 10, h - 10));
    d.headerRule = QLine(50, 230, w - 50, 230);
    d.grip = QLine(w - 130, h - 20, w - 20, h - 130);
    return d;
}

int dateLeft(int cardWidth, int dateTextWidth) {
    return (cardWidth - 100 - dateTextWidth) / 2;
}

QString dateText(const QDate& created) {
    // The date's order and punctuation differ between languages: the format is translated.
    return LocaleFormats::timeLocale().toString(
        created, QCoreApplication::translate("NoteGeometry", "MMMM dd, yyyy",
                                             "date format of a note card's creation date"));
}

Drag dragAt(QPoint at, QSize card) {
    return at.x() > card.width() - GripTwips && at.y() > card.height() - GripTwips ? Drag::Resize
                                                                                   : Drag::Move;
}

std::optional<QSize> resizedTo(QPoint at) {
    if (at.x() > MinWidth && at.y() > MinHeight)
        return QSize(at.x(), at.y());
    return std::nullopt;
}

QPoint movedTo(QPoint topLeft, QPoint at, QPoint grab) {
    return topLeft + at - grab;
}

QPoint keptOnScreen(const QRect& card, QSize screen) {
    int top = card.top();
    int left = card.left();
    top = std::min(top, screen.height() - card.height() - BottomAllowance);
    top = std::max(top, TopLimit);
    left = std::min(left, screen.width() - card.width() - RightAllowance);
    left = std::max(left, 0);
    return {left, top};
}

QPoint newCardPlace(const std::optional<QRect>& focusedCard, QSize card, QSize mainWindow,
                    QSize screen) {
    if (focusedCard) {
        // Cascading stops at the screen's bottom and right limits, so a run of new cards
        // never walks out of sight.
        QPoint p = focusedCard->topLeft() + QPoint(CascadeTwips, CascadeTwips);
        p.setY(std::max(0, std::min(p.y(), screen.height() - card.height() - BottomAllowance)));
        p.setX(std::max(0, std::min(p.x(), screen.width() - card.width() - RightAllowance)));
        return p;
    }
    const int top = (mainWindow.height() - 2100 - card.height()) / 2;
    const int left = (mainWindow.width() - 60 - card.width()) / 2;
    if (top < 0 || left < 0)
        return FallbackPlace;
    return {left, top};
}

bool hasOverlongWord(QStringView text) {
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > LongestWord)
            return true;
    }
    return false;
}

} // namespace NoteGeometry
