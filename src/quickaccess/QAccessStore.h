// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DataStore.h"

#include <QList>
#include <QString>

// The Quick Access window's side of the QAccess table: the folders worth offering and
// emptying the table. Each call opens the data file and closes it again.
class QAccessStore : public DataStore {
public:
    static constexpr int ListedFolders = 30;

    struct Folder {
        QString fullPath;
        int hits = 0;
    };

    explicit QAccessStore(QString dataFile);

    // At most ListedFolders folders used on more than one day, most hits first (older
    // rows first among equals). False on failure, with `folders` empty.
    bool mostUsed(QList<Folder>& folders);
    // Deletes every row; false when the write failed.
    bool clear();

private:
};
