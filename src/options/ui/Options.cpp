// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/ui/Options.h"

#include "base/Log.h"
#include "data/ChangeHub.h"
#include "data/DataBackup.h"
#include "data/SaveFailures.h"
#include "options/OptionsForm.h"
#include "options/SoundChoice.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "shell/Twips.h"
#include "shell/ui/ChimePlayer.h"
#include "shell/ui/ToolRegistry.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using Field = Settings::Field;

// Room left around the outer frame on each side.
constexpr int Margin = 255 / Twips::PerPixel;
// The country boxes stand under the international one, indented.
constexpr int CountryIndent = 20;

// Where the page's own groups stand among the tools' (OptionsGroup::order).
constexpr int EventsOrder = 100;
constexpr int BackupOrder = 400;
constexpr int StartOrder = 500;
// The reload offer stands above every group.
constexpr int ReloadOrder = 0;
constexpr char OrderProperty[] = "plumoraOrder";

using Moment = OptionsGroup::Moment;

} // namespace

Options::Options(AppContext& context, QWidget* parent)
    : ToolPage(parent), m_context(context), m_writer(context.stores.settings),
      m_autostart(Autostart::forUser(QStringLiteral(PLUMORA_APP_ID),
                                     QCoreApplication::applicationFilePath())) {
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(tr("Options"));
    m_player =
        new ChimePlayer(m_context.paths.helperProgram(QStringLiteral("libplumora_sound.so")), this);
    buildControls();
    fill();
    // Every write to the tables it shows; others' reach the page while it shows.
    connect(&m_context.stores.changes, &ChangeHub::changed, this, &Options::tableChanged);
}

