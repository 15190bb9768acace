// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/OptionsGroup.h"

struct AppContext;
class QComboBox;

// The "Calendar" group of the Options page: "Weeks start on" Sunday, Monday or as the
// system does (the locale's first day). A choice is written at once; the month view and the
// date picker follow it.
class CalendarOptionsGroup : public OptionsGroup {
    Q_OBJECT
public:
    // After the page's events group, before the mail group.
    static constexpr int Order = 150;

    explicit CalendarOptionsGroup(AppContext& context, QWidget* parent = nullptr);

    int order() const override { return Order; }
    void load(const Settings&) override;
    QStringList tables() const override;

private:
    void chosen(int index);

    AppContext& m_context;
    QComboBox* m_weekStart = nullptr;
};
