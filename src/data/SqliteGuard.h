// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QSqlDatabase;

// Plumora's own schema has no views, and its statements need no functions from a file's
// schema. Each connection is opened with views off, the schema untrusted, and SQLite's
// defensive mode on (no writes to the schema tables or the file's raw pages). Triggers stay
// on (tests plant them to make writes fail); the ones a file brings are dropped at start-up
// (SchemaCleanup). Where the driver hands out no SQLite handle, only the PRAGMA part
// applies. Returns false when a setting could not be made.
bool hardenConnection(QSqlDatabase& db);
