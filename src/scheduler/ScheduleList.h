// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/LocaleFormats.h"
#include "scheduler/ScheduleEditorState.h"
#include "scheduler/ScheduleRow.h"
#include "scheduler/ScheduleRowText.h"
#include "scheduler/ScheduleStore.h"

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

class Clock;

// The lines of the schedule list apart from its window: which entry each line shows, the
// deletion marks, what a double-click does and what closing the list deletes. Line n shows
// the n-th entry in SchDT order; the lines after the last entry are empty, ready for a new
// one. Entries are kept by rowid, so saving never lands on another writer's row.
class ScheduleList {
public:
    // The list always offers this many lines, and one empty line after the last entry.
    static constexpr int DesignedLines = 100;
    static const QString Mark; // "X", red, bold, 10 points
    static constexpr int MarkPointSize = 10;
    static QColor markColour() { return QColor(255, 0, 0); }

    void load(std::vector<ScheduleRow> rows);

    int lineCount() const { return int(m_lines.size()); }
    bool hasEntry(int line) const;
    // The entry of a line that has one.
    const ScheduleRow& entry(int line) const { return *m_lines.at(size_t(line)).row; }
    // The line's texts; all empty for an empty line.
    ScheduleRowText text(int line, const QLocale& locale = LocaleFormats::timeLocale()) const;
    // A marked line shows "X" and its four text columns struck through.
    bool marked(int line) const { return m_lines.at(size_t(line)).marked; }

    enum class DoubleClick { Nothing, MarkToggled, OpenEditor };
    // Column 0 toggles the mark; any other column opens the editor unless the line is marked.
    DoubleClick doubleClick(int line, int column);

    // The editor for a line: preset from its entry, or fresh for an empty line.
    ScheduleEditorState editorFor(int line, const Clock& clock) const;
    // The editor was confirmed: its entry is added (empty line) or rewritten (the line's
    // entry, by rowid) and the line shows it. Vanished when another writer deleted or
    // changed the line's entry meanwhile; nothing is written and the line stays as it was.
    ScheduleStore::Update save(int line, const ScheduleEditorState& editor, ScheduleStore& store);

    // Closing: the entries of the marked lines, for ScheduleStore::applyMarks.
    std::vector<ScheduleRow> markedEntries() const;

private:
    struct Line {
        std::optional<ScheduleRow> row;
        bool marked = false;
    };
    void keepSpareLine();

    std::vector<Line> m_lines;
};
