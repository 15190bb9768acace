// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QTextDocument;

// Reads a note's Content into a document. RTF from this program or from other writers
// (word processors, mail programs) is read tolerantly: fonts, sizes, bold, italic,
// underline, strike-through, colours, paragraphs and any Unicode text (\uN with its
// fallback, surrogate pairs, \'hh bytes in the font's or the document's code page) are
// kept; pictures, objects, style sheets, document information and every other group it
// does not know are skipped. Any other text is read as plain text. Damaged input never
// crashes or hangs: nesting and input size are bounded, and whatever lies past a limit
// is dropped.
namespace RtfReader {

// Input past this many characters is not read.
inline constexpr qsizetype MaxInput = 16 * 1024 * 1024;
// Groups nested deeper than this are skipped with their contents.
inline constexpr int MaxDepth = 200;

// Whether `content` is RTF (starts with "{\rtf", leading blanks allowed).
bool isRtf(const QString& content);

// Replaces the document's text with `content`, leaving it with no undo history. Returns
// false when part of the input lay beyond a limit and was dropped.
bool read(const QString& content, QTextDocument& document);

} // namespace RtfReader
