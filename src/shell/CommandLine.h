// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/RemoteCommand.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

// Plumora's command line: what `--help` lists, and what a start was asked to do. Every
// request goes to the running copy, or to the copy this start becomes.
struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // Adds the options and the description to `parser`.
    static void describe(QCommandLineParser& parser);

    // What a start asks once `parser` has parsed its arguments.
    struct Request {
        QStringList importFiles;              // --import FILE...
        std::optional<RemoteCommand> command; // --capture, --new-note [TEXT], --show ID
        QString error;                        // a request that cannot be made as given
    };
    static Request read(const QCommandLineParser& parser);
    // The same from an argument list (the program's name first); a parse error is `error`.
    static Request read(const QStringList& arguments);
};
