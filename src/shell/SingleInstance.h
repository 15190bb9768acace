// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QuietReadNotifier;

// One running copy per program folder. The lock file lies in the program folder, or, when
// no file can be made there (a read-only folder), in the user's runtime folder under a name
// made from the program folder's path. A lock whose owner is not a running copy of this
// program (dead, another program, or no readable owner at all, as a copy killed while
// writing it leaves) is taken over.
//
// The running copy also listens on a local socket beside the lock, so a second start can
// ask it to show itself before it ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Acquired,       // this is the one copy
        HeldByAnother,  // a running copy holds the lock
        NoLockPossible, // neither folder takes a lock: run anyway, alone as far as we know
    };

    explicit SingleInstance(QString programFolder, QString runtimeFolder = defaultRuntimeFolder(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    Outcome acquire();
    // Where the lock was (or would be) made.
    QString lockPath() const { return m_lockPath; }

    // The running copy: starts answering a second start's requests with `onShowRequest`,
    // called from the event loop once the second start has been let go.
    bool listen(std::function<void()> onShowRequest);
    // A second start: asks the running copy to show itself; false when the request could not
    // be handed over within `timeoutMs`. It does not wait for the copy to act.
    bool askRunningCopyToShow(int timeoutMs = 1000) const;
    // What the running copy said to files handed to it.
    struct ImportAnswer {
        enum Kind {
            Imported,    // every file was imported
            Refused,     // a file was refused: `reason` says why
            Unreachable, // no running copy took the request
            Silent,      // the request went over, but no answer came in time
        } kind = Unreachable;
        QString reason;
    };
    // A second start with files to import: hands their absolute paths to the running copy
    // and waits for its answer, which comes once the files are imported (before any window
    // of the running copy shows the summary).
    ImportAnswer askRunningCopyToImport(const QStringList& files, int connectTimeoutMs = 3000,
                                        int answerTimeoutMs = 60000) const;
    // The running copy's import: imports the files and, once it has, gives `answer` the
    // answer for the second start, empty when all were imported, else the first line of the
    // first refusal. It runs from the event loop, never inside the socket's handler, so it
    // may open windows; the answer may come later from the event loop.
    using Answer = std::function<void(const QString& refusal)>;
    using ImportHandler = std::function<void(const QStringList& files, const Answer& answer)>;
    void setImportHandler(ImportHandler onImport) { m_onImport = std::move(onImport); }

    // A request line of the program's actions (RemoteCommand) and its one answer line.
    // The running copy's handler runs from the event loop, as an import's does, and gives
    // `reply` the answer line once it has acted.
    using Reply = std::function<void(const QByteArray& answerLine)>;
    using CommandHandler = std::function<void(const QByteArray& request, const Reply& reply)>;
    void setCommandHandler(CommandHandler onCommand) { m_onCommand = std::move(onCommand); }
    // A later start: sends the request line and waits for the answer line, all within
    // `timeoutMs`. `reached` is false when no running copy took the request; `answer` is
    // empty when none came in time.
    struct CommandReply {
        bool reached = false;
        QByteArray answer;
    };
    CommandReply askRunningCopy(const QByteArray& request, int timeoutMs) const;

    // $XDG_RUNTIME_DIR, else a folder of the user's own in the temporary folder.
    static QString defaultRuntimeFolder();

private:
    class Peer;
    struct Request {
        enum Kind { Incomplete, Show, Import, Command, Dropped } kind;
        QStringList files;
        QByteArray command;
    };
    static Request readRequest(Peer& peer);
    static void answer(const QPointer<Peer>& guarded, const QString& refusal);
    void acceptPeers();
    void take(Peer* peer);
    Outcome tryPath(const QString& path);
    QString socketName() const;

    QString m_programFolder;
    QString m_runtimeFolder;
    QString m_lockPath;
    int m_lockFd = -1;   // the open lock file while this copy holds it
    int m_listenFd = -1; // the listening socket while this copy answers later starts
    QuietReadNotifier* m_listening = nullptr;
    std::function<void()> m_onShow;
    ImportHandler m_onImport;
    CommandHandler m_onCommand;
};