void Options::buildControls() {
    m_outer = new QScrollArea(this);
    m_outer->setObjectName(QStringLiteral("OuterFrame"));
    m_outer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_outer->setBackgroundRole(QPalette::Window);
    // Tab goes straight to the controls; the area scrolls to the one that has the focus.
    m_outer->setFocusPolicy(Qt::NoFocus);
    m_frame = new QWidget;
    m_frame->setObjectName(QStringLiteral("OptionsFrame"));
    auto* column = m_column = new QVBoxLayout(m_frame);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);
    insertGroup(buildReloadBar(), ReloadOrder);

    // Events Option
    auto* events = new QGroupBox(tr("Events Option"), m_frame);
    events->setObjectName(QStringLiteral("EventsFrame"));
    auto* grid = new QGridLayout(events);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(2, 1);
    m_notifyAgo = OptionsGroup::numberBox(events, "NotifyAgoUD", 1, 30, 1, 1,
                                          tr("Show reminder, day(s) ahead for Calendar events"));
    grid->addWidget(OptionsGroup::caption(events, tr("Show reminder"), m_notifyAgo), 0, 0);
    grid->addWidget(m_notifyAgo, 0, 1);
    grid->addWidget(OptionsGroup::caption(events, tr("day(s) ahead for Calendar events")), 0, 2);
    m_showEvery = OptionsGroup::numberBox(events, "ShowEveryUD", 10, 360, 10, 60,
                                          tr("Reminder popup every, minutes"));
    grid->addWidget(OptionsGroup::caption(events, tr("Reminder popup every"), m_showEvery), 1, 0);
    grid->addWidget(m_showEvery, 1, 1);
    grid->addWidget(OptionsGroup::caption(events, tr("minutes")), 1, 2);
    m_wav = new QPushButton(events);
    m_wav->setObjectName(QStringLiteral("WavCmd"));
    grid->addWidget(OptionsGroup::caption(events, tr("Reminder sound:"), m_wav), 2, 0);
    m_playWav = new QPushButton(tr("Play"), events);
    m_playWav->setObjectName(QStringLiteral("PlayWavCmd"));
    m_playWav->setAccessibleName(tr("Play the reminder sound"));
    auto* sound = new QHBoxLayout;
    sound->addWidget(m_wav);
    sound->addWidget(m_playWav);
    sound->addStretch(1);
    grid->addLayout(sound, 2, 1, 1, 2);
    m_largeIcon =
        OptionsGroup::checkBox(events, "LargeIconChk", tr("Display small icons in Calendar"));
    grid->addWidget(m_largeIcon, 3, 0, 1, 3);
    m_addHolidays = OptionsGroup::checkBox(events, "AddHolidaysChk",
                                           tr("Add international holidays / events to Calendar"));
    grid->addWidget(m_addHolidays, 4, 0, 1, 3);
    m_addAmerica =
        OptionsGroup::checkBox(events, "AddAmericaChk", tr("Include USA holidays / events"));
    m_addCanada =
        OptionsGroup::checkBox(events, "AddCanadaChk", tr("Include Canada holidays / events"));
    for (int i = 0; QCheckBox * country : {m_addAmerica, m_addCanada}) {
        auto* indented = new QHBoxLayout;
        indented->setContentsMargins(CountryIndent, 0, 0, 0);
        indented->addWidget(country);
        grid->addLayout(indented, 5 + i++, 0, 1, 3);
    }
    insertGroup(events, EventsOrder);

    // Backup Data
    auto* backupBox = new QGroupBox(tr("Backup Data"), m_frame);
    backupBox->setObjectName(QStringLiteral("BackupFrame"));
    auto* row = new QHBoxLayout(backupBox);
    const QString captions[] = {tr("Backup data to ..."), tr("Restore data from ...")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(captions[i], backupBox);
        button->setObjectName(QStringLiteral("BkRsBtn"));
        button->setProperty("index", i);
        button->setAccessibleName(captions[i]);
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, i == 0 ? &Options::backup : &Options::restore);
    }
    row->addStretch(1);
    insertGroup(backupBox, BackupOrder);

    // Where the data lives, and whether Plumora starts with the session.
    auto* startBox = new QGroupBox(QStringLiteral("Plumora"), m_frame);
    startBox->setObjectName(QStringLiteral("StartFrame"));
    auto* startColumn = new QVBoxLayout(startBox);
    m_autostartChk =
        OptionsGroup::checkBox(startBox, "AutostartChk", tr("Start Plumora when I log in"));
    startColumn->addWidget(m_autostartChk);
    m_dataPath = new QLabel(startBox);
    m_dataPath->setObjectName(QStringLiteral("DataPathLb"));
    m_dataPath->setTextFormat(Qt::PlainText);
    m_dataPath->setWordWrap(true);
    m_dataPath->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_dataPath->setFocusPolicy(Qt::StrongFocus);
    m_dataPath->setAccessibleName(tr("Data file"));
    startColumn->addWidget(m_dataPath);
    insertGroup(startBox, StartOrder);
    connect(m_autostartChk, &QCheckBox::toggled, this, [this](bool on) {
        if (m_filling || m_autostart.setEnabled(on))
            return;
        inform(tr("The login start of Plumora could not be changed: %1 cannot be "
                  "written.")
                   .arg(m_autostart.entryPath()));
        const QSignalBlocker quiet(m_autostartChk);
        m_autostartChk->setChecked(m_autostart.isEnabled());
    });

    alignNumberBoxes();
    m_frame->adjustSize();
    m_outer->setWidget(m_frame);
    orderTabs();

    connect(m_notifyAgo, &QSpinBox::valueChanged, this, [this](int v) {
        m_values.notifyAgo = v;
        saveSystemValue(Field::NotifyAgo);
    });
    connect(m_showEvery, &QSpinBox::valueChanged, this, [this](int v) {
        m_values.showEvery = v;
        saveSystemValue(Field::ShowEvery);
    });
    connect(m_wav, &QPushButton::clicked, this, &Options::chooseSound);
    connect(m_playWav, &QPushButton::clicked, this, [this] {
        m_player->play(m_soundPath);
        Q_EMIT soundPlayed(m_soundPath);
    });
    connect(m_largeIcon, &QCheckBox::toggled, this, [this](bool on) {
        m_values.smallIcons = on ? -1 : 0;
        saveSystemValue(Field::SmallIcons);
    });
    for (const auto& [box, field] :
         {std::pair{m_addHolidays, Field::AddHolidays}, std::pair{m_addAmerica, Field::AddAmerica},
          std::pair{m_addCanada, Field::AddCanada}}) {
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
            const QList<Field> fields = OptionsForm::holidayBox(m_values, field, on);
            showHolidays();
            saveFields(fields);
        });
    }
}

