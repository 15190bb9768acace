// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// An action asked of the running copy by a later start (plumora --capture, --new-note TEXT,
// --show ID) or by a global shortcut: an action name and its one argument. On the one-copy
// socket a request is one line, "do ACTION BASE64-ARGUMENT", and its answer one line, "done"
// or "refused REASON".
struct RemoteCommand {
    Q_DECLARE_TR_FUNCTIONS(RemoteCommand)

public:
    // The actions the shell knows itself; every other name is a tool's
    // (ToolDescriptor::actions).
    static constexpr char Show[] = "show";
    static constexpr char Capture[] = "capture";
    static constexpr char NewNote[] = "new-note";
    // The most text a new note takes from the command line, in UTF-8 bytes.
    static constexpr qsizetype MaxNoteBytes = 64 * 1024;
    // The longest request line: a whole note, base64-encoded, with room to spare.
    static constexpr qsizetype MaxLine = 96 * 1024;

    QString action;
    QString argument;

    bool operator==(const RemoteCommand&) const = default;

    // The request line, newline included.
    QByteArray encode() const;
    // Whether `line` (as read, newline included) is a command request at all.
    static bool isRequest(const QByteArray& line);
    // The command of a request line; none when it is damaged (an action name that is not
    // a plain word, an argument that is not base64, or too long a line).
    static std::optional<RemoteCommand> decode(const QByteArray& line);

    // The answer line: "done" for an empty refusal.
    static QByteArray encodeAnswer(const QString& refusal);
    struct Answer {
        bool done = false;
        QString refusal; // why not, when not done
    };
    // None when the line is not an answer.
    static std::optional<Answer> decodeAnswer(const QByteArray& line);

    // Why the running copy refuses the command before it reaches any tool: an argument
    // over its limit, an unknown tool name for "show" (`toolNames`: the valid ones); empty
    // when there is nothing to refuse.
    QString refusal(const QStringList& toolNames) const;
    static QString unknownToolText(const QString& name, const QStringList& toolNames);
};
