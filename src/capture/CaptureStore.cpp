// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/CaptureStore.h"

#include "data/DataFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>

#include <optional>

Q_LOGGING_CATEGORY(lcCapture, "plumora.capture", QtCriticalMsg)

namespace {
// Qt's PNG writer takes a ratio of 0 to 100 and maps it onto the zlib levels 0 to 9; 20 is
// level 1, which encodes a full screen in about two thirds of the default level's time for
// a file under a tenth larger. Level 0 is faster still but stores eight times the bytes.
constexpr int PngCompression = 20;
} // namespace

const QString CaptureStore::NewTitle = QStringLiteral("New Screen Image");

CaptureStore::CaptureStore(QString dataFile, ChangeHub* changes)
    : DataStore(std::move(dataFile), lcCapture, changes) {}

QByteArray CaptureStore::encode(const QImage& image) {
    QByteArray bytes;
    if (image.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(PngCompression);
    // A screen has no transparency: an alpha channel would only make the file larger.
    if (!writer.write(image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32)
                                              : image))
        bytes.clear();
    return bytes;
}

bool CaptureStore::list(std::vector<CaptureItem>& items) {
    items.clear();
    DataFile db = open();
    if (!db.forEach(
            QStringLiteral("SELECT rowid, Title FROM SCapture ORDER BY rowid"), {},
            [&](DataFile::Row q) {
                items.push_back(CaptureItem{q.value(0).toLongLong(), q.value(1).toString()});
                return true;
            })) {
        items.clear();
        return fail(QStringLiteral("listing the captures"), db.lastError());
    }
    m_error.clear();
    return true;
}

QImage CaptureStore::image(qint64 rowId) {
    DataFile db = open();
    std::optional<QByteArray> bytes;
    if (!db.forEach(QStringLiteral("SELECT CapImg FROM SCapture WHERE rowid = ?"), {rowId},
                    [&](DataFile::Row q) {
                        bytes = q.value(0).toByteArray();
                        return false;
                    })) {
        fail(QStringLiteral("reading a capture"), db.lastError());
        return {};
    }
    if (!bytes) {
        fail(QStringLiteral("reading a capture"),
             QCoreApplication::translate("CaptureStore", "the capture no longer exists"));
        return {};
    }
    QImage img = QImage::fromData(*bytes);
    if (img.isNull())
        fail(QStringLiteral("reading a capture"),
             QCoreApplication::translate("CaptureStore", "the picture cannot be read"));
    else
        m_error.clear();
    return img;
}

qint64 CaptureStore::add(const QImage& image) {
    const QString what = QStringLiteral("storing a capture");
    if (image.isNull() || image.width() == 0 || image.height() == 0) {
        fail(what, QCoreApplication::translate("CaptureStore", "the screen grab is empty"));
        return 0;
    }
    const QByteArray png = encode(image);
    if (png.isEmpty()) {
        fail(what, QCoreApplication::translate("CaptureStore", "the picture cannot be encoded"));
        return 0;
    }
    DataFile db = open();
    const qint64 id = db.insert(
        QStringLiteral("INSERT INTO SCapture (Title, CapImg) VALUES (?, ?)"), {NewTitle, png});
    if (id == 0) {
        fail(what, db.lastError());
        return 0;
    }
    m_error.clear();
    return id;
}

bool CaptureStore::rename(qint64 rowId, const QString& title) {
    DataFile db = open();
    const int changed =
        db.change(QStringLiteral("UPDATE SCapture SET Title = ? WHERE rowid = ?"), {title, rowId});
    if (changed < 0)
        return fail(QStringLiteral("renaming a capture"), db.lastError());
    if (changed == 0)
        return fail(QStringLiteral("renaming a capture"),
                    QCoreApplication::translate("CaptureStore", "the capture no longer exists"));
    m_error.clear();
    return true;
}

bool CaptureStore::remove(qint64 rowId) {
    DataFile db = open();
    if (!db.exec(QStringLiteral("DELETE FROM SCapture WHERE rowid = ?"), {rowId}))
        return fail(QStringLiteral("deleting a capture"), db.lastError());
    m_error.clear();
    return true;
}

SchemaPart CaptureStore::tables() {
    SchemaPart part;
    part.create = {QStringLiteral("CREATE TABLE SCapture ("
                                  " Title TEXT NOT NULL DEFAULT 'New Screen Image',"
                                  " CapImg BLOB)")};
    return part;
}
