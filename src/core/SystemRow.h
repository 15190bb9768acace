#pragma once

#include <QDate>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

class DataFile;

// The single row of the System table. Column names are matched without regard to case
// (older files spell some of them differently), and yes/no columns read any non-zero
// value as true.
class SystemRow {
public:
    // Reads the row; false when the table or its row cannot be read (a damaged file).
    bool load(DataFile& db);
    bool isLoaded() const { return m_loaded; }

    bool has(const QString& column) const { return m_record.indexOf(column) >= 0; }
    // Null when the column is missing or holds no value at all.
    QVariant value(const QString& column) const;

    int integer(const QString& column, int fallback = 0) const;
    double number(const QString& column, double fallback = 0) const;
    bool boolean(const QString& column) const { return integer(column) != 0; }
    QString text(const QString& column) const { return value(column).toString(); }
    QDate date(const QString& column) const;

    // Writes one column of the row in the file and in this copy. The name is checked
    // against the table's own columns before it goes into SQL (names cannot be bound).
    bool set(DataFile& db, const QString& column, const QVariant& value);
    // Writes several columns in one statement, so they change together or not at all.
    bool set(DataFile& db, const QList<QPair<QString, QVariant>>& values);

private:
    QSqlRecord m_record;
    bool m_loaded = false;
};
