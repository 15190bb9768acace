// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Settings.h"
#include "shell/AppContext.h"
#include "shell/Autostart.h"
#include "shell/ui/ToolPage.h"

#include <functional>

class CalendarSync;
class CalendarSyncBox;
class QCheckBox;
class QLabel;
class MailAccountBox;
class MailCheckState;
class MailPassword;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class ToolRegistry;

// The Options page ("Options"): the settings of the System row, the reminder sound, and
// backup and restore of the data file. Each control writes its setting as soon as it
// changes, nothing while the page fills its controls from the file; the mail user name and
// password are written when the page is left, and only when they were edited. Controls carry
// their names as objectName (NotifyAgoUD, WavCmd, AddHolidaysChk, OEUserTB, BkRsBtn, ...).
class Options : public ToolPage {
    Q_OBJECT
public:
    explicit Options(AppContext& context, QWidget* parent = nullptr);

    // Has a toolbar tool's page keep everything when it is loaded (by its button); set
    // by the application. Options has every other tool save before a backup or a restore;
    // the settings it writes, and a restored file, reach open pages through the ChangeHub.
    std::function<void(int toolbarButton)> keepToolHook;
    // The toolbar buttons of every other tool (ToolRegistry::toolButtons), which that hook
    // is called with; set by the application.
    QList<int> toolButtons;
    // Asks for a sound file, starting at `path`; "" when cancelled. A file dialog by default.
    std::function<QString(const QString& path)> chooseSoundFileHook;
    // Plays a sound file once, so the user hears the reminder sound; through the sound
    // module by default.
    std::function<void(const QString& path)> playSoundHook;
    // The user's autostart entry that "Start Plumora when I log in" shows and changes.
    void setAutostart(const Autostart& autostart);

    void activated() override;
    void aboutToHide() override;
    bool keepForUnload(QString* failure) override;
    void giveUpUnsaved() override;
    void hostResized() override;

    // Copies the stored settings into the controls without writing anything back.
    void fill();
    // Adds the "Calendar sync" group, run by `sync`.
    void addCalendarSync(CalendarSync* sync);
    // The mail checks' results for the mail group, and its "Check now".
    void setMailState(MailCheckState* state);

    // The sound button, "Backup data to ..." and "Restore data from ...".
    void chooseSound();
    void backup();
    void restore();

Q_SIGNALS:
    // One setting has just been written to the data file.
    void settingSaved(Settings::Field field);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    // Tab goes down the groups as they stand on the page, and through each group's controls
    // in their own order (a group added later comes where it is shown, not last).
    void orderTabs();
    void layOut();
    void saveSystemValue(Settings::Field field);
    // Writes `fields` of m_values and any that failed before, in one statement. A failure
    // keeps them for the next try and, when `speak`, says so.
    bool saveFields(const QList<Settings::Field>& fields, bool speak = true);
    QString saveFailure() const;
    // Writes the edited account; a typed password goes to the keyring first (storePassword),
    // or straight to the data file when `unloading`, to move at the next start.
    bool saveAccount(bool speak = true, bool unloading = false);
    void storePassword();
    void checkMailNow();
    void showMailStatus();
    void setMailEnabled(bool on);
    void countryToggled(QCheckBox* box, QCheckBox* other, bool on);
    void keepOtherTools();
    QString pickFolder();
    void inform(const QString& text);

    AppContext& m_context;
    // What the controls show; a change copies one field of it to the data file.
    Settings m_values;
    bool m_filling = false;
    // The "*" tags of the two text boxes.
    bool m_userEdited = false;
    bool m_passwordEdited = false;
    // Fields whose writing failed, tried again with the next write, and why.
    QList<Settings::Field> m_unsaved;
    QString m_saveError;
    bool m_givenUp = false; // the user chose to go on without them
    // The sound file the button stands for.
    QString m_soundPath;

    QScrollArea* m_outer = nullptr;
    QWidget* m_frame = nullptr;
    QSpinBox* m_notifyAgo = nullptr;
    QSpinBox* m_showEvery = nullptr;
    QPushButton* m_wav = nullptr;
    QPushButton* m_playWav = nullptr;
    QCheckBox* m_largeIcon = nullptr;
    QCheckBox* m_addHolidays = nullptr;
    QCheckBox* m_addAmerica = nullptr;
    QCheckBox* m_addCanada = nullptr;
    QCheckBox* m_chkEmail = nullptr;
    QSpinBox* m_checkMailMin = nullptr;
    QLabel* m_checkMailLb = nullptr;
    QLabel* m_userLb = nullptr;
    QLabel* m_passwordLb = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    MailAccountBox* m_account = nullptr;
    MailPassword* m_mailPassword = nullptr;
    MailCheckState* m_mailState = nullptr;
    int m_passwordStores = 0;       // typed passwords on their way to the keyring
    bool m_checkAfterStore = false; // "Check now" waits for them
    QCheckBox* m_autostartChk = nullptr;
    QLabel* m_dataPath = nullptr;
    CalendarSyncBox* m_calendarSync = nullptr;
    Autostart m_autostart;
};

// Options as the main window's "Options" tool.
class OptionsTool {
public:
    // `keepTool` is called for each of the tools' toolbar buttons before a backup or a
    // restore.
    OptionsTool(const ToolRegistry& tools, AppContext& context, std::function<void(int)> keepTool);
    // Makes the page the first time the main window asks for it.
    Options* makePage(QWidget* parent);
    // The calendar sync the "Calendar sync" group runs; none: the group is left out.
    void setCalendarSync(CalendarSync* sync) { m_calendarSync = sync; }
    // The mail checks' results and "Check now"; none: the button does nothing.
    void setMailState(MailCheckState* state) { m_mailState = state; }

private:
    const ToolRegistry& m_tools;
    AppContext& m_context;
    std::function<void(int)> m_keepTool;
    CalendarSync* m_calendarSync = nullptr;
    MailCheckState* m_mailState = nullptr;
};
