// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ImapReader.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The literal size announced at the end of a line ("{12}" or "{12+}"), or -1.
qint64 literalSize(QByteArrayView line) {
    if (!line.endsWith('}'))
        return -1;
    const qsizetype open = line.lastIndexOf('{');
    if (open < 0)
        return -1;
    QByteArrayView digits = line.sliced(open + 1, line.size() - open - 2);
    if (digits.endsWith('+'))
        digits.chop(1);
    if (digits.isEmpty() || digits.size() > 12)
        return -1;
    qint64 n = 0;
    for (char c : digits) {
        if (!isDigit(c))
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

void tokenize(QByteArrayView text, QList<ImapToken>& tokens) {
    qsizetype i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ') {
            ++i;
        } else if (c == '(' || c == ')') {
            tokens.append({c == '(' ? ImapToken::Kind::Open : ImapToken::Kind::Close, {}});
            ++i;
        } else if (c == '"') {
            QByteArray s;
            ++i;
            while (i < text.size() && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                s += text[i++];
            }
            ++i; // the closing quote; an unterminated string takes the rest
            tokens.append({ImapToken::Kind::String, s});
        } else {
            const qsizetype start = i;
            while (i < text.size() && text[i] != ' ' && text[i] != '(' && text[i] != ')')
                ++i;
            tokens.append({ImapToken::Kind::Atom, text.sliced(start, i - start).toByteArray()});
        }
    }
}

} // namespace

QByteArray ImapResponse::word() const {
    if (tokens.isEmpty() || tokens.first().kind != ImapToken::Kind::Atom)
        return {};
    return tokens.first().text.toUpper();
}

qsizetype ImapReader::completeLength(QList<QByteArray>& parts, QList<QByteArray>& literals) const {
    qsizetype pos = 0;
    for (;;) {
        // Lines end in CR LF; a bare LF is taken too.
        const qsizetype end = m_buffer.indexOf('\n', pos);
        if (end < 0)
            return m_buffer.size() > m_max ? -1 : 0;
        if (end >= m_max)
            return -1;
        QByteArrayView line = QByteArrayView(m_buffer).sliced(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        const qint64 size = literalSize(line);
        if (size < 0) {
            parts.append(line.toByteArray());
            return end + 1;
        }
        if (end + 1 + size > m_max)
            return -1;
        if (m_buffer.size() < end + 1 + size)
            return 0;
        parts.append(line.first(line.lastIndexOf('{')).toByteArray());
        literals.append(m_buffer.sliced(end + 1, size));
        pos = end + 1 + size;
    }
}

bool ImapReader::feed(QByteArrayView bytes, QList<ImapResponse>& out) {
    if (m_failed)
        return false;
    // Taken in pieces, so that a flood is refused before it is held.
    while (!bytes.isEmpty()) {
        const qsizetype room = qMax<qsizetype>(1, m_max + 2 - m_buffer.size());
        const qsizetype take = qMin(room, bytes.size());
        m_buffer.append(bytes.first(take));
        bytes = bytes.sliced(take);
        for (;;) {
            QList<QByteArray> parts, literals;
            const qsizetype length = completeLength(parts, literals);
            if (length < 0) {
                m_failed = true;
                m_buffer.clear();
                return false;
            }
            if (length == 0)
                break;
            m_buffer.remove(0, length);
            out.append(parse(parts, literals));
        }
    }
    return true;
}

ImapResponse ImapReader::parse(const QList<QByteArray>& textParts,
                               const QList<QByteArray>& literals) {
    ImapResponse r;
    QList<ImapToken> tokens;
    for (qsizetype i = 0; i < textParts.size(); ++i) {
        tokenize(textParts[i], tokens);
        if (i < literals.size())
            tokens.append({ImapToken::Kind::String, literals[i]});
    }
    if (!tokens.isEmpty() && tokens.first().kind == ImapToken::Kind::Atom) {
        r.tag = tokens.takeFirst().text;
        // A continuation request's text is free text, such as a base64 challenge.
    }
    r.tokens = std::move(tokens);
    return r;
}
