// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/OptionsGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

QSpinBox* OptionsGroup::numberBox(QWidget* parent, const char* name, int minimum, int maximum,
                                  int step, int initial, const QString& accessibleName,
                                  bool aligned) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    box->setValue(initial);
    // Typed digits count once the box is left or Enter is pressed, not at every keystroke.
    box->setKeyboardTracking(false);
    box->setAccessibleName(accessibleName);
    box->setProperty(AlignedProperty, aligned);
    return box;
}

QCheckBox* OptionsGroup::checkBox(QWidget* parent, const char* name, const QString& text) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(text);
    return box;
}

QLabel* OptionsGroup::caption(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}
