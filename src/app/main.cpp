#include "app/Application.h"
#include "app/LinuxServices.h"
#include "core/SessionPlatform.h"
#include "core/ui/AppIcon.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    const QByteArray platform =
        preferredQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                            qgetenv("DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumora"));
    QApplication::setApplicationVersion(QStringLiteral(PLUMORA_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Plumora"));
    QApplication::setDesktopFileName(QStringLiteral(PLUMORA_APP_ID));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Plumora keeps a calendar with reminders, Quick Notes, a scheduler, Quick "
                       "Access, screen capture, a wallpaper changer and a new-mail watch in the "
                       "notification area. Starting it again shows the running copy."));
    options.addHelpOption();
    options.addVersionOption();
    options.process(app);

    // Closing a tool's window never ends Plumora; only "Unload Plumora" does.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(plumoraIcon());

    LinuxServices services;
    AppContext context = services.context(AppPaths::fromEnvironment());
    Application plumora(context);
    if (!plumora.start())
        return 0;
    return QApplication::exec();
}
