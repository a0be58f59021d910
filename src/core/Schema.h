#pragma once
// The schema: the tables, views and indexes this program writes, the lookup rows a new file
// starts with, the check of a file's schema, and the upgrades of older files.

#include <QString>
#include <QStringList>

namespace SQLite { class Database; }

namespace db {

// The schema version this program writes and understands (PRAGMA user_version).
constexpr int kSchemaVersion = 4;

// Creates the six tables, the indexes and the three Expanded_ views, stamps the schema
// version and adds a starting set of genres and publisher types, all in one transaction.
void createSchema(SQLite::Database& database);

// Creates the three Expanded_ views (inside the caller's transaction).
void createViews(SQLite::Database& database);

// Creates the tables that record each import and what it added, so that the last one can
// be undone (inside the caller's transaction).
void createImportLog(SQLite::Database& database);

// Checks that the file holds this program's tables and views at a version it knows.
// Returns false with a reason the user can read when it does not; the reason names each
// missing table or view itself, not the views that break because a table is missing.
// A file that another program keeps locked is no answer either way: that error is thrown.
bool validateSchema(SQLite::Database& database, QString* error);

// The indexes the listings use beyond those of the first schema, by name.
QStringList listingIndexes();

// Creates whichever of listingIndexes() the file lacks, in one transaction. Only for a
// file that validateSchema() accepted. True when any was created.
bool ensureIndexes(SQLite::Database& database);


// Runs every upgrade step from the file's version to the current one in one transaction,
// then stamps the new version; a file already at the current version is left untouched.
// False with the engine's reason when a step fails: the file then stays as it was.
// A file that another program keeps locked is thrown as the engine reports it.
bool upgradeSchema(SQLite::Database& database, QString* error);

// The file's schema version (PRAGMA user_version).
int schemaVersion(SQLite::Database& database);

} // namespace db
