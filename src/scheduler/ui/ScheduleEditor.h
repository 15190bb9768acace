// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scheduler/ScheduleEditorState.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

// The schedule-entry editor "- Edit Schedule -": what to do (launch a program, or shut down
// / hibernate), when, and how often. It never touches the data file: the caller presets it
// with a ScheduleEditorState and reads the answers back.
//
// Use from any tool:
//
//     ScheduleEditorState preset = ScheduleEditorState::fresh(context.clock);
//     preset.reminderMode = true;            // note alarms: only date, time and frequency
//     preset.freqOption = -1;                // -1: no frequency option chosen yet
//     if (const auto answer = ScheduleEditor::edit(preset, parentWidget)) {
//         answer->frequency();               // 0 inactive, 1 one time, 2..5 daily..yearly
//         answer->date; answer->time;        // the picked minute
//         answer->entry();                   // or the whole Schedule row it makes
//     }
//
// edit() returns std::nullopt for Cancel, Esc and the close box (and when the parent goes
// away while the dialog is open). The dialog is modal to its parent's window only, so other
// top-level windows (the help window opened with F1 above all) stay usable while it is open. F1
// opens "editsch.htm" through the application's help key, as in every window.
//
// Controls carry their names as objectName: TypeOpt (two, with the property "index" 0 and 1),
// HibernateChk, RunLb, RunEdit (the command line), RunBtn (chooses the program), SchFrame,
// SchDateDT, SchTimeDT, IsActiveChk, OneTimeChk, FreqFrame (its property "tag" is the frequency
// code as text), FreqOpt (four, "index" 0 to 3), RemindLb, OKBtn and CancelBtn. The dialog's
// property "tag" becomes "*" on OK.
class ScheduleEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Caption = QT_TR_NOOP("- Edit Schedule -"); // shown translated

    // Shows the editor modally and returns what the user confirmed with OK.
    static std::optional<ScheduleEditorState> edit(const ScheduleEditorState& preset,
                                                   QWidget* parent);

    explicit ScheduleEditor(const ScheduleEditorState& preset, QWidget* parent = nullptr);

    // The controls as they stand now.
    ScheduleEditorState state() const;
    // OK was pressed.
    bool confirmed() const { return m_confirmed; }

private:
    void buildControls();
    void setControls(const ScheduleEditorState& s);
    // Recomputes what is enabled, shown and coloured from the controls.
    void updateEditorState();
    void showProgram();
    // The program button: the file dialog, then the chosen file if it can be run.
    void chooseProgram();
    // OK: the entry is taken when its command line can be started.
    void confirm();

    ScheduleEditorState m_state;
    bool m_confirmed = false;

    QWidget* m_typeBlock;
    QLabel* m_typeLb;
    QRadioButton* m_typeOpt[2];
    QButtonGroup* m_typeGroup;
    QCheckBox* m_hibernateChk;
    QLabel* m_runLb;
    QLineEdit* m_runEdit;
    QPushButton* m_runBtn;
    QLabel* m_remindLb;
    QFrame* m_schFrame;
    QDateEdit* m_schDateDT;
    QTimeEdit* m_schTimeDT;
    QCheckBox* m_isActiveChk;
    QCheckBox* m_oneTimeChk;
    QGroupBox* m_freqFrame;
    QRadioButton* m_freqOpt[4];
    QButtonGroup* m_freqGroup;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
};
