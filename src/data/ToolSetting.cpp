// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ToolSetting.h"

#include "base/Log.h"
#include "data/DataFile.h"

#include <algorithm>

namespace {
// A plain SQL name, [A-Za-z_][A-Za-z0-9_]*.
bool isIdentifier(const QString& name) {
    const auto ascii = [](QChar c, bool digits) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' ||
               (digits && c >= u'0' && c <= u'9');
    };
    if (name.isEmpty() || !ascii(name.front(), false))
        return false;
    return std::all_of(name.begin(), name.end(), [&](QChar c) { return ascii(c, true); });
}
} // namespace

ToolSetting::ToolSetting(QString dataFile, QString table, QString column, QVariant fallback,
                         CommitListener* changes)
    : m_dataFile(std::move(dataFile)), m_table(std::move(table)), m_column(std::move(column)),
      m_fallback(std::move(fallback)), m_changes(changes),
      m_named(isIdentifier(m_table) && isIdentifier(m_column)) {
    if (!m_named)
        qCWarning(lcData) << "tool setting" << m_table << m_column << "is not a plain name";
}

QVariant ToolSetting::value() const {
    if (!m_named)
        return m_fallback;
    DataFile db(m_dataFile);
    const QVariant stored =
        db.isOpen() ? db.scalar(QStringLiteral("SELECT %1 FROM %2 LIMIT 1").arg(m_column, m_table))
                    : QVariant();
    return stored.isNull() ? m_fallback : stored;
}

bool ToolSetting::set(const QVariant& value) {
    if (!m_named)
        return false;
    DataFile db(m_dataFile, m_changes);
    Transaction t(db);
    const bool hasRow =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_table)).toLongLong() > 0;
    const QString sql = hasRow ? QStringLiteral("UPDATE %1 SET %2 = ?")
                               : QStringLiteral("INSERT INTO %1 (%2) VALUES (?)");
    const bool ok = t.isActive() && db.exec(sql.arg(m_table, m_column), {value}) && t.commit();
    if (!ok)
        qCWarning(lcData) << "tool setting" << m_table << m_column
                          << "not written:" << db.lastError();
    return ok;
}
