// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataStore.h"
#include "quickaccess/FolderTracking.h"

#include <QList>
#include <QString>

// The QAccess table: the folders worth offering and emptying the table for the Quick Access
// window, every row and the changes of a pass for folder tracking. Each call opens the
// data file and closes it again.
class QuickAccessStore : public DataStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    static constexpr int ListedFolders = 30;

    struct Folder {
        QString fullPath;
        int hits = 0;
    };

    explicit QuickAccessStore(QString dataFile, ChangeHub* changes = nullptr);

    // At most ListedFolders folders used on more than one day, most hits first (older
    // rows first among equals). False on failure, with `folders` empty.
    bool mostUsed(QList<Folder>& folders);
    // Deletes every row; false when the write failed.
    bool clear();

    // Every row, in the order written; false (with `rows` empty) when the table cannot be
    // read.
    bool allRows(QList<FolderTracking::Row>& rows);
    // Applies a pass's changes in one transaction; a statement that fails is logged and
    // skipped. False when the transaction cannot be opened or committed.
    bool apply(const FolderTracking::Changes& changes, const QDate& today);
};
