#include "core/SingleInstance.h"

#include "core/Log.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

const QByteArray ShowRequest = "show\n";

QString executableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

// A short, stable name for a program folder.
QString folderKey(const QString& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(16));
}

} // namespace

SingleInstance::SingleInstance(QString programFolder, QString runtimeFolder, QObject* parent)
    : QObject(parent), m_programFolder(std::move(programFolder)),
      m_runtimeFolder(std::move(runtimeFolder)),
      m_lockPath(m_programFolder + QStringLiteral("/plumora.lock")) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/plumora-") + QString::number(getuid());
    QDir().mkpath(own);
    QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return own;
}

bool SingleInstance::isRunningProgram(qint64 pid, const QString& name) {
    if (pid <= 0)
        return false;
    const QString exe =
        QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)).section(u'/', -1);
    // A program replaced on disk while it runs reads "name (deleted)".
    return exe == name || exe == name + QStringLiteral(" (deleted)");
}

SingleInstance::Outcome SingleInstance::tryPath(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // Staleness is decided below, by who the owner is, never by age.
    lock->setStaleLockTime(0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock->tryLock(0)) {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            m_lock = std::move(lock);
            m_lockPath = path;
            return Outcome::Acquired;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return Outcome::NoLockPossible;
        qint64 pid = 0;
        QString host;
        QString app;
        const bool readable = lock->getLockInfo(&pid, &host, &app);
        if (readable && isRunningProgram(pid, executableName())) {
            m_lockPath = path;
            return Outcome::HeldByAnother;
        }
        qCWarning(lcStartup) << "taking over the lock" << path
                             << (readable ? "of a process that is not running Plumora"
                                          : "that names no owner");
        if (!lock->removeStaleLockFile() && !QFile::remove(path))
            return Outcome::NoLockPossible;
    }
    return Outcome::NoLockPossible;
}

SingleInstance::Outcome SingleInstance::acquire() {
    const Outcome inProgramFolder = tryPath(m_lockPath);
    if (inProgramFolder != Outcome::NoLockPossible)
        return inProgramFolder;
    // A folder that takes no lock file (read-only, say): lock in the runtime folder instead,
    // keyed by the program folder, so two starts from it still meet.
    const QString fallback = m_runtimeFolder + QStringLiteral("/plumora-") +
                             folderKey(m_programFolder) + QStringLiteral(".lock");
    const Outcome inRuntime = tryPath(fallback);
    if (inRuntime == Outcome::NoLockPossible)
        qCWarning(lcStartup) << "no lock possible in" << m_programFolder << "or" << fallback;
    return inRuntime;
}

QString SingleInstance::socketName() const {
    return m_runtimeFolder + QStringLiteral("/plumora-") + folderKey(m_programFolder) +
           QStringLiteral(".socket");
}

bool SingleInstance::listen(std::function<void()> onShowRequest) {
    if (m_server)
        return true;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a copy that died would refuse the name.
    QLocalServer::removeServer(socketName());
    if (!m_server->listen(socketName())) {
        qCWarning(lcStartup) << "cannot listen on" << socketName() << m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this, onShowRequest] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [peer, onShowRequest] {
                if (!peer->canReadLine())
                    return;
                // Only one short request is understood; anything else is dropped.
                if (peer->readLine(64) == ShowRequest && onShowRequest)
                    onShowRequest();
                peer->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::askRunningCopyToShow(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(socketName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(ShowRequest);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}
