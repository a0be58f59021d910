#pragma once
// The database file: its schema, the lookup rows a new file starts with, and opening.

#include <QString>
#include <QStringList>
#include <exception>
#include <memory>

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

// How long a connection waits for another program's lock before it gives up.
constexpr int kBusyTimeoutMs = 3000;

// Checks that the file holds this program's tables and views at a version it knows.
// Returns false with a reason the user can read when it does not; the reason names each
// missing table or view itself, not the views that break because a table is missing.
// A file that another program keeps locked is no answer either way: that error is thrown.
bool validateSchema(SQLite::Database& database, QString* error);

// How a connection reads: the file memory-mapped up to kMmapBytes, a page cache of
// kCacheKib, temporary B-trees in memory. Journaling is left as the engine's default
// (rollback journal) and synchronous is FULL, so every save is durable.
constexpr long long kMmapBytes = 256LL * 1024 * 1024;
constexpr int kCacheKib = 32 * 1024;

// The longest single value (text or blob) or row a connection makes or reads, far above
// any real record: a selection such as randomblob(900000000) is refused with the engine's
// "string or blob too big" instead of taking the memory.
constexpr int kMaxValueBytes = 64 * 1024 * 1024;

// Registers the program's like() (see Like.h) and the busy time-out, sets the reading
// pragmas above and caps values at kMaxValueBytes, on a connection. Writes nothing to the
// file.
void prepareConnection(SQLite::Database& database);

// The indexes the listings use beyond those of the first schema, by name.
QStringList listingIndexes();

// Creates whichever of listingIndexes() the file lacks, in one transaction. Only for a
// file that validateSchema() accepted. True when any was created.
bool ensureIndexes(SQLite::Database& database);

// True when the engine gave up waiting for a lock that another connection holds.
bool isLockedByAnother(const std::exception& e);

// What a writer is told when another program holds the database file, naming it by its
// file name.
QString lockedMessage(const QString& path);

// Opens an existing database file for reading and writing, shared, and checks it. A file of
// an older schema version is upgraded once, in one transaction (upgradeSchema()).
// Returns null and sets error (naming the engine's text or the missing part) on failure;
// the file is never changed by a failed open. A file locked by another program is waited
// for (kBusyTimeoutMs), then reported with lockedMessage().
// A folder that does not let the engine make its journal is refused like a file that
// cannot be written.
std::unique_ptr<SQLite::Database> openExisting(const QString& path, QString* error);

// openExisting() in two steps, so that the file can be copied between them: the first
// opens and checks it and changes nothing; the second upgrades an older schema and adds
// missing indexes. Each fails as openExisting() does.
std::unique_ptr<SQLite::Database> openChecked(const QString& path, QString* error);
bool finishOpening(SQLite::Database& database, const QString& path, QString* error);

// Opens an existing database file for the commands that only read (a backup, an export):
// read-only, checked like openExisting, and never upgraded or given an index, so the file
// stays byte for byte as it was. The one write allowed first: a journal left by a writer
// that died (a hot journal) is rolled back, as the engine requires before anyone reads.
std::unique_ptr<SQLite::Database> openReadOnly(const QString& path, QString* error);

// Creates a new database file with the schema and lookup rows, built whole beside it
// (path + kBuildingSuffix) and then renamed. Returns null with the reason on failure,
// removing what it may have left behind.
constexpr const char* kBuildingSuffix = ".creating";
std::unique_ptr<SQLite::Database> createNew(const QString& path, QString* error);

// Runs every upgrade step from the file's version to the current one in one transaction,
// then stamps the new version; a file already at the current version is left untouched.
// False with the engine's reason when a step fails: the file then stays as it was.
// A file that another program keeps locked is thrown as the engine reports it.
bool upgradeSchema(SQLite::Database& database, QString* error);

// The file's schema version (PRAGMA user_version).
int schemaVersion(SQLite::Database& database);

} // namespace db
