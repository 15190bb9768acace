#include "platform/LinuxDesktop.h"

#include <QDesktopServices>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool LinuxDesktopShell::openUrl(const QString& address) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

bool LinuxDesktopShell::startProgram(const QString& program, const QStringList& arguments,
                                     const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

QString LinuxDesktopShell::specialFolderPath(SpecialFolder folder) const {
    QString path;
    switch (folder) {
    case SpecialFolder::Documents:
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case SpecialFolder::Desktop:
        path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        break;
    case SpecialFolder::ProgramFiles:
        path = QStringLiteral("/usr");
        break;
    case SpecialFolder::Recent:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    }
    if (path.isEmpty())
        return {};
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

namespace {
bool anyInterfaceUp() {
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& nif : interfaces) {
        const auto flags = nif.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack))
            continue;
        if (!nif.addressEntries().isEmpty())
            return true;
    }
    return false;
}
} // namespace

bool LinuxNetworkStatus::isOnline() {
    // Loaded once: the backend keeps itself up to date from then on.
    static const bool haveBackend =
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (haveBackend && QNetworkInformation::instance()) {
        const auto r = QNetworkInformation::instance()->reachability();
        if (r != QNetworkInformation::Reachability::Unknown)
            return r == QNetworkInformation::Reachability::Online ||
                   r == QNetworkInformation::Reachability::Site;
    }
    return anyInterfaceUp();
}
