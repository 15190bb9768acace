// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandLine.h"

#include <QCommandLineParser>

namespace {
const QString Import = QStringLiteral("import");
const QString Capture = QStringLiteral("capture");
const QString NewNote = QStringLiteral("new-note");
const QString Show = QStringLiteral("show");
} // namespace

void CommandLine::describe(QCommandLineParser& options) {
    options.setApplicationDescription(
        tr("Plumora keeps a calendar with reminders, Quick Notes, a scheduler, Quick "
           "Access, screen capture, a wallpaper changer and a new-mail watch in the "
           "notification area. Starting it again shows the running copy.\n\n"
           "Each action below goes to the running copy, which is started when none "
           "runs. The exit status is 0 once the running copy has taken the action; "
           "otherwise Plumora says why and ends with 1.\n\n"
           "Environment:\n"
           "  PLUMORA_HOME  keep the data file (data.plm) in this folder instead\n"
           "  QT_LOGGING_RULES=\"plumora.*=true\"  log why background work did not "
           "happen"));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(QCommandLineOption(
        Import, tr("Import the iCalendar files given into the calendar of the running "
                   "copy (started when none runs).")));
    options.addOption(QCommandLineOption(
        Capture, tr("Freeze the screen and let the user choose the area to capture, as "
                    "Screen Capture's \"Selected Area\" does.")));
    options.addOption(QCommandLineOption(
        NewNote, tr("Put a new note on screen, ready for typing, holding TEXT when "
                    "given (at most 64 KB).")));
    options.addOption(
        QCommandLineOption(Show,
                           tr("Open the main window on the tool ID: calendar, notes, scheduler, "
                              "quick-access, capture, wallpaper or options."),
                           QStringLiteral("ID")));
    options.addPositionalArgument(QStringLiteral("files"), tr("iCalendar (.ics) files to import."),
                                  QStringLiteral("[--import FILE.ics...]"));
    options.addPositionalArgument(QStringLiteral("text"),
                                  tr("The new note's text (words joined by spaces)."),
                                  QStringLiteral("[--new-note [TEXT]]"));
}

CommandLine::Request CommandLine::read(const QCommandLineParser& options) {
    Request request;
    int asked = 0;
    for (const QString& name : {Import, Capture, NewNote, Show})
        asked += options.isSet(name) ? 1 : 0;
    if (asked > 1) {
        request.error = tr("Give one of --import, --capture, --new-note and --show at "
                           "a time.");
        return request;
    }
    if (options.isSet(Import)) {
        request.importFiles = options.positionalArguments();
    } else if (options.isSet(Capture)) {
        request.command = RemoteCommand{QLatin1String(RemoteCommand::Capture), {}};
    } else if (options.isSet(NewNote)) {
        request.command = RemoteCommand{QLatin1String(RemoteCommand::NewNote),
                                        options.positionalArguments().join(u' ')};
    } else if (options.isSet(Show)) {
        request.command = RemoteCommand{QLatin1String(RemoteCommand::Show), options.value(Show)};
    }
    if (request.command && !options.positionalArguments().isEmpty() &&
        request.command->action != QLatin1String(RemoteCommand::NewNote))
        request.error = tr("--%1 takes no further arguments: %2")
                            .arg(request.command->action, options.positionalArguments().join(u' '));
    return request;
}

CommandLine::Request CommandLine::read(const QStringList& arguments) {
    QCommandLineParser options;
    describe(options);
    if (!options.parse(arguments)) {
        Request request;
        request.error = options.errorText();
        return request;
    }
    return read(options);
}
