#include "core/SystemRow.h"

#include "core/DataFile.h"
#include "core/DateText.h"

#include <QSqlField>

bool SystemRow::load(DataFile& db) {
    m_loaded = false;
    QSqlQuery q = db.query(QStringLiteral("SELECT * FROM System LIMIT 1"));
    if (!q.isActive() || !q.next())
        return false;
    m_record = q.record();
    m_loaded = true;
    return true;
}

QVariant SystemRow::value(const QString& column) const {
    const int i = m_record.indexOf(column);
    return i < 0 ? QVariant() : m_record.value(i);
}

int SystemRow::integer(const QString& column, int fallback) const {
    bool ok = false;
    const int v = value(column).toInt(&ok);
    return ok ? v : fallback;
}

double SystemRow::number(const QString& column, double fallback) const {
    bool ok = false;
    const double v = value(column).toDouble(&ok);
    return ok ? v : fallback;
}

QDate SystemRow::date(const QString& column) const {
    return DateText::toDate(value(column));
}

bool SystemRow::set(DataFile& db, const QString& column, const QVariant& v) {
    return set(db, {{column, v}});
}

bool SystemRow::set(DataFile& db, const QList<QPair<QString, QVariant>>& values) {
    if (!m_loaded || values.isEmpty())
        return false;
    QStringList assignments;
    QVariantList bound;
    for (const auto& [column, v] : values) {
        const int i = m_record.indexOf(column);
        if (i < 0)
            return false;
        assignments << m_record.fieldName(i) + QStringLiteral(" = ?");
        // A null QString would be stored as SQL NULL, which the tick reads as "no value".
        const bool nullText = v.typeId() == QMetaType::QString && v.toString().isNull();
        bound << (nullText ? QVariant(QStringLiteral("")) : v);
    }
    // The table holds one row; rowid keeps a stray second row from being overwritten too.
    const QString sql = QStringLiteral("UPDATE System SET ") + assignments.join(u", ") +
                        QStringLiteral(" WHERE rowid = (SELECT MIN(rowid) FROM System)");
    if (!db.exec(sql, bound))
        return false;
    for (const auto& [column, v] : values)
        m_record.setValue(m_record.indexOf(column), v);
    return true;
}
