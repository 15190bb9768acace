// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "data/FileSchema.h"

#include <QLoggingCategory>
#include <QString>

// What every store of a table shares: the data file it opens for each operation, the hub
// its committed writes are announced to, the text of its latest failure, and the one way
// to fail (kept, logged in the store's category). A store holds no connection: the program
// builds each one once and hands it out; work on another thread takes a copy, so that its
// failures are its own.
class DataStore {
public:
    using Category = const QLoggingCategory& (*)();

    QString lastError() const { return m_error; }
    const QString& dataFile() const { return m_path; }
    ChangeHub* changes() const { return m_changes; }

protected:
    DataStore(QString dataFile, Category category, ChangeHub* changes)
        : m_path(std::move(dataFile)), m_changes(changes), m_category(category) {}

    // Opens the data file for one operation, its committed writes announced to the store's
    // hub. lastError() then tells only of this operation.
    DataFile open(DataFile::Mode mode = DataFile::Existing) const {
        m_error.clear();
        return DataFile(m_path, mode, m_changes);
    }

    // Keeps `error` as lastError() and logs that `what` failed; always false.
    bool fail(const QString& what, const QString& error) {
        m_error = error;
        qCWarning(m_category) << what << "failed:" << error;
        return false;
    }

    QString m_path;
    ChangeHub* m_changes = nullptr;
    mutable QString m_error;

private:
    Category m_category;
};
