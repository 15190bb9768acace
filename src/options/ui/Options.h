// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Settings.h"
#include "options/OptionsForm.h"
#include "shell/AppContext.h"
#include "shell/Autostart.h"
#include "shell/ui/OptionsGroup.h"
#include "shell/ui/ToolDescriptor.h"
#include "shell/ui/ToolPage.h"

#include <QPointer>

class ChimePlayer;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QVBoxLayout;
class ToolRegistry;

// The Options page ("Options"): the settings of the System row, the reminder sound, backup
// and restore of the data file, and the groups the tools put there (OptionsGroup), each in
// its place. Each control writes its setting as soon as it changes, nothing while the page
// fills its controls from the file; a group's typed text is written when the page is left.
// While it shows, the page follows what others write to the tables it shows; input not yet
// written stays, and a bar offers to reload. Controls carry their names as objectName
// (NotifyAgoUD, WavCmd, AddHolidaysChk, BkRsBtn, ...).
class Options : public ToolPage {
    Q_OBJECT
public:
    explicit Options(AppContext& context, QWidget* parent = nullptr);

    // The toolbar buttons of every other tool (ToolRegistry::toolButtons): before a backup
    // or a restore, keepTool is emitted for each.
    QList<int> toolButtons;
    // The user's autostart entry that "Start Plumora when I log in" shows and changes.
    void setAutostart(const Autostart& autostart);
    // Puts a tool's group in its place (OptionsGroup::order), also once the page shows.
    void addGroup(OptionsGroup* group);

    void activated() override;
    void aboutToHide() override;
    bool keepForUnload(QString* failure) override;
    void giveUpUnsaved() override;
    void hostResized() override;

    // Copies the stored settings into the controls and groups without writing anything back.
    void fill();
    // Input typed on the page that the data file does not hold yet.
    bool hasUnsavedInput() const;

    // The sound button, "Backup data to ..." and "Restore data from ...".
    void chooseSound();
    void backup();
    void restore();

Q_SIGNALS:
    // One setting has just been written to the data file.
    void settingSaved(Settings::Field field);
    // The tool of a toolbar button is to keep everything it holds (ToolPage::keepEverything).
    void keepTool(int toolbarButton);
    // "Play" handed this sound file to the player.
    void soundPlayed(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    QWidget* buildReloadBar();
    void insertGroup(QWidget* group, int order);
    // The frame takes the height its groups need now.
    void growFrame();
    // Tab goes down the groups as they stand on the page, and through each group's controls
    // in their own order (a group added later comes where it is shown, not last).
    void orderTabs();
    void alignNumberBoxes();
    void layOut();
    void saveSystemValue(Settings::Field field);
    // Writes `fields` of m_values and any that failed before, in one statement. A failure
    // keeps them for the next try and, when `speak`, says so.
    bool saveFields(const QList<Settings::Field>& fields, bool speak = true);
    // Takes the groups' input at `moment` and writes it; `only`: that group's alone.
    bool saveGroups(OptionsGroup::Moment moment, bool speak = true, OptionsGroup* only = nullptr);
    QString saveFailure() const;
    // The page's own controls as m_values has them.
    // Shows m_values; `keepTyping` leaves a number box being typed in as it is.
    void showValues(bool keepTyping = true);
    // Another writer changed `table`: a page on show follows it.
    void tableChanged(const QString& table);
    void followChanges();
    void reload();
    // The holiday boxes as m_values has them.
    void showHolidays();
    void keepOtherTools();
    QString pickFolder();
    void inform(const QString& text);

    AppContext& m_context;
    // What the controls show; a change copies one field of it to the data file.
    Settings m_values;
    bool m_filling = false;
    // Writes them; keeps the fields whose writing failed for the next write.
    SettingsWriter m_writer;
    bool m_givenUp = false; // the user chose to go on without them
    // The sound file the button stands for.
    QString m_soundPath;
    // Tables changed by others while the page was hidden or not yet followed.
    bool m_stale = false;

    QScrollArea* m_outer = nullptr;
    QWidget* m_frame = nullptr;
    QVBoxLayout* m_column = nullptr;
    QWidget* m_reloadBar = nullptr;
    QSpinBox* m_notifyAgo = nullptr;
    QSpinBox* m_showEvery = nullptr;
    QPushButton* m_wav = nullptr;
    QPushButton* m_playWav = nullptr;
    QCheckBox* m_largeIcon = nullptr;
    QCheckBox* m_addHolidays = nullptr;
    QCheckBox* m_addAmerica = nullptr;
    QCheckBox* m_addCanada = nullptr;
    QCheckBox* m_autostartChk = nullptr;
    QLabel* m_dataPath = nullptr;
    QList<OptionsGroup*> m_groups;
    ChimePlayer* m_player = nullptr;
    Autostart m_autostart;
};

// Options as the main window's "Options" tool.
class OptionsTool {
public:
    // Before a backup or a restore, `link` is asked to keep each of the other tools' pages
    // (those of the registry it names).
    OptionsTool(AppContext& context, ToolLink& link);
    // Makes the page the first time the main window asks for it, with the tools' groups.
    Options* makePage(QWidget* parent);
    // A tool's group (ToolDescriptor::optionsGroups); on the page at once when it shows.
    void addGroup(ToolDescriptor::OptionsGroupFactory group);

private:
    AppContext& m_context;
    ToolLink& m_link;
    QList<ToolDescriptor::OptionsGroupFactory> m_groups;
    QPointer<Options> m_page;
};
