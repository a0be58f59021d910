#pragma once
// Bringing a database file written by an older version of the program up to the schema
// version this one writes (db::kSchemaVersion).

#include <QString>

namespace SQLite { class Database; }

namespace db {

// Runs every upgrade step from the file's version to the current one in one transaction,
// then stamps the new version; a file already at the current version is left untouched.
// False with the engine's reason when a step fails: the file then stays as it was.
// A file that another program keeps locked is thrown as the engine reports it.
bool upgradeSchema(SQLite::Database& database, QString* error);

// The file's schema version (PRAGMA user_version).
int schemaVersion(SQLite::Database& database);

} // namespace db
