#include "core/ui/SysTray.h"

#include "core/Clock.h"
#include "core/DataFile.h"
#include "core/SettingsCheck.h"
#include "core/SystemRow.h"
#include "core/Tick.h"
#include "core/TrayClicks.h"
#include "core/ui/AppIcon.h"
#include "core/ui/HelpWindow.h"
#include "mail/DefaultAccount.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

#include <QApplication>
#include <QDir>

namespace {
constexpr int TickInterval = 60000;
const QString RegistryRoot = QStringLiteral("HKEY_CURRENT_USER");
const QString RegistryKey = QStringLiteral("Software\\Plumora");
const QString NoTrayShown = QStringLiteral("NoTrayNoticeShown");

MailAccount discoverDefaultAccount() {
    if (!SystemServices::defaultMailProgram().isThunderbird)
        return {};
    return readThunderbirdAccount(QDir::homePath());
}

// What the tick calls back into. The holiday download and the mail check arrive with
// their tools; until then they do nothing.
class TrayTickHooks final : public TickHooks {
public:
    explicit TrayTickHooks(SysTray& tray) : m_tray(tray) {}
    void loadHolidayDownload() override {}
    void loadMailCheck() override {}
    void ClickMenu(int index) override { m_tray.ClickMenu(index); }
    void CheckQuickAccess() override { m_tray.CheckQuickAccess(); }

private:
    SysTray& m_tray;
};
} // namespace

SysTray::SysTray(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_instance(context.paths.programFolder()) {
    setObjectName(QStringLiteral("SysTray"));
    m_shell = std::make_unique<Shell>(context, [this] { release(); });
    m_timer.setObjectName(QStringLiteral("PLMTimer"));
    m_timer.setInterval(TickInterval);
    // Each tick is aimed just past a minute boundary; a coarse timer may come early.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SysTray::tick);
    m_tickHooks = std::make_unique<TrayTickHooks>(*this);
    m_tick = std::make_unique<Tick>(
        context.clock, context.platform, context.paths, m_state, *m_tickHooks,
        [table = MountTable()](const QString& path) { return table.isFixedLocalDisk(path); });
}

SysTray::~SysTray() = default;

void SysTray::create() {
    m_state.SuppressNextButtonUp = false;
    CheckSetting();
    CheckWallpaper();
    m_state.LastDataFileTime = -1;
    m_state.LastReminderTime = m_context.clock.now();
    m_state.LastMailCheckTime = QDateTime();
    ClickMenu(7);
}

bool SysTray::load() {
    if (!m_instance.acquire())
        return false;
    m_timer.start(m_tick->msUntilNextTick());
    if (!showTrayIcon())
        tellNoTrayOnce();
    return true;
}

void SysTray::CheckSetting() {
    SettingsCheck check(m_context.paths, discoverDefaultAccount);
    if (check.run().firstRun)
        ClickMenu(9);
}

void SysTray::CheckOEDefault() {
    DataFile db(m_context.paths.dataFile());
    SystemRow row;
    if (row.load(db))
        syncDefaultAccount(db, row, discoverDefaultAccount());
}

// The wallpaper rotation and Quick Access tracking arrive with their tools; until then
// these do nothing.
void SysTray::CheckWallpaper() {}
void SysTray::CheckQuickAccess() {}

void SysTray::UpdateConfigVar() {
    m_tick->UpdateConfigVar();
}

void SysTray::ShowMenu() {
    Q_EMIT menuRequested();
    m_shell->ShowMenu();
}

void SysTray::ClickMenu(int index) {
    if (index == 0)
        Q_EMIT calendarRequested();
    m_shell->ClickMenu(index);
}

void SysTray::handleTrayMessage(int message) {
    switch (TrayClicks::handle(message, m_state.SuppressNextButtonUp)) {
    case TrayClicks::Action::ShowMenu:
        ShowMenu();
        break;
    case TrayClicks::Action::OpenCalendar:
        ClickMenu(0);
        break;
    case TrayClicks::Action::Nothing:
        break;
    }
}

void SysTray::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        handleTrayMessage(TrayClicks::LeftButtonUp);
        break;
    case QSystemTrayIcon::Context:
        handleTrayMessage(TrayClicks::RightButtonUp);
        break;
    case QSystemTrayIcon::DoubleClick:
        handleTrayMessage(TrayClicks::LeftDoubleClick);
        // Qt sends no button-up after a double-click; feed the one the table expects so
        // the next single click opens the menu again.
        handleTrayMessage(TrayClicks::LeftButtonUp);
        break;
    default:
        break;
    }
}

bool SysTray::unload() {
    return m_shell->Unload();
}

void SysTray::release() {
    m_timer.stop();
    if (m_icon)
        m_icon->hide();
}

void SysTray::tick() {
    // Re-armed first, so nothing the tick does can stop the heartbeat, and aligned to
    // the next minute boundary so the timer's drift never adds up.
    m_timer.start(m_tick->msUntilNextTick());
    // A notification area that appears later (an extension switched on) gets the icon.
    if (!m_icon)
        showTrayIcon();
    m_tick->run();
}

bool SysTray::showTrayIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_icon = new QSystemTrayIcon(plumoraIcon(), this);
    m_icon->setToolTip(QStringLiteral("Plumora"));
    connect(m_icon, &QSystemTrayIcon::activated, this, &SysTray::handleActivation);
    m_icon->show();
    return true;
}

void SysTray::tellNoTrayOnce() {
    Platform& platform = m_context.platform;
    if (!platform.ReadRegistryString(RegistryRoot, RegistryKey, NoTrayShown).isEmpty())
        return;
    platform.WriteRegistryString(RegistryRoot, RegistryKey, NoTrayShown, QStringLiteral("1"));
    platform.MessageBox(
        QStringLiteral("Plumora is running, but this desktop has no notification area for its "
                       "icon, so you cannot click it yet.\n\n"
                       "Your reminders and scheduled tasks keep working in the background. "
                       "To reach Plumora's menu, turn on a notification area (on GNOME, the "
                       "\"AppIndicator and KStatusNotifierItem Support\" extension); the icon "
                       "appears there by itself within a minute."),
        QStringLiteral("Plumora"), MessageButtons::Ok, MessageIcon::Information);
    ClickMenu(0);
}
