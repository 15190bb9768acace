// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LinuxDesktop.h"

#include "base/Log.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
// How long xdg-open may take to say that nothing handles an address.
constexpr int OpenerVerdictMs = 3000;
} // namespace

bool LinuxDesktopShell::openUrl(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    // xdg-open ends at once with an error when no program handles the address; one that
    // found a program hands over and ends, or stays as long as that program runs.
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({url.toString(QUrl::FullyEncoded)});
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return QDesktopServices::openUrl(url); // no xdg-open: Qt's own ways
    }
    if (!opener->waitForFinished(OpenerVerdictMs)) {
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true;
    }
    const bool ok = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    if (!ok)
        qCWarning(lcDesktop) << "xdg-open" << url.toDisplayString()
                             << "failed:" << opener->readAllStandardError().trimmed();
    delete opener;
    return ok;
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
    // A user folder that was never made: pickers start at home, not wherever Plumora runs.
    if ((folder == SpecialFolder::Documents || folder == SpecialFolder::Desktop) &&
        !QFileInfo(path).isDir())
        path = QDir::homePath();
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
