#pragma once

#include "core/ui/ToolPage.h"

#include <QHash>

#include <functional>

// How a tool plugs into the main window without the main window knowing it: the
// application registers a factory per toolbar button (MainToolbar::CalendarButton, ...)
// before the first window opens. The main window calls the factory the first time the
// tool is chosen and keeps the page until the main window closes; afterwards it only
// hides and shows it. A button without a factory shows an empty page with its caption.
class ToolRegistry {
public:
    using Factory = std::function<ToolPage*(QWidget* parent)>;

    void registerTool(int toolbarButton, Factory factory) {
        m_factories.insert(toolbarButton, std::move(factory));
    }
    Factory factory(int toolbarButton) const { return m_factories.value(toolbarButton); }

private:
    QHash<int, Factory> m_factories;
};
