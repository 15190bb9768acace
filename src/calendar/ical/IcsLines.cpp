// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/IcsLines.h"

#include <QStringList>

namespace {

bool startsWithWord(const QByteArray& line, const char* word) {
    return line.size() >= qsizetype(qstrlen(word)) &&
           qstrnicmp(line.constData(), word, qstrlen(word)) == 0;
}

} // namespace

IcsLines::IcsLines(const QByteArray& data) {
    // Physical lines end in CRLF or a bare LF; a line that begins with a space or tab
    // continues the one before it.
    int number = 0;
    qsizetype at = 0;
    while (at < data.size()) {
        qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        QByteArray physical = data.mid(at, end - at);
        if (physical.endsWith('\r'))
            physical.chop(1);
        at = end + 1;
        ++number;
        if (!physical.isEmpty() && (physical[0] == ' ' || physical[0] == '\t') &&
            !m_lines.empty()) {
            m_lines.back().text += physical.mid(1);
            continue;
        }
        if (physical.trimmed().isEmpty())
            continue;
        m_lines.push_back({physical, number});
    }

    if (m_lines.empty() || !startsWithWord(m_lines.front().text, "BEGIN:VCALENDAR")) {
        fail(m_lines.empty() ? 1 : m_lines.front().number,
             tr("this is not an iCalendar file (it does not begin with BEGIN:VCALENDAR)."));
        return;
    }
    struct Open {
        QByteArray name;
        int line;
    };
    std::vector<Open> open;
    for (const Line& l : m_lines) {
        const qsizetype colon = l.text.indexOf(':');
        if (colon <= 0) {
            fail(l.number, tr("\"%1\" is not an iCalendar line (NAME:value).")
                               .arg(QString::fromUtf8(l.text.left(60))));
            return;
        }
        if (startsWithWord(l.text, "BEGIN:")) {
            const QByteArray name = l.text.mid(6).trimmed().toUpper();
            ++m_components;
            m_begins.emplace_back(name, l.number);
            if (name == "VEVENT")
                m_events.push_back(l.number);
            open.push_back({name, l.number});
        } else if (startsWithWord(l.text, "END:")) {
            const QByteArray name = l.text.mid(4).trimmed().toUpper();
            if (open.empty() || open.back().name != name) {
                fail(l.number,
                     open.empty()
                         ? tr("END:%1 closes nothing.").arg(QString::fromUtf8(name))
                         // One arg() for all: a name from the file may hold "%1".
                         : tr("END:%1 does not close BEGIN:%2 of line %3.")
                               .arg(QString::fromUtf8(name), QString::fromUtf8(open.back().name),
                                    QString::number(open.back().line)));
                return;
            }
            open.pop_back();
        } else if (open.empty()) {
            fail(l.number, tr("this line stands outside any BEGIN:VCALENDAR."));
            return;
        }
    }
    if (!open.empty())
        fail(m_lines.back().number,
             tr("the file ends before END:%1 (begun on line %2).")
                 .arg(QString::fromUtf8(open.back().name), QString::number(open.back().line)));
}

void IcsLines::fail(int line, const QString& what) {
    m_error = what;
    m_errorLine = line;
}

int IcsLines::eventLine(int n) const {
    return n >= 0 && n < int(m_events.size()) ? m_events[size_t(n)] : 0;
}

int IcsLines::componentLine(const QByteArray& name, int n) const {
    for (const auto& [begun, line] : m_begins)
        if (begun == name && n-- == 0)
            return line;
    return 0;
}

int IcsLines::propertyLine(int from, const char* name, const QByteArray* value) const {
    const QByteArray prefix = QByteArray(name);
    int first = 0;
    for (const Line& l : m_lines) {
        if (l.number < from || !startsWithWord(l.text, name))
            continue;
        const char next = l.text.size() > prefix.size() ? l.text[prefix.size()] : ':';
        if (next != ':' && next != ';')
            continue;
        if (!value || l.text.endsWith(QByteArray(QByteArray(":") + *value)))
            return l.number;
        if (!first)
            first = l.number;
    }
    return first ? first : from;
}

int IcsLines::lineOfError(const QString& message) const {
    // libical quotes the faulty text after the last ": ", e.g.
    // "Could not parse DTSTART: 2026-13-45".
    const QStringList parts = message.split(QStringLiteral(": "));
    for (qsizetype i = parts.size() - 1; i >= 1; --i) {
        const QByteArray quoted = parts[i].trimmed().toUtf8();
        if (quoted.size() < 2)
            continue;
        for (const Line& l : m_lines)
            if (l.text.contains(quoted))
                return l.number;
    }
    return 1;
}
