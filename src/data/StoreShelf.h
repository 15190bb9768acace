// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <map>
#include <memory>
#include <typeindex>
#include <typeinfo>

class ChangeHub;

// The stores the tools share, one of each type on the data file, each announcing its
// committed writes to the hub. Each tool's data part puts its stores here (ToolData), and
// code finds them by type: stores.get<EventStore>().
class StoreShelf {
public:
    StoreShelf(QString dataFile, ChangeHub& changes)
        : m_dataFile(std::move(dataFile)), m_changes(changes) {}
    StoreShelf(const StoreShelf&) = delete;
    StoreShelf& operator=(const StoreShelf&) = delete;

    // The store S on the data file, made at the first call.
    template <class S> S& add() {
        std::shared_ptr<void>& slot = m_stores[std::type_index(typeid(S))];
        if (!slot)
            slot = std::make_shared<S>(m_dataFile, &m_changes);
        return *static_cast<S*>(slot.get());
    }
    // The store S; null when no tool put one here.
    template <class S> S* find() const {
        const auto it = m_stores.find(std::type_index(typeid(S)));
        return it == m_stores.end() ? nullptr : static_cast<S*>(it->second.get());
    }
    // The store S, which a tool of the program puts here: its absence is a fault of the
    // program's tool list, not of the user's data.
    template <class S> S& get() const {
        S* store = find<S>();
        if (!store)
            qFatal("No tool gives the store %s", typeid(S).name());
        return *store;
    }

private:
    QString m_dataFile;
    ChangeHub& m_changes;
    std::map<std::type_index, std::shared_ptr<void>> m_stores;
};
