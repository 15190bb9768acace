// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleList.h"

const QString ScheduleList::Mark = QStringLiteral("X");

void ScheduleList::load(std::vector<ScheduleRow> rows) {
    m_lines.clear();
    m_lines.reserve(std::max(rows.size() + 1, size_t(DesignedLines)));
    for (ScheduleRow& r : rows)
        m_lines.push_back(Line{std::move(r), false});
    keepSpareLine();
}

void ScheduleList::keepSpareLine() {
    // More entries than the usual lines grow the list rather than hide the rest.
    while (m_lines.size() < size_t(DesignedLines) || m_lines.back().row)
        m_lines.emplace_back();
}

bool ScheduleList::hasEntry(int line) const {
    return line >= 0 && line < lineCount() && m_lines[size_t(line)].row.has_value();
}

ScheduleRowText ScheduleList::text(int line, const QLocale& locale) const {
    return hasEntry(line) ? ScheduleRowText::of(entry(line), locale) : ScheduleRowText{};
}

ScheduleList::DoubleClick ScheduleList::doubleClick(int line, int column) {
    if (line < 0 || line >= lineCount())
        return DoubleClick::Nothing;
    Line& l = m_lines[size_t(line)];
    if (column == 0) {
        l.marked = !l.marked;
        return DoubleClick::MarkToggled;
    }
    return l.marked ? DoubleClick::Nothing : DoubleClick::OpenEditor;
}

ScheduleEditorState ScheduleList::editorFor(int line, const Clock& clock) const {
    return hasEntry(line) ? ScheduleEditorState::forEntry(entry(line), clock)
                          : ScheduleEditorState::fresh(clock);
}

ScheduleStore::Update ScheduleList::save(int line, const ScheduleEditorState& editor,
                                         ScheduleStore& store) {
    if (line < 0 || line >= lineCount())
        return ScheduleStore::Update::Failed;
    Line& l = m_lines[size_t(line)];
    ScheduleRow row = editor.entry(l.row ? l.row->rowId : 0);
    if (l.row) {
        const ScheduleStore::Update result = store.update(*l.row, row);
        if (result != ScheduleStore::Update::Done)
            return result;
    } else {
        row.rowId = store.add(row);
        if (row.rowId == 0)
            return ScheduleStore::Update::Failed;
    }
    l.row = std::move(row);
    keepSpareLine();
    return ScheduleStore::Update::Done;
}

std::vector<ScheduleRow> ScheduleList::markedEntries() const {
    std::vector<ScheduleRow> rows;
    for (const Line& l : m_lines)
        if (l.marked && l.row)
            rows.push_back(*l.row);
    return rows;
}
