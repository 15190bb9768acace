// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteToolbar.h"

#include <QIcon>
#include <QPixmap>

// The pictures of Quick Notes: the toolbar's commands, the cards' scroll arrows and their
// alarm mark, drawn by our own code for every screen density.
namespace NoteArtwork {

QIcon command(NoteToolbar::Command command);
// The up (or down) scroll arrow of a card, `size` logical pixels high.
QPixmap arrow(bool up, QSize size, qreal devicePixelRatio);
// The alarm mark in a card's corner.
QPixmap mark(int size, qreal devicePixelRatio);

} // namespace NoteArtwork
