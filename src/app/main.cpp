#include "app/Application.h"
#include "app/LinuxServices.h"
#include "core/ui/AppIcon.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumora"));
    QApplication::setOrganizationName(QStringLiteral("Plumora"));
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
