// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ShellTables.h"
#include "core/ui/ToolDescriptor.h"
#include "core/ui/ToolPage.h"

#include <QHash>
#include <QList>

#include <functional>

// How a tool plugs into the main window without the main window knowing it: the
// application registers each tool before the first window opens. The main window calls
// the page factory the first time the tool is chosen and keeps the page until the main
// window closes; afterwards it only hides and shows it. A button without a factory shows
// an empty page with its caption.
// The shell's own tools keep their toolbar buttons (MainToolbar::Button) and tray indexes
// (TrayMenu::Index); a tool added with add() gets the next button after the shell's
// (MainToolbar::ButtonCount + 1, ...) and the next tray index (TrayMenu::ItemCount, ...),
// and shows after Options on the toolbar and in both menus, in the order added.
class ToolRegistry {
public:
    using Factory = std::function<ToolPage*(QWidget* parent)>;

    void registerTool(int toolbarButton, Factory factory) {
        m_factories.insert(toolbarButton, std::move(factory));
    }
    Factory factory(int toolbarButton) const {
        if (const ToolDescriptor* d = added(toolbarButton))
            return d->page;
        return m_factories.value(toolbarButton);
    }

    // Registers a tool of its own; returns its toolbar button.
    int add(ToolDescriptor tool) {
        m_added.append(std::move(tool));
        return MainToolbar::ButtonCount + int(m_added.size());
    }
    // The tools added with add(), in order.
    const QList<ToolDescriptor>& addedTools() const { return m_added; }
    // The added tool of a toolbar button, null for the shell's buttons.
    const ToolDescriptor* added(int toolbarButton) const {
        const int i = toolbarButton - MainToolbar::ButtonCount - 1;
        return i >= 0 && i < m_added.size() ? &m_added[i] : nullptr;
    }
    static int buttonOfAdded(int i) { return MainToolbar::ButtonCount + 1 + i; }
    static int trayIndexOfAdded(int i) { return TrayMenu::ItemCount + i; }
    // The toolbar button a tray index presses, the added tools' included; 0 for none.
    int toolbarButtonOfTrayIndex(int index) const {
        const int i = index - TrayMenu::ItemCount;
        if (i >= 0 && i < m_added.size())
            return buttonOfAdded(i);
        return TrayMenu::toolbarButton(index);
    }

private:
    QHash<int, Factory> m_factories;
    QList<ToolDescriptor> m_added;
};
