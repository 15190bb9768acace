// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ui/EditSch.h"

#include "core/Twips.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

constexpr int RunBtnMinTwips = 5400;

int px(int twips) {
    return Twips::toPixels(twips);
}

// The user's short date, always with a four-digit year so no century is guessed.
QString shortDateFormat() {
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
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
    QFileDialog dialog(parent, QStringLiteral("Select a Program"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Program (*)"));
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

} // namespace

const QString EditSch::Caption = QStringLiteral("- Edit Schedule -");

std::optional<ScheduleEditorState> EditSch::edit(const ScheduleEditorState& preset,
                                                 QWidget* parent) {
    // On the heap: the parent may go while the dialog runs (Plumora unloaded meanwhile).
    auto* dialog = new EditSch(preset, parent);
    const QPointer<EditSch> alive(dialog);
    dialog->exec();
    if (!alive)
        return std::nullopt;
    std::optional<ScheduleEditorState> answer;
    if (dialog->confirmed())
        answer = dialog->state();
    delete dialog;
    return answer;
}

EditSch::EditSch(const ScheduleEditorState& preset, QWidget* parent)
    : QDialog(parent), m_state(preset) {
    setObjectName(QStringLiteral("EditSch"));
    setWindowTitle(Caption);
    // Modal to the window it was opened from, never to the whole application: the help
    // window stays usable beside it.
    setWindowModality(Qt::WindowModal);
    buildControls();
    setControls(preset);
    updateEditorState();
}

void EditSch::buildControls() {
    const auto named = [](QWidget* w, const char* name, const QString& accessible) {
        w->setObjectName(QLatin1String(name));
        w->setAccessibleName(accessible);
    };

    // What to do.
    m_typeBlock = new QWidget(this);
    QWidget* typeBlock = m_typeBlock;
    m_typeLb = new QLabel(QStringLiteral("Type:"), typeBlock);
    m_typeGroup = new QButtonGroup(this);
    const QString types[2] = {QStringLiteral("Launch Program"), QStringLiteral("Shut Down System")};
    for (int i = 0; i < 2; ++i) {
        m_typeOpt[i] = new QRadioButton(types[i], typeBlock);
        named(m_typeOpt[i], "TypeOpt", types[i]);
        m_typeOpt[i]->setProperty("index", i);
        m_typeGroup->addButton(m_typeOpt[i], i);
    }
    m_hibernateChk = new QCheckBox(QStringLiteral("On Hibernation"), typeBlock);
    named(m_hibernateChk, "HibernateChk", QStringLiteral("On Hibernation"));
    m_runLb = new QLabel(QStringLiteral("Run:"), typeBlock);
    m_runLb->setObjectName(QStringLiteral("RunLb"));
    m_runBtn = new QPushButton(typeBlock);
    named(m_runBtn, "RunBtn", QStringLiteral("Program to run"));
    m_runBtn->setAutoDefault(false);
    // The path is shortened to the button, never the dialog widened to the path.
    m_runBtn->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_runBtn->setMinimumWidth(px(RunBtnMinTwips));
    m_runLb->setBuddy(m_runBtn);

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
    typeGrid->addWidget(m_runBtn, 1, 1);
    typeBlock->setObjectName(QStringLiteral("TypeBlock"));
    // The hibernation box comes and goes without moving the type options.
    QSizePolicy keep = m_hibernateChk->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_hibernateChk->setSizePolicy(keep);

    m_remindLb = new QLabel(QStringLiteral("Events/Notes Reminder"), this);
    m_remindLb->setObjectName(QStringLiteral("RemindLb"));
    QFont bold = m_remindLb->font();
    bold.setBold(true);
    m_remindLb->setFont(bold);
    m_remindLb->hide();

    // When, and how often.
    m_schFrame = new QFrame(this);
    m_schFrame->setObjectName(QStringLiteral("SchFrame"));
    m_schFrame->setFrameShape(QFrame::StyledPanel);
    auto* fromLb = new QLabel(QStringLiteral("From:"), m_schFrame);
    m_schDateDT = new QDateEdit(m_schFrame);
    named(m_schDateDT, "SchDateDT", QStringLiteral("From date"));
    m_schDateDT->setDisplayFormat(shortDateFormat());
    m_schDateDT->setCalendarPopup(true);
    m_schTimeDT = new QTimeEdit(m_schFrame);
    named(m_schTimeDT, "SchTimeDT", QStringLiteral("From time"));
    m_schTimeDT->setDisplayFormat(QStringLiteral("hh:mm AP"));
    fromLb->setBuddy(m_schDateDT);
    m_isActiveChk = new QCheckBox(QStringLiteral("Active"), m_schFrame);
    named(m_isActiveChk, "IsActiveChk", QStringLiteral("Active"));
    m_oneTimeChk = new QCheckBox(QStringLiteral("This is an one-time schedule"), m_schFrame);
    named(m_oneTimeChk, "OneTimeChk", QStringLiteral("This is an one-time schedule"));

    m_freqFrame = new QGroupBox(QStringLiteral("Frequency"), m_schFrame);
    m_freqFrame->setObjectName(QStringLiteral("FreqFrame"));
    QSizePolicy freqPolicy = m_freqFrame->sizePolicy();
    freqPolicy.setRetainSizeWhenHidden(true);
    m_freqFrame->setSizePolicy(freqPolicy);
    m_freqGroup = new QButtonGroup(this);
    auto* freqRow = new QHBoxLayout(m_freqFrame);
    const QString freqs[4] = {QStringLiteral("Daily"), QStringLiteral("Weekly"),
                              QStringLiteral("Monthly"), QStringLiteral("Yearly")};
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

    m_okBtn = new QPushButton(QStringLiteral("OK"), this);
    named(m_okBtn, "OKBtn", QStringLiteral("OK"));
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    named(m_cancelBtn, "CancelBtn", QStringLiteral("Cancel"));
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
        connect(box, &QCheckBox::toggled, this, &EditSch::updateEditorState);
    connect(m_runBtn, &QPushButton::clicked, this, &EditSch::chooseProgram);
    connect(m_okBtn, &QPushButton::clicked, this, [this] {
        m_state = state();
        m_confirmed = true;
        setProperty("tag", QStringLiteral("*"));
        accept();
    });
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void EditSch::setControls(const ScheduleEditorState& s) {
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
                                                      m_typeOpt[1], m_runLb, m_runBtn})
        w->setVisible(!reminder);
}

ScheduleEditorState EditSch::state() const {
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

void EditSch::updateEditorState() {
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
    m_runBtn->setEnabled(s.programEnabled());
    setTextColour(m_typeOpt[0], s.launchCaptionColour());
    setTextColour(m_typeOpt[1], s.shutDownCaptionColour());
    m_hibernateChk->setVisible(s.hibernateVisible());
    showProgram();
}

void EditSch::showProgram() {
    // The path stays in the state while "Shut Down System" hides it.
    const QString text = m_state.programText();
    const int room =
        std::max(0, m_runBtn->width() - 2 * m_runBtn->fontMetrics().averageCharWidth() -
                        m_runBtn->style()->pixelMetric(QStyle::PM_ButtonMargin) * 2);
    m_runBtn->setText(room > 0 ? m_runBtn->fontMetrics().elidedText(text, Qt::ElideMiddle, room)
                               : text);
    m_runBtn->setToolTip(text);
    m_runBtn->setAccessibleDescription(text);
}

void EditSch::chooseProgram() {
    const QString refused = m_state.chooseProgram(chooseWithDialog(this, m_state.dialogStart()));
    if (!refused.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Plumora"), refused);
    updateEditorState();
}

void EditSch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The button has its final width now: the path is shortened to it.
    updateEditorState();
}
