// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Settings.h"

#include <QGroupBox>
#include <QStringList>

class QCheckBox;
class QLabel;
class QSpinBox;

// A group a tool puts on the Options page through its descriptor (ToolDescriptor::
// optionsGroups). The page keeps one copy of the System row that all its groups show: it hands
// each group the stored row to show, asks it for its input when a control changes, when the
// page is left and when the program ends, and writes the fields the group names together
// with its own, telling of a failure once. What a group keeps elsewhere (its own tables, the
// keyring) it writes itself.
class OptionsGroup : public QGroupBox {
    Q_OBJECT
public:
    // When the page takes a group's input.
    enum class Moment {
        Changed,  // one of its controls changed (inputChanged)
        Leaving,  // the page is left, or is about to read the file again
        Unloading // the program ends: nothing may wait for an answer any more
    };

    // Where a group with a password says it is kept.
    static constexpr char KeptInDataFile[] =
        QT_TRANSLATE_NOOP("OptionsGroup", "Stored in Plumora's data file (no keyring found)");
    static constexpr char KeptInKeyring[] =
        QT_TRANSLATE_NOOP("OptionsGroup", "Stored in the desktop's keyring");

    using QGroupBox::QGroupBox;

    // Its place among the page's groups, top to bottom. The page's own stand at 100 (events),
    // 400 (backup) and 500 (start and data file).
    virtual int order() const = 0;
    // Shows the stored row, and what else of the data file the group shows.
    virtual void load(const Settings& stored) = 0;
    // Copies the input the moment takes into `values`; returns the fields it changed.
    virtual QList<Settings::Field> take(Settings& values, Moment moment) {
        Q_UNUSED(values);
        Q_UNUSED(moment);
        return {};
    }
    // Input typed that the data file does not hold yet, which a reload would replace.
    virtual bool hasUnsavedInput() const { return false; }
    // The data file changed while the page shows: shows what changed, keeping input typed.
    // False when something it shows changed under input it keeps: the page offers a reload.
    virtual bool follow(const Settings& stored) {
        if (hasUnsavedInput())
            return false;
        load(stored);
        return true;
    }
    // The data file's tables it shows besides the settings' (for the page to follow them).
    virtual QStringList tables() const { return {}; }

    // The controls the page's groups are made of, named as the page's tests and readers find
    // them. A number box takes typed digits once it is left or Enter is pressed; marked
    // `aligned`, it takes the width of the page's other aligned boxes.
    static QSpinBox* numberBox(QWidget* parent, const char* name, int minimum, int maximum,
                               int step, int initial, const QString& accessibleName,
                               bool aligned = true);
    static QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text);
    // A plain-text caption, the label of `buddy` when given.
    static QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy = nullptr);
    // The property that marks an aligned number box.
    static constexpr char AlignedProperty[] = "plumoraAligned";

Q_SIGNALS:
    // A control changed: the page takes the group's input (Moment::Changed) and writes it.
    void inputChanged();
    // The group needs what was typed written now (before a check that uses it, say): the
    // page takes its input as on leaving and writes it.
    void keepRequested();
    // The group wrote a setting itself.
    void settingSaved(Settings::Field field);
    // Its content takes more or fewer lines: the page lays its groups out again.
    void contentResized();
};
