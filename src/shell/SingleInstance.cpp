// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SingleInstance.h"

#include "base/FileReplace.h"
#include "base/Log.h"
#include "base/QuietReadNotifier.h"
#include "shell/RemoteCommand.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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

// The socket's address; false when the path does not fit in one.
bool socketAddress(const QString& name, sockaddr_un& address) {
    const QByteArray path = QFile::encodeName(name);
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::copy(path.cbegin(), path.cend(), address.sun_path);
    return true;
}

// Waits until `fd` is ready for `events` or the deadline passes.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 1 << 30)));
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

// A later start's connection to the running copy, or -1 when none takes it in time. A
// listener whose queue is full refuses at once; it is asked again until the deadline.
int connectTo(const QString& name, const QDeadlineTimer& deadline) {
    sockaddr_un address;
    if (!socketAddress(name, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return fd;
        if (errno == EINTR)
            continue;
        if (errno == EINPROGRESS) {
            int error = 0;
            socklen_t size = sizeof error;
            if (waitFor(fd, POLLOUT, deadline) &&
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
                return fd;
            break;
        }
        if (errno != EAGAIN || deadline.hasExpired())
            break;
        ::poll(nullptr, 0, int(std::min<qint64>(deadline.remainingTime(), 5)));
    }
    ::close(fd);
    return -1;
}

// Writes all of `data` before the deadline.
bool sendAll(int fd, const QByteArray& data, const QDeadlineTimer& deadline) {
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || !waitFor(fd, POLLOUT, deadline))
            return false;
    }
    return true;
}

// One line, newline included, read before the deadline; empty when none came whole.
QByteArray readLine(int fd, const QDeadlineTimer& deadline) {
    QByteArray in;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            in.append(buffer, n);
            const qsizetype end = in.indexOf('\n');
            if (end >= 0)
                return end < MaxRequestLine ? in.left(end + 1) : QByteArray();
            if (in.size() >= MaxRequestLine)
                return {};
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || !waitFor(fd, POLLIN, deadline))
            return {};
    }
}

// Closes a descriptor when it goes out of scope.
struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
};

// A short, stable name for a program folder.
QString folderKey(const QString& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(16));
}

} // namespace

// One later start's connection to the running copy: what it sent so far, and the answer
// still to go out. It closes itself once the answer is out, and when the start goes away.
class SingleInstance::Peer : public QObject {
public:
    Peer(int fd, SingleInstance* owner)
        : QObject(owner), m_fd(fd), m_read(fd, QSocketNotifier::Read, this),
          m_write(fd, QSocketNotifier::Write, this) {
        m_write.setEnabled(false);
        connect(&m_read, &QSocketNotifier::activated, this, [this, owner] { receive(*owner); });
        connect(&m_write, &QSocketNotifier::activated, this, &Peer::flush);
    }
    ~Peer() override { shut(); }

    QByteArray in;      // received and not yet read as a request
    QStringList files;  // the import lines read so far
    bool taken = false; // the whole request was read; what follows is ignored

    // Sends `data`, then closes.
    void answer(const QByteArray& data) {
        m_out += data;
        finish();
    }
    // Closes once what is queued is out.
    void finish() {
        m_finishing = true;
        flush();
    }
    // Closes at once.
    void drop() {
        shut();
        deleteLater();
    }

private:
    void receive(SingleInstance& owner) {
        char buffer[16384];
        while (m_fd >= 0) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (n <= 0) // the start went away
                return drop();
            if (taken)
                continue;
            in.append(buffer, n);
            owner.take(this);
        }
    }
    void flush() {
        while (m_fd >= 0 && !m_out.isEmpty()) {
            const ssize_t n =
                ::send(m_fd, m_out.constData(), size_t(m_out.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                m_write.setEnabled(true);
                return;
            }
            if (n <= 0)
                return drop();
            m_out.remove(0, n);
        }
        m_write.setEnabled(false);
        if (m_finishing && m_fd >= 0)
            drop();
    }
    void shut() {
        if (m_fd < 0)
            return;
        m_read.setEnabled(false);
        m_write.setEnabled(false);
        ::close(m_fd);
        m_fd = -1;
    }

    int m_fd;
    QSocketNotifier m_read;
    QSocketNotifier m_write;
    QByteArray m_out;
    bool m_finishing = false;
};

SingleInstance::SingleInstance(QString programFolder, QString runtimeFolder, QObject* parent)
    : QObject(parent), m_programFolder(std::move(programFolder)),
      m_runtimeFolder(std::move(runtimeFolder)),
      m_lockPath(m_programFolder + QStringLiteral("/plumora.lock")) {}

SingleInstance::~SingleInstance() {
    if (m_listenFd >= 0) {
        delete m_listening;
        ::close(m_listenFd);
        ::unlink(QFile::encodeName(socketName()).constData());
    }
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
    // The owner's process id, for a person looking at the file. Written over the last
    // owner's and cut only where that was longer: emptying the file first costs the file
    // system a block freed and taken again at every start.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::pwrite(fd, pid.constData(), size_t(pid.size()), 0) != pid.size() ||
        (st.st_size > pid.size() && ::ftruncate(fd, pid.size()) != 0))
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
    if (m_listenFd >= 0)
        return true;
    const QString name = socketName();
    sockaddr_un address;
    if (!socketAddress(name, address)) {
        qCWarning(lcStartup) << "cannot listen on" << name << "(the path is too long)";
        return false;
    }
    // A socket file left by a copy that died would refuse the name.
    ::unlink(address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, 0600) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        qCWarning(lcStartup) << "cannot listen on" << name << qt_error_string(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_listenFd = fd;
    m_onShow = std::move(onShowRequest);
    // Later starts are rare: the socket is watched off the event loop.
    m_listening = new QuietReadNotifier(fd, this);
    connect(m_listening, &QuietReadNotifier::activated, this, &SingleInstance::acceptPeers);
    return true;
}

