// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ShellTables.h"
#include "shell/ui/ToolDescriptor.h"
#include "shell/ui/ToolPage.h"

#include <QList>

// The tools of the main window in the order the application registers them, before the
// first window opens. Order gives the numbers: the first seven fill the shell's slots (tray
// indexes 0..6, toolbar buttons from 2 with a numbered separator before each further
// group); later ones number after the shell's entries (toolbar ButtonCount + 1, ..., tray
// ItemCount, ...) and show after the seventh, in its group unless they start one.
// The main window calls a tool's page factory the first time the tool is chosen and keeps
// the page until the main window closes. A tool without a factory shows an empty page.
class ToolRegistry {
public:
    // Registers the next tool; returns its toolbar button.
    int add(ToolDescriptor tool);

    // The tools in order, with their toolbar buttons and tray indexes.
    const QList<ToolDescriptor>& tools() const { return m_tools; }
    int toolbarButtonAt(qsizetype i) const { return m_buttons.at(i); }
    static int trayIndexAt(qsizetype i) {
        return i < TrayMenu::ToolSlots ? int(i)
                                       : TrayMenu::ItemCount + int(i) - TrayMenu::ToolSlots;
    }
    QList<int> toolButtons() const { return m_buttons; }

    // The toolbar button and the tray index of the tool with `id`; 0 and -1 for none.
    int buttonOf(const QString& id) const;
    int trayIndexOf(const QString& id) const;
    // The tool of a toolbar button or of a tray index; null for the shell's own entries.
    const ToolDescriptor* toolOfButton(int toolbarButton) const;
    const ToolDescriptor* toolOfTrayIndex(int index) const;
    // The toolbar button a tray index presses; 0 for the shell's own entries.
    int toolbarButtonOfTrayIndex(int index) const;

    // What a tool offers the others (ToolDescriptor::offers), shown or not; the first offer
    // of a name stays.
    void addOffers(const QHash<QString, std::any>& offers) {
        for (auto it = offers.cbegin(); it != offers.cend(); ++it)
            if (!m_offers.contains(it.key()))
                m_offers.insert(it.key(), it.value());
    }
    // The offer `name` when it is a T; null when no tool offers it.
    template <class T> const T* offer(const QString& name) const {
        const auto it = m_offers.constFind(name);
        return it == m_offers.constEnd() ? nullptr : std::any_cast<T>(&*it);
    }

private:
    QList<ToolDescriptor> m_tools;
    QList<int> m_buttons; // by tool
    QHash<QString, std::any> m_offers;
};
