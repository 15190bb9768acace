// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/ui/KeysDescriptor.h"

#include "data/ChangeHub.h"
#include "keys/GnomeKeybindings.h"
#include "keys/Shortcuts.h"
#include "keys/ui/KeysOptionsGroup.h"
#include "shell/AppContext.h"
#include "shell/ui/TrayController.h"

#include <QCoreApplication>

namespace {

class BindKeysJob final : public StartupJob {
public:
    explicit BindKeysJob(Shortcuts& shortcuts) : m_shortcuts(shortcuts) {}
    const char* name() const override { return "bind keys"; }
    void run() override { m_shortcuts.bindStored(); }

private:
    Shortcuts& m_shortcuts;
};

class CheckKeysJob final : public MinuteJob {
public:
    explicit CheckKeysJob(Shortcuts& shortcuts) : m_shortcuts(shortcuts) {}
    const char* name() const override { return "key check"; }
    void run(MinuteContext&) override { m_shortcuts.check(); }
    // Nothing to check while no key is bound; a key bound later wakes the tick.
    QDateTime nextNeeded(const MinuteContext&) const override {
        return m_shortcuts.anyBound() ? QDateTime() : untilChanged();
    }

private:
    Shortcuts& m_shortcuts;
};

} // namespace

ToolDescriptor keysDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("Keys");
    return d;
}

ToolDescriptor keysTool(AppContext& context) {
    ToolDescriptor d = keysDescriptor();
    ToolLink* link = d.link.get();
    Shortcuts* shortcuts = d.hold(std::make_shared<Shortcuts>(
        context.keys, context.paths.dataFile(), &context.stores.changes));
    QObject::connect(shortcuts, &Shortcuts::activated, link,
                     [link](const QString& command, const QString& argument) {
                         Q_EMIT link->commandAsked(command, argument);
                     });
    QObject::connect(shortcuts, &Shortcuts::lostNotice, link,
                     [link](const QString& text) { link->tell(text, QStringLiteral("Options")); });
    // GNOME before its portal had global shortcuts keeps custom ones of its own.
    std::shared_ptr<GnomeKeybindings> gnome;
    if (GnomeKeybindings::isGnome(qEnvironmentVariable("XDG_CURRENT_DESKTOP")))
        gnome = std::make_shared<GnomeKeybindings>(context.processes);
    d.optionsGroups = {[shortcuts, gnome](QWidget* parent) {
        return new KeysOptionsGroup(*shortcuts, gnome.get(),
                                    QCoreApplication::applicationFilePath(), parent);
    }};
    d.addJobs = [shortcuts](TrayController& controller) {
        controller.addStartupJob(std::make_unique<BindKeysJob>(*shortcuts));
        controller.addMinuteJob(std::make_unique<CheckKeysJob>(*shortcuts));
        QObject::connect(shortcuts, &Shortcuts::changed, &controller,
                         [&controller] { controller.tick().wakeJobs(); });
    };
    return d;
}
