// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramSchema.h"
#include "app/StoreSet.h"
#include "mock/FakeOnlineAccounts.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "platform/Downloader.h"
#include "platform/GlobalKeys.h"
#include "platform/MailClient.h"
#include "platform/NetworkStatus.h"
#include "platform/PictureOutput.h"
#include "platform/ProcessRunner.h"
#include "platform/Registry.h"
#include "platform/ScreenGrabber.h"
#include "platform/SecretStore.h"
#include "platform/SleepInhibitor.h"
#include "platform/WindowSystem.h"
#include "shell/AppContext.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSet>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

// Fakes of the desktop roles: each answers from what the test set up and records what was
// asked of it.

class FakeWindowSystem : public WindowSystem {
public:
    QSet<QString> openWindows;
    QRect screen{0, 0, 1920, 1080};
    QRect available{0, 0, 1920, 1040};
    QList<QRect> otherScreens;
    QPoint cursor{1800, 1060};

    QList<QWidget*> madeTopmost;
    QList<QWidget*> shownWindows;

    bool isWindowOpen(const QString& title) const override { return openWindows.contains(title); }
    QRect screenGeometry() const override { return screen; }
    QRect workArea() const override { return available; }
    QList<QRect> screens() const override { return QList<QRect>{screen} + otherScreens; }
    QPoint cursorPos() const override { return cursor; }
    void makeTopmost(QWidget* window) override { madeTopmost << window; }
    bool showWindow(QWidget* window, bool) override {
        shownWindows << window;
        return window != nullptr;
    }
};

class FakeDesktopShell final : public DesktopShell {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };
    bool startSucceeds = true;
    bool browserAvailable = true;
    QHash<int, QString> specialFolders;

    QStringList openedUrls;
    QList<Started> started;

    bool openUrl(const QString& address) override {
        openedUrls << address;
        return browserAvailable;
    }
    bool startProgram(const QString& program, const QStringList& arguments,
                      const QString& workingFolder = {}) override {
        started.append({program, arguments, workingFolder});
        return startSucceeds;
    }
    QString specialFolderPath(SpecialFolder folder) const override {
        return specialFolders.value(int(folder));
    }
};

