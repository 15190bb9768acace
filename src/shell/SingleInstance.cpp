// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SingleInstance.h"

#include "base/FileReplace.h"
#include "base/Log.h"
#include "shell/RemoteCommand.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

const QByteArray ShowRequest = "show\n";
// "import " and a file URL (percent-encoded, so one line) per file to import.
const QByteArray ImportRequest = "import ";
// The running copy's answer to an import: one line.
const QByteArray ImportedAnswer = "imported\n";
const QByteArray RefusedAnswer = "refused ";
constexpr qint64 MaxRequestLine = 8192;
// More files than anyone drops on a program at once; the rest of a longer list is ignored.
constexpr int MaxFiles = 1000;

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

SingleInstance::~SingleInstance() {
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::defaultRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/plumora-") + QString::number(getuid());
    QDir().mkpath(own);
    FileReplace::restrictFolderToOwner(own);
    return own;
}

SingleInstance::Outcome SingleInstance::tryPath(const QString& path) {
    // An advisory lock on the open file: the kernel lets it go when its owner ends, however
    // it ends, so a lock file left behind (empty, damaged, naming a dead or foreign process)
    // never keeps Plumora out, and nothing needs syncing to disk. The file itself stays: it
    // is not removed at exit, so no later start can lock a different file under the same name.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return Outcome::NoLockPossible;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Outcome::NoLockPossible;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        if (!held)
            return Outcome::NoLockPossible;
        m_lockPath = path;
        return Outcome::HeldByAnother;
    }
    ::fchmod(fd, 0600);
    // The owner's process id, for a person looking at the file.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.constData(), size_t(pid.size()), 0) < 0)
        qCWarning(lcStartup) << "lock" << path << "holds no process id";
    m_lockFd = fd;
    m_lockPath = path;
    return Outcome::Acquired;
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
            connect(peer, &QLocalSocket::readyRead, this, [this, peer, onShowRequest] {
                // The handler only reads. What the request asks for runs from the event loop
                // afterwards: it may open a window whose event loop would otherwise run with
                // this handler on the stack, and the peer may be gone by then.
                const Request request = readRequest(*peer);
                if (request.kind == Request::Incomplete)
                    return;
                QObject::disconnect(peer, &QLocalSocket::readyRead, this, nullptr);
                const QPointer<QLocalSocket> guarded(peer);
                if (request.kind == Request::Show) {
                    peer->disconnectFromServer();
                    if (onShowRequest)
                        QTimer::singleShot(0, this, onShowRequest);
                } else if (request.kind == Request::Command && m_onCommand) {
                    QTimer::singleShot(0, this, [this, guarded, line = request.command] {
                        m_onCommand(line, [guarded](const QByteArray& answerLine) {
                            if (!guarded)
                                return;
                            guarded->write(answerLine);
                            guarded->flush();
                            guarded->disconnectFromServer();
                        });
                    });
                } else if (request.kind == Request::Import && m_onImport) {
                    QTimer::singleShot(0, this, [this, guarded, files = request.files] {
                        m_onImport(files,
                                   [guarded](const QString& refusal) { answer(guarded, refusal); });
                    });
                } else {
                    peer->disconnectFromServer();
                }
            });
        }
    });
    return true;
}