QWidget* Options::buildReloadBar() {
    // Shown when others changed the options while this page holds typed input.
    auto* bar = new QFrame(m_frame);
    bar->setObjectName(QStringLiteral("ReloadBar"));
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setAccessibleName(tr("Options changed elsewhere"));
    auto* row = new QHBoxLayout(bar);
    auto* label = OptionsGroup::caption(
        bar, tr("These options were changed elsewhere. Reload shows the new values "
                "and drops what you typed here."));
    label->setObjectName(QStringLiteral("ReloadLb"));
    label->setWordWrap(true);
    auto* button = new QPushButton(tr("Reload"), bar);
    button->setObjectName(QStringLiteral("ReloadBtn"));
    button->setAccessibleName(tr("Reload the options"));
    button->setAccessibleDescription(label->text());
    label->setBuddy(button);
    row->addWidget(label, 1);
    row->addWidget(button);
    connect(button, &QPushButton::clicked, this, &Options::reload);
    m_reloadBar = bar;
    bar->hide();
    return bar;
}

void Options::setAutostart(const Autostart& autostart) {
    m_autostart = autostart;
    fill();
}

namespace {
// A number box being typed in holds a value not written yet (that is on Return or when the
// box is left).
bool typing(const QSpinBox* box) {
    bool ok = false;
    const int typed = box->locale().toInt(box->cleanText(), &ok);
    return box->hasFocus() && (!ok || typed != box->value());
}
} // namespace

void Options::fill() {
    m_filling = true;
    if (const std::optional<Settings> stored = m_context.stores.settings.load())
        m_values = *stored;
    else
        qCWarning(lcData) << "Options could not read the settings";
    showValues(false);
    for (OptionsGroup* group : std::as_const(m_groups))
        group->load(m_values);

    m_autostartChk->setChecked(m_autostart.isEnabled());
    m_dataPath->setText(
        tr("Data file: %1").arg(QDir::toNativeSeparators(m_context.paths.dataFile())));
    // Read out whole: the name alone would hide the path.
    m_dataPath->setAccessibleName(m_dataPath->text());
    m_stale = false;
    if (m_reloadBar->isVisible()) {
        m_reloadBar->hide();
        growFrame();
    }
    m_filling = false;
}

void Options::showValues(bool keepTyping) {
    const bool filling = std::exchange(m_filling, true);
    // Setting a box's value puts it over what is being typed in it.
    for (auto [box, value] :
         {std::pair{m_notifyAgo, m_values.notifyAgo}, std::pair{m_showEvery, m_values.showEvery}}) {
        if (!keepTyping || !typing(box))
            box->setValue(value);
    }
    m_largeIcon->setChecked(m_values.smallIcons != 0);
    showHolidays();
    m_soundPath = SoundChoice::current(m_context.paths, m_values.reminderSound);
    m_wav->setText(SoundChoice::caption(m_soundPath));
    m_wav->setAccessibleName(tr("Reminder sound: %1").arg(m_wav->text()));
    m_filling = filling;
}

