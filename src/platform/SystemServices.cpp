#include "platform/SystemServices.h"

#include "platform/DesktopEntries.h"

#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QStandardPaths>

namespace SystemServices {

QString specialFolderPath(SpecialFolder folder) {
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

bool isOnline() {
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

MailProgram defaultMailProgram() {
    MailProgram p;
    p.desktopId = DesktopEntries::defaultApplication(QStringLiteral("x-scheme-handler/mailto"));
    const DesktopEntries::Entry entry = DesktopEntries::find(p.desktopId);
    p.isThunderbird = p.desktopId.contains(QLatin1String("thunderbird"), Qt::CaseInsensitive) ||
                      entry.name.contains(QLatin1String("thunderbird"), Qt::CaseInsensitive);
    p.displayName = p.isThunderbird        ? QStringLiteral("Thunderbird")
                    : entry.name.isEmpty() ? QStringLiteral("your mail program")
                                           : entry.name;
    return p;
}

} // namespace SystemServices
