// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/OptionsForm.h"

using Field = Settings::Field;

QList<Settings::Field> OptionsForm::holidayBox(Settings& values, Settings::Field box, bool on) {
    QList<Field> fields;
    if (box == Field::AddHolidays) {
        // Both country lists go with the international one, and both are written.
        if (!on) {
            values.addAmerica = values.addCanada = false;
            fields << Field::AddAmerica << Field::AddCanada;
        }
        values.addHolidays = on;
        return fields << Field::AddHolidays;
    }
    const bool america = box == Field::AddAmerica;
    bool& mine = america ? values.addAmerica : values.addCanada;
    bool& other = america ? values.addCanada : values.addAmerica;
    if (on && other) {
        other = false;
        fields << (america ? Field::AddCanada : Field::AddAmerica);
    }
    mine = on;
    return fields << box;
}

std::optional<QList<Settings::Field>> SettingsWriter::write(const QList<Settings::Field>& fields,
                                                            const Settings& values) {
    QList<Field> all = m_pending;
    for (Field field : fields) {
        if (!all.contains(field))
            all << field;
    }
    if (all.isEmpty())
        return all;
    const bool saved = m_store.update([&](Settings& s) {
        for (Field field : std::as_const(all))
            s.copyField(field, values);
    });
    if (!saved) {
        m_pending = all;
        m_error = m_store.lastError();
        return std::nullopt;
    }
    m_pending.clear();
    return all;
}
