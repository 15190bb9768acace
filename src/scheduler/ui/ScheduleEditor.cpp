// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ui/ScheduleEditor.h"

#include "base/LocaleFormats.h"
#include "scheduler/TypedTime.h"
#include "shell/Twips.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int RunBtnMinTwips = 5400;

int px(int twips) {
    return Twips::toPixels(twips);
}

// The user's short date, always with a four-digit year so no century is guessed.
QString shortDateFormat() {
    QString format = LocaleFormats::timeLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}

QString chooseWithDialog(QWidget* parent, const QString& start) {
    QFileDialog dialog(parent, QCoreApplication::translate("ScheduleEditor", "Select a Program"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QCoreApplication::translate("ScheduleEditor", "Program (*)"));
    const QFileInfo at(start);
    if (at.isFile()) {
        dialog.setDirectory(at.absolutePath());
        dialog.selectFile(at.fileName());
    } else {
        dialog.setDirectory(start);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

// The "From time" box. Its arrows and sections work as in any time box; a time typed in one
// go ("21:45", "9:45 pm", "0945") is read whole when the box is left or Enter is pressed, so
// it never lands in the wrong section. Esc takes the typing back.
class TypedTimeEdit : public QTimeEdit {
public:
    using QTimeEdit::QTimeEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        const bool plain = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
        if (plain && text.size() == 1 && text.at(0).isPrint()) {
            if (!m_typing)
                m_typed.clear();
            m_typing = true;
            m_typed += text;
            lineEdit()->setText(m_typed);
            return;
        }
        if (m_typing) {
            switch (event->key()) {
            case Qt::Key_Backspace:
                m_typed.chop(1);
                lineEdit()->setText(m_typed);
                return;
            case Qt::Key_Escape:
                m_typing = false;
                setTime(time()); // shows the time again
                return;
            default: // Enter, the arrows: on from the typed time
                takeTyped();
                break;
            }
        }
        QTimeEdit::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        takeTyped();
        QTimeEdit::focusOutEvent(event);
    }
    // A click on the arrows steps from the typed time.
    void mousePressEvent(QMouseEvent* event) override {
        takeTyped();
        QTimeEdit::mousePressEvent(event);
    }
    // Tab after a typed time goes on to the next control, not to the box's next section.
    bool focusNextPrevChild(bool next) override {
        if (!m_typing)
            return QTimeEdit::focusNextPrevChild(next);
        takeTyped();
        return QWidget::focusNextPrevChild(next);
    }

private:
    // What was typed becomes the time; anything else leaves the time as it was.
    void takeTyped() {
        if (!std::exchange(m_typing, false))
            return;
        const std::optional<QTime> typed = TypedTime::read(m_typed, locale());
        if (!typed)
            QApplication::beep();
        setTime(typed.value_or(time()));
        // The same time typed again still shows in the box's own form.
        lineEdit()->setText(textFromDateTime(dateTime()));
    }

    QString m_typed;
    bool m_typing = false;
};

} // namespace

std::optional<ScheduleEditorState> ScheduleEditor::edit(const ScheduleEditorState& preset,
                                                        QWidget* parent) {
    // On the heap: the parent may go while the dialog runs (Plumora unloaded meanwhile).
    auto* dialog = new ScheduleEditor(preset, parent);
    const QPointer<ScheduleEditor> alive(dialog);
    dialog->exec();
    if (!alive)
        return std::nullopt;
    std::optional<ScheduleEditorState> answer;
    if (dialog->confirmed())
        answer = dialog->state();
    delete dialog;
    return answer;
}

ScheduleEditor::ScheduleEditor(const ScheduleEditorState& preset, QWidget* parent)
    : QDialog(parent), m_state(preset) {
    setObjectName(QStringLiteral("EditSch"));
    setWindowTitle(tr(Caption));
    // Modal to the window it was opened from, never to the whole application: the help
    // window stays usable beside it.
    setWindowModality(Qt::WindowModal);
    buildControls();
    setControls(preset);
    updateEditorState();
}

void ScheduleEditor::buildControls() {
    const auto named = [](QWidget* w, const char* name, const QString& accessible) {
        w->setObjectName(QLatin1String(name));
        w->setAccessibleName(accessible);
    };

    // What to do.
    m_typeBlock = new QWidget(this);
    QWidget* typeBlock = m_typeBlock;
    m_typeLb = new QLabel(tr("Type:"), typeBlock);
    m_typeGroup = new QButtonGroup(this);
    const QString types[2] = {tr("Launch Program"), tr("Shut Down System")};
    for (int i = 0; i < 2; ++i) {
        m_typeOpt[i] = new QRadioButton(types[i], typeBlock);
        named(m_typeOpt[i], "TypeOpt", types[i]);
        m_typeOpt[i]->setProperty("index", i);
        m_typeGroup->addButton(m_typeOpt[i], i);
    }
    m_hibernateChk = new QCheckBox(tr("On Hibernation"), typeBlock);
    named(m_hibernateChk, "HibernateChk", tr("On Hibernation"));
    m_runLb = new QLabel(tr("Run:"), typeBlock);
    m_runLb->setObjectName(QStringLiteral("RunLb"));
    // The program's path and its arguments, quoted as in a desktop entry's Exec line.
    m_runEdit = new QLineEdit(typeBlock);
    named(m_runEdit, "RunEdit", tr("Program to run"));
    m_runEdit->setAccessibleDescription(tr("The program's full path, then its arguments. Put an "
                                           "argument with blanks in double quotes."));
    m_runEdit->setToolTip(m_runEdit->accessibleDescription());
    m_runEdit->setMinimumWidth(px(RunBtnMinTwips));
    m_runBtn = new QPushButton(tr("Browse..."), typeBlock);
    named(m_runBtn, "RunBtn", tr("Choose the program"));
    m_runBtn->setAutoDefault(false);
    m_runLb->setBuddy(m_runEdit);

    auto* typeGrid = new QGridLayout(typeBlock);
    typeGrid->setContentsMargins(0, 0, 0, 0);
    typeGrid->addWidget(m_typeLb, 0, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_typeOpt[0]);
    typeRow->addWidget(m_typeOpt[1]);
    typeRow->addWidget(m_hibernateChk);
    typeRow->addStretch();
    typeGrid->addLayout(typeRow, 0, 1);
    typeGrid->addWidget(m_runLb, 1, 0);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(m_runEdit, 1);
    runRow->addWidget(m_runBtn);
    typeGrid->addLayout(runRow, 1, 1);
    typeBlock->setObjectName(QStringLiteral("TypeBlock"));
    // The hibernation box comes and goes without moving the type options.
    QSizePolicy keep = m_hibernateChk->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_hibernateChk->setSizePolicy(keep);

    m_remindLb = new QLabel(tr("Events/Notes Reminder"), this);
    m_remindLb->setObjectName(QStringLiteral("RemindLb"));
    QFont bold = m_remindLb->font();
    bold.setBold(true);
    m_remindLb->setFont(bold);
    m_remindLb->hide();

    // When, and how often.
    m_schFrame = new QFrame(this);
    m_schFrame->setObjectName(QStringLiteral("SchFrame"));
    m_schFrame->setFrameShape(QFrame::StyledPanel);
    auto* fromLb = new QLabel(tr("From:"), m_schFrame);
    m_schDateDT = new QDateEdit(m_schFrame);
    named(m_schDateDT, "SchDateDT", tr("From date"));
    m_schDateDT->setDisplayFormat(shortDateFormat());
    m_schDateDT->setCalendarPopup(true);
    m_schTimeDT = new TypedTimeEdit(m_schFrame);
    named(m_schTimeDT, "SchTimeDT", tr("From time"));
    // Both pickers write as the locale of the time formats does.
    m_schDateDT->setLocale(LocaleFormats::timeLocale());
    m_schTimeDT->setLocale(LocaleFormats::timeLocale());
    m_schTimeDT->setDisplayFormat(LocaleFormats::pickerTimeFormat(LocaleFormats::timeLocale()));
    fromLb->setBuddy(m_schDateDT);
    m_isActiveChk = new QCheckBox(tr("Active"), m_schFrame);
    named(m_isActiveChk, "IsActiveChk", tr("Active"));
    m_oneTimeChk = new QCheckBox(tr("This is a one-time schedule"), m_schFrame);
    named(m_oneTimeChk, "OneTimeChk", tr("This is a one-time schedule"));

    m_freqFrame = new QGroupBox(tr("Frequency"), m_schFrame);
    m_freqFrame->setObjectName(QStringLiteral("FreqFrame"));
    QSizePolicy freqPolicy = m_freqFrame->sizePolicy();
    freqPolicy.setRetainSizeWhenHidden(true);
    m_freqFrame->setSizePolicy(freqPolicy);
    m_freqGroup = new QButtonGroup(this);
    auto* freqRow = new QHBoxLayout(m_freqFrame);
    const QString freqs[4] = {tr("Daily"), tr("Weekly"), tr("Monthly"), tr("Yearly")};
    for (int i = 0; i < 4; ++i) {
        m_freqOpt[i] = new QRadioButton(freqs[i], m_freqFrame);
        named(m_freqOpt[i], "FreqOpt", freqs[i]);
        m_freqOpt[i]->setProperty("index", i);
        m_freqGroup->addButton(m_freqOpt[i], i);
        freqRow->addWidget(m_freqOpt[i]);
    }

    auto* schGrid = new QGridLayout(m_schFrame);
    schGrid->addWidget(fromLb, 0, 0);
    auto* whenRow = new QHBoxLayout;
    whenRow->addWidget(m_schDateDT);
    whenRow->addWidget(m_schTimeDT);
    whenRow->addStretch();
    schGrid->addLayout(whenRow, 0, 1);
    schGrid->addWidget(m_isActiveChk, 1, 1);
    schGrid->addWidget(m_oneTimeChk, 2, 1);
    schGrid->addWidget(m_freqFrame, 3, 1);

    m_okBtn = new QPushButton(tr("OK"), this);
    named(m_okBtn, "OKBtn", tr("OK"));
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(tr("Cancel"), this);
    named(m_cancelBtn, "CancelBtn", tr("Cancel"));
    m_cancelBtn->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(typeBlock);
    layout->addWidget(m_remindLb);
    layout->addWidget(m_schFrame);
    layout->addLayout(buttons);

    // Every click (or key) that changes a choice recomputes the dialog.
    connect(m_typeGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            updateEditorState();
    });
    connect(m_freqGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            updateEditorState();
    });
    for (QCheckBox* box : {m_isActiveChk, m_oneTimeChk, m_hibernateChk})
        connect(box, &QCheckBox::toggled, this, &ScheduleEditor::updateEditorState);
    connect(m_runEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_state.program = text;
        updateEditorState();
    });
    connect(m_runBtn, &QPushButton::clicked, this, &ScheduleEditor::chooseProgram);
    connect(m_okBtn, &QPushButton::clicked, this, &ScheduleEditor::confirm);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void ScheduleEditor::setControls(const ScheduleEditorState& s) {
    const QSignalBlocker types(m_typeGroup);
    const QSignalBlocker freqs(m_freqGroup);
    m_typeOpt[s.launchProgram ? 0 : 1]->setChecked(true);
    m_hibernateChk->setChecked(s.hibernate);
    m_schDateDT->setDate(s.date);
    m_schTimeDT->setTime(QTime(s.time.hour(), s.time.minute()));
    m_isActiveChk->setChecked(s.active);
    m_oneTimeChk->setChecked(s.oneTime);
    // No option at all is a state of its own (an alarm that never had a frequency).
    m_freqGroup->setExclusive(false);
    for (int i = 0; i < 4; ++i)
        m_freqOpt[i]->setChecked(i == s.freqOption);
    m_freqGroup->setExclusive(true);

    const bool reminder = s.reminderMode;
    m_remindLb->setVisible(reminder);
    for (QWidget* w : std::initializer_list<QWidget*>{m_typeBlock, m_typeLb, m_typeOpt[0],
                                                      m_typeOpt[1], m_runLb, m_runEdit, m_runBtn})
        w->setVisible(!reminder);
}

