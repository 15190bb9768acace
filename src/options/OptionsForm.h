// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Settings.h"

#include <QList>
#include <QString>

#include <optional>

class SettingsStore;

// The rules of the Options page's own controls, without their widgets.
namespace OptionsForm {

// A holiday box was set or cleared: at most one of the two country lists, and none without
// the international one. Changes `values` and returns the fields it changed, in the order
// they are written (a country that goes, before the one that comes).
QList<Settings::Field> holidayBox(Settings& values, Settings::Field box, bool on);

} // namespace OptionsForm

// Writes the page's settings field by field. A field whose write failed is kept and written
// with the next one, so what the user chose reaches the file once it can be written; until
// then the page keeps showing it.
class SettingsWriter {
public:
    explicit SettingsWriter(const SettingsStore& store) : m_store(store) {}

    // Writes `fields` of `values` and the ones kept from earlier failures, in one statement.
    // Returns what was written, in order; nothing, with lastError() set, on a failure.
    std::optional<QList<Settings::Field>> write(const QList<Settings::Field>& fields,
                                                const Settings& values);
    // Fields waiting for a write that succeeds.
    const QList<Settings::Field>& pending() const { return m_pending; }
    // The user chose to go on without them.
    void dropPending() { m_pending.clear(); }
    const QString& lastError() const { return m_error; }

private:
    const SettingsStore& m_store;
    QList<Settings::Field> m_pending;
    QString m_error;
};
