// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"
#include "platform/GlobalKeys.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <algorithm>

class CommitListener;

// The keyboard shortcuts that reach Plumora from anywhere on the desktop: one per action
// (capture an area, a new note, the calendar), none bound until the user chooses a key.
// The keys are kept in the data file's one-row KeySettings table and bound through the
// desktop's global keys; a key another program holds stays unbound and says so.
class Shortcuts : public QObject {
    Q_OBJECT
public:
    struct Action {
        const char* column;      // its column in KeySettings
        const char* captionText; // as Options shows it, untranslated
        QString command;         // the command it runs (RemoteCommand)
        QString argument;
        QKeySequence suggested; // the key Options suggests, none when it suggests none
        QString caption() const { return QCoreApplication::translate("Shortcuts", captionText); }
    };
    static const QList<Action>& actions();
    static SchemaPart tables();

    Shortcuts(GlobalKeys& keys, QString dataFile, CommitListener* changes = nullptr);

    // Binds the stored keys (at start-up).
    void bindStored();
    QKeySequence key(int action) const { return m_keys.value(action); }
    GlobalKeys::State state(int action) const { return m_states.value(action); }
    // Stores `key` (empty: none) for the action and binds it. False when the data file
    // refused it; the key is then bound for this session only.
    bool choose(int action, const QKeySequence& key);
    // What Options says under the action: empty when all is well.
    QString status(int action) const;
    // Whether this desktop lets Plumora bind keys at all.
    bool bindable() const { return m_global.way() != GlobalKeys::Way::None; }
    GlobalKeys::Way way() const { return m_global.way(); }
    // Checks the bound keys are still held (once a minute).
    void check() { m_global.check(); }
    // Whether any action's key is bound now.
    bool anyBound() const {
        return std::any_of(m_states.cbegin(), m_states.cend(),
                           [](GlobalKeys::State s) { return s == GlobalKeys::State::Bound; });
    }

    // The text for a key Options and the messages show ("Print", "Ctrl+Alt+N").
    static QString keyText(const QKeySequence& key);

Q_SIGNALS:
    // The key of an action was pressed: run `command` with `argument`.
    void activated(const QString& command, const QString& argument);
    // An action's key or its state changed.
    void changed(int action);
    // The desktop turned out to offer no way to bind keys (bindable() is false now).
    void wayChanged();
    // A bound key was lost to another program: told once.
    void lostNotice(const QString& text);

private:
    int indexOf(const QString& name) const;

    GlobalKeys& m_global;
    QString m_dataFile;
    CommitListener* m_changes;
    QList<QKeySequence> m_keys;
    QList<GlobalKeys::State> m_states;
};
