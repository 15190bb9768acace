#pragma once

#include "platform/Platform.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <deque>

// A desktop that records what was asked of it and answers from what the test set up.
class FakePlatform : public Platform {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };
    struct Shown {
        QString text;
        QString title;
        MessageButtons buttons;
        MessageIcon icon;
    };

    // --- set up by the test ---
    QSet<QString> openWindows;
    QRect screen{0, 0, 1920, 1080};
    QRect available{0, 0, 1920, 1040};
    QPoint cursor{1800, 1060};
    bool online = true;
    bool startSucceeds = true;
    QHash<QString, QString> registry; // "root\key\name" -> value
    QHash<int, QString> specialFolders;
    QString folderChoice;
    std::deque<MessageAnswer> answers; // answers to MessageBox in order; Ok/No when empty

    // --- recorded ---
    QStringList openedUrls;
    int mailProgramOpened = 0;
    QList<Started> started;
    QList<Shown> messages;
    QList<QWidget*> madeTopmost;
    QList<QWidget*> shownForms;

    bool IsWindowOpen(const QString& title) const override { return openWindows.contains(title); }
    int GetWorkAreaBottom() const override { return available.y() + available.height(); }
    QRect screenGeometry() const override { return screen; }
    QRect workArea() const override { return available; }
    QPoint cursorPos() const override { return cursor; }
    void MakeTopmost(QWidget* window) override { madeTopmost << window; }
    bool ShowFormSafely(QWidget* window, bool) override {
        shownForms << window;
        return window != nullptr;
    }

    void OpenUrlInBrowser(const QString& address) override { openedUrls << address; }
    void OpenMailProgram() override { ++mailProgramOpened; }
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& workingFolder = {}) override {
        started.append({program, arguments, workingFolder});
        return startSucceeds;
    }

    QString ReadRegistryString(const QString& root, const QString& key,
                               const QString& name) const override {
        return registry.value(root + u'\\' + key + u'\\' + name);
    }
    void WriteRegistryString(const QString& root, const QString& key, const QString& name,
                             const QString& text) override {
        registry.insert(root + u'\\' + key + u'\\' + name, text);
    }
    QString GetSpecialFolderPath(SpecialFolder folder) const override {
        return specialFolders.value(int(folder));
    }
    QString BrowseForFolder(QWidget*, const QString&) override { return folderChoice; }

    bool IsOnline() override { return online; }

    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override {
        messages.append({text, title, buttons, icon});
        if (!answers.empty()) {
            const MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
};
