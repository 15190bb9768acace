// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/Shortcuts.h"

#include "base/Log.h"
#include "data/ToolSetting.h"
#include "shell/RemoteCommand.h"

namespace {
const QString Table = QStringLiteral("KeySettings");
} // namespace

const QList<Shortcuts::Action>& Shortcuts::actions() {
    static const QList<Action> list{
        {"CaptureKey",
         QT_TRANSLATE_NOOP("Shortcuts", "Capture an area"),
         QLatin1String(RemoteCommand::Capture),
         {},
         QKeySequence(Qt::Key_Print)},
        {"NewNoteKey",
         QT_TRANSLATE_NOOP("Shortcuts", "New note"),
         QLatin1String(RemoteCommand::NewNote),
         {},
         {}},
        {"CalendarKey",
         QT_TRANSLATE_NOOP("Shortcuts", "Show the calendar"),
         QLatin1String(RemoteCommand::Show),
         QStringLiteral("calendar"),
         {}},
    };
    return list;
}

SchemaPart Shortcuts::tables() {
    SchemaPart part;
    const QString create = QStringLiteral(
        "CREATE TABLE KeySettings (CaptureKey TEXT, NewNoteKey TEXT, CalendarKey TEXT)");
    part.create = {create};
    // 7: the keyboard shortcuts.
    part.steps[7] = {createIfMissing(create)};
    return part;
}

Shortcuts::Shortcuts(GlobalKeys& keys, QString dataFile, CommitListener* changes)
    : m_global(keys), m_dataFile(std::move(dataFile)), m_changes(changes) {
    for (int i = 0; i < actions().size(); ++i) {
        m_keys << QKeySequence();
        m_states << GlobalKeys::State::Unbound;
    }
    connect(&m_global, &GlobalKeys::activated, this, [this](const QString& name) {
        const int i = indexOf(name);
        if (i >= 0)
            Q_EMIT activated(actions()[i].command, actions()[i].argument);
    });
    for (const Action& action : actions())
        m_global.describe(QLatin1String(action.column), action.caption());
    // The desktop's later answer to a key asked of it, or a key it changed.
    connect(&m_global, &GlobalKeys::stateChanged, this,
            [this](const QString& name, GlobalKeys::State state) {
                const int i = indexOf(name);
                if (i < 0 || m_keys[i].isEmpty())
                    return;
                m_states[i] = state;
                Q_EMIT changed(i);
            });
    connect(&m_global, &GlobalKeys::wayChanged, this, [this] {
        Q_EMIT wayChanged();
        for (int i = 0; i < actions().size(); ++i)
            Q_EMIT changed(i);
    });
    connect(&m_global, &GlobalKeys::lost, this, [this](const QString& name) {
        const int i = indexOf(name);
        if (i < 0)
            return;
        m_states[i] = GlobalKeys::State::Taken;
        Q_EMIT changed(i);
        Q_EMIT lostNotice(tr("Another program took the key %1, so \"%2\" no longer works from "
                             "the keyboard. Choose a key for it in Options.")
                              .arg(keyText(m_keys[i]), actions()[i].caption()));
    });
}

int Shortcuts::indexOf(const QString& name) const {
    for (int i = 0; i < actions().size(); ++i)
        if (name == QLatin1String(actions()[i].column))
            return i;
    return -1;
}

QString Shortcuts::keyText(const QKeySequence& key) {
    return key.toString(QKeySequence::NativeText);
}

void Shortcuts::bindStored() {
    for (int i = 0; i < actions().size(); ++i) {
        const QString stored =
            ToolSetting(m_dataFile, Table, QLatin1String(actions()[i].column)).value().toString();
        m_keys[i] = QKeySequence::fromString(stored, QKeySequence::PortableText);
        if (m_keys[i].isEmpty())
            continue;
        m_states[i] = m_global.bind(QLatin1String(actions()[i].column), m_keys[i]);
        if (m_states[i] != GlobalKeys::State::Bound)
            qCWarning(lcStartup) << "the key" << stored << "of" << actions()[i].captionText
                                 << "could not be bound";
        Q_EMIT changed(i);
    }
}

bool Shortcuts::choose(int action, const QKeySequence& key) {
    // One key with its modifiers; a chord's later keys are dropped.
    const QKeySequence single = key.isEmpty() ? QKeySequence() : QKeySequence(key[0]);
    m_keys[action] = single;
    m_states[action] = m_global.bind(QLatin1String(actions()[action].column), single);
    Q_EMIT changed(action);
    ToolSetting setting(m_dataFile, Table, QLatin1String(actions()[action].column), {}, m_changes);
    const bool stored = setting.set(
        single.isEmpty() ? QVariant() : QVariant(single.toString(QKeySequence::PortableText)));
    if (!stored)
        qCWarning(lcStartup) << "the key of" << actions()[action].captionText << "was not stored";
    return stored;
}

QString Shortcuts::status(int action) const {
    switch (m_states.value(action)) {
    case GlobalKeys::State::Unbound:
        return {};
    case GlobalKeys::State::Bound: {
        if (m_global.way() != GlobalKeys::Way::Portal)
            return {};
        // The portal lets the user pick another key than the one asked for.
        const QString trigger = m_global.trigger(QLatin1String(actions()[action].column));
        return trigger.isEmpty() ? tr("The desktop holds this shortcut; its key is set in the "
                                      "desktop's keyboard settings.")
                                 : tr("The desktop runs it on %1.").arg(trigger);
    }
    case GlobalKeys::State::Taken:
        return tr("%1 is already used by another program").arg(keyText(key(action)));
    case GlobalKeys::State::Unusable:
        // A desktop without global keys is explained once, above the keys.
        return bindable() ? tr("%1 cannot be used here").arg(keyText(key(action))) : QString();
    case GlobalKeys::State::Pending:
        return tr("Waiting for the desktop to confirm %1…").arg(keyText(key(action)));
    case GlobalKeys::State::Refused: {
        const QString problem = m_global.problem(QLatin1String(actions()[action].column));
        return problem.isEmpty() ? tr("The desktop refused %1.").arg(keyText(key(action)))
                                 : problem;
    }
    }
    return {};
}
