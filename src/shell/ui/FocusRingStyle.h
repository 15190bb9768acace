// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// The desktop's style with a focus ring on buttons that can be seen: a line of the
// palette's highlight colour, RingWidth pixels wide, inside a focused push button and where
// the style draws the focus frame of the other buttons (Fusion's is a faint single pixel).
// Everything else is the style's own.
class FocusRingStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int RingWidth = 2;

    using QProxyStyle::QProxyStyle;

    // Puts the ring on the running application's style once; later calls do nothing.
    static void install();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    // Push buttons: Fusion draws no focus frame on them at all, so the ring goes on here.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

private:
    static void drawRing(const QStyleOption* option, const QRect& rect, QPainter* painter);
};
