// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>
#include <QString>

// What every store of a table shares: the data file it opens for each operation, the text
// of its latest failure, and the one way to fail (kept, logged in the store's category).
class DataStore {
public:
    using Category = const QLoggingCategory& (*)();

    QString lastError() const { return m_error; }
    const QString& dataFile() const { return m_path; }

protected:
    DataStore(QString dataFile, Category category)
        : m_path(std::move(dataFile)), m_category(category) {}

    // Keeps `error` as lastError() and logs that `what` failed; always false.
    bool fail(const QString& what, const QString& error) {
        m_error = error;
        qCWarning(m_category) << what << "failed:" << error;
        return false;
    }

    QString m_path;
    QString m_error;

private:
    Category m_category;
};
