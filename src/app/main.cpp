// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/Lifecycle.h"
#include "app/LinuxServices.h"
#include "app/TranslationLoader.h"
#include "shell/CommandLine.h"
#include "shell/SessionPlatform.h"
#include "shell/ui/AppIcon.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>

namespace {

// --help, --version and an unknown option only print: they answer without a display.
bool onlyPrints(int argc, char* argv[]) {
    // The usual start has no arguments and is not parsed twice.
    if (argc <= 1)
        return false;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser options;
    CommandLine::describe(options);
    return !options.parse(arguments) || options.isSet(QStringLiteral("help")) ||
           options.isSet(QStringLiteral("help-all")) || options.isSet(QStringLiteral("version"));
}

// Names the application and reads the command line; --help, --version and a wrong option
// end here. Gives what the start was asked to do.
CommandLine::Request readCommandLine(const QCoreApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("Plumora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLUMORA_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Plumora"));
    QCommandLineParser options;
    CommandLine::describe(options);
    options.process(app);
    return CommandLine::read(options);
}

// The user's language, English when Plumora has none: before the first text is made, also
// for --help.
std::unique_ptr<TranslationLoader> loadTranslations() {
    auto translations = TranslationLoader::forProgram(QCoreApplication::applicationDirPath());
    translations->load();
    return translations;
}

} // namespace

int main(int argc, char* argv[]) {
    if (onlyPrints(argc, argv)) {
        QCoreApplication app(argc, argv);
        const auto translations = loadTranslations();
        readCommandLine(app);
        return 0;
    }

    const QByteArray platform =
        preferredQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                            qgetenv("DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    QApplication app(argc, argv);
    const auto translations = loadTranslations();
    const CommandLine::Request request = readCommandLine(app);
    if (!request.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(request.error));
        return 1;
    }
    QApplication::setDesktopFileName(QStringLiteral(PLUMORA_APP_ID));

    // Closing a tool's window never ends Plumora; only "Unload Plumora" does.
    QApplication::setQuitOnLastWindowClosed(false);

    LinuxServices services;
    AppContext context = services.context(AppPaths::fromEnvironment());
    Application plumora(context);
    // An action refused whoever would take it (a tool that does not exist, a note too long)
    // is refused here, before anything starts or goes over.
    if (request.command) {
        if (const QString refusal = request.command->refusal(plumora.toolNames());
            !refusal.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(refusal));
            return 1;
        }
    }
    plumora.setImportFiles(request.importFiles);
    plumora.setCommand(request.command);
    if (!plumora.start())
        return plumora.secondStartStatus();
    // A kill, a logout or Ctrl+C ends as "Unload Plumora" does; a sleep waits for a save.
    Lifecycle lifecycle(plumora);
    // Set once the tray icon is up: every window made from here on gets the program icon
    // at all its sizes, which is work the icon need not wait for.
    QApplication::setWindowIcon(plumoraIcon());
    return QApplication::exec();
}