void Options::addGroup(OptionsGroup* group) {
    if (m_groups.contains(group))
        return;
    group->setParent(m_frame);
    m_groups << group;
    insertGroup(group, group->order());
    group->load(m_values);
    alignNumberBoxes();
    connect(group, &OptionsGroup::inputChanged, this,
            [this, group] { saveGroups(Moment::Changed, true, group); });
    connect(group, &OptionsGroup::keepRequested, this,
            [this, group] { saveGroups(Moment::Leaving, true, group); });
    connect(group, &OptionsGroup::settingSaved, this, [this](Settings::Field field) {
        // The page's copy follows what the group wrote itself.
        if (const std::optional<Settings> stored = m_context.stores.settings.load())
            m_values.copyField(field, *stored);
        Q_EMIT settingSaved(field);
    });
    connect(group, &OptionsGroup::contentResized, this, [this, group] {
        // The group first, so the frame's layout asks it anew.
        group->layout()->activate();
        growFrame();
    });
    // The frame was sized for its groups without this one: without growing, the layout
    // squeezes the other groups' rows into each other.
    group->show();
    m_column->activate();
    m_frame->resize(m_frame->sizeHint());
    orderTabs();
}

void Options::insertGroup(QWidget* group, int order) {
    group->setProperty(OrderProperty, order);
    int at = 0;
    while (at < m_column->count() && m_column->itemAt(at)->widget() &&
           m_column->itemAt(at)->widget()->property(OrderProperty).toInt() <= order)
        ++at;
    m_column->insertWidget(at, group);
}

void Options::growFrame() {
    // A status line wraps to as many lines as a message needs: the frame grows with it.
    m_frame->layout()->activate();
    m_frame->resize(m_frame->width(),
                    std::max(m_frame->sizeHint().height(),
                             m_frame->layout()->totalHeightForWidth(m_frame->width())));
}

void Options::alignNumberBoxes() {
    // The groups' number boxes line up at the width the widest value needs.
    const QList<QSpinBox*> boxes = m_frame->findChildren<QSpinBox*>();
    int width = 0;
    for (const QSpinBox* box : boxes) {
        if (box->property(OptionsGroup::AlignedProperty).toBool())
            width = std::max(width, box->sizeHint().width());
    }
    for (QSpinBox* box : boxes) {
        if (box->property(OptionsGroup::AlignedProperty).toBool())
            box->setMinimumWidth(width);
    }
}