void SingleInstance::acceptPeers() {
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            new Peer(fd, this);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            qCWarning(lcStartup) << "cannot take a later start's request:"
                                 << qt_error_string(errno);
        return;
    }
}

void SingleInstance::take(Peer* peer) {
    // Only reads here. What the request asks for runs from the event loop afterwards: it may
    // open a window whose event loop would otherwise run with this handler on the stack, and
    // the peer may be gone by then.
    const Request request = readRequest(*peer);
    if (request.kind == Request::Incomplete)
        return;
    peer->taken = true;
    peer->in.clear();
    const QPointer<Peer> guarded(peer);
    if (request.kind == Request::Show) {
        peer->finish();
        if (m_onShow)
            QTimer::singleShot(0, this, m_onShow);
    } else if (request.kind == Request::Command && m_onCommand) {
        QTimer::singleShot(0, this, [this, guarded, line = request.command] {
            m_onCommand(line, [guarded](const QByteArray& answerLine) {
                if (Peer* p = guarded.data())
                    p->answer(answerLine);
            });
        });
    } else if (request.kind == Request::Import && m_onImport) {
        QTimer::singleShot(0, this, [this, guarded, files = request.files] {
            m_onImport(files, [guarded](const QString& refusal) { answer(guarded, refusal); });
        });
    } else {
        peer->drop();
    }
}

SingleInstance::Request SingleInstance::readRequest(Peer& peer) {
    // "show", or import lines ended by an empty line; anything else is dropped. The lines
    // read so far stay with the peer until the request is whole. A command is one line,
    // which may be longer (a note's text).
    QByteArray& in = peer.in;
    if (RemoteCommand::isRequest(in.left(3))) {
        const qsizetype end = in.indexOf('\n');
        if (end >= 0) // too long a line is cut, and refused as damaged
            return {Request::Command, {}, in.left(std::min(end + 1, RemoteCommand::MaxLine + 1))};
        return {
            in.size() > RemoteCommand::MaxLine ? Request::Dropped : Request::Incomplete, {}, {}};
    }
    for (qsizetype end = in.indexOf('\n'); end >= 0; end = in.indexOf('\n')) {
        if (end + 1 >= MaxRequestLine)
            return {Request::Dropped, {}, {}};
        const QByteArray line = in.left(end + 1);
        in.remove(0, end + 1);
        if (line == ShowRequest)
            return {Request::Show, {}, {}};
        if (line.startsWith(ImportRequest)) {
            const QUrl url = QUrl::fromEncoded(line.mid(ImportRequest.size()).trimmed());
            if (url.isLocalFile() && peer.files.size() < MaxFiles)
                peer.files << url.toLocalFile();
            continue;
        }
        if (line == "\n" && !peer.files.isEmpty())
            return {Request::Import, peer.files, {}};
        return {Request::Dropped, {}, {}};
    }
    // A line that never ends is not kept growing.
    if (in.size() > MaxRequestLine)
        return {Request::Dropped, {}, {}};
    return {Request::Incomplete, {}, {}};
}

void SingleInstance::answer(const QPointer<Peer>& guarded, const QString& refusal) {
    Peer* peer = guarded.data();
    if (!peer) {
        qCInfo(lcStartup) << "the start that asked for an import left before its answer";
        return;
    }
    QString line = refusal;
    line.replace(u'\n', u' ');
    peer->answer(refusal.isEmpty() ? ImportedAnswer
                                   : RefusedAnswer + line.left(MaxRequestLine / 2).toUtf8() + '\n');
}

SingleInstance::ImportAnswer SingleInstance::askRunningCopyToImport(const QStringList& files,
                                                                    int connectTimeoutMs,
                                                                    int answerTimeoutMs) const {
    const QDeadlineTimer connectDeadline(connectTimeoutMs);
    const FdCloser socket{connectTo(socketName(), connectDeadline)};
    if (socket.fd < 0)
        return {ImportAnswer::Unreachable, {}};
    QByteArray request;
    for (const QString& f : files)
        request +=
            ImportRequest + QUrl::fromLocalFile(QFileInfo(f).absoluteFilePath()).toEncoded() + '\n';
    if (!sendAll(socket.fd, request + '\n', QDeadlineTimer(connectTimeoutMs)))
        return {ImportAnswer::Unreachable, {}};
    // The answer comes once the running copy has imported the files.
    const QByteArray line = readLine(socket.fd, QDeadlineTimer(std::max(0, answerTimeoutMs)));
    if (line == ImportedAnswer)
        return {ImportAnswer::Imported, {}};
    if (line.startsWith(RefusedAnswer))
        return {ImportAnswer::Refused, QString::fromUtf8(line.mid(RefusedAnswer.size())).trimmed()};
    return {ImportAnswer::Silent, {}};
}

bool SingleInstance::askRunningCopyToShow(int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    const FdCloser socket{connectTo(socketName(), deadline)};
    return socket.fd >= 0 && sendAll(socket.fd, ShowRequest, QDeadlineTimer(timeoutMs));
}

SingleInstance::CommandReply SingleInstance::askRunningCopy(const QByteArray& request,
                                                            int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    const FdCloser socket{connectTo(socketName(), deadline)};
    if (socket.fd < 0 || !sendAll(socket.fd, request, deadline))
        return {};
    return {true, readLine(socket.fd, deadline)};
}
