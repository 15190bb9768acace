// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// One IMAP server response, split into tokens: atoms (NIL, numbers and bracketed codes
// included), strings (quoted or literal) and list brackets.
struct ImapToken {
    enum class Kind { Atom, String, Open, Close };
    Kind kind = Kind::Atom;
    QByteArray text;
    bool operator==(const ImapToken&) const = default;
};

struct ImapResponse {
    // "*" for untagged data, "+" for a continuation request, else the command's tag.
    QByteArray tag;
    QList<ImapToken> tokens; // after the tag
    // The first token's text in upper case when it is an atom ("OK", "CAPABILITY", ...).
    QByteArray word() const;
};

// Frames the bytes of an IMAP server into responses: lines ending in CR LF, with literals
// ({n} at the end of a line, followed by n bytes that may hold anything) taken whole. A
// response, literals included, may not exceed the given size: a larger one, or a literal
// announcing more, is an error at once, so nothing beyond it is ever buffered.
class ImapReader {
public:
    explicit ImapReader(int maxResponseBytes) : m_max(maxResponseBytes) {}

    // Appends bytes and moves every complete response into `out`. False once the server
    // has sent more than a response may hold; the reader then takes nothing more.
    bool feed(QByteArrayView bytes, QList<ImapResponse>& out);
    bool failed() const { return m_failed; }
    // Forgets what was received and not yet read as a response.
    void clear() { m_buffer.clear(); }

    static ImapResponse parse(const QList<QByteArray>& textParts,
                              const QList<QByteArray>& literals);

private:
    // The length of the first complete response in the buffer, 0 when it is incomplete,
    // -1 when it can never fit.
    qsizetype completeLength(QList<QByteArray>& parts, QList<QByteArray>& literals) const;

    QByteArray m_buffer;
    int m_max;
    bool m_failed = false;
};