ScheduleEditorState ScheduleEditor::state() const {
    ScheduleEditorState s = m_state;
    s.launchProgram = m_typeOpt[0]->isChecked();
    s.hibernate = m_hibernateChk->isChecked();
    s.date = m_schDateDT->date();
    s.time = m_schTimeDT->time();
    s.active = m_isActiveChk->isChecked();
    s.oneTime = m_oneTimeChk->isChecked();
    s.freqOption = m_freqGroup->checkedId();
    return s;
}

void ScheduleEditor::updateEditorState() {
    m_state = state();
    const ScheduleEditorState& s = m_state;

    m_freqFrame->setVisible(s.frequencyVisible());
    m_freqFrame->setProperty("tag", s.frequencyTag());
    const bool when = s.whenEnabled();
    for (QWidget* w : std::initializer_list<QWidget*>{m_schDateDT, m_schTimeDT, m_oneTimeChk})
        w->setEnabled(when);
    for (QRadioButton* opt : m_freqOpt)
        opt->setEnabled(when);
    m_okBtn->setEnabled(s.okEnabled());

    m_runLb->setEnabled(s.programEnabled());
    m_runEdit->setEnabled(s.programEnabled());
    m_runBtn->setEnabled(s.programEnabled());
    setTextColour(m_typeOpt[0], s.launchCaptionColour());
    setTextColour(m_typeOpt[1], s.shutDownCaptionColour());
    m_hibernateChk->setVisible(s.hibernateVisible());
    showProgram();
}

void ScheduleEditor::showProgram() {
    // The command stays in the state while "Shut Down System" hides it; typing keeps its
    // place in the field.
    const QString text = m_state.programText();
    if (m_runEdit->text() != text)
        m_runEdit->setText(text);
}

void ScheduleEditor::chooseProgram() {
    const QString refused = m_state.chooseProgram(chooseWithDialog(this, m_state.dialogStart()));
    if (!refused.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Plumora"), refused);
    updateEditorState();
}

void ScheduleEditor::confirm() {
    m_state = state();
    const QString problem = m_state.programProblem();
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Plumora"), problem);
        m_runEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_confirmed = true;
    setProperty("tag", QStringLiteral("*"));
    accept();
}
