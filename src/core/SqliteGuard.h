#pragma once

class QSqlDatabase;

// Plumora's own schema has no triggers and no views, and its statements need no functions
// from a file's schema. Each connection is opened so that nothing a data file carries can
// run: triggers and views off, the schema untrusted, and SQLite's defensive mode on (no
// writes to the schema tables or the file's raw pages). Where the driver hands out no
// SQLite handle, only the PRAGMA part applies. Returns false when a setting could not be made.
bool hardenConnection(QSqlDatabase& db);
