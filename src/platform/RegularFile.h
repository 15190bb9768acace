// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reading files that other programs or removable media hand us. Only regular files are
// read, never more than a limit, and the open never waits: a FIFO or a device put in
// place of the file is refused instead of blocking the user-interface thread.
namespace RegularFile {

// The whole contents of `path`, or nothing (with the reason in `error`) when it is not a
// regular file, cannot be read, or holds more than `maxBytes`.
std::optional<QByteArray> read(const QString& path, qint64 maxBytes, QString* error = nullptr);

} // namespace RegularFile
