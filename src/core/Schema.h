// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The one schema of data.plm. data.src, the template every new data file is copied from,
// is generated from it at build time, so the two can never drift apart.
namespace Schema {

// CREATE statements for every table, in dependency-free order.
QStringList createStatements();

// Names of the tables, as the program refers to them.
QStringList tableNames();

// Writes a fresh template: every table, and one System row whose NotifyAgo is 255 (the
// "never started" mark) with a value in every column the background tick reads.
// `madeOn` becomes Lastupdate and WallLastDay. Returns an error text, empty on success.
QString createTemplate(const QString& path, const QDate& madeOn);

} // namespace Schema
