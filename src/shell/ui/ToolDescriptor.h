// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"
#include "shell/DueEntries.h"
#include "shell/ui/Artwork.h"

#include <QString>

#include <functional>

class OptionsGroup;
class ToolPage;
class TrayController;
class QWidget;

// Everything the shell needs to know of a tool, given by the tool's own folder: the
// application registers the tools in one list, and the toolbar, the Tools menu, the tray
// menu, the dispatcher, the data file and the tick take them from there.
struct ToolDescriptor {
    using PageFactory = std::function<ToolPage*(QWidget* parent)>;
    using JobAdder = std::function<void(TrayController& controller)>;
    using OptionsGroupFactory = std::function<OptionsGroup*(QWidget* parent)>;

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
    // Makes the tool's group on the Options page (OptionsGroup::order places it); none: the
    // tool has no group there.
    OptionsGroupFactory optionsGroup;
    // Adds the tool's start-up and minute jobs.
    JobAdder addJobs;
    // Its part of the data file's schema. The program's own tools number their steps in the
    // file's one version sequence (files in the field were made so); a tool added after them
    // counts its own, under its owner name (its id when the part names none).
    QList<SchemaPart> schema;
    // Appends the tool's rows that can fire to the tick's due entries, each with its fire
    // handler; read again whenever one of `dueTables` changes.
    DueReader dueReader;
    QStringList dueTables;
    // What its due entries do, by the action each names.
    DueActions dueActions;

    QString topic() const {
        return helpTopic.isEmpty() ? id.toLower() + QStringLiteral(".htm") : helpTopic;
    }
    bool isShown() const { return !caption.isEmpty(); }
    // The Tools menu caption.
    QString menuCaption() const { return accelerator.isEmpty() ? caption : accelerator; }
};
