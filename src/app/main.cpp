// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/Lifecycle.h"
#include "app/LinuxServices.h"
#include "shell/SessionPlatform.h"
#include "shell/ui/AppIcon.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

void describeOptions(QCommandLineParser& options) {
    options.setApplicationDescription(
        QStringLiteral("Plumora keeps a calendar with reminders, Quick Notes, a scheduler, Quick "
                       "Access, screen capture, a wallpaper changer and a new-mail watch in the "
                       "notification area. Starting it again shows the running copy.\n\n"
                       "Environment:\n"
                       "  PLUMORA_HOME  keep the data file (data.plm) in this folder instead\n"
                       "  QT_LOGGING_RULES=\"plumora.*=true\"  log why background work did not "
                       "happen"));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(QCommandLineOption(
        QStringLiteral("import"),
        QStringLiteral("Import the iCalendar files given into the calendar of the running copy "
                       "(started when none runs).")));
    options.addPositionalArgument(QStringLiteral("files"),
                                  QStringLiteral("iCalendar (.ics) files to import."),
                                  QStringLiteral("[--import FILE.ics...]"));
}

// --help, --version and an unknown option only print: they answer without a display.
bool onlyPrints(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser options;
    describeOptions(options);
    return !options.parse(arguments) || options.isSet(QStringLiteral("help")) ||
           options.isSet(QStringLiteral("help-all")) || options.isSet(QStringLiteral("version"));
}

// Names the application and reads the command line; --help, --version and a wrong option
// end here. Gives the files to import.
QStringList readCommandLine(const QCoreApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("Plumora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLUMORA_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Plumora"));
    QCommandLineParser options;
    describeOptions(options);
    options.process(app);
    return options.isSet(QStringLiteral("import")) ? options.positionalArguments() : QStringList();
}

} // namespace

int main(int argc, char* argv[]) {
    if (onlyPrints(argc, argv)) {
        QCoreApplication app(argc, argv);
        readCommandLine(app);
        return 0;
    }

    const QByteArray platform =
        preferredQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                            qgetenv("DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    QApplication app(argc, argv);
    const QStringList importFiles = readCommandLine(app);
    QApplication::setDesktopFileName(QStringLiteral(PLUMORA_APP_ID));

    // Closing a tool's window never ends Plumora; only "Unload Plumora" does.
    QApplication::setQuitOnLastWindowClosed(false);

    LinuxServices services;
    AppContext context = services.context(AppPaths::fromEnvironment());
    Application plumora(context);
    plumora.setImportFiles(importFiles);
    if (!plumora.start())
        return plumora.secondStartStatus();
    // A kill, a logout or Ctrl+C ends as "Unload Plumora" does; a sleep waits for a save.
    Lifecycle lifecycle(plumora);
    // Set once the tray icon is up: every window made from here on gets the program icon
    // at all its sizes, which is work the icon need not wait for.
    QApplication::setWindowIcon(plumoraIcon());
    return QApplication::exec();
}
