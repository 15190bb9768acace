// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QTextDocument;

// Writes a note's text as RTF for QNotes.Content: font name, size, bold, italic, underline,
// strike-through, colour and paragraphs, with every character outside ASCII as \uN so the
// text is plain 7-bit and any Unicode text (emoji and CJK included) survives. Pictures and
// other embedded objects are left out.
namespace RtfWriter {

QString write(const QTextDocument& document);

// Removes pictures and other embedded objects from the document itself, so what the user
// keeps seeing is what was saved. Returns how many were removed.
int removeObjects(QTextDocument& document);

} // namespace RtfWriter
