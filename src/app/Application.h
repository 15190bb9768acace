// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/ui/Calendar.h"
#include "data/ChangeHub.h"
#include "data/ToolData.h"
#include "mail/ui/MailWatch.h"
#include "notes/ui/NotesPage.h"
#include "notify/ui/Notices.h"
#include "shell/AppContext.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/ToolDescriptor.h"
#include "shell/ui/TrayController.h"

#include <QObject>

// Where Plumora is put together: the dispatcher, the controller, the notices and the tools,
// the start-up jobs and the minute jobs in their order, and the signals between them. A
// new tool adds its line to the tool list (app/ToolList.h).
class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(AppContext& context, QObject* parent = nullptr);
    ~Application() override;

    using ToolFactory = std::function<ToolDescriptor(AppContext& context)>;
    // Adds a tool after those registered (the program's own first): its tables
    // (SchemaPart::owner, its id when none is named) and shared stores from `data`, then
    // what `make` gives: its toolbar button, Tools and tray menu entries, page, jobs, Options
    // group and due entries. Before start(); returns its toolbar button, 0 for a tool shown
    // nowhere (ToolDescriptor::caption).
    int addTool(ToolData data, const ToolFactory& make);

    // Start-up; false when another copy already runs (then nothing is shown).
    bool start();
    // After start() gave false: the exit status of this start's request to the running copy.
    int secondStartStatus() const { return m_controller.secondStartStatus(); }
    // Files given with --import: handed to the running copy, or imported once started.
    void setImportFiles(const QStringList& files);
    // An action from the command line: handed to the running copy, or taken once started.
    void setCommand(const std::optional<RemoteCommand>& command) {
        m_controller.setCommand(command);
    }
    // Takes an action asked from outside the window; gives the refusal for the user, or
    // nothing once it acted.
    QString runCommand(const RemoteCommand& command);
    // The names `plumora --show` takes: the registered tools' command names, in order.
    QStringList toolNames() const;

    CommandDispatcher& dispatcher() { return m_dispatcher; }
    TrayController& controller() { return m_controller; }
    Notices& notices() { return m_notices; }
    ChangeHub& changes() { return m_context.stores.changes; }
    // The object of the registered tool `id` when it is a T (app.tool<NotesTool>("QNotes")).
    template <class T> T* tool(const QString& id) const {
        for (const ToolDescriptor& tool : m_tools)
            if (tool.id == id)
                return tool.object<T>();
        return nullptr;
    }
    // Every tool's unsaved input to the data file (before a shut-down or a sleep).
    void saveOpenWork();

private:
    void addJobs();
    // Registers a tool whose tables are in the schema already.
    int registerTool(ToolDescriptor tool);
    // Has a tool's page keep everything when the main window has it loaded.
    void keepTool(int toolbarButton);

    AppContext& m_context;
    CommandDispatcher m_dispatcher;
    TrayController m_controller;
    Notices m_notices;
    // The registered tools with their objects, in their order; the registry's copies hold no
    // object, so the objects go before the notices, the controller and the dispatcher.
    QList<ToolDescriptor> m_tools;
    // The tools' Options groups, for a tool that takes them (Options), in their order.
    QList<ToolDescriptor::OptionsGroupFactory> m_optionsGroups;
    bool m_tickRereadAsked = false; // a reading of the tick's tables is on its way
};
