// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/OptionsGroup.h"

#include <QKeySequenceEdit>
#include <QList>

class GnomeKeybindings;
class QLabel;
class QPushButton;
class Shortcuts;

// A key editor that lets Tab and Shift+Tab move on, so the keyboard never stays caught in
// it; every other key with its modifiers is the shortcut typed. While it waits for a key (from
// the focus or a click until a key is typed) it holds the keyboard, so a key another program
// has taken reaches it too (and can be reported as taken) instead of setting off that
// program.
class ShortcutEdit : public QKeySequenceEdit {
    Q_OBJECT
public:
    explicit ShortcutEdit(QWidget* parent = nullptr);
    // The name a screen reader reads, on the editor and on the text box that takes its focus.
    void setName(const QString& name);

Q_SIGNALS:
    // A key with its modifiers was typed: the whole of a shortcut here.
    void keyTyped(const QKeySequence& key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Tab and Shift+Tab move the focus on; true when `event` was one of them.
    bool movedOn(QEvent* event);

    QWidget* m_text = nullptr;
};

// The "Keyboard shortcuts" group of Options: per action a key editor, a "None" button and
// the word on a key that could not be bound. A key is stored and bound as soon as it is
// typed; "None" unbinds it.
class KeysOptionsGroup : public OptionsGroup {
    Q_OBJECT
public:
    // After the e-mail group, before the backup.
    static constexpr int Order = 300;

    // `gnome`: GNOME's own shortcuts, offered while the desktop lets no program bind a key,
    // each running `program` with the action's option; none: the commands are shown.
    KeysOptionsGroup(Shortcuts& shortcuts, GnomeKeybindings* gnome = nullptr,
                     QString program = QStringLiteral("plumora"), QWidget* parent = nullptr);

    int order() const override { return Order; }
    void load(const Settings& stored) override;
    QStringList tables() const override { return {QStringLiteral("KeySettings")}; }

    ShortcutEdit* editor(int action) const { return m_edits.value(action); }
    QLabel* statusLabel(int action) const { return m_status.value(action); }

    QPushButton* gnomeButton() const { return m_gnomeButton; }
    QLabel* gnomeLabel() const { return m_gnomeLabel; }

private:
    void show(int action);
    // The introduction and the controls for the way this desktop binds keys.
    void showWay();
    // The command line that runs an action.
    QString commandOf(int action) const;
    void addToGnome();
    void showGnome();

    Shortcuts& m_shortcuts;
    QList<ShortcutEdit*> m_edits;
    QList<QPushButton*> m_none;
    QList<QLabel*> m_status;
    QLabel* m_intro = nullptr;
    GnomeKeybindings* m_gnome;
    QString m_program;
    QPushButton* m_gnomeButton = nullptr;
    QLabel* m_gnomeLabel = nullptr;
    bool m_filling = false;
};
