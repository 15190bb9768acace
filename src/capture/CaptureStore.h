// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataStore.h"

#include <QByteArray>
#include <QImage>
#include <QLoggingCategory>
#include <QString>

#include <vector>

Q_DECLARE_LOGGING_CATEGORY(lcCapture)

// One stored capture as the list shows it.
struct CaptureItem {
    qint64 rowId = 0;
    QString title;
};

// Reads and writes the SCapture table of one data file: titled screen images kept as PNG in
// table order and addressed by rowid. Each call opens the file, runs its statements and
// closes it again. A call that fails leaves the reason in lastError().
class CaptureStore : public DataStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    static const QString NewTitle; // "New Screen Image"

    explicit CaptureStore(QString dataFile, ChangeHub* changes = nullptr);

    // Every row's rowid and title in table order, without the images. False on failure,
    // with `items` empty.
    bool list(std::vector<CaptureItem>& items);
    // The image of one row; a null image when the row is gone or its bytes do not decode.
    QImage image(qint64 rowId);

    // Stores a new capture titled "New Screen Image" and returns its rowid, or 0 on failure.
    // A null or empty image (a grab that yielded nothing) is refused and never stored.
    qint64 add(const QImage& image);
    // False when the row no longer exists or the write failed. The title is stored as
    // given; CaptureRules::acceptTitle decides what may be given.
    bool rename(qint64 rowId, const QString& title);
    // False only when the write failed; a row already gone is not an error.
    bool remove(qint64 rowId);

    // The PNG bytes stored for an image, without alpha channel and lightly compressed: a
    // full-screen grab encodes in a few tens of milliseconds.
    static QByteArray encode(const QImage& image);

private:
};
