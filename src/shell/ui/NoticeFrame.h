// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

class QFrame;
class QWidget;

// What the reminder and the pop-up message share: a small frameless notice that stays on
// top, never takes the keyboard from what the user is typing into, and deletes itself when
// closed; its content sits in a boxed frame in the tooltip colours.
namespace NoticeFrame {

// Window flags every notice is created with.
constexpr auto Flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

// Names, titles and sizes the window, and returns the frame to lay its controls into.
QFrame* setUp(QWidget* window, const QString& objectName, const QString& title, QSize size);

} // namespace NoticeFrame
