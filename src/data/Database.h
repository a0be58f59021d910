#pragma once
// The database file: its schema, the lookup rows a new file starts with, and opening.

#include <QString>
#include <memory>

namespace SQLite { class Database; }

namespace db {

// The schema version this program writes and understands (PRAGMA user_version).
constexpr int kSchemaVersion = 1;

// Creates the six tables, the indexes and the three Expanded_ views, stamps the schema
// version and adds a starting set of genres and publisher types, all in one transaction.
void createSchema(SQLite::Database& database);

// Checks that the file holds this program's tables and views at a version it knows.
// Returns false with a reason the user can read when it does not.
bool validateSchema(SQLite::Database& database, QString* error);

// Registers the program's like() (see Like.h) and the busy time-out on a connection.
void prepareConnection(SQLite::Database& database);

// Opens an existing database file for reading and writing, shared, and checks it.
// Returns null and sets error (naming the engine's text or the missing part) on failure;
// the file is never changed by a failed open.
std::unique_ptr<SQLite::Database> openExisting(const QString& path, QString* error);

// Creates a new database file with the schema and lookup rows. Returns null with the
// reason on failure, removing what it may have left behind.
std::unique_ptr<SQLite::Database> createNew(const QString& path, QString* error);

} // namespace db
