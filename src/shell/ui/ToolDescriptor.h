// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/DueEntries.h"
#include "shell/SingleInstance.h"
#include "shell/ui/Artwork.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include <any>
#include <functional>
#include <memory>

class OptionsGroup;
class ToolPage;
class ToolRegistry;
class TrayController;
class QWidget;

// A tool's line to the program: what it asks of the shell or tells the user, as signals the
// application connects once for every tool, and the registry it was added to.
class ToolLink : public QObject {
    Q_OBJECT
public:
    // Set by the application when the tool is registered.
    const ToolRegistry* tools = nullptr;

    // Tells `text` in a pop-up message; a click on it shows the tool `action` (none: nothing).
    void tell(const QString& text, const QString& action = {}) { Q_EMIT notice(text, action); }

Q_SIGNALS:
    void notice(const QString& text, const QString& action);
    // Brings up the tool `id` in the main window.
    void showTool(const QString& id);
    // Makes the tool `id` the main window's page without showing the window.
    void loadToolAsked(const QString& id);
    // Every tool's unsaved input is to go to the data file now (before a shut-down).
    void saveOpenWorkAsked();
    // The loaded page of the tool on `toolbarButton` is to keep everything (before a backup).
    void keepToolAsked(int toolbarButton);
    // The program is to take the action `action` (RemoteCommand) as if asked from the
    // command line.
    void commandAsked(const QString& action, const QString& argument);
};

// Everything the shell needs to know of a tool, given by the tool's own folder: the
// application registers the tools in one list, and the toolbar, the Tools menu, the tray
// menu, the dispatcher, the data file and the tick take them from there.
struct ToolDescriptor {
    using PageFactory = std::function<ToolPage*(QWidget* parent)>;
    using JobAdder = std::function<void(TrayController& controller)>;
    using OptionsGroupFactory = std::function<OptionsGroup*(QWidget* parent)>;
    // Files handed to the program (--import, or a second start's): `answer` gets the first
    // refusal, or nothing, before any window opens.
    using FileOpener = SingleInstance::ImportHandler;

    // Stable id: the page's objectName (the Tools menu entry's is id + "Menu"), and the key
    // of its tables' version.
    QString id;
    // The toolbar tip, which is also the page's title in the status bar.
    QString tip;
    // The tray menu caption; the Tools menu shows it with its accelerator. A tool without
    // one is shown nowhere: no toolbar button, no menu entries and no page, only its jobs,
    // tables and due entries.
    QString caption;
    // The Tools menu caption with its accelerator ("&Tally"); `caption` when empty.
    QString accelerator;
    Artwork::Painter paintIcon;
    // F1 on the page opens this topic; the id in lower case + ".htm" when empty.
    QString helpTopic;
    // The page draws the etched rule at its top.
    bool etchedRule = false;
    // A separator goes before it on the toolbar, in the Tools menu and in the tray menu.
    bool startsGroup = false;
    // Makes the page the first time the tool is chosen; none: an empty page.
    PageFactory page;
    // Make the tool's groups on the Options page (OptionsGroup::order places each); none:
    // the tool has no group there.
    QList<OptionsGroupFactory> optionsGroups;
    // Adds the tool's start-up and minute jobs.
    JobAdder addJobs;
    // What it offers the other tools' windows, by name (a function or a value), found with
    // ToolRegistry::offer; kept by the registry's copies.
    QHash<QString, std::any> offers;
    // Appends the tool's rows that can fire to the tick's due entries, each with its fire
    // handler; read again whenever one of `dueTables` changes.
    DueReader dueReader;
    QStringList dueTables;
    // What its due entries do, by the action each names.
    DueActions dueActions;
    // The name the command line and the shortcuts know the tool by (plumora --show NAME);
    // empty: none.
    QString commandName;
    // What the tool does when asked from outside the window (a command line, a global
    // shortcut), by action name (RemoteCommand): each takes the command's argument and gives
    // a refusal for the user, or nothing once it has acted.
    using Action = std::function<QString(const QString& argument)>;
    QMap<QString, Action> actions;
    // The tool's object, which makes and keeps its page and runs its jobs (a
    // std::shared_ptr<T>); kept by the application for as long as the tool is registered.
    std::any owner;
    // Its line to the program; shared by the copies of the descriptor.
    std::shared_ptr<ToolLink> link = std::make_shared<ToolLink>();
    // Writes its unsaved input to the data file (before a shut-down or a sleep).
    std::function<void()> saveNow;
    // Opens files handed to the program (the first tool that has it takes them).
    FileOpener openFiles;
    // A tool that shows the others' Options groups takes each here, in the list's order.
    std::function<void(OptionsGroupFactory group)> takeOptionsGroup;

    // Holds the tool's object as its owner; an object that makes a page with
    // makePage(parent) gives the tool its page. Returns the object for the other seams.
    template <class T> T* hold(std::shared_ptr<T> tool) {
        T* held = tool.get();
        if constexpr (requires(T & t, QWidget * parent) { t.makePage(parent); })
            page = [held](QWidget* parent) { return held->makePage(parent); };
        owner = std::move(tool);
        return held;
    }

    // The tool's object when it is a T.
    template <class T> T* object() const {
        const auto* held = std::any_cast<std::shared_ptr<T>>(&owner);
        return held ? held->get() : nullptr;
    }

    QString topic() const {
        return helpTopic.isEmpty() ? id.toLower() + QStringLiteral(".htm") : helpTopic;
    }
    bool isShown() const { return !caption.isEmpty(); }
    // The Tools menu caption.
    QString menuCaption() const { return accelerator.isEmpty() ? caption : accelerator; }
};