void Options::orderTabs() {
    // The frame's part of the window's focus chain as it is now: creation order.
    QList<QWidget*> chain;
    for (QWidget* w = m_frame->nextInFocusChain(); w && w != m_frame && !chain.contains(w);
         w = w->nextInFocusChain())
        if (m_frame->isAncestorOf(w))
            chain << w;
    // Each control once (a spin box's or a combo box's own line edit stands for it).
    QWidget* previous = nullptr;
    for (int i = 0; i < m_column->count(); ++i) {
        const QWidget* group = m_column->itemAt(i)->widget();
        if (!group)
            continue;
        for (QWidget* w : std::as_const(chain)) {
            if (!group->isAncestorOf(w) || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus))
                continue;
            if (previous)
                QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
}

void Options::saveSystemValue(Settings::Field field) {
    saveFields({field});
}

bool Options::saveFields(const QList<Settings::Field>& fields, bool speak) {
    if (m_filling)
        return true;
    const std::optional<QList<Field>> written = m_writer.write(fields, m_values);
    if (!written) {
        // The controls keep what the user chose; the next write tries these again.
        qCWarning(lcData) << "Options could not write their settings:" << m_writer.lastError();
        if (speak && !m_givenUp)
            ToolPage::tell(m_context.dialogs, saveFailure());
        return false;
    }
    for (Field field : *written)
        Q_EMIT settingSaved(field);
    return true;
}

QString Options::saveFailure() const {
    return SaveFailures::failedText(tr("The options"), m_context.paths.dataFile(),
                                    m_writer.lastError());
}

void Options::showHolidays() {
    for (const auto& [box, on] : {std::pair{m_addHolidays, m_values.addHolidays},
                                  std::pair{m_addAmerica, m_values.addAmerica},
                                  std::pair{m_addCanada, m_values.addCanada}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    m_addAmerica->setEnabled(m_values.addHolidays);
    m_addCanada->setEnabled(m_values.addHolidays);
}

bool Options::saveGroups(Moment moment, bool speak, OptionsGroup* only) {
    QList<Settings::Field> fields;
    for (OptionsGroup* group : std::as_const(m_groups)) {
        if (!only || group == only)
            fields += group->take(m_values, moment);
    }
    return saveFields(fields, speak);
}

bool Options::hasUnsavedInput() const {
    return !m_writer.pending().isEmpty() ||
           std::any_of(m_groups.begin(), m_groups.end(),
                       [](const OptionsGroup* g) { return g->hasUnsavedInput(); });
}

void Options::tableChanged(const QString& table) {
    const bool shown = table == QLatin1String("System") ||
                       std::any_of(m_groups.begin(), m_groups.end(), [&](const OptionsGroup* g) {
                           return g->tables().contains(table);
                       });
    if (!shown)
        return;
    m_stale = true;
    // Announced on the next turn of the event loop: once for a write of several tables.
    if (isVisible())
        QMetaObject::invokeMethod(this, &Options::followChanges, Qt::QueuedConnection);
}

void Options::followChanges() {
    if (!isVisible() || !std::exchange(m_stale, false))
        return;
    const std::optional<Settings> stored = m_context.stores.settings.load();
    if (!stored) {
        qCWarning(lcData) << "Options could not read the settings";
        return;
    }
    // The page's own controls show the new values, but for those whose writing failed.
    const QList<Field>& pending = m_writer.pending();
    bool offer = false;
    for (Field field : Settings::allFields()) {
        Settings now = m_values;
        now.copyField(field, *stored);
        if (now == m_values)
            continue;
        if (pending.contains(field) || (field == Field::NotifyAgo && typing(m_notifyAgo)) ||
            (field == Field::ShowEvery && typing(m_showEvery)))
            offer = true;
        else
            m_values = now;
    }
    showValues();
    // Each group keeps what was typed in it.
    for (OptionsGroup* group : std::as_const(m_groups))
        offer = !group->follow(*stored) || offer;
    if (offer && !m_reloadBar->isVisible()) {
        m_reloadBar->show();
        growFrame();
    }
}

void Options::reload() {
    // What was typed, and what could not be written, goes with the reload.
    m_writer.dropPending();
    fill();
    m_notifyAgo->setFocus(Qt::OtherFocusReason);
}

void Options::showEvent(QShowEvent* event) {
    ToolPage::showEvent(event);
    if (m_stale)
        QMetaObject::invokeMethod(this, &Options::followChanges, Qt::QueuedConnection);
}

void Options::activated() {
    // Other windows may have changed settings since this page was last shown. Chosen again
    // while it is showing, it keeps what was typed before reading the file again, and
    // shows it still when it could not be written.
    if (saveGroups(Moment::Leaving)) {
        fill();
        return;
    }
    for (OptionsGroup* group : std::as_const(m_groups)) {
        if (!group->hasUnsavedInput())
            group->load(m_values);
    }
}

void Options::aboutToHide() {
    saveGroups(Moment::Leaving);
}

bool Options::keepForUnload(QString* failure) {
    if (saveGroups(Moment::Unloading, false))
        return true;
    *failure = saveFailure();
    return false;
}

void Options::giveUpUnsaved() {
    m_givenUp = true;
    m_writer.dropPending();
}

void Options::chooseSound() {
    const QString chosen = m_context.dialogs.openFile(window(), tr("Please select a sounds file:"),
                                                      m_soundPath, tr("Sounds (*.wav)"));
    if (chosen.isEmpty())
        return;
    if (QString why; !SoundChoice::install(m_context.paths, chosen, &why)) {
        inform(tr("The sound file '%1' could not be used: %2. The reminder keeps its sound.")
                   .arg(chosen, why));
        return;
    }
    m_soundPath = chosen;
    m_wav->setText(SoundChoice::caption(chosen));
    m_wav->setAccessibleName(tr("Reminder sound: %1").arg(m_wav->text()));
    m_values.reminderSound = chosen;
    saveSystemValue(Field::ReminderSound);
}

QString Options::pickFolder() {
    return m_context.dialogs.browseForFolder(
        window(), m_context.shell.specialFolderPath(SpecialFolder::Documents));
}

void Options::inform(const QString& message) {
    m_context.dialogs.messageBox(
        message, QCoreApplication::translate("DataBackup", DataBackup::MessageTitle),
        MessageButtons::Ok, MessageIcon::Information);
}

void Options::keepOtherTools() {
    for (int button : std::as_const(toolButtons))
        Q_EMIT keepTool(button);
}

void Options::backup() {
    const QString folder = pickFolder();
    if (folder.isEmpty())
        return;
    // What the other tools and this page hold unsaved goes into the backup.
    saveGroups(Moment::Leaving);
    keepOtherTools();
    const DataBackup::Result result = DataBackup::backup(m_context.paths.dataFile(), folder);
    inform(DataBackup::backupMessage(result, folder));
}

void Options::restore() {
    const QString folder = pickFolder();
    if (folder.isEmpty())
        return;
    // What the tools hold unsaved goes into the file being replaced; once it is replaced
    // they read the restored one again.
    keepOtherTools();
    DataBackup::RestoreDetails details;
    const DataBackup::Result found =
        DataBackup::checkRestoreSource(m_context.stores.schema, folder, &details);
    if (found != DataBackup::Result::Done) {
        inform(DataBackup::restoreMessage(found, folder, details));
        return;
    }
    const MessageAnswer answer = m_context.dialogs.messageBox(
        QCoreApplication::translate("DataBackup", DataBackup::RestoreConfirmText),
        QCoreApplication::translate("DataBackup", DataBackup::ConfirmTitle),
        MessageButtons::YesNoDefaultNo, MessageIcon::Information);
    if (answer != MessageAnswer::Yes)
        return;
    const DataBackup::Result result =
        DataBackup::restore(m_context.stores.schema, folder, m_context.paths.dataFile(), &details);
    inform(DataBackup::restoreMessage(result, folder, details));
    // The page shows the restored settings; what was typed before belongs to the old file.
    if (result == DataBackup::Result::Done) {
        fill();
        m_context.stores.changes.announceAll();
    }
}

void Options::hostResized() {
    layOut();
}

void Options::resizeEvent(QResizeEvent* event) {
    ToolPage::resizeEvent(event);
    layOut();
}

void Options::layOut() {
    // The outer frame takes the page less a margin all round, the options frame stays
    // centred at its top; a page too small for it scrolls.
    QRect outer = m_outer->geometry();
    if (width() > 2 * Margin)
        outer.setWidth(width() - 2 * Margin);
    if (height() > 2 * Margin)
        outer.setHeight(height() - 2 * Margin);
    outer.moveTopLeft(QPoint(Margin, Margin));
    m_outer->setGeometry(outer);
}

OptionsTool::OptionsTool(AppContext& context, ToolLink& link) : m_context(context), m_link(link) {}

Options* OptionsTool::makePage(QWidget* parent) {
    auto* page = new Options(m_context, parent);
    QObject::connect(page, &Options::keepTool, &m_link, &ToolLink::keepToolAsked);
    // Every tool but Options itself.
    if (const ToolRegistry* tools = m_link.tools) {
        page->toolButtons = tools->toolButtons();
        page->toolButtons.removeAll(tools->buttonOf(QStringLiteral("Options")));
    }
    for (const ToolDescriptor::OptionsGroupFactory& group : std::as_const(m_groups))
        page->addGroup(group(page));
    m_page = page;
    return page;
}

void OptionsTool::addGroup(ToolDescriptor::OptionsGroupFactory group) {
    if (m_page)
        m_page->addGroup(group(m_page));
    m_groups << std::move(group);
}