class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        QString title;
        MessageButtons buttons;
        MessageIcon icon;
    };
    std::deque<MessageAnswer> answers; // answers in order; Ok/No when none is left
    QString folderChoice;

    QList<Shown> messages;
    std::function<void(const Shown&)> onMessage; // looks at the screen while a box is up

    MessageAnswer messageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override {
        messages.append({text, title, buttons, icon});
        if (onMessage)
            onMessage(messages.last());
        if (!answers.empty()) {
            const MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    QString browseForFolder(QWidget*, const QString&) override { return folderChoice; }

    // The file pickers: what they return, and what they were asked.
    QStringList openChoice;
    QString saveChoice;
    SaveChoices saveAnswer; // the choices the user leaves in the save dialog
    QString savedSuggestion;
    SaveChoices saveOffered;
    QStringList openFiles(QWidget*, const QString&, const QString&) override { return openChoice; }
    // The one-file picker: what it returns, and where it was asked to start.
    QString fileChoice;
    QString fileStart;
    QString openFile(QWidget*, const QString&, const QString& startPath, const QString&) override {
        fileStart = startPath;
        return fileChoice;
    }
    QString saveFile(QWidget*, const QString&, const QString& suggestedPath, const QString&,
                     SaveChoices* choices) override {
        savedSuggestion = suggestedPath;
        if (choices) {
            saveOffered = *choices;
            choices->item = saveAnswer.item;
            choices->checked = saveAnswer.checked;
        }
        return saveChoice;
    }

    // The colour picker: what it returns for the colour it starts at (none: cancelled),
    // and the colours it started at.
    std::function<QColor(const QColor& initial)> colourChoice;
    QList<QColor> colourOffered;
    QColor chooseColour(QWidget*, const QColor& initial, const QString&) override {
        colourOffered.append(initial);
        return colourChoice ? colourChoice(initial) : QColor();
    }
};

class FakeRegistry final : public Registry {
public:
    QHash<QString, QString> values; // "root\key\name" -> value

    QString readString(const QString& root, const QString& key,
                       const QString& name) const override {
        return values.value(root + u'\\' + key + u'\\' + name);
    }
    void writeString(const QString& root, const QString& key, const QString& name,
                     const QString& text) override {
        values.insert(root + u'\\' + key + u'\\' + name, text);
    }
};

class FakeNetwork final : public NetworkStatus {
public:
    bool online = true;
    int asked = 0;
    bool isOnline() override {
        ++asked;
        return online;
    }
};

class FakeMailClient final : public MailClient {
public:
    MailProgram mailProgram{QStringLiteral("thunderbird.desktop"), QStringLiteral("Thunderbird"),
                            true};
    MailAccount account{{}, {}};
    bool accountReadable = true; // false: a mail program whose settings are unknown
    bool openSucceeds = true;
    int opened = 0;

    MailProgram program() const override { return mailProgram; }
    std::optional<MailAccount> defaultAccount() const override {
        return accountReadable ? std::optional(account) : std::nullopt;
    }
    bool open() override {
        ++opened;
        return openSucceeds;
    }
};

// Records every command; answers from a script keyed by command prefix, success otherwise.
class FakeProcessRunner final : public ProcessRunner {
public:
    QList<QStringList> commands;
    QList<std::pair<QStringList, ProcessResult>> script;
    QList<int> timeouts; // the time each command was allowed, in milliseconds

    ProcessResult run(const QString& program, const QStringList& arguments,
                      int timeoutMs = DefaultTimeoutMs) override {
        commands.append(QStringList{program} + arguments);
        timeouts.append(timeoutMs);
        for (const auto& [prefix, result] : script) {
            if (commands.last().mid(0, prefix.size()) == prefix)
                return result;
        }
        return {true, 0, {}, {}};
    }
};

// Keeps every request until the test answers it with finish(); a request whose receiver
// is gone is never answered, as with the real downloader.
class FakeDownloader final : public Downloader {
public:
    struct Request {
        QUrl url;
        qint64 maxBytes = 0;
        QPointer<QObject> receiver;
        Done done;
    };
    QList<Request> requests;

    void fetch(const QUrl& url, qint64 maxBytes, QObject* receiver, Done done) override {
        requests.append({url, maxBytes, receiver, std::move(done)});
    }
    // Answers the oldest open request: `body` whole, or cut at its maxBytes (tooLarge), or an
    // error when `error` is set. False when there was none to answer.
    bool finish(const QByteArray& body, const QString& error = {}) {
        if (requests.isEmpty())
            return false;
        const Request r = requests.takeFirst();
        Download d;
        if (!error.isEmpty()) {
            d.error = error;
        } else if (body.size() > r.maxBytes) {
            d.tooLarge = true;
            d.error = QStringLiteral("too large");
        } else {
            d.body = body;
        }
        if (r.receiver)
            r.done(d);
        return true;
    }
};

// Hands out a set picture of the screen, at once or when the test says (as a portal would).
class FakeScreenGrabber final : public ScreenGrabber {
public:
    ScreenGrab answer;
    bool answerLater = false;
    QList<QRect> asked;

    void grab(const QRect& screen, Done done) override {
        asked << screen;
        if (answerLater)
            m_pending = std::move(done);
        else
            done(answer);
    }
    bool isWaiting() const { return bool(m_pending); }
    void answerNow() { std::exchange(m_pending, nullptr)(answer); }

private:
    Done m_pending;
};

// A printer that records each page, and a clipboard.
class FakePictureOutput final : public PictureOutput {
public:
    bool printerInstalled = true;
    QString printError;     // set: printing fails with it
    bool cancelled = false; // the print dialog is cancelled
    QList<std::pair<QImage, QPageLayout::Orientation>> printed;
    QList<QWidget*> owners; // the windows the print dialog stood over
    QList<QImage> clipboard;

    bool hasPrinter() override { return printerInstalled; }
    Printed print(QWidget* owner, const QImage& picture, QPageLayout::Orientation orientation,
                  QString& detail) override {
        owners << owner;
        if (cancelled)
            return Printed::Cancelled;
        detail = printError;
        if (!detail.isEmpty())
            return Printed::Failed;
        printed.append({picture, orientation});
        detail = QStringLiteral("Office printer");
        return Printed::Sent;
    }
    void copyToClipboard(const QImage& picture) override { clipboard << picture; }
};

// A keyring in memory, or none (available = false). It answers on the next turn of the
// event loop, as the real one does, and counts what it was asked.
class FakeSecretStore final : public SecretStore {
public:
    bool available = true;
    // The user dismisses the keyring's prompt: reads and writes answer Cancelled.
    bool cancelPrompt = false;
    // Reads are held unanswered (a keyring that hangs) until answerHeld().
    bool silent = false;
    QHash<QString, QString> secrets;
    int reads = 0;
    int writes = 0;

    void answerHeld() {
        for (auto& [receiver, done, r] : std::exchange(m_held, {}))
            if (receiver)
                answer(receiver, std::move(done), r);
    }

    void read(const QString& key, QObject* receiver, Done done) override {
        ++reads;
        Result r;
        r.status = !available              ? Status::NoKeyring
                   : cancelPrompt          ? Status::Cancelled
                   : secrets.contains(key) ? Status::Done
                                           : Status::NotFound;
        r.secret = secrets.value(key);
        if (silent)
            m_held.push_back({receiver, std::move(done), r});
        else
            answer(receiver, std::move(done), r);
    }
    void write(const QString& key, const QString& secret, QObject* receiver, Done done) override {
        ++writes;
        if (available && !cancelPrompt)
            secrets.insert(key, secret);
        answer(receiver, std::move(done),
               {!available     ? Status::NoKeyring
                : cancelPrompt ? Status::Cancelled
                               : Status::Done,
                {},
                {}});
    }
    void remove(const QString& key, QObject* receiver, Done done) override {
        if (available)
            secrets.remove(key);
        answer(receiver, std::move(done), {available ? Status::Done : Status::NoKeyring, {}, {}});
    }

private:
    struct Held {
        QPointer<QObject> receiver;
        Done done;
        Result r;
    };
    std::vector<Held> m_held;

    static void answer(QObject* receiver, Done done, const Result& r) {
        QMetaObject::invokeMethod(
            receiver, [done = std::move(done), r] { done(r); }, Qt::QueuedConnection);
    }
};

// One fake of every role, and the context that hands them out.
// The machine's sleep: the test says when it sleeps and wakes; the lock's life is logged.
class FakeSleepInhibitor final : public SleepInhibitor {
public:
    QStringList log;
    std::function<void()> onRelease; // runs as the lock goes, before the log line

    void hold() override {
        held = true;
        log << QStringLiteral("hold");
    }
    void release() override {
        if (!held)
            return;
        if (onRelease)
            onRelease();
        held = false;
        log << QStringLiteral("release");
    }
    bool holding() const override { return held; }
    void sleep() { Q_EMIT aboutToSleep(); }
    void wake() { Q_EMIT resumed(); }

private:
    bool held = false;
};

// Global keys that bind whatever is not in `taken`; tests press them with press().
class FakeGlobalKeys final : public GlobalKeys {
public:
    Way way() const override { return desktopWay; }
    State bind(const QString& name, const QKeySequence& key) override {
        bound.remove(name);
        if (key.isEmpty())
            return State::Unbound;
        if (desktopWay == Way::None)
            return State::Unusable;
        if (taken.contains(key))
            return State::Taken;
        bound.insert(name, key);
        return State::Bound;
    }
    void check() override {
        for (const QString& name : bound.keys())
            if (taken.contains(bound.value(name))) {
                bound.remove(name);
                Q_EMIT lost(name);
            }
    }
    // A press of `key`: true when it was bound.
    bool press(const QKeySequence& key) {
        const QString name = bound.key(key);
        if (name.isEmpty())
            return false;
        Q_EMIT activated(name);
        return true;
    }

    Way desktopWay = Way::X11Grab;
    QList<QKeySequence> taken; // keys another program holds
    QMap<QString, QKeySequence> bound;
};

struct FakeDesktop {
    FakeWindowSystem windows;
    FakeDesktopShell shell;
    FakeDialogs dialogs;
    FakeRegistry registry;
    FakeNetwork network;
    FakeMailClient mail;
    FakeProcessRunner processes;
    FakeDownloader downloads;
    FakeScreenGrabber grabber;
    FakePictureOutput pictureOutput;
    FakeSecretStore secrets;
    FakeOnlineAccounts onlineAccounts;
    FakeGlobalKeys keys;
    // The data file's hub and stores as the program builds them, one set per context().
    std::deque<StoreSet> data;

    AppContext context(const AppPaths& paths, Clock& clock) {
        data.emplace_back(paths.dataFile());
        return AppContext{paths,   clock, windows,   shell,         dialogs,       registry,
                          network, mail,  processes, grabber,       pictureOutput, downloads,
                          secrets, keys,  stores(),  onlineAccounts};
    }
    // The stores of the latest context().
    DataStores& stores() { return data.back().stores(); }
};
