// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/ToolRegistry.h"

int ToolRegistry::add(ToolDescriptor tool) {
    const qsizetype i = m_tools.size();
    int button = MainToolbar::ButtonCount + 1 + int(i) - TrayMenu::ToolSlots;
    if (i == 0)
        button = MainToolbar::FirstToolButton;
    else if (i < TrayMenu::ToolSlots)
        button = m_buttons.last() + (tool.startsGroup ? 2 : 1);
    // The slots end before the separator of the reminder's group.
    Q_ASSERT(button < MainToolbar::ReminderButton - 1 || button > MainToolbar::ButtonCount);
    m_tools.append(std::move(tool));
    m_buttons.append(button);
    return button;
}

int ToolRegistry::buttonOf(const QString& id) const {
    for (qsizetype i = 0; i < m_tools.size(); ++i) {
        if (m_tools[i].id == id)
            return m_buttons[i];
    }
    return 0;
}

QList<TrayMenuEntries::Entry> ToolRegistry::trayEntries() const {
    QList<TrayMenuEntries::Tool> tools;
    for (qsizetype i = 0; i < m_tools.size(); ++i)
        tools << TrayMenuEntries::Tool{trayIndexAt(i), m_tools[i].caption, m_tools[i].startsGroup};
    return TrayMenuEntries::build(tools);
}

int ToolRegistry::trayIndexOf(const QString& id) const {
    const qsizetype i = m_buttons.indexOf(buttonOf(id));
    return i >= 0 ? trayIndexAt(i) : -1;
}

const ToolDescriptor* ToolRegistry::toolOfButton(int toolbarButton) const {
    const qsizetype i = m_buttons.indexOf(toolbarButton);
    return i >= 0 ? &m_tools[i] : nullptr;
}

const ToolDescriptor* ToolRegistry::toolOfTrayIndex(int index) const {
    const int button = toolbarButtonOfTrayIndex(index);
    return button ? toolOfButton(button) : nullptr;
}

int ToolRegistry::toolbarButtonOfTrayIndex(int index) const {
    const int i = index < TrayMenu::ToolSlots    ? index
                  : index >= TrayMenu::ItemCount ? index - TrayMenu::ItemCount + TrayMenu::ToolSlots
                                                 : -1;
    return i >= 0 && i < m_buttons.size() ? m_buttons[i] : 0;
}
