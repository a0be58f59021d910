#pragma once
// The database file: opening, creating and preparing connections. The schema itself is
// in Schema.h.

#include <QString>
#include <QStringList>
#include <exception>
#include <memory>

#include "core/EngineError.h"
#include "core/Schema.h"

namespace SQLite { class Database; }

namespace db {

// How long a connection waits for another program's lock before it gives up.
constexpr int kBusyTimeoutMs = 3000;

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

} // namespace db
