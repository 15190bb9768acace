// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <vector>

// Where things stand in an iCalendar file, for messages that name a line: the physical line
// each content line (folded lines joined) begins on, BEGIN/END nesting and the lines of the
// VEVENTs. It checks only the file's outline; libical reads the content.
class IcsLines {
    Q_DECLARE_TR_FUNCTIONS(IcsLines)

public:
    explicit IcsLines(const QByteArray& data);

    // A fault in the outline (not an iCalendar file, unbalanced BEGIN/END, a line that is
    // no "NAME:value"), with its line; empty when the outline is sound.
    QString error() const { return m_error; }
    int errorLine() const { return m_errorLine; }

    int componentCount() const { return m_components; }
    // The line of the n-th BEGIN:VEVENT (from 0); 0 when there are fewer.
    int eventLine(int n) const;
    // The line of the n-th BEGIN:`name` (from 0, name in capitals); 0 when there are fewer.
    int componentLine(const QByteArray& name, int n) const;
    // The line of the first property called `name` from line `from` on; `from` when none.
    // With a `value`, a line of that property holding exactly that value comes first.
    int propertyLine(int from, const char* name, const QByteArray* value = nullptr) const;
    // The line a libical message is about: the first content line that holds the text the
    // message quotes, else 1.
    int lineOfError(const QString& message) const;

private:
    struct Line {
        QByteArray text; // unfolded
        int number = 0;
    };
    void fail(int line, const QString& what);

    std::vector<Line> m_lines;
    std::vector<int> m_events;
    std::vector<std::pair<QByteArray, int>> m_begins; // name and line of every BEGIN
    int m_components = 0;
    QString m_error;
    int m_errorLine = 0;
};