SingleInstance::Request SingleInstance::readRequest(QLocalSocket& peer) {
    // "show", or import lines ended by an empty line; anything else is dropped. The lines
    // read so far stay with the socket until the request is whole. A command is one line,
    // which may be longer (a note's text).
    if (RemoteCommand::isRequest(peer.peek(3))) {
        if (peer.canReadLine())
            return {Request::Command, {}, peer.readLine(RemoteCommand::MaxLine + 1)};
        return {peer.bytesAvailable() > RemoteCommand::MaxLine ? Request::Dropped
                                                               : Request::Incomplete,
                {},
                {}};
    }
    while (peer.canReadLine()) {
        const QByteArray line = peer.readLine(MaxRequestLine);
        if (line == ShowRequest)
            return {Request::Show, {}, {}};
        if (line.startsWith(ImportRequest) && line.endsWith('\n')) {
            const QUrl url = QUrl::fromEncoded(line.mid(ImportRequest.size()).trimmed());
            QStringList files = peer.property("plumoraFiles").toStringList();
            if (url.isLocalFile() && files.size() < MaxFiles)
                files << url.toLocalFile();
            peer.setProperty("plumoraFiles", files);
            continue;
        }
        const QStringList files = peer.property("plumoraFiles").toStringList();
        if (line == "\n" && !files.isEmpty())
            return {Request::Import, files, {}};
        return {Request::Dropped, {}, {}};
    }
    // A line that never ends is not kept growing.
    if (peer.bytesAvailable() > MaxRequestLine)
        return {Request::Dropped, {}, {}};
    return {Request::Incomplete, {}, {}};
}

void SingleInstance::answer(const QPointer<QLocalSocket>& peer, const QString& refusal) {
    if (!peer) {
        qCInfo(lcStartup) << "the start that asked for an import left before its answer";
        return;
    }
    QString line = refusal;
    line.replace(u'\n', u' ');
    peer->write(refusal.isEmpty() ? ImportedAnswer
                                  : RefusedAnswer + line.left(MaxRequestLine / 2).toUtf8() + '\n');
    peer->flush();
    peer->disconnectFromServer();
}

SingleInstance::ImportAnswer SingleInstance::askRunningCopyToImport(const QStringList& files,
                                                                    int connectTimeoutMs,
                                                                    int answerTimeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(socketName());
    if (!socket.waitForConnected(connectTimeoutMs))
        return {ImportAnswer::Unreachable, {}};
    QByteArray request;
    for (const QString& f : files)
        request +=
            ImportRequest + QUrl::fromLocalFile(QFileInfo(f).absoluteFilePath()).toEncoded() + '\n';
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(connectTimeoutMs))
        return {ImportAnswer::Unreachable, {}};
    // The answer comes once the running copy has imported the files.
    QElapsedTimer waited;
    waited.start();
    while (!socket.canReadLine()) {
        const qint64 left = answerTimeoutMs - waited.elapsed();
        if (left <= 0 || socket.state() != QLocalSocket::ConnectedState ||
            !socket.waitForReadyRead(int(left)))
            break;
    }
    if (!socket.canReadLine())
        return {ImportAnswer::Silent, {}};
    const QByteArray line = socket.readLine(MaxRequestLine);
    socket.disconnectFromServer();
    if (line == ImportedAnswer)
        return {ImportAnswer::Imported, {}};
    if (line.startsWith(RefusedAnswer))
        return {ImportAnswer::Refused, QString::fromUtf8(line.mid(RefusedAnswer.size())).trimmed()};
    return {ImportAnswer::Silent, {}};
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

SingleInstance::CommandReply SingleInstance::askRunningCopy(const QByteArray& request,
                                                            int timeoutMs) const {
    QElapsedTimer waited;
    waited.start();
    const auto left = [&] { return int(std::max<qint64>(0, timeoutMs - waited.elapsed())); };
    QLocalSocket socket;
    socket.connectToServer(socketName());
    if (!socket.waitForConnected(left()))
        return {};
    socket.write(request);
    while (socket.bytesToWrite() > 0)
        if (left() == 0 || !socket.waitForBytesWritten(left()))
            return {};
    CommandReply reply{true, {}};
    while (!socket.canReadLine()) {
        if (left() == 0 || socket.state() != QLocalSocket::ConnectedState ||
            !socket.waitForReadyRead(left()))
            break;
    }
    if (socket.canReadLine())
        reply.answer = socket.readLine(MaxRequestLine);
    socket.disconnectFromServer();
    return reply;
}
