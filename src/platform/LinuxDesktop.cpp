// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LinuxDesktop.h"

#include "base/Log.h"
#include "platform/NetworkReach.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

#include <optional>

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

// NetworkManager's own verdict, when it runs and knows.
std::optional<bool> managerVerdict() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.NetworkManager"),
        QStringLiteral("/org/freedesktop/NetworkManager"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << QStringLiteral("org.freedesktop.NetworkManager") << QStringLiteral("State");
    const QDBusMessage reply = bus.call(ask, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return NetworkReach::fromManagerState(
        qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toUInt());
}

QByteArray readTable(const char* path) {
    QFile f(QString::fromLatin1(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The last resort where no routing table can be read: a non-loopback interface up and
// running with an address.
bool anyInterfaceUp() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return false;
    bool up = false;
    for (const ifaddrs* a = list; a && !up; a = a->ifa_next) {
        const unsigned flags = a->ifa_flags;
        up = a->ifa_addr &&
             (a->ifa_addr->sa_family == AF_INET || a->ifa_addr->sa_family == AF_INET6) &&
             (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    ::freeifaddrs(list);
    return up;
}

} // namespace

bool LinuxNetworkStatus::isOnline() {
    if (const std::optional<bool> manager = managerVerdict())
        return *manager;
    const QByteArray ipv4 = readTable("/proc/net/route");
    const QByteArray ipv6 = readTable("/proc/net/ipv6_route");
    if (ipv4.isEmpty() && ipv6.isEmpty()) {
        qCInfo(lcDesktop) << "no routing table readable; network state taken from the interfaces";
        return anyInterfaceUp();
    }
    return NetworkReach::hasDefaultRoute(ipv4, ipv6);
}
